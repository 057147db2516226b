#pragma once

#include <filesystem>

namespace hw {

/// The folder in which the open-file dialog starts: the game's "Data Files"
/// folder, found through the registry where the game's installation recorded
/// it (on Windows the system registry, elsewhere the Wine prefix's registry
/// file), else the folder that holds the running program. Shows nothing and
/// never throws on bad registry data. On Windows the registry's folder is taken
/// as it stands; elsewhere it must exist.
std::filesystem::path findDataFolder();

} // namespace hw
