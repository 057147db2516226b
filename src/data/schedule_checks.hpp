#pragma once

#include "data/game_index.hpp"
#include "generator/schedule_script.hpp"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// Something the author should know about a schedule, in plain words. It
/// never stops the script from being written.
struct ScheduleNote
{
    /// The entry it concerns (an index into the entries checked); nothing
    /// for a note about the NPC itself.
    std::optional<std::size_t> entry;
    std::string text;

    bool operator==(const ScheduleNote &) const = default;
};

/// The notes on the schedule of `npcId` with the included `entries` (as the
/// task list holds them: "HH:00 > Action > options") and `switches`, checked
/// against `index`: the NPC first (not known, placed nowhere, placed more
/// than once, references that do not persist while the Global switch is
/// on), then each id in an option field that the index does not know for the
/// field's kind, with the nearest known ids. Nothing for an empty index.
std::vector<ScheduleNote> checkSchedule(std::string_view npcId,
                                        std::span<const std::string> entries,
                                        ScheduleSwitches switches, const GameIndex &index);

/// The note as one line for the command line: "ENTRY: TEXT", or the text
/// alone for a note about the NPC.
std::string noteLine(const ScheduleNote &note, std::span<const std::string> entries);

} // namespace hw
