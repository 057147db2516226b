#include "platform/data_folder.hpp"
#include "platform/openmw_paths.hpp"

#include "data/folder_files.hpp"
#include "data/morrowind_ini.hpp"

#include <system_error>

namespace hw {
namespace {

namespace fs = std::filesystem;

bool isThere(const fs::path &path)
{
    std::error_code error;
    return fs::status(path, error).type() != fs::file_type::not_found && !error;
}

} // namespace

GameConfigFiles gameConfigFiles()
{
    GameConfigFiles out;
    out.openMwConfig = openMwPaths().userConfig / "openmw.cfg";
    // Under Wine the game's folder may be on a Linux file system, where the
    // name's letter case is the installer's.
    const fs::path game = findDataFolder().parent_path();
    out.morrowindIni =
        findEntry(game, "Morrowind.ini", EntryKind::File).value_or(game / "Morrowind.ini");
    return out;
}

LoadOrder readGameLoadOrder(CodePage page)
{
    const OpenMwPaths paths = openMwPaths();
    const fs::path cfg = paths.userConfig / "openmw.cfg";
    if (!paths.userConfig.empty() && isThere(cfg))
        return readOpenMwLoadOrder(cfg, paths);
    const GameConfigFiles files = gameConfigFiles();
    if (isThere(files.morrowindIni))
        return readMorrowindIniLoadOrder(files.morrowindIni, page);
    LoadOrder out;
    out.problems.push_back({{},
                            0,
                            "found neither OpenMW's configuration (" + utf8Path(cfg) +
                                ") nor the original game's Morrowind.ini (" +
                                utf8Path(files.morrowindIni) + ")"});
    return out;
}

} // namespace hw
