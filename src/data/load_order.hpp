#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// One thing wrong in the files of a load order, in words a mod author knows:
/// the file it concerns (empty when it concerns none), the line (counted from
/// 1; 0 when it is not about one line) and what is wrong.
struct LoadOrderProblem
{
    std::filesystem::path file;
    std::size_t line = 0;
    std::string message;

    bool operator==(const LoadOrderProblem &) const = default;
};

/// The game's files as one configuration names them: OpenMW's openmw.cfg (with
/// the files it chains to) or the original engine's Morrowind.ini. A plain
/// value; what could not be read or found is in `problems`, and everything
/// else is still there.
struct LoadOrder
{
    /// The content files (masters and plugins) that were found, full paths in
    /// the order the game loads them: a later file's records win.
    std::vector<std::filesystem::path> contentFiles;

    /// The folders the game takes loose files from, lowest priority first.
    std::vector<std::filesystem::path> dataFolders;

    /// The BSA archives that were found, lowest priority first.
    std::vector<std::filesystem::path> archives;

    /// Broken lines, missing files and the like, in the order they were met.
    std::vector<LoadOrderProblem> problems;

    /// The openmw.cfg or Morrowind.ini the load order was read from.
    std::filesystem::path source;
};

/// "FILE:LINE: message", "FILE: message" without a line, or the message alone
/// without a file; the file's name as UTF-8, control characters as "\xNN".
std::string problemText(const LoadOrderProblem &problem);

/// The path as UTF-8 text, on every platform.
std::string utf8Path(const std::filesystem::path &path);

/// The path that UTF-8 text names, on every platform.
std::filesystem::path pathFromUtf8(std::string_view text);

} // namespace hw
