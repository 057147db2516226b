#include "model/task_entry.hpp"

#include "model/number.hpp"

#include <algorithm>

namespace hw {
namespace {

bool isControl(char c)
{
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
}

// Where the first " > " of `text` begins. A plain loop over the short text is
// faster than a library search: a list of a million entries is split twice.
std::size_t findSeparator(std::string_view text)
{
    for (std::size_t at = 1; at + 1 < text.size(); ++at)
        if (text[at] == '>' && text[at - 1] == ' ' && text[at + 1] == ' ')
            return at - 1;
    return std::string_view::npos;
}

} // namespace

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), isControl);
}

std::string showControlCharacters(std::string_view text)
{
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        if (!isControl(c)) {
            shown += c;
            continue;
        }
        constexpr char kHex[] = "0123456789ABCDEF";
        const auto byte = static_cast<unsigned char>(c);
        shown.append("\\x").append(1, kHex[byte >> 4]).append(1, kHex[byte & 0xF]);
    }
    return shown;
}

std::string_view refusalMessage(EntryRefusal refusal)
{
    switch (refusal) {
    case EntryRefusal::RequiredFieldEmpty:
        return "Required field not filled!";
    case EntryRefusal::TextHasQuote:
        return "Text fields cannot contain double quotes!";
    case EntryRefusal::TextHasControl:
        return "Text fields cannot contain line breaks or control characters!";
    case EntryRefusal::NumberOutOfRange:
        return "Number out of range!";
    }
    return {};
}

EntryResult buildTaskEntry(std::string_view time, std::string_view action,
                           const OptionFields &fields, bool option1Text)
{
    EntryResult result;
    std::string &entry = result.entry;
    entry.reserve(time.size() + action.size() + 64);
    entry.append(time).append(kEntrySeparator).append(action).append(kEntrySeparator);
    for (int n = 0; n < kOptionFieldCount; ++n) {
        const OptionField &field = fields[static_cast<std::size_t>(n)];
        if (!field.enabled)
            continue;
        auto refuse = [&](EntryRefusal why) {
            result.refusal = why;
            result.field = n;
            entry.clear();
            return result;
        };
        if (isTextField(n, option1Text)) {
            if (field.text.empty())
                return refuse(EntryRefusal::RequiredFieldEmpty);
            if (field.text.find('"') != std::string::npos)
                return refuse(EntryRefusal::TextHasQuote);
            if (hasControlCharacter(field.text))
                return refuse(EntryRefusal::TextHasControl);
            entry.append(1, '"').append(field.text).append("\"/");
        } else {
            const auto number = normaliseNumber(field.text);
            if (!number)
                return refuse(EntryRefusal::NumberOutOfRange);
            entry.append(*number).append(1, '/');
        }
    }
    if (entry.ends_with('/'))
        entry.pop_back();
    if (entry.ends_with(kEntrySeparator))
        entry.resize(entry.size() - kEntrySeparator.size());
    return result;
}

EntryParts splitEntry(std::string_view entry)
{
    EntryParts parts;
    const auto first = findSeparator(entry);
    parts.time = entry.substr(0, first);
    if (first == std::string_view::npos)
        return parts;
    std::string_view rest = entry.substr(first + kEntrySeparator.size());
    const auto second = findSeparator(rest);
    parts.action = rest.substr(0, second);
    if (second != std::string_view::npos) {
        parts.options = rest.substr(second + kEntrySeparator.size());
        parts.hasOptions = true;
    }
    return parts;
}

std::vector<std::string_view> splitOptions(std::string_view options)
{
    std::vector<std::string_view> values;
    for (std::size_t start = 0;;) {
        const std::size_t end = optionEnd(options, start);
        values.push_back(options.substr(start, end - start));
        if (end == options.size())
            return values;
        start = end + 1;
    }
}

std::string tribunalQuestion(std::string_view action)
{
    std::string text = "\"";
    text.append(action).append("\" is a Tribunal function. Do you still want to add it?");
    return text;
}

} // namespace hw
