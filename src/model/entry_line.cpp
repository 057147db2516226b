#include "model/entry_line.hpp"

#include "model/catalogue.hpp"
#include "model/number.hpp"
#include "model/task_entry.hpp"
#include "model/utf8.hpp"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace hw {
namespace {

constexpr std::size_t kShownCharacters = 80;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isTime(std::string_view time)
{
    if (time.size() != 5 || !isDigit(time[0]) || !isDigit(time[1]) || time.substr(2) != ":00")
        return false;
    return (time[0] - '0') * 10 + (time[1] - '0') < 24;
}

bool isQuotedText(std::string_view value)
{
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string countText(std::size_t n)
{
    if (n == 0)
        return "no options";
    return std::to_string(n) + (n == 1 ? " option" : " options");
}

EntryLine refuse(std::string problem)
{
    return {{}, std::move(problem)};
}

const OptionSpec *optionSpec(const Action &action, int field)
{
    const auto spec = std::find_if(action.options.begin(), action.options.end(),
                                   [&](const OptionSpec &s) { return s.field == field; });
    return spec == action.options.end() ? nullptr : &*spec;
}

// The option of `action` in field `field`, by its place among the options an
// entry stores (in ascending field order) and its caption: "option 2 of "Say"
// (Subtitles)".
std::string optionName(const Action &action, int field)
{
    int place = 1;
    for (int f = 0; f < field; ++f)
        place += optionSpec(action, f) ? 1 : 0;
    std::string_view caption = optionSpec(action, field)->caption;
    if (caption.ends_with(':'))
        caption.remove_suffix(1);
    return "option " + std::to_string(place) + " of \"" + std::string(action.name) + "\" (" +
        std::string(caption) + ")";
}

// The option values of the line into the fields they fill, or the first one
// that is neither a number nor a quoted text as its field wants.
std::optional<EntryLine> fillFields(const Action &action, std::span<const std::string_view> values,
                                    OptionFields &fields)
{
    std::array<bool, kOptionFieldCount> used {};
    for (const OptionSpec &spec : action.options)
        used[static_cast<std::size_t>(spec.field)] = true;
    std::size_t next = 0;
    for (int field = 0; field < kOptionFieldCount; ++field) {
        if (!used[static_cast<std::size_t>(field)])
            continue;
        const std::string_view value = values[next++];
        auto &slot = fields[static_cast<std::size_t>(field)];
        if (!isTextField(field, action.textFlag)) {
            if (!readsAsNumber(value))
                return refuse(optionName(action, field) + " must be a number, not " +
                              quotedForMessage(value));
            slot = {true, std::string(value)};
        } else if (isQuotedText(value)) {
            slot = {true, std::string(value.substr(1, value.size() - 2))};
        } else {
            return refuse(optionName(action, field) + " must be a text in double quotes, not " +
                          quotedForMessage(value));
        }
    }
    return std::nullopt;
}

// The time, the action and the fields of `line`, or why it is no entry.
EntryLine readFields(std::string_view line, EntryFields &read)
{
    const EntryParts parts = splitEntry(line);
    if (!isTime(parts.time))
        return refuse("the time must be 00:00 to 23:00, not " + quotedForMessage(parts.time));
    if (parts.time.size() == line.size())
        return refuse("missing \" > \" and an action after the time");
    const Action *action = findAction(parts.action);
    if (!action)
        return refuse("unknown action " + quotedForMessage(parts.action));
    const std::vector<std::string_view> values =
        parts.hasOptions ? splitOptions(parts.options) : std::vector<std::string_view> {};
    if (values.size() != action->options.size())
        return refuse("\"" + std::string(action->name) + "\" takes " +
                      countText(action->options.size()) + ", not " + std::to_string(values.size()));
    if (auto refused = fillFields(*action, values, read.fields))
        return std::move(*refused);
    read.time = parts.time;
    read.action = action;
    return {};
}

} // namespace

EntryLine readEntryLine(std::string_view line)
{
    EntryFields read;
    if (EntryLine refused = readFields(line, read); !refused.ok())
        return refused;
    // Add Task's own checks and normalisation, so that both refuse and store alike.
    const Action &action = *read.action;
    EntryResult built = buildTaskEntry(read.time, action.name, read.fields, action.textFlag);
    if (!built.ok())
        return refuse(optionName(action, built.field) + ": " +
                      std::string(refusalMessage(*built.refusal)));
    return {std::move(built.entry), {}};
}

std::string_view takeLine(std::string_view &text)
{
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    std::size_t next = std::min(end + 1, text.size());
    if (end < text.size() && text[end] == '\r' && next < text.size() && text[next] == '\n')
        ++next;
    text.remove_prefix(next);
    return line;
}

std::optional<EntryFields> entryFields(std::string_view entry)
{
    EntryFields read;
    if (!readFields(entry, read).ok())
        return std::nullopt;
    return read;
}

std::optional<std::string_view> takeTextStart(std::string_view &text)
{
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
        return std::nullopt;
    }
    const bool utf16 = text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ||
        (text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0'));
    if (utf16)
        return "the file is UTF-16; save it as UTF-8";
    return std::nullopt;
}

std::string quotedForMessage(std::string_view text)
{
    std::size_t end = 0;
    for (std::size_t n = 0; n < kShownCharacters && end < text.size(); ++n)
        decodeUtf8(text, end);
    std::string quoted = "\"" + showControlCharacters(text.substr(0, end)) + "\"";
    if (end < text.size())
        quoted += "...";
    return quoted;
}

} // namespace hw
