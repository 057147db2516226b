// The original engine's load order: the files that Morrowind.ini names, found
// in the Data Files folder beside it and ordered as the engine orders them.
#include "data/folder_files.hpp"
#include "data/morrowind_ini.hpp"
#include "data/problem_list.hpp"

#include "model/caseless.hpp"
#include "plugin/plugin_kinds.hpp"

#include <algorithm>
#include <set>
#include <system_error>

namespace hw {
namespace {

namespace fs = std::filesystem;

struct GameFile
{
    bool master = false;
    fs::file_time_type time;
    fs::path path;
};

std::optional<GameFile> findGameFile(const IniEntry &entry, const FolderFiles &files,
                                     const fs::path &iniFile,
                                     std::vector<LoadOrderProblem> &problems)
{
    const PluginKind *kind = pluginKindOf(entry.name);
    const auto report = [&](const std::string &what) {
        addProblem(problems, {iniFile, entry.line, "the game file \"" + entry.name + "\" " + what});
        return std::nullopt;
    };
    if (!kind || !kind->inMorrowindIni)
        return report("is not a master or plugin file (" +
                      extensionList(LoadOrderKind::MorrowindIni) + "); it is passed over");
    auto path = files.find(entry.name);
    if (!path)
        return report("is not in the Data Files folder");
    std::error_code error;
    const auto time = fs::last_write_time(*path, error);
    if (error)
        return report("has a modification time that cannot be read: " + error.message());
    return GameFile {kind->master, time, std::move(*path)};
}

std::vector<fs::path> orderedGameFiles(const std::vector<IniEntry> &entries,
                                       const FolderFiles &files, const fs::path &iniFile,
                                       std::vector<LoadOrderProblem> &problems)
{
    std::vector<GameFile> found;
    std::set<std::string> seen;
    for (const auto &entry : entries) {
        if (entry.name.empty())
            continue;
        if (!seen.insert(lowerCase(entry.name)).second)
            addProblem(
                problems,
                {iniFile, entry.line,
                 "the game file \"" + entry.name + "\" is named a second time; it counts once"});
        else if (auto file = findGameFile(entry, files, iniFile, problems))
            found.push_back(std::move(*file));
    }
    // Stable: files of the same kind and time keep their GameFile order.
    std::stable_sort(found.begin(), found.end(), [](const GameFile &a, const GameFile &b) {
        return a.master != b.master ? a.master : a.time < b.time;
    });
    std::vector<fs::path> out;
    for (auto &file : found)
        out.push_back(std::move(file.path));
    return out;
}

std::vector<fs::path> archives(const std::vector<IniEntry> &entries, const FolderFiles &files,
                               const fs::path &iniFile, std::vector<LoadOrderProblem> &problems)
{
    std::vector<fs::path> out;
    if (auto main = files.find("Morrowind.bsa"))
        out.push_back(std::move(*main));
    else
        addProblem(problems,
                   {iniFile, 0,
                    "Morrowind.bsa, which the game always loads, is not in the Data "
                    "Files folder"});
    std::set<std::string> seen = {"morrowind.bsa"};
    for (const auto &entry : entries) {
        if (entry.name.empty() || !seen.insert(lowerCase(entry.name)).second)
            continue;
        if (auto path = files.find(entry.name))
            out.push_back(std::move(*path));
        else
            addProblem(problems,
                       {iniFile, entry.line,
                        "the archive \"" + entry.name + "\" is not in the Data Files folder"});
    }
    return out;
}

} // namespace

LoadOrder morrowindIniLoadOrder(const MorrowindIni &ini, const fs::path &iniFile,
                                std::vector<LoadOrderProblem> problems)
{
    LoadOrder out;
    out.source = iniFile;
    out.problems = std::move(problems);
    const auto data = findEntry(iniFile.parent_path(), "Data Files", EntryKind::Folder);
    if (!data) {
        addProblem(out.problems,
                   {iniFile, 0,
                    "there is no \"Data Files\" folder beside this file, so the "
                    "game's files cannot be found"});
        return out;
    }
    out.dataFolders.push_back(plainFolder(*data));
    const FolderFiles files(out.dataFolders, NameFold::Windows, out.problems);
    out.contentFiles = orderedGameFiles(ini.gameFiles, files, iniFile, out.problems);
    out.archives = archives(ini.archives, files, iniFile, out.problems);
    return out;
}

} // namespace hw
