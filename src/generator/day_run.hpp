#pragma once

#include "generator/schedule_script.hpp"
#include "generator/script_interpreter.hpp"

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// How the game runs a schedule script.
enum class ScriptStart {
    /// A local script on the NPC: the game runs it once a frame.
    EveryFrame,
    /// A global script that the central script starts whenever the game hour
    /// changes; it then runs once a frame until it stops itself.
    EveryHour,
};

/// Commands [first, end), by number, that each ran `times` times in one hour.
struct CommandRuns
{
    std::size_t first = 0;
    std::size_t end = 0;
    unsigned times = 0;

    bool operator==(const CommandRuns &) const = default;
};

/// What a script did, hour by hour, over two game days.
struct TwoDays
{
    static constexpr int kHours = 48;

    std::string problem; ///< why the script could not be run; empty when it ran
    std::size_t commandCount = 0;
    /// For each hour from 00:00 of the first day, the commands that ran in
    /// it: disjoint, in command order.
    std::array<std::vector<CommandRuns>, kHours> hours;

    /// How often command `command` ran in hour `hour` (0 to 47).
    unsigned times(std::size_t command, int hour) const;
};

/// Runs `script` frame by frame over two game days, from 00:00 of the first,
/// `framesPerHour` frames in each game hour, in `world` (whose game hour the
/// run sets), and counts how often each command runs in each hour. The
/// script's variables start at 0, as in a new game.
TwoDays runTwoDays(std::string_view script, ScriptStart start, ScriptWorld world = {},
                   int framesPerHour = 4);

/// The hour groups that ran in one hour of the day and how often.
struct GroupRun
{
    std::size_t group = 0; ///< an index into ScheduleDay::groups
    unsigned times = 0;

    bool operator==(const GroupRun &) const = default;
};

/// A schedule's day as its script runs it, from the second game day on, when
/// nothing is left of the start of the game: for each hour, which groups of
/// entries ran and how often. The player is taken to be looking away, so
/// that what hides from the player runs too.
struct ScheduleDay
{
    std::string problem; ///< why the script could not be run; empty when it ran
    std::vector<HourGroup> groups;
    std::array<std::vector<GroupRun>, 24> hours;

    /// The hours in which group `group` ran.
    std::vector<int> hoursOf(std::size_t group) const;
};

/// "06:00" for 6.
std::string clockHour(int hour);

/// The actions of the entries of `group`, in list order, joined by ", "
/// ("Start Running, Travel"); an action the catalogue does not know as the
/// entry spells it.
std::string groupActions(const HourGroup &group, std::span<const std::string> entries);

/// The day as a table of text, one line an hour, its fields separated by tabs:
/// the hour, the time of the group that runs in it, the group's actions, and
/// how often they run in the hour ("06:00\t06:00\tStart Running, Travel\t1");
/// "-", "-" and 0 for an hour in which nothing runs. A script of
/// generateSchedule runs one group an hour at most; of more, the first is
/// named.
std::string dayTable(const ScheduleDay &day, std::span<const std::string> entries);

/// The day of `script`, which generateSchedule wrote with `switches`, run as
/// the Global switch says.
ScheduleDay scheduleDay(const ScheduleScript &script, ScheduleSwitches switches);

/// The day of the schedule script that generateSchedule writes for `npcId`,
/// `entries` and `switches`.
ScheduleDay scheduleDay(std::string_view npcId, std::span<const std::string> entries,
                        ScheduleSwitches switches);

} // namespace hw
