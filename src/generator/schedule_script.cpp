#include "generator/schedule_script.hpp"

#include "generator/command_writer.hpp"
#include "model/caseless.hpp"
#include "model/catalogue.hpp"
#include "model/messages.hpp"
#include "model/number.hpp"
#include "model/task_entry.hpp"

#include <algorithm>

namespace hw {
namespace {

// The hour of a time text such as "06:00": its first two characters read as
// a number ("6").
std::string hourOf(std::string_view time)
{
    // Two digits, as every valid time has them, read as the number they are.
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (time.size() >= 2 && digit(time[0]) && digit(time[1]))
        return std::to_string((time[0] - '0') * 10 + (time[1] - '0'));
    return writeNumber(readNumber(time.substr(0, 2)).value_or(0));
}

// The script's text, line by line, in one buffer.
class Lines
{
public:
    explicit Lines(std::size_t expected) { m_text.reserve(expected); }

    // One line made of `parts`, then its CR LF.
    template<typename... Parts> void add(const Parts &...parts)
    {
        (m_text.append(std::string_view(parts)), ...);
        m_text.append("\r\n");
    }
    std::string &text() { return m_text; }

private:
    std::string m_text;
};

// About the length of the script, so that its text is rarely moved as it
// grows: the fixed lines, and for each entry its own text with up to three
// lines that each name the NPC.
std::size_t expectedSize(std::string_view npcId, std::span<const std::string> entries)
{
    std::size_t size = 320 + 2 * npcId.size();
    for (const std::string &entry : entries)
        size += entry.size() + 3 * npcId.size() + 96;
    return size;
}

} // namespace

bool opensExactGroup(std::string_view action)
{
    const Action *known = findAction(action);
    return known && known->exactHour;
}

ScheduleScript generateSchedule(std::string_view npcId, std::span<const std::string> entries,
                                ScheduleSwitches switches)
{
    return generateSchedule(npcId, scheduleScriptName(npcId), entries, switches);
}

ScheduleScript generateSchedule(std::string_view npcId, std::string_view name,
                                std::span<const std::string> entries, ScheduleSwitches switches)
{
    // The NPC as the target of a command: "id"->
    const std::string target = "\"" + std::string(npcId) + "\"-> ";
    ScheduleScript result;
    Lines out(expectedSize(npcId, entries));

    out.add("Begin ", name);
    out.add("");
    for (const std::string_view local : scheduleLocals(switches))
        out.add("Short ", local);
    out.add("");

    if (!switches.global) {
        out.add("If ( MenuMode )");
        out.add("      Return");
        out.add("EndIf");
        out.add("");
        out.add("Set hrw_hour to GameHour");
        out.add("If ( hrw_last == hrw_hour )");
        out.add("      Return");
        out.add("ElseIf ( ", target, "GetHealth <= 0 ) ");
        out.add("       Return");
        out.add("EndIf");
        // The hour in which the script got past its guards: it runs its group
        // once in that hour and then waits for the next one, every day.
        out.add("Set hrw_last to hrw_hour");
        out.add("");
    } else {
        out.add("If ( ", target, "GetHealth <= 0 ) ");
        out.add("       Return");
        out.add("EndIf");
        out.add("");
        out.add("Set hrw_hour to GameHour");
        out.add("");
    }

    std::vector<HourGroup> &groups = result.groups;
    // A day has 24 hours, and a group for each that entries name as a rule.
    groups.reserve(std::min<std::size_t>(entries.size(), 24));
    std::string_view previousTime;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntryParts parts = splitEntry(entries[i]);
        // The first included entry always opens a group, whatever its time text.
        if (i == 0 || (previousTime != parts.time && !caselessEqual(previousTime, parts.time))) {
            const HourGroup &group =
                groups.emplace_back(HourGroup {i, i, std::string(parts.time), hourOf(parts.time),
                                               switches.equality || opensExactGroup(parts.action)});
            out.add(i > 0 ? "ElseIf" : "If", " ( hrw_hour ", group.exact ? "==" : "<=", " ",
                    group.hour, " )");
        }
        groups.back().end = i + 1;
        if (!writeCommand(out.text(), npcId, parts.action, parts.options, switches.visibility))
            result.unknownEntries.push_back(i);
        previousTime = parts.time;
    }

    // Without any group there is no condition chain to close.
    if (!groups.empty())
        out.add("EndIf");
    out.add("");
    if (switches.global)
        out.add("StopScript ", name);
    out.add("");
    result.text = std::move(out.text());
    result.text.append("End");
    return result;
}

std::span<const std::string_view> scheduleLocals(ScheduleSwitches switches)
{
    // The hour the script runs in, and the hour in which it last ran its
    // group, which only a script that guards itself remembers.
    static constexpr std::string_view kLocals[] = {"hrw_hour", "hrw_last"};
    return std::span(kLocals).first(switches.global ? 1 : 2);
}

std::vector<std::string> includedEntries(std::span<const std::string> entries,
                                         const std::vector<bool> &selected, GenerateScope scope)
{
    std::vector<std::string> included;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (scope == GenerateScope::All || (i < selected.size() && selected[i]))
            included.push_back(entries[i]);
    return included;
}

std::optional<std::string_view> scheduleCheck(std::string_view npcId, std::size_t includedCount)
{
    if (npcId.empty())
        return kNpcNameMissing;
    // A quote in the id would end the quoted target early on every line.
    if (npcId.find('"') != std::string_view::npos)
        return kNpcNameHasQuote;
    // A line end would split the Begin line and every command; a tab or another
    // control character is no part of any id the game knows.
    if (hasControlCharacter(npcId))
        return kNpcNameHasControl;
    if (includedCount == 0)
        return kNoTasks;
    return std::nullopt;
}

} // namespace hw
