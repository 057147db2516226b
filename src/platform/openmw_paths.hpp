#pragma once

#include "data/load_order.hpp"
#include "data/openmw_config.hpp"
#include "plugin/code_page.hpp"

#include <filesystem>

namespace hw {

/// The folders that OpenMW's path tokens stand for on this system, found as
/// OpenMW finds them: on Linux ?userconfig? is $XDG_CONFIG_HOME/openmw (else
/// ~/.config/openmw) and ?userdata? $XDG_DATA_HOME/openmw (else
/// ~/.local/share/openmw); on Windows both are Documents\My Games\OpenMW; on
/// macOS ~/Library/Preferences/openmw and ~/Library/Application
/// Support/openmw. ?global? is where an installed OpenMW keeps its shared
/// data. `local` stays empty: the folder of OpenMW's program is not known here.
/// A folder that cannot be found (no HOME, say) stays empty too.
OpenMwPaths openMwPaths();

/// Where the game's load order is looked for when no file is named.
struct GameConfigFiles
{
    /// The user's openmw.cfg, in ?userconfig?.
    std::filesystem::path openMwConfig;
    /// Morrowind.ini in the game's folder: the parent of the data folder that
    /// findDataFolder() gives.
    std::filesystem::path morrowindIni;
};

/// Both places; either file may be missing.
GameConfigFiles gameConfigFiles();

/// The game's load order when no file is named: OpenMW's, from the user's
/// openmw.cfg, when there is one (reading starts there: OpenMW's own
/// openmw.cfg beside its program chains to it, and the launcher writes the
/// data folders and content files into it), else the original engine's from
/// Morrowind.ini (read in `page`). When neither file exists, the load order
/// is empty and its one problem says where both were looked for.
LoadOrder readGameLoadOrder(CodePage page = CodePage::Windows1252);

} // namespace hw
