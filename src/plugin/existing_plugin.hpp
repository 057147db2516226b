#pragma once

#include "plugin/code_page.hpp"
#include "plugin/plugin_header.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// How the names of HourWright's central scripts begin.
inline constexpr std::string_view kCentralPrefix = "hrw_central_";

/// A script record of a plugin that is merged into.
struct ExistingScript
{
    std::uint64_t offset = 0;
    std::uint64_t size = 0; ///< of the whole record
    std::uint32_t flags = 0;
    std::string id; ///< UTF-8
    /// HourWright wrote it: it declares the variable hrw_hour, which every
    /// script HourWright writes declares.
    bool ours = false;
    /// SCTX in the code page, for HourWright's central scripts only: the
    /// schedule scripts are compared with the file's bytes where they stand,
    /// so that a thousand of them are not held.
    std::string text;
};

/// A start-script record of a plugin that is merged into.
struct ExistingStart
{
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::string script; ///< UTF-8
    std::string number; ///< DATA
};

/// What the writer needs to know of a plugin before it merges into it.
struct ExistingPlugin
{
    bool exists = false;
    std::uint64_t size = 0;
    std::string header; ///< the whole header record
    PluginHeader fields; ///< what it says; masters in the code page
    std::uint64_t records = 0; ///< after the header
    std::vector<ExistingScript> scripts; ///< in file order
    std::vector<ExistingStart> starts; ///< in file order
    /// It holds records that are not HourWright's (neither its scripts nor
    /// their start scripts).
    bool othersRecords = false;
    std::string problem; ///< why it cannot be merged into; empty when it can
};

/// Reads the plugin `file` for a merge; a file that does not exist gives an
/// empty plugin. Refused, with the reason in words for the author: a folder
/// or special file, a file that is not a plugin or cannot be read whole.
ExistingPlugin readExistingPlugin(const std::filesystem::path &file, CodePage page);

/// The file's name in double quotes for a message, as UTF-8.
std::string quotedFile(const std::filesystem::path &file);

} // namespace hw
