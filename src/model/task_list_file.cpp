#include "model/task_list_file.hpp"

#include "model/caseless.hpp"
#include "model/messages.hpp"
#include "model/task_entry.hpp"
#include "model/trimmed.hpp"
#include "model/utf8.hpp"

#include <array>
#include <utility>

namespace hw {
namespace {

constexpr std::array<std::string_view, 5> kKeys = {"NPC", "Global", "Equality", "Visibility",
                                                   "Plugin"};
constexpr std::string_view kFirstLine = "; HourWright task list";
constexpr std::string_view kBlanks = " \t";

bool isBlankCharacter(char c)
{
    return c == ' ' || c == '\t';
}

bool isQuoted(std::string_view text)
{
    return text.size() >= 2 && text.front() == '"' && text.back() == '"';
}

// Where the first byte that is not part of valid UTF-8 lies, or npos.
std::size_t firstInvalidByte(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        if (static_cast<unsigned char>(text[at]) < 0x80) {
            ++at;
            continue;
        }
        const std::size_t start = at;
        if (isInvalidByte(decodeUtf8(text, at)))
            return start;
    }
    return std::string_view::npos;
}

std::string notUtf8(std::string_view line, std::size_t at)
{
    constexpr char kHex[] = "0123456789ABCDEF";
    const auto byte = static_cast<unsigned char>(line[at]);
    return std::string("the text is not UTF-8 (byte 0x") + kHex[byte >> 4] + kHex[byte & 0xF] +
        " at column " + std::to_string(at + 1) + "); save the file as UTF-8";
}

// A NUL, or a character that editors and other programs take for a line end,
// though neither LF nor CR: where the first lies, and what it is, or npos.
std::pair<std::size_t, std::string_view> firstHiddenBreak(std::string_view line)
{
    constexpr std::pair<std::string_view, std::string_view> kBreaks[] = {
        {{"\0", 1}, "a NUL byte"},
        {"\v", "a vertical tab"},
        {"\f", "a form feed"},
        {"\xC2\x85", "a next-line character (U+0085)"},
        {"\xE2\x80\xA8", "a line separator (U+2028)"},
        {"\xE2\x80\xA9", "a paragraph separator (U+2029)"},
    };
    std::pair<std::size_t, std::string_view> first {std::string_view::npos, {}};
    for (const auto &[bytes, name] : kBreaks)
        if (const std::size_t at = line.find(bytes); at < first.first)
            first = {at, name};
    return first;
}

std::string yesNo(bool value)
{
    return value ? "yes" : "no";
}

// The header line "; KEY: value", the value in double quotes when blanks at
// either end or quotes around it would otherwise be lost.
std::string headerLine(std::string_view key, const std::string &value)
{
    const bool quote =
        isBlankCharacter(value.front()) || isBlankCharacter(value.back()) || isQuoted(value);
    return "; " + std::string(key) + ": " + (quote ? "\"" + value + "\"" : value) + "\n";
}

std::string utf8Text(const std::filesystem::path &path)
{
    const std::u8string text = path.generic_u8string();
    return {text.begin(), text.end()};
}

} // namespace

TaskListReader::Line TaskListReader::read(std::string_view line)
{
    if (++m_number == 1) {
        if (const auto problem = takeTextStart(line))
            return {{}, std::string(*problem), true};
    }
    if (const std::size_t bad = firstInvalidByte(line); bad != std::string_view::npos)
        return {{}, notUtf8(line, bad)};
    if (const auto [at, what] = firstHiddenBreak(line); at != std::string_view::npos)
        return {{},
                "the line holds " + std::string(what) + " at column " + std::to_string(at + 1) +
                    ", where other programs may end the line; put a plain line end there or "
                    "remove it"};
    if (trimmed(line, kBlanks).empty())
        return {};
    if (line.front() == ';')
        return {{}, m_inHeader ? readHeaderLine(line.substr(1)) : std::string()};
    m_inHeader = false;
    EntryLine entry = readEntryLine(line);
    return {std::move(entry.entry), std::move(entry.problem)};
}

std::string TaskListReader::readHeaderLine(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return {};
    const std::string_view key = trimmed(line.substr(0, colon), kBlanks);
    std::size_t k = 0;
    while (k < kKeys.size() && !caselessEqual(key, kKeys[k]))
        ++k;
    // Keys this version does not know may be a later version's.
    if (k == kKeys.size())
        return {};
    const std::string name = "\"" + std::string(kKeys[k]) + "\"";
    if (m_seen[k])
        return "the header gives " + name + " twice";
    m_seen[k] = true;
    std::string_view value = trimmed(line.substr(colon + 1), kBlanks);
    if (k == 0 || k == 4) {
        // Quotes keep blanks at either end of an id or path, which a bare value loses.
        if (isQuoted(value))
            value = value.substr(1, value.size() - 2);
        if (hasControlCharacter(value))
            return k == 0 ? std::string(kNpcNameHasControl)
                          : "the plugin's path holds a control character";
        (k == 0 ? m_header.npcId : m_header.plugin) = value;
        return {};
    }
    const bool yes = caselessEqual(value, "yes");
    if (!yes && !caselessEqual(value, "no"))
        return name + " must be yes or no, not " + quotedForMessage(value);
    bool *const switches[] = {&m_header.global, &m_header.equality, &m_header.visibility};
    *switches[k - 1] = yes;
    return {};
}

TaskListRead readTaskList(std::string_view text)
{
    if (text.size() > kTaskListFileLimit)
        return {{}, 0, std::string(kTaskListTooLarge)};
    TaskListReader reader;
    std::vector<std::string> entries;
    std::size_t number = 0;
    while (!text.empty()) {
        ++number;
        const std::string_view line = takeLine(text);
        if (line.size() > kEntryLineLimit)
            return {{},
                    number,
                    "the line is longer than " + std::to_string(kEntryLineLimit / 1024) +
                        " KiB, which no task-list line is: " + quotedForMessage(line)};
        TaskListReader::Line read = reader.read(line);
        if (!read.ok())
            return {{}, read.wholeText ? 0 : number, std::move(read.problem)};
        if (!read.entry.empty())
            entries.push_back(std::move(read.entry));
    }
    TaskListRead result {reader.header(), 0, {}};
    result.list.entries = std::move(entries);
    return result;
}

TaskListText writeTaskList(const TaskListFile &list)
{
    if (hasControlCharacter(list.npcId))
        return {{}, std::string(kNpcNameHasControl)};
    if (hasControlCharacter(list.plugin))
        return {{}, "the plugin's path holds a control character"};
    std::string text(kFirstLine);
    text += '\n';
    if (!list.npcId.empty())
        text += headerLine("NPC", list.npcId);
    text += "; Global: " + yesNo(list.global) + "\n; Equality: " + yesNo(list.equality) +
        "\n; Visibility: " + yesNo(list.visibility) + "\n";
    if (!list.plugin.empty())
        text += headerLine("Plugin", list.plugin);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
        const std::string &entry = list.entries[i];
        if (hasControlCharacter(entry) || trimmed(entry, kBlanks).empty() || entry.front() == ';')
            return {{},
                    "entry " + std::to_string(i + 1) +
                        " is no task entry: " + quotedForMessage(entry)};
        text += entry;
        text += '\n';
    }
    return {std::move(text), {}};
}

std::filesystem::path listPlugin(const TaskListFile &list, const std::filesystem::path &listFile)
{
    if (list.plugin.empty())
        return {};
    const std::filesystem::path plugin(std::u8string(list.plugin.begin(), list.plugin.end()));
    return (listFile.parent_path() / plugin).lexically_normal();
}

std::string pluginReference(const std::filesystem::path &plugin,
                            const std::filesystem::path &listFile)
{
    std::error_code error;
    const auto absolute = [&](const std::filesystem::path &path) {
        const std::filesystem::path made = std::filesystem::absolute(path, error);
        return (error ? path : made).lexically_normal();
    };
    const std::filesystem::path target = absolute(plugin);
    const std::filesystem::path relative =
        target.lexically_relative(absolute(listFile).parent_path());
    return utf8Text(relative.empty() ? target : relative);
}

} // namespace hw
