#pragma once

#include "data/load_order.hpp"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hw {

/// What an entry looked up by name must be.
enum class EntryKind {
    Folder,
    File, ///< anything but a folder
};

/// The entry of `folder` called `name` (UTF-8) that is of `kind`, as the
/// folder spells it: the exact name when there is one, else the first (in
/// byte order) whose name differs only in letter case, as Windows would find
/// it on any file system.
std::optional<std::filesystem::path> findEntry(const std::filesystem::path &folder,
                                               std::string_view name, EntryKind kind);

/// How an engine matches file names whose letter case differs.
enum class NameFold {
    Ascii, ///< OpenMW: A to Z match a to z, every other character only itself
    Windows, ///< the original engine, through Windows: letters beyond ASCII too
};

/// The folder as the system resolves it (links and ".." followed), so that
/// the paths of the files in it read plainly; `folder` itself when that fails.
std::filesystem::path plainFolder(const std::filesystem::path &folder);

/// The files of a row of data folders by name, letter case ignored as `fold`
/// says: where two folders hold a file of the same name, the later folder's
/// counts, as the games look content files and archives up. Each folder is
/// listed once.
class FolderFiles
{
public:
    /// At most this many entries of one folder are looked at.
    static constexpr std::size_t kMostEntries = 100000;

    /// Lists `folders`; a folder with more entries than kMostEntries is
    /// reported in `problems`.
    FolderFiles(const std::vector<std::filesystem::path> &folders, NameFold fold,
                std::vector<LoadOrderProblem> &problems);

    /// The file called `name` (UTF-8), or nullopt.
    std::optional<std::filesystem::path> find(std::string_view name) const;

private:
    std::string key(std::string_view name) const;

    NameFold m_fold;
    std::unordered_map<std::string, std::filesystem::path> m_files;
};

} // namespace hw
