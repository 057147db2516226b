// Turns the settings of an openmw.cfg chain into files on disk.
#include "data/folder_files.hpp"
#include "data/openmw_config.hpp"
#include "data/problem_list.hpp"

#include "model/caseless.hpp"
#include "plugin/plugin_kinds.hpp"

#include <map>
#include <system_error>

namespace hw {
namespace {

namespace fs = std::filesystem;

bool isFolder(const fs::path &path)
{
    std::error_code error;
    return fs::is_directory(path, error);
}

std::vector<fs::path> existingFolders(const OpenMwSettings &settings, const OpenMwPaths &tokens,
                                      std::vector<LoadOrderProblem> &problems)
{
    std::vector<CfgFolder> wanted = settings.data;
    if (settings.dataLocal)
        wanted.push_back(*settings.dataLocal);
    std::vector<fs::path> folders;
    for (const auto &entry : wanted) {
        std::error_code error;
        const bool exists = fs::exists(entry.folder, error);
        if (isFolder(entry.folder))
            folders.push_back(plainFolder(entry.folder));
        else
            addProblem(problems,
                       {entry.file, entry.line,
                        "the data folder \"" + utf8Path(entry.folder) +
                            (exists ? "\" is a file, not a folder" : "\" does not exist") +
                            "; OpenMW passes it over"});
    }
    // The openmw.cfg that OpenMW itself installs sets data-local to this
    // folder, where its construction set saves new plugins.
    const fs::path defaultLocal = tokens.userData / "data";
    if (!settings.dataLocal && !tokens.userData.empty() && isFolder(defaultLocal))
        folders.push_back(plainFolder(defaultLocal));
    return folders;
}

bool isLuaScripts(std::string_view name)
{
    constexpr std::string_view kLua = ".omwscripts";
    return name.size() >= kLua.size() &&
        asciiCaselessEqual(name.substr(name.size() - kLua.size()), kLua);
}

// What is said of a content file named a second time. OpenMW 0.47 refuses to
// start when a name is given twice as it stands, but takes a name that
// differs only in letter case for another file, finds the same one and
// loads it twice.
std::string namedAgain(const CfgName &entry, const CfgName &first)
{
    const std::string where = first.file == entry.file
        ? "line " + std::to_string(first.line)
        : utf8Path(first.file) + ":" + std::to_string(first.line);
    if (entry.name == first.name)
        return "the content file \"" + entry.name + "\" is named a second time (first on " + where +
            "), so OpenMW does not start; it counts once";
    return "the content file \"" + entry.name + "\" names \"" + first.name + "\" (" + where +
        ") a second time in other letter case, so OpenMW loads it twice; it counts once";
}

// Content files in order, each once.
std::vector<CfgName> recordContent(const std::vector<CfgName> &content,
                                   std::vector<LoadOrderProblem> &problems)
{
    std::vector<CfgName> out;
    std::map<std::string, const CfgName *> seen;
    for (const auto &entry : content) {
        if (isLuaScripts(entry.name))
            continue;
        if (!isRecordContent(entry.name)) {
            addProblem(problems,
                       {entry.file, entry.line,
                        "\"" + entry.name + "\" is not a master or plugin file (" +
                            extensionList(LoadOrderKind::OpenMw) + "); it is passed over"});
        } else if (const auto [at, added] = seen.emplace(asciiLowerCase(entry.name), &entry);
                   !added) {
            addProblem(problems, {entry.file, entry.line, namedAgain(entry, *at->second)});
        } else {
            out.push_back(entry);
        }
    }
    return out;
}

std::vector<fs::path> lookUp(const FolderFiles &files, const std::vector<CfgName> &names,
                             std::string_view what, std::vector<LoadOrderProblem> &problems)
{
    std::vector<fs::path> out;
    for (const auto &entry : names) {
        if (auto path = files.find(entry.name))
            out.push_back(std::move(*path));
        else
            addProblem(problems,
                       {entry.file, entry.line,
                        "the " + std::string(what) + " \"" + entry.name +
                            "\" is in none of the data folders"});
    }
    return out;
}

OpenMwSettings readChain(const fs::path &start, const OpenMwPaths &tokens)
{
    return readOpenMwSettings(start, tokens,
                              [](const fs::path &file) { return readTextFile(file); });
}

} // namespace

LoadOrder openMwLoadOrder(OpenMwSettings settings, const OpenMwPaths &tokens,
                          const fs::path &source)
{
    LoadOrder out;
    out.source = source;
    out.problems = std::move(settings.problems);
    out.dataFolders = existingFolders(settings, tokens, out.problems);
    const FolderFiles files(out.dataFolders, NameFold::Ascii, out.problems);
    out.contentFiles =
        lookUp(files, recordContent(settings.content, out.problems), "content file", out.problems);
    out.archives = lookUp(files, settings.archives, "archive", out.problems);
    return out;
}

LoadOrder readOpenMwLoadOrder(const fs::path &start, const OpenMwPaths &tokens)
{
    // Absolute, so that the folders the files name relative to their own are
    // full paths too.
    std::error_code error;
    const fs::path absolute = fs::absolute(start, error).lexically_normal();
    const fs::path &file = error ? start : absolute;
    return openMwLoadOrder(readChain(file, tokens), tokens, file);
}

} // namespace hw
