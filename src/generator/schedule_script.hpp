#pragma once

#include "generator/script_name.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The check boxes that shape a schedule script.
struct ScheduleSwitches
{
    /// The script is started by a central script once per hour: no guards of
    /// its own, no remembered hour, and it stops itself at its end.
    bool global = false;
    /// Every hour condition tests for equality instead of "at most".
    bool equality = false;
    /// Appear, Disappear, Position and Position in Cell happen only while the
    /// player cannot see the NPC ("Check Visibility").
    bool visibility = true;
};

/// Entries [first, end) of the included ones that share a time, and with it
/// one hour condition of the script.
struct HourGroup
{
    std::size_t first = 0;
    std::size_t end = 0;
    std::string time; ///< the time text of its first entry ("06:00")
    std::string hour; ///< the hour the condition names ("6")
    bool exact = false; ///< the condition tests for that hour (==), not for "at most" (<=)
};

struct ScheduleScript
{
    std::string text; ///< CR LF between lines, none after "End"
    std::vector<std::size_t> unknownEntries; ///< indices into `entries` whose action was unknown
    /// The hour groups, in order: the first entry and each entry whose time
    /// differs from the one before it (letter case ignored) opens one. The
    /// Equality switch, or an action of a group's first entry that must
    /// happen in its own hour only, makes its test exact.
    std::vector<HourGroup> groups;
};

/// True for the actions that make a group test for its own hour exactly when
/// they open it (the catalogue's exactHour: Appear, Disappear, Position,
/// Position in Cell, Return to Original Location), letter case ignored.
bool opensExactGroup(std::string_view action);

/// The whole schedule script for `npcId` from the included task entries, in
/// the order given. Each change of the entries' time opens an hour group;
/// the command lines of an entry with an unknown action are replaced by an
/// error line and its index is reported.
ScheduleScript generateSchedule(std::string_view npcId, std::span<const std::string> entries,
                                ScheduleSwitches switches);

/// The same, for a caller that has made the script's name already
/// (scheduleScriptName of `npcId`).
ScheduleScript generateSchedule(std::string_view npcId, std::string_view name,
                                std::span<const std::string> entries, ScheduleSwitches switches);

/// The local variables a schedule script declares, in order, all of them
/// Short: hrw_hour, and hrw_last when the script guards itself (not Global).
std::span<const std::string_view> scheduleLocals(ScheduleSwitches switches);

enum class GenerateScope { All, Selection };

/// The entries a press includes, in list order: all, or those whose `selected` flag is set.
std::vector<std::string> includedEntries(std::span<const std::string> entries,
                                         const std::vector<bool> &selected, GenerateScope scope);

/// The first check that fails, in the window's order (empty name, a name with a double quote or a
/// control character, no included entries), as its message; nullopt when generation may go on.
std::optional<std::string_view> scheduleCheck(std::string_view npcId, std::size_t includedCount);

} // namespace hw
