#include "data/schedule_checks.hpp"

#include "data/nearest_ids.hpp"
#include "model/caseless.hpp"
#include "model/task_entry.hpp"

#include <algorithm>
#include <unordered_map>

namespace hw {

namespace {

std::string inQuotes(std::string_view text)
{
    return '"' + std::string(text) + '"';
}

// ' Did you mean "a", "b" or "c"?', or nothing without suggestions.
std::string suggestions(const std::vector<std::string> &nearest)
{
    if (nearest.empty())
        return {};
    std::string text = " Did you mean ";
    for (std::size_t n = 0; n < nearest.size(); ++n) {
        if (n > 0)
            text += n + 1 == nearest.size() ? " or " : ", ";
        text += inQuotes(nearest[n]);
    }
    return text + '?';
}

// "Balmora, Guild of Mages; Seyda Neen (-2, -9) twice": each cell once, in
// the order of the references, with how often when more than once. An NPC
// placed in thousands of cells (a generated plugin) gets the first few and
// the count of the others, so that the note stays one line to read.
std::string cellList(const std::vector<std::string> &cells)
{
    constexpr std::size_t kListed = 10;
    std::vector<std::pair<std::string_view, std::size_t>> counted;
    std::unordered_map<std::string_view, std::size_t> at;
    for (const auto &cell : cells) {
        const auto [found, added] = at.try_emplace(cell, counted.size());
        if (added)
            counted.emplace_back(cell, 1);
        else
            ++counted[found->second].second;
    }
    std::string text;
    for (std::size_t n = 0; n < counted.size() && n < kListed; ++n) {
        const auto &[cell, count] = counted[n];
        text += text.empty() ? "" : "; ";
        text += cell;
        if (count > 1)
            text += count == 2 ? " twice" : " " + withThousands(count) + " times";
    }
    if (counted.size() > kListed)
        text += " and " + withThousands(counted.size() - kListed) + " more";
    return text;
}

// Every command of a schedule script names the NPC's id ("id"->AITravel):
// the editor refuses to compile an id it does not know, and a command can
// only reach a reference that stands somewhere. With several references
// the game takes the first it finds, so the others never follow the
// schedule. A script started by a central script runs while the player may
// be far away: the original engine then finds only references whose record
// says "References Persist" (OpenMW looks in every cell, the original game
// does not).
void checkNpc(std::string_view npcId, ScheduleSwitches switches, const GameIndex &index,
              std::vector<ScheduleNote> &notes)
{
    const auto note = [&](std::string text) { notes.push_back({std::nullopt, std::move(text)}); };
    const auto facts = index.actor(npcId);
    if (!facts) {
        note("No NPC or creature in the loaded game data has the id " + inQuotes(npcId) + '.' +
             suggestions(nearestIds(index.sorted(IdGroup::Actor), npcId)));
        return;
    }
    const std::string name = "The NPC " + inQuotes(npcId);
    const std::size_t placed = facts->cells.size();
    if (placed == 0)
        note(name +
             " is not placed in any cell of the loaded game data: its commands reach "
             "nobody.");
    if (placed > 1)
        note(name + " is placed " + withThousands(placed) + " times (" + cellList(facts->cells) +
             "): its commands reach only one of them.");
    if (switches.global && !facts->persists())
        note(name +
             " does not have \"References Persist\" set: a script started from a "
             "central script cannot reach it while its cell is not loaded.");
}

std::string_view unquoted(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

// The fields of an entry's action in the order the entry lists their values:
// by field number, as Add Task joins them.
std::vector<OptionSpec> fieldsInEntryOrder(const Action &action)
{
    std::vector<OptionSpec> fields(action.options.begin(), action.options.end());
    std::stable_sort(fields.begin(), fields.end(),
                     [](const OptionSpec &a, const OptionSpec &b) { return a.field < b.field; });
    return fields;
}

// An id the game does not know in an option field: the editor refuses to
// compile the command ("object not found"), or the game fails to run it and
// the NPC does nothing at that hour. The nearest known ids are most often
// the one meant.
void checkEntry(std::size_t at, std::string_view entry, const GameIndex &index,
                std::vector<ScheduleNote> &notes)
{
    const EntryParts parts = splitEntry(entry);
    const Action *action = findAction(parts.action);
    if (action == nullptr || !parts.hasOptions)
        return;
    const auto values = splitOptions(parts.options);
    const auto fields = fieldsInEntryOrder(*action);
    for (std::size_t n = 0; n < fields.size() && n < values.size(); ++n) {
        const auto group = idGroupOfField(fields[n].kind);
        const auto id = unquoted(values[n]);
        if (!group || id.empty() || index.knows(*group, id))
            continue;
        // A target may be the player, whom no file holds.
        const bool target = fields[n].kind == FieldKind::Actor ||
            fields[n].kind == FieldKind::ActivateTarget || fields[n].kind == FieldKind::CastTarget;
        if (target && caselessEqual(id, kPlayerId))
            continue;
        const auto caption = fields[n].caption.substr(0, fields[n].caption.size() - 1);
        notes.push_back({at,
                         std::string(caption) + ' ' + inQuotes(id) + " is not " +
                             std::string(idGroupWords(*group)) + " in the loaded game data." +
                             suggestions(nearestIds(index.sorted(*group), id))});
    }
}

} // namespace

std::vector<ScheduleNote> checkSchedule(std::string_view npcId,
                                        std::span<const std::string> entries,
                                        ScheduleSwitches switches, const GameIndex &index)
{
    std::vector<ScheduleNote> notes;
    if (index.empty())
        return notes;
    checkNpc(npcId, switches, index, notes);
    for (std::size_t at = 0; at < entries.size(); ++at)
        checkEntry(at, entries[at], index, notes);
    return notes;
}

std::string noteLine(const ScheduleNote &note, std::span<const std::string> entries)
{
    if (!note.entry || *note.entry >= entries.size())
        return note.text;
    return entries[*note.entry] + ": " + note.text;
}

} // namespace hw
