#pragma once

#include "model/task_list_file.hpp"
#include "plugin/code_page.hpp"
#include "plugin/plugin_header.hpp"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace hw {

// Schedules written into a plugin (.esp, .omwaddon) that the game loads as it
// is: one script record (SCPT) per schedule script, a start-script record
// (SSCR) for each script that guards itself, and for the scripts made with
// Global one central script that starts them once an hour. No NPC record is
// ever written: the scripts name their NPC.
//
// An existing plugin is merged, never rebuilt: its records stay byte for byte
// and in order, HourWright's own records (the scripts it writes, known by
// their ids and their hrw_hour variable, and their start scripts) are
// replaced in place, new ones go at the end. Writing the same lists again
// gives the same bytes.
//
// The steps: prepareScripts() takes the task lists' schedules; the caller
// learns what the game data says of them, from its files or from their index
// (readPluginGameData or pluginGameDataOf in data/plugin_game_data.hpp);
// planPlugin() reads the plugin and decides every byte; writePlugin() writes it
// in one piece. planPluginWrite() in data/plugin_write.hpp takes the steps
// before the write in one call, so that a preview shows the very plan that is
// then written.
//
// A script's text is made from its list when it is needed and dropped after,
// both when the write is planned and when it is written, so that a thousand
// schedules are never held as text at once: the plan keeps the lists, the
// names and its decisions.

/// A task list and where it came from (its file, for messages).
struct ScheduleList
{
    std::string source;
    TaskListFile list;
};

/// One schedule script for the plugin, as what it is made from. Texts are UTF-8.
struct PluginScript
{
    std::string npcId;
    std::string name; ///< the script's name, as its Begin line says
    bool global = false; ///< started by the central script, not by a start script
    std::string source; ///< the list it came from
    bool equality = false; ///< the list's "Test for Complete Equality"
    bool visibility = true; ///< the list's "Check Visibility"
    std::vector<std::string> entries; ///< sorted as the task list sorts them
};

/// The script's text as the generator writes it: CR LF, no line end after End.
std::string scriptText(const PluginScript &script);

/// Appends the script record of `script` to `out`: its name and text in
/// `page`, with the locals that the generator declared in it. False, and
/// nothing appended, when the name or the text does not fit the code page.
bool appendScheduleRecord(std::string &out, const PluginScript &script, CodePage page,
                          std::uint32_t flags);

/// The scripts of some task lists, or why they are refused.
struct PreparedScripts
{
    std::vector<PluginScript> scripts; ///< in the order of the lists
    std::string problem; ///< empty when the lists were taken

    bool ok() const { return problem.empty(); }
};

/// The schedule script of each list, its entries (taken from the list) sorted
/// as the task list sorts them. Refused: a list that names no NPC, or whose
/// NPC id or entries the window would not generate from; an entry with an
/// unknown action; two lists for the same NPC (letter case ignored), unless
/// `laterReplaces`: then the later list's script takes the earlier one's
/// place; two NPCs whose scripts would have the same name.
PreparedScripts prepareScripts(std::vector<ScheduleList> lists, bool laterReplaces);

/// What the game's data says about the scripts to write.
struct PluginGameData
{
    /// The content files that define the scheduled NPCs, and the files these
    /// need, in load order, with their sizes on disk. Names are UTF-8.
    std::vector<MasterFile> masters;
    /// The NPC ids that no file of the game data defines.
    std::vector<std::string> unknownNpcs;
    /// A script of the game data with the id of a script to write, or of a
    /// central script ("hrw_central_..."): its id and the file it is in.
    struct Script
    {
        std::string id;
        std::filesystem::path file;
    };
    std::vector<Script> scripts;
};

struct PluginRequest
{
    std::filesystem::path file; ///< the plugin to write or merge into
    CodePage page = CodePage::Windows1252; ///< of every text in the plugin
    std::optional<std::string> author = std::nullopt; ///< UTF-8; nothing keeps the plugin's own
    std::optional<std::string> description = std::nullopt;
    /// Write schedules for NPCs the game data does not know, with a note.
    bool force = false;
};

/// What a write changes, for the author to read.
struct PluginChanges
{
    bool newFile = false;
    std::vector<std::string> addedScripts, replacedScripts, unchangedScripts;
    std::size_t startScriptsAdded = 0; ///< of the schedule scripts
    std::size_t startScriptsRemoved = 0; ///< of scripts that are now started by the central script
    std::string central; ///< the central script's name; empty when it is not touched
    bool centralAdded = false; ///< a new central script, with its start script
    std::size_t centralLinesAdded = 0; ///< StartScript lines added to it
    bool centralStartAdded = false; ///< a start script for a central script that had none
    std::vector<std::string> addedMasters; ///< UTF-8
    std::size_t masterCount = 0; ///< after the write
    bool authorChanged = false, descriptionChanged = false;
    /// The header's record count was wrong, as the game's editor sometimes
    /// leaves it.
    bool countCorrected = false;
    /// Where the old file is kept (FILE.bak); empty when it is not.
    std::filesystem::path backup;

    /// Nothing changes: the plugin holds these schedules already.
    bool none() const;
};

/// "adds script town_guard_sched_sc_01 and a start script; 2 masters", or
/// "nothing changes: ..." when none() holds.
std::string describeChanges(const PluginChanges &changes);

/// A piece of the plugin to write.
struct PluginPiece
{
    enum class From : std::uint8_t {
        Plan, ///< bytes of the plan's own: PluginPlan::bytes from `offset` on
        OldFile, ///< bytes of the old file from `offset` on
        Script, ///< the record of PluginPlan::scripts[script], made when it is written
    };
    From from = From::Plan;
    std::uint32_t flags = 0; ///< of the script's record
    std::size_t script = 0;
    std::uint64_t offset = 0;
    std::uint64_t size = 0; ///< of the bytes; 0 for a script
};

/// Everything a write will do, decided before a byte is written.
struct PluginPlan
{
    std::filesystem::path file; ///< symbolic links followed
    std::string problem; ///< why it is refused; empty when it may be written
    /// The refusal is for NPCs the game data does not know, which `force` allows.
    bool unknownNpcs = false;
    std::vector<std::string> notes; ///< what the author should know, one sentence each
    PluginChanges changes;

    std::vector<PluginPiece> pieces; ///< the new file, in order; none when nothing changes
    std::string bytes; ///< what the Plan pieces hold: the header, start scripts, the central script
    std::vector<PluginScript> scripts; ///< what the Script pieces are made from
    CodePage page = CodePage::Windows1252;
    bool oldFile = false; ///< the file exists and is merged
    std::uint64_t oldSize = 0;
    std::string oldHeader; ///< the old header record, to see that the file did not change
    /// Keep the old file as FILE.bak, where there is none: it holds records
    /// HourWright did not write.
    bool backup = false;

    bool ok() const { return problem.empty(); }
};

/// Reads the plugin `request.file` (when it exists) and plans the write of
/// `scripts` into it; the plan keeps the scripts, to make their records from.
/// `gameData` is nothing when no game data was given: the plugin then names
/// no new masters, and a note says so. Refused, with the reason in words an
/// author knows: the file is not a plugin, cannot be read whole or is a folder
/// or special file; it would be its own master; an NPC the game data does not
/// know (without `force`); a script id that a script HourWright did not write
/// has already, in the file or in the game data; an entry with a line break or
/// another control character; a text the code page cannot hold.
PluginPlan planPlugin(const PluginRequest &request, std::vector<PluginScript> scripts,
                      const std::optional<PluginGameData> &gameData);

/// How a write went.
struct PluginWritten
{
    std::string problem; ///< why nothing was written; empty when it was
    bool written = false; ///< false also when nothing had to change
    std::filesystem::path backup; ///< FILE.bak when this write made it
};

/// Writes the plan: a temporary file in the plugin's folder, flushed to disk,
/// then renamed over the plugin, so that a failure leaves the old file as it
/// was. A new plugin replaces nothing: it is renamed into place unflushed, and
/// not at all should a file of its name have appeared meanwhile. Each
/// script's record is made as it is written. The first write into a file
/// HourWright did not write keeps the old one as FILE.bak, which no later
/// write replaces.
PluginWritten writePlugin(const PluginPlan &plan);

} // namespace hw
