#include "data/timing_notes.hpp"

#include "generator/day_run.hpp"
#include "generator/script_name.hpp"
#include "model/catalogue.hpp"
#include "model/task_entry.hpp"

#include <algorithm>
#include <iterator>

namespace hw {
namespace {

// "08:00", or "08:59" for the end of an hour.
std::string clock(int hour, bool end = false)
{
    return std::string(1, char('0' + hour / 10)) + char('0' + hour % 10) + (end ? ":59" : ":00");
}

// The hours in runs of hours that follow one another, each [first, last].
std::vector<std::pair<int, int>> runsOf(const std::vector<int> &hours)
{
    std::vector<std::pair<int, int>> runs;
    for (const int hour : hours) {
        if (!runs.empty() && runs.back().second + 1 == hour)
            runs.back().second = hour;
        else
            runs.emplace_back(hour, hour);
    }
    return runs;
}

// "a", "a and b", "a, b and c"
std::string listed(const std::vector<std::string> &items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

// "from 00:00 to 08:00", "from 00:00 to 02:00 and from 04:00 to 08:00"
std::string hourRanges(const std::vector<int> &hours)
{
    std::vector<std::string> parts;
    for (const auto &[first, last] : runsOf(hours))
        parts.push_back(first == last ? "at " + clock(first)
                                      : "from " + clock(first) + " to " + clock(last));
    return listed(parts);
}

std::string_view actionOf(std::string_view entry)
{
    const Action *action = findAction(splitEntry(entry).action);
    return action ? action->name : std::string_view();
}

std::optional<ScheduleNote> nameNote(std::string_view npcId)
{
    const ScriptName name = scriptNameOf(npcId);
    if (!name.changed())
        return std::nullopt;
    std::string text = "The script is named \"" + name.name + "\": a script name holds ";
    if (name.replaced)
        text += "only letters, digits, _, - and '";
    if (name.replaced && name.shortened)
        text += " and ";
    if (name.shortened)
        text += "at most " + std::to_string(kScriptNameLimit) + " characters";
    text += name.replaced && name.shortened
        ? ", so the other characters became _ and the id was cut"
        : name.replaced ? ", so the other characters became _"
                        : ", so the id was cut";
    return ScheduleNote {std::nullopt,
                         text +
                             "; the eight digits before _sched_sc_01 keep it apart from "
                             "other NPCs' scripts."};
}

// Entries of a group whose own action would choose the other test than the
// one its first entry chose, when that changes their hours.
void testNote(const ScheduleDay &day, std::size_t g, std::span<const std::string> entries,
              std::vector<ScheduleNote> &notes)
{
    const HourGroup &group = day.groups[g];
    const std::vector<int> hours = day.hoursOf(g);
    if (hours.empty())
        return;
    // "At most" matters when the group runs in more than its own hour;
    // "exactly" when "at most" would have run it in hours before its own that
    // no earlier group takes.
    bool wouldRunBefore = false;
    for (int hour = 0; hour < hours.front(); ++hour) {
        const auto &runs = day.hours[static_cast<std::size_t>(hour)];
        wouldRunBefore = wouldRunBefore ||
            std::none_of(runs.begin(), runs.end(), [&](const GroupRun &r) { return r.group < g; });
    }
    if (group.exact ? !wouldRunBefore : hours.size() < 2)
        return;
    std::vector<std::string> names;
    std::optional<std::size_t> first;
    for (std::size_t i = group.first + 1; i < group.end; ++i) {
        const std::string_view action = actionOf(entries[i]);
        if (action.empty() || opensExactGroup(action) == group.exact)
            continue;
        if (std::find(names.begin(), names.end(), action) == names.end())
            names.emplace_back(action);
        first = first.value_or(i);
    }
    if (!first)
        return;
    const std::string opener(actionOf(entries[group.first]));
    const std::string who =
        listed(names) + " at " + group.time + (names.size() > 1 ? " run " : " runs ");
    const std::string why = opener + " comes first at that hour and chooses the group's test, \"" +
        (group.exact ? "exactly " : "at most ") + group.time + "\".";
    if (group.exact)
        notes.push_back({first, who + "only at " + group.time + ": " + why});
    else
        notes.push_back(
            {first, who + hourRanges(hours) + ", not only at " + group.time + ": " + why});
}

void onceNotes(const ScheduleDay &day, std::size_t g, std::span<const std::string> entries,
               std::vector<ScheduleNote> &notes)
{
    const HourGroup &group = day.groups[g];
    const std::vector<int> hours = day.hoursOf(g);
    if (hours.size() < 2)
        return;
    for (std::size_t i = group.first; i < group.end; ++i) {
        const Action *action = findAction(splitEntry(entries[i]).action);
        if (action && action->once)
            notes.push_back({i,
                             std::string(action->name) + " at " + group.time +
                                 " runs once an hour " + hourRanges(hours) + " (" +
                                 std::to_string(hours.size()) +
                                 " times a day); tick Test for Complete Equality to run it "
                                 "only at " +
                                 group.time});
    }
}

// Each stretch of hours in which no group runs, one note each; a stretch over
// midnight is one.
void idleNotes(const ScheduleDay &day, std::vector<ScheduleNote> &notes)
{
    std::vector<int> idle;
    for (int hour = 0; hour < 24; ++hour)
        if (day.hours[static_cast<std::size_t>(hour)].empty())
            idle.push_back(hour);
    auto runs = runsOf(idle);
    if (runs.empty() || idle.size() == 24)
        return;
    if (runs.size() > 1 && runs.front().first == 0 && runs.back().second == 23) {
        runs.back().second = runs.front().second;
        runs.erase(runs.begin());
    }
    for (const auto &[first, last] : runs)
        notes.push_back({std::nullopt,
                         "from " + clock(first) + " to " + clock(last, true) +
                             " the NPC keeps what it was last told"});
}

} // namespace

std::vector<ScheduleNote> timingNotes(std::string_view npcId, std::span<const std::string> entries,
                                      ScheduleSwitches switches)
{
    return timingNotes(npcId, entries, switches, generateSchedule(npcId, entries, switches));
}

std::vector<ScheduleNote> timingNotes(std::string_view npcId, std::span<const std::string> entries,
                                      ScheduleSwitches switches, const ScheduleScript &script)
{
    std::vector<ScheduleNote> notes;
    if (const auto note = nameNote(npcId))
        notes.push_back(*note);
    const ScheduleDay day = scheduleDay(script, switches);
    if (!day.problem.empty()) {
        notes.push_back(
            {std::nullopt, "The hours of the script could not be worked out: " + day.problem});
        return notes;
    }
    for (std::size_t g = 0; g < day.groups.size(); ++g) {
        // With the Equality switch every group tests its hour exactly, whatever comes first.
        if (!switches.equality)
            testNote(day, g, entries, notes);
        onceNotes(day, g, entries, notes);
    }
    idleNotes(day, notes);
    return notes;
}

} // namespace hw
