#pragma once

#include "data/load_order.hpp"
#include "data/text_file.hpp"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The folders that OpenMW's path tokens stand for.
struct OpenMwPaths
{
    std::filesystem::path userConfig; ///< ?userconfig?: where the user's openmw.cfg is
    std::filesystem::path userData; ///< ?userdata?: saves, and the data-local folder
    std::filesystem::path global; ///< ?global?: the shared data of an installed OpenMW
    /// ?local?: the folder of OpenMW's program, where its own openmw.cfg is.
    /// When empty, the folder of the openmw.cfg where a chain starts stands
    /// for it (the folder of the file being read, for one file alone).
    std::filesystem::path local;
};

/// A name that a setting gives (content=, fallback-archive=), as written
/// (UTF-8), with where it was written.
struct CfgName
{
    std::string name;
    std::filesystem::path file;
    std::size_t line = 0;
};

/// A folder that a setting gives (data=, data-local=, config=), with its
/// tokens replaced and made absolute, with where it was written.
struct CfgFolder
{
    std::filesystem::path folder;
    std::filesystem::path file;
    std::size_t line = 0;
};

/// What one openmw.cfg sets of the settings that make a load order.
struct OpenMwFile
{
    std::vector<CfgFolder> data;
    std::optional<CfgFolder> dataLocal;
    std::vector<CfgFolder> config;
    std::vector<CfgName> content;
    std::vector<CfgName> archives;
    /// The settings that replace=KEY lines name: this file's values replace
    /// those of the files read before it.
    std::vector<std::string> replace;
};

/// Reads the text of one openmw.cfg as OpenMW does: `name=value` lines, spaces
/// around both trimmed; a line whose first character other than a space is
/// "#" is a comment; after a "[section]" line no setting of OpenMW's own is
/// read; settings OpenMW does not know are passed over, and so is the first
/// line behind a byte-order mark. Folder values may be quoted ("..." with &&
/// for & and &" for "), may begin with a token (?userconfig?, ?userdata?,
/// ?global?, ?local?) and are otherwise taken relative to the folder of
/// `file`; they are made lexically normal. A broken line, a setting of
/// OpenMW's own under a section and a byte-order mark go to `problems` (with
/// `file` and the line's number), and the rest is still read.
OpenMwFile parseOpenMwFile(std::string_view text, const std::filesystem::path &file,
                           const OpenMwPaths &tokens, std::vector<LoadOrderProblem> &problems);

/// Where the text of an openmw.cfg comes from: the file system, or memory in
/// tests and fuzzing.
using ReadConfigFile = std::function<TextFile(const std::filesystem::path &file)>;

/// The most configuration folders one chain reads.
inline constexpr std::size_t kMostConfigFiles = 32;

/// The most bytes all openmw.cfg files of one chain hold together; a real
/// chain of a thousand plugins holds a few hundred kilobytes.
inline constexpr std::uint64_t kLargestConfigChain = 4 * 1024 * 1024;

/// The settings of a whole chain of openmw.cfg files, combined as OpenMW
/// combines them: lists in the order of the files, each replace=KEY clearing
/// what the files before it set for KEY, the last data-local winning.
struct OpenMwSettings
{
    std::vector<CfgFolder> data;
    std::optional<CfgFolder> dataLocal;
    std::vector<CfgName> content;
    std::vector<CfgName> archives;
    /// The openmw.cfg files read, in order.
    std::vector<std::filesystem::path> files;
    std::vector<LoadOrderProblem> problems;
};

/// Reads the openmw.cfg `start` and every file that its config= lines chain
/// to (each config= names a folder whose openmw.cfg is read, depth first, in
/// the order of the lines). A folder without an openmw.cfg adds nothing, as
/// in OpenMW; a folder met again is read once, and when it closes a loop that
/// is reported; replace=config drops what the files after `start` and before
/// it set. At most kMostConfigFiles folders and kLargestConfigChain bytes are
/// read.
OpenMwSettings readOpenMwSettings(const std::filesystem::path &start, const OpenMwPaths &tokens,
                                  const ReadConfigFile &read);

/// The load order that `settings` give. The data folders are the data= folders
/// in order, then the data-local folder (without one, OpenMW's own default
/// ?userdata?data), less those that do not exist. Each content file that
/// holds records (see isRecordContent) is looked up in them by name, letter
/// case ignored, a later folder winning; so is each archive. Lua script files
/// (.omwscripts) are passed over. A file named twice counts once. What is
/// missing is reported with the line that names it. `source` becomes the
/// load order's source.
LoadOrder openMwLoadOrder(OpenMwSettings settings, const OpenMwPaths &tokens,
                          const std::filesystem::path &source);

/// The load order of the chain that begins at the openmw.cfg `start`, read
/// from the file system (see readOpenMwSettings and openMwLoadOrder).
LoadOrder readOpenMwLoadOrder(const std::filesystem::path &start, const OpenMwPaths &tokens);

/// True for the content files that hold the game's records (.esm, .esp,
/// .omwaddon, .omwgame, letter case ignored).
bool isRecordContent(std::string_view name);

} // namespace hw
