#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace hw::test {

/// Lines joined with CR LF between them, as the generators write scripts.
inline std::string joinLines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    bool first = true;
    for (const auto line : lines) {
        if (!first)
            text.append("\r\n");
        text.append(line);
        first = false;
    }
    return text;
}

/// The lines of a script text, split at CR LF.
inline std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0;;) {
        const auto end = text.find("\r\n", start);
        lines.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 2;
    }
}

} // namespace hw::test
