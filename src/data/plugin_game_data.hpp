#pragma once

#include "data/game_index.hpp"
#include "plugin/code_page.hpp"
#include "plugin/scan_outcome.hpp"
#include "plugin/schedule_plugin.hpp"

#include <filesystem>
#include <span>
#include <vector>

namespace hw {

/// What the game data says of a plugin's scripts, and the files that could
/// not be read whole (what was read before the fault counts).
struct PluginGameDataRead
{
    PluginGameData data;
    struct Fault
    {
        std::filesystem::path file;
        ScanOutcome outcome;
    };
    std::vector<Fault> faults;
};

/// Reads the content files `files` in load order for what the plugin `plugin`
/// needs to hold `scripts`:
/// - for each scheduled NPC, the file that defines it: the first file with a
///   record for it after the last that deleted it (letter case ignored). When
///   that is the plugin itself, it needs no master for it.
/// - the masters: those files and the masters they name, each once, in load
///   order with its size on disk; a master that is not among `files` keeps
///   the size its naming file gives and stands right before that file.
/// - the scripts of the other files whose ids are those of `scripts` or begin
///   with "hrw_central_".
/// Texts are read in `page` and given as UTF-8.
PluginGameDataRead readPluginGameData(std::span<const std::filesystem::path> files,
                                      std::span<const PluginScript> scripts,
                                      const std::filesystem::path &plugin, CodePage page);

/// The same from the index of the game data, without reading the files
/// again: its files that were not read whole are the faults.
PluginGameDataRead pluginGameDataOf(const GameIndex &index, std::span<const PluginScript> scripts,
                                    const std::filesystem::path &plugin);

} // namespace hw
