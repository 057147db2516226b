#pragma once

#include "data/schedule_checks.hpp"
#include "generator/schedule_script.hpp"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// Notes on when the schedule's commands run, read from its script run over
/// a day (scheduleDay), in words for an author; no game data needed:
/// - a script name that had to differ from the NPC id, and why;
/// - for each group, entries whose test the group's first entry chose;
/// - an action meant to happen once (Add Item, Say, Appear, ...) that runs
///   in more than one hour;
/// - the hours in which no group runs.
/// Notes never change the script.
std::vector<ScheduleNote> timingNotes(std::string_view npcId, std::span<const std::string> entries,
                                      ScheduleSwitches switches);

/// The same for `script`, which generateSchedule wrote for them.
std::vector<ScheduleNote> timingNotes(std::string_view npcId, std::span<const std::string> entries,
                                      ScheduleSwitches switches, const ScheduleScript &script);

} // namespace hw
