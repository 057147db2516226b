#include "cli/entry_reader.hpp"

#include "model/catalogue.hpp"
#include "model/number.hpp"
#include "model/task_entry.hpp"

#include <algorithm>

namespace hw::cli {
namespace {

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

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// What a number field can hold when typed: an optional leading minus, digits
// and at most one point, with at least one digit.
bool isTypedNumber(std::string_view text)
{
    if (text.starts_with('-'))
        text.remove_prefix(1);
    const auto points = std::count(text.begin(), text.end(), '.');
    const auto digits = std::count_if(text.begin(), text.end(), isDigit);
    return points <= 1 && digits > 0 && static_cast<std::size_t>(points + digits) == text.size();
}

std::string quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

std::string countText(std::size_t n)
{
    if (n == 0)
        return "no options";
    return std::to_string(n) + (n == 1 ? " option" : " options");
}

// The entry as Add Task would store it, or what is wrong with the line.
struct Checked
{
    std::string entry;
    std::string problem;
};

Checked checkEntry(std::string_view line)
{
    if (hasControlCharacter(line))
        return {{}, "the line holds a control character"};
    const EntryParts parts = splitEntry(line);
    if (!isTime(parts.time))
        return {{}, "the time must be 00:00 to 23:00, not " + quoted(parts.time)};
    if (parts.time.size() == line.size())
        return {{}, "missing \" > \" and an action after the time"};
    const Action *action = findAction(parts.action);
    if (!action)
        return {{}, "unknown action " + quoted(parts.action)};

    // An entry stores its options in ascending field order, which is not
    // always the order in which the layout lists them (Position in Cell).
    std::vector<int> fields;
    for (const auto &spec : action->options)
        fields.push_back(spec.field);
    std::sort(fields.begin(), fields.end());

    const std::string name = quoted(action->name);
    const std::vector<std::string_view> values =
        parts.hasOptions ? splitOptions(parts.options) : std::vector<std::string_view> {};
    if (values.size() != action->options.size())
        return {{},
                name + " takes " + countText(action->options.size()) + ", not " +
                    std::to_string(values.size())};

    std::string entry =
        std::string(parts.time) + std::string(kEntrySeparator) + std::string(action->name);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::string_view value = values[i];
        const std::string which = "option " + std::to_string(i + 1) + " of " + name;
        entry.append(i == 0 ? kEntrySeparator : "/");
        if (isTextField(fields[i], action->textFlag)) {
            const bool wellQuoted = value.size() >= 2 && value.front() == '"' &&
                value.back() == '"' && value.find('"', 1) == value.size() - 1;
            if (!wellQuoted)
                return {{}, which + " must be a text in double quotes, not " + std::string(value)};
            if (value.size() == 2)
                return {{}, which + " is empty"};
            entry.append(value);
        } else {
            if (!isTypedNumber(value))
                return {{}, which + " must be a number, not " + quoted(value)};
            const auto number = normaliseNumber(value);
            if (!number)
                return {{}, which + " is out of range"};
            entry.append(*number);
        }
    }
    return {std::move(entry), {}};
}

} // namespace

TaskEntries readTaskEntries(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    TaskEntries result;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (isBlank(line))
            continue;
        Checked checked = checkEntry(line);
        if (checked.problem.empty())
            result.entries.push_back(std::move(checked.entry));
        else
            result.problems.push_back({lineNumber, std::move(checked.problem)});
    }
    return result;
}

} // namespace hw::cli
