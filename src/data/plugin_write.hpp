#pragma once

#include "data/game_index.hpp"
#include "plugin/schedule_plugin.hpp"

#include <filesystem>
#include <optional>
#include <vector>

namespace hw {

// The one planning step before a write of task lists into a plugin: what a
// preview shows is this plan, and writePlugin() writes this plan and nothing
// else, so that what the author was shown is what is written.

/// Task lists to write into a plugin, and how.
struct PluginWriteRequest
{
    PluginRequest plugin; ///< the plugin, its code page, author and description, force
    /// The game's content files in load order; nothing when no game data is
    /// given (the plugin then names no new masters).
    std::optional<std::vector<std::filesystem::path>> gameFiles = std::nullopt;
    /// The index of the game data, read already: when given, it is used
    /// instead of `gameFiles` and no file is read again. It must outlive the
    /// planning.
    const GameIndex *gameIndex = nullptr;
    /// Of two lists for the same NPC, the later one counts.
    bool laterReplaces = false;
};

/// Takes the lists' schedules, learns what the game data says of them and
/// plans the plugin: refused, with the reason in the plan's problem, where the
/// lists are (prepareScripts), where a file of the game data cannot be read
/// whole (each such file's message, then the refusal), and where planPlugin
/// refuses. Nothing is written.
PluginPlan planPluginWrite(std::vector<ScheduleList> lists, const PluginWriteRequest &request);

/// What writing `plan` will do, in words for the author, without writing:
/// "adds script town_guard_sched_sc_01 and a start script; 2 masters", the
/// refusal a write would give, or that nothing changes; then each note on a
/// line of its own.
std::string previewPluginWrite(const PluginPlan &plan);

} // namespace hw
