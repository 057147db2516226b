#include "plugin/script_text.hpp"

#include "model/caseless.hpp"

#include <algorithm>

namespace hw {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// One line of a text: where it starts, where its text ends and where its line
// end (CR LF, LF or none at the end of the text) ends.
struct Line
{
    std::size_t start = 0, end = 0, next = 0;
};

std::vector<Line> linesOf(std::string_view text)
{
    std::vector<Line> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        Line line {start, lf == std::string_view::npos ? text.size() : lf, 0};
        line.next = lf == std::string_view::npos ? text.size() : lf + 1;
        if (line.end > start && text[line.end - 1] == '\r')
            --line.end;
        lines.push_back(line);
        start = line.next;
    }
    return lines;
}

// The word at the start of `rest` (after blanks), which is moved past it.
std::string_view nextWord(std::string_view &rest)
{
    std::size_t start = 0;
    while (start < rest.size() && isBlank(rest[start]))
        ++start;
    std::size_t end = start;
    while (end < rest.size() && !isBlank(rest[end]) && rest[end] != ';' && rest[end] != ',')
        ++end;
    const std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

std::string_view unquoted(std::string_view name)
{
    if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        return name.substr(1, name.size() - 2);
    return name;
}

// The script a line starts, or nothing; `commented` says whether the line is
// a comment.
std::optional<std::string_view> startedBy(std::string_view line, bool &commented)
{
    const std::size_t first = line.find_first_not_of(" \t");
    commented = first != std::string_view::npos && line[first] == ';';
    if (commented)
        line.remove_prefix(first + 1);
    if (!asciiCaselessEqual(nextWord(line), "StartScript"))
        return std::nullopt;
    // A quoted name may hold blanks.
    const std::size_t quote = line.find_first_not_of(" \t");
    if (quote != std::string_view::npos && line[quote] == '"') {
        const std::size_t close = line.find('"', quote + 1);
        if (close != std::string_view::npos)
            return line.substr(quote + 1, close - quote - 1);
    }
    return unquoted(nextWord(line));
}

bool isHourSetLine(std::string_view line)
{
    for (const std::string_view word : {"Set", "hrw_last", "to", "hrw_hour"})
        if (!asciiCaselessEqual(nextWord(line), word))
            return false;
    return nextWord(line).empty() && line.find_first_not_of(" \t\r") == std::string_view::npos;
}

} // namespace

ScriptLocals scriptLocals(std::string_view text)
{
    ScriptLocals locals;
    const auto declared = [&](std::string_view name) {
        for (const auto *kind : {&locals.shorts, &locals.longs, &locals.floats})
            if (std::any_of(kind->begin(), kind->end(), [&](const std::string &known) {
                    return asciiCaselessEqual(known, name);
                }))
                return true;
        return false;
    };
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        std::string_view rest = text.substr(start, end - start);
        start = end + 1;
        // Most lines begin with a word that declares nothing.
        const std::size_t first = rest.find_first_not_of(" \t");
        if (first == std::string_view::npos ||
            std::string_view("sSlLfF").find(rest[first]) == std::string_view::npos)
            continue;
        const std::string_view keyword = nextWord(rest);
        std::vector<std::string> *kind = asciiCaselessEqual(keyword, "short") ? &locals.shorts
            : asciiCaselessEqual(keyword, "long")                             ? &locals.longs
            : asciiCaselessEqual(keyword, "float")                            ? &locals.floats
                                                                              : nullptr;
        const std::string_view name = kind ? nextWord(rest) : std::string_view();
        if (!name.empty() && !declared(name))
            kind->emplace_back(name);
    }
    return locals;
}

bool startsScript(std::string_view text, std::string_view name)
{
    bool commented = false;
    for (const Line &line : linesOf(text)) {
        const auto started = startedBy(text.substr(line.start, line.end - line.start), commented);
        if (started && asciiCaselessEqual(*started, name))
            return true;
    }
    return false;
}

std::optional<std::string> withStartScripts(std::string_view text,
                                            std::span<const std::string> names)
{
    const std::vector<Line> lines = linesOf(text);
    std::optional<std::size_t> after, before;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = text.substr(lines[i].start, lines[i].end - lines[i].start);
        bool commented = false;
        if (startedBy(line, commented) && !commented)
            after = i;
        else if (!before && isHourSetLine(line))
            before = i;
    }
    if (!after && !before)
        return std::nullopt;
    const Line &anchor = lines[after ? *after : *before];
    const std::string_view anchorText = text.substr(anchor.start, anchor.end - anchor.start);
    const std::string indent(anchorText.substr(0, anchorText.find_first_not_of(" \t")));
    std::string lineEnd(text.substr(anchor.end, anchor.next - anchor.end));
    const bool lastLine = lineEnd.empty();
    if (lastLine)
        lineEnd = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
    std::string added;
    for (const std::string &name : names)
        added.append(indent).append("StartScript ").append(name).append(lineEnd);
    std::string out(text);
    if (!after)
        return out.insert(anchor.start, added);
    // After a last line that has no line end of its own, the new lines bring one.
    if (lastLine)
        return out.append(lineEnd).append(added.substr(0, added.size() - lineEnd.size()));
    return out.insert(anchor.next, added);
}

} // namespace hw
