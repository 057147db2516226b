#pragma once

#include "data/game_index.hpp"
#include "generator/schedule_script.hpp"

#include <string>
#include <vector>

namespace hw {

/// What the window knows of the game: the index of the loaded files and the
/// sound files their data folders and archives offer. Built on a worker
/// thread, then shared read-only (std::shared_ptr<const GameData>) by the
/// option fields' completion and the checks; a new load replaces it whole.
struct GameData
{
    GameIndex index;
    /// The paths Say takes ("Vo\Misc\Hit Heavy 1.wav"), in caseless order.
    std::vector<std::string> soundFiles;
};

/// A schedule that Generate or Generate From Selection has just written.
struct GeneratedSchedule
{
    std::string npcId;
    /// The included entries, in list order, as the task list shows them.
    std::vector<std::string> entries;
    ScheduleSwitches switches;
};

} // namespace hw
