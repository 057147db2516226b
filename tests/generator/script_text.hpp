#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace hw::test {

/// Lines joined with CR LF between them, as the generators write scripts.
inline std::string joinLines(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const auto line : lines)
        text.append(line).append("\r\n");
    return text.substr(0, text.size() - 2);
}

} // namespace hw::test
