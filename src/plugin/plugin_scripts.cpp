#include "plugin/schedule_plugin.hpp"

#include "generator/command_writer.hpp"
#include "generator/schedule_script.hpp"
#include "model/caseless.hpp"
#include "model/entry_line.hpp"
#include "model/task_entry.hpp"
#include "model/task_list.hpp"
#include "model/utf8.hpp"
#include "plugin/script_record.hpp"

#include <algorithm>
#include <unordered_map>

namespace hw {

namespace {

std::string listName(const ScheduleList &list)
{
    return list.source.empty() ? std::string("A task list") : "The task list " + list.source;
}

// "1 script", "2 scripts": a count and its noun.
std::string counted(std::size_t count, std::string_view noun)
{
    return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

// The names when there are few, else their count: "script a", "scripts a, b",
// "40 scripts".
std::string scriptsNamed(const std::vector<std::string> &names)
{
    if (names.size() > 3)
        return counted(names.size(), "script");
    std::string text = names.size() == 1 ? "script " : "scripts ";
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    return text;
}

ScheduleSwitches switchesOf(const PluginScript &script)
{
    return {.global = script.global, .equality = script.equality, .visibility = script.visibility};
}

// The locals of a schedule script made with `switches`, as a script record
// counts them.
const ScriptLocals &localsOf(ScheduleSwitches switches)
{
    const auto make = [](bool global) {
        ScriptLocals locals;
        for (const std::string_view name : scheduleLocals({.global = global}))
            locals.shorts.emplace_back(name);
        return locals;
    };
    static const ScriptLocals global = make(true), guarded = make(false);
    return switches.global ? global : guarded;
}

// `text` in `page`, converted into `storage` unless it is ASCII, which every
// code page holds as it is; nothing when the page cannot hold it.
std::optional<std::string_view> inCodePage(std::string_view text, CodePage page,
                                           std::string &storage)
{
    if (isAscii(text))
        return text;
    CodePageText converted = fromUtf8(text, page);
    if (!converted.ok())
        return std::nullopt;
    storage = std::move(converted.bytes);
    return storage;
}

} // namespace

std::string scriptText(const PluginScript &script)
{
    return generateSchedule(script.npcId, script.name, script.entries, switchesOf(script)).text;
}

bool appendScheduleRecord(std::string &out, const PluginScript &script, CodePage page,
                          std::uint32_t flags)
{
    const ScheduleSwitches switches = switchesOf(script);
    const std::string text =
        generateSchedule(script.npcId, script.name, script.entries, switches).text;
    std::string convertedName, convertedText;
    const auto name = inCodePage(script.name, page, convertedName);
    const auto bytes = name ? inCodePage(text, page, convertedText) : std::nullopt;
    if (!bytes)
        return false;
    // The text's only declarations are the generator's own: the plan refuses
    // entries that could start a line of their own.
    appendScriptRecord(out, *name, *bytes, localsOf(switches), flags);
    return true;
}

PreparedScripts prepareScripts(std::vector<ScheduleList> lists, bool laterReplaces)
{
    PreparedScripts prepared;
    const auto refuse = [&](std::string problem) {
        prepared.scripts.clear();
        prepared.problem = std::move(problem);
        return prepared;
    };
    // The scripts by their NPC's id and by their name, letter case ignored.
    std::unordered_map<std::string, std::size_t> byNpc, byName;
    for (ScheduleList &source : lists) {
        TaskListFile &list = source.list;
        if (list.npcId.empty())
            return refuse(listName(source) +
                          " names no NPC: its header needs a line \"; NPC: ID\".");
        if (const auto message = scheduleCheck(list.npcId, list.entries.size()))
            return refuse(listName(source) + ": " + std::string(*message));
        sortEntries(list.entries);
        const auto unknown =
            std::find_if(list.entries.begin(), list.entries.end(), [](const std::string &entry) {
                return !hasCommand(splitEntry(entry).action);
            });
        if (unknown != list.entries.end())
            return refuse(listName(source) + ": the entry " + quotedForMessage(*unknown) +
                          " has an unknown action.");
        PluginScript made {std::move(list.npcId),
                           {},
                           list.global,
                           std::move(source.source),
                           list.equality,
                           list.visibility,
                           std::move(list.entries)};
        made.name = scheduleScriptName(made.npcId);
        const auto [sameNpc, newNpc] =
            byNpc.try_emplace(asciiLowerCase(made.npcId), prepared.scripts.size());
        if (!newNpc && !laterReplaces) {
            const PluginScript &earlier = prepared.scripts[sameNpc->second];
            return refuse("Two task lists are for the NPC \"" + made.npcId +
                          "\": " + earlier.source + " and " + made.source +
                          ". A plugin holds one schedule for each NPC.");
        }
        if (!newNpc) {
            prepared.scripts[sameNpc->second] = std::move(made);
            continue;
        }
        const auto [sameName, newName] =
            byName.try_emplace(asciiLowerCase(made.name), prepared.scripts.size());
        if (!newName)
            return refuse("The NPCs \"" + prepared.scripts[sameName->second].npcId + "\" and \"" +
                          made.npcId + "\" would both have the script " + made.name + ".");
        prepared.scripts.push_back(std::move(made));
    }
    return prepared;
}

bool PluginChanges::none() const
{
    return addedScripts.empty() && replacedScripts.empty() && startScriptsAdded == 0 &&
        startScriptsRemoved == 0 && !centralAdded && centralLinesAdded == 0 && !centralStartAdded &&
        addedMasters.empty() && !newFile && !authorChanged && !descriptionChanged &&
        !countCorrected;
}

std::string describeChanges(const PluginChanges &changes)
{
    if (changes.none())
        return "nothing changes: the plugin holds these schedules already";
    std::vector<std::string> parts;
    const std::string startScripts = changes.startScriptsAdded == 1
        ? "a start script"
        : counted(changes.startScriptsAdded, "start script");
    // "scripts a and b, and a start script", but "40 scripts and 20 start scripts".
    const std::size_t added = changes.addedScripts.size();
    const std::string_view beforeStarts = added > 1 && added <= 3 ? ", and " : " and ";
    if (added > 0)
        parts.push_back("adds " + scriptsNamed(changes.addedScripts) +
                        (changes.startScriptsAdded == 0
                             ? std::string()
                             : std::string(beforeStarts) + startScripts));
    else if (changes.startScriptsAdded > 0)
        parts.push_back("adds " + startScripts);
    if (!changes.replacedScripts.empty())
        parts.push_back("replaces " + scriptsNamed(changes.replacedScripts));
    if (changes.startScriptsRemoved > 0)
        parts.push_back("removes " + counted(changes.startScriptsRemoved, "start script") +
                        " of scripts the central script now starts");
    if (changes.centralAdded)
        parts.push_back("adds the central script " + changes.central + ", which starts " +
                        counted(changes.centralLinesAdded, "script") +
                        " once an hour, and its start script");
    else if (changes.centralLinesAdded > 0)
        parts.push_back("adds " + counted(changes.centralLinesAdded, "StartScript line") +
                        " to the central script " + changes.central);
    if (changes.centralStartAdded)
        parts.push_back("adds a start script for the central script " + changes.central);
    if (changes.authorChanged)
        parts.push_back("sets the author");
    if (changes.descriptionChanged)
        parts.push_back("sets the description");
    if (changes.countCorrected)
        parts.push_back("corrects the record count in the header");
    if (changes.newFile)
        parts.push_back(changes.masterCount == 0 ? std::string("no masters")
                                                 : counted(changes.masterCount, "master"));
    else if (!changes.addedMasters.empty())
        parts.push_back("adds " + counted(changes.addedMasters.size(), "master"));
    if (!changes.backup.empty()) {
        const auto name = changes.backup.filename().u8string();
        parts.push_back("keeps the old file as " + std::string(name.begin(), name.end()));
    }
    std::string text;
    for (const std::string &part : parts)
        text += (text.empty() ? "" : "; ") + part;
    return text;
}

} // namespace hw
