#include "generator/day_run.hpp"

#include "model/catalogue.hpp"
#include "model/task_entry.hpp"

#include <algorithm>
#include <map>
#include <utility>

namespace hw {
namespace {

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

// The commands of one frame (ascending, as a frame only jumps forward) as
// ranges of consecutive numbers: a group's commands make one range.
Ranges rangesOf(const std::vector<std::size_t> &commands)
{
    Ranges ranges;
    for (const std::size_t c : commands) {
        if (!ranges.empty() && ranges.back().second == c)
            ++ranges.back().second;
        else
            ranges.emplace_back(c, c + 1);
    }
    return ranges;
}

// The frames of one hour, each distinct set of commands once with how many
// frames ran it, as disjoint ranges with the sum of their frames.
std::vector<CommandRuns> countedRanges(const std::map<Ranges, unsigned> &frames)
{
    std::map<std::size_t, long long> changes;
    for (const auto &[ranges, times] : frames)
        for (const auto &[first, end] : ranges) {
            changes[first] += times;
            changes[end] -= times;
        }
    std::vector<CommandRuns> runs;
    long long times = 0;
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        times += it->second;
        const auto next = std::next(it);
        if (times <= 0 || next == changes.end())
            continue;
        const auto counted = static_cast<unsigned>(times);
        if (!runs.empty() && runs.back().end == it->first && runs.back().times == counted)
            runs.back().end = next->first;
        else
            runs.push_back({it->first, next->first, counted});
    }
    return runs;
}

} // namespace

unsigned TwoDays::times(std::size_t command, int hour) const
{
    for (const CommandRuns &run : hours[static_cast<std::size_t>(hour)])
        if (command >= run.first && command < run.end)
            return run.times;
    return 0;
}

TwoDays runTwoDays(std::string_view script, ScriptStart start, ScriptWorld world, int framesPerHour)
{
    ScriptInterpreter interpreter(script);
    TwoDays days;
    days.problem = interpreter.problem();
    if (!days.problem.empty())
        return days;
    days.commandCount = interpreter.commandCount();
    framesPerHour = std::max(framesPerHour, 1);
    // The central script's own remembered hour, 0 at the start as every
    // variable is: it starts the schedule script when the hour differs.
    int centralHour = 0;
    bool running = start == ScriptStart::EveryFrame;
    for (int hour = 0; hour < TwoDays::kHours; ++hour) {
        std::map<Ranges, unsigned> frames;
        for (int frame = 0; frame < framesPerHour; ++frame) {
            world.gameHour = hour % 24 + static_cast<double>(frame) / framesPerHour;
            if (start == ScriptStart::EveryHour && hour % 24 != centralHour) {
                centralHour = hour % 24;
                running = true;
            }
            if (!running)
                continue;
            const auto ran = interpreter.runFrame(world);
            if (start == ScriptStart::EveryHour && ran.stopped)
                running = false;
            if (!ran.commands.empty())
                ++frames[rangesOf(ran.commands)];
        }
        days.hours[static_cast<std::size_t>(hour)] = countedRanges(frames);
    }
    return days;
}

std::vector<int> ScheduleDay::hoursOf(std::size_t group) const
{
    std::vector<int> found;
    for (int hour = 0; hour < 24; ++hour) {
        const auto &runs = hours[static_cast<std::size_t>(hour)];
        if (std::any_of(runs.begin(), runs.end(),
                        [&](const GroupRun &run) { return run.group == group; }))
            found.push_back(hour);
    }
    return found;
}

ScheduleDay scheduleDay(std::string_view npcId, std::span<const std::string> entries,
                        ScheduleSwitches switches)
{
    return scheduleDay(generateSchedule(npcId, entries, switches), switches);
}

ScheduleDay scheduleDay(const ScheduleScript &script, ScheduleSwitches switches)
{
    ScheduleDay day;
    day.groups = script.groups;
    const TwoDays days =
        runTwoDays(script.text, switches.global ? ScriptStart::EveryHour : ScriptStart::EveryFrame);
    day.problem = days.problem;
    if (!day.problem.empty())
        return day;
    // Each entry whose action is known writes one command line, in list order.
    std::vector<std::size_t> groupOfCommand;
    std::size_t unknown = 0;
    for (std::size_t g = 0; g < day.groups.size(); ++g)
        for (std::size_t i = day.groups[g].first; i < day.groups[g].end; ++i) {
            if (unknown < script.unknownEntries.size() && script.unknownEntries[unknown] == i)
                ++unknown;
            else
                groupOfCommand.push_back(g);
        }
    if (groupOfCommand.size() != days.commandCount) {
        day.problem = "the script's commands do not match its entries";
        return day;
    }
    for (int hour = 0; hour < 24; ++hour) {
        auto &runs = day.hours[static_cast<std::size_t>(hour)];
        for (const CommandRuns &run : days.hours[static_cast<std::size_t>(24 + hour)])
            for (std::size_t c = run.first; c < run.end; ++c) {
                const std::size_t group = groupOfCommand[c];
                if (runs.empty() || runs.back().group != group)
                    runs.push_back({group, run.times});
                else
                    runs.back().times = std::max(runs.back().times, run.times);
                // The rest of the group's commands add nothing new.
                while (c + 1 < run.end && groupOfCommand[c + 1] == group)
                    ++c;
            }
    }
    return day;
}

std::string clockHour(int hour)
{
    return std::string(1, char('0' + hour / 10)) + char('0' + hour % 10) + ":00";
}

std::string groupActions(const HourGroup &group, std::span<const std::string> entries)
{
    std::string text;
    for (std::size_t i = group.first; i < group.end && i < entries.size(); ++i) {
        const std::string_view action = splitEntry(entries[i]).action;
        const Action *known = findAction(action);
        text.append(i > group.first ? ", " : "").append(known ? known->name : action);
    }
    return text;
}

std::string dayTable(const ScheduleDay &day, std::span<const std::string> entries)
{
    // A group runs in many hours; its actions are listed once.
    std::map<std::size_t, std::string> actions;
    std::string table;
    for (int hour = 0; hour < 24; ++hour) {
        const auto &runs = day.hours[static_cast<std::size_t>(hour)];
        table += clockHour(hour);
        if (runs.empty()) {
            table += "\t-\t-\t0\n";
            continue;
        }
        // A script of generateSchedule runs one group an hour at most.
        const std::size_t g = runs.front().group;
        if (!actions.contains(g))
            actions[g] = groupActions(day.groups[g], entries);
        table += "\t" + day.groups[g].time + "\t" + actions[g] + "\t" +
            std::to_string(runs.front().times) + "\n";
    }
    return table;
}

} // namespace hw
