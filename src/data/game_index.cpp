#include "data/game_index.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <set>

namespace hw {

namespace {

// The first of `ids` that does not sort before `text`.
std::size_t lowerBound(const SortedIds &ids, std::string_view text)
{
    std::size_t low = 0;
    std::size_t high = ids.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (caselessLess(ids[middle], text))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// Of texts that are equal with case ignored, the first one stays.
void keepFirstOfEqual(std::vector<TextRef> &ids, const IdTable &table)
{
    const auto equal = [&](TextRef a, TextRef b) {
        return caselessEqual(table.text(a), table.text(b));
    };
    ids.erase(std::unique(ids.begin(), ids.end(), equal), ids.end());
}

void sortIds(std::vector<TextRef> &ids, const IdTable &table)
{
    std::stable_sort(ids.begin(), ids.end(), [&](TextRef a, TextRef b) {
        return caselessLess(table.text(a), table.text(b));
    });
    keepFirstOfEqual(ids, table);
}

std::vector<TextRef> mergeIds(const std::vector<TextRef> &a, const std::vector<TextRef> &b,
                              const IdTable &table)
{
    std::vector<TextRef> merged;
    merged.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(merged),
               [&](TextRef x, TextRef y) { return caselessLess(table.text(x), table.text(y)); });
    keepFirstOfEqual(merged, table);
    return merged;
}

// 14102 as "14,102".
std::string withThousands(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string counted(std::size_t number, std::string_view one, std::string_view many)
{
    return withThousands(number) + ' ' + std::string(number == 1 ? one : many);
}

} // namespace

std::size_t firstStartingWith(const SortedIds &ids, std::string_view prefix)
{
    // Every id that begins with `prefix` sorts at or after it, and any id
    // between two of them begins with it too.
    const std::size_t first = lowerBound(ids, prefix);
    if (first == ids.size() || !caselessStartsWith(ids[first], prefix))
        return ids.size();
    return first;
}

std::size_t GameIndex::idCount() const
{
    std::size_t total = 0;
    for (const auto kind : kRecordKinds)
        total += count(kind);
    return total;
}

SortedIds GameIndex::sorted(IdGroup group) const
{
    return {m_sorted[static_cast<std::size_t>(group)], m_ids};
}

bool GameIndex::knows(IdGroup group, std::string_view id) const
{
    const auto ids = sorted(group);
    const std::size_t at = lowerBound(ids, id);
    return at < ids.size() && caselessEqual(ids[at], id);
}

std::vector<TextRef> GameIndex::liveShown(RecordKind kind) const
{
    std::vector<TextRef> shown;
    for (const auto &entry : m_ids.entries())
        if (entry.live && entry.kind == kind && entry.shown.length > 0)
            shown.push_back(entry.shown);
    return shown;
}

std::vector<std::string_view> GameIndex::inOrder(RecordKind kind) const
{
    std::vector<const IdEntry *> entries;
    for (const auto &entry : m_ids.entries())
        if (entry.live && entry.kind == kind && entry.shown.length > 0)
            entries.push_back(&entry);
    std::sort(entries.begin(), entries.end(),
              [](const IdEntry *a, const IdEntry *b) { return a->sequence < b->sequence; });
    std::set<std::string_view, decltype(&caselessLess)> seen(&caselessLess);
    std::vector<std::string_view> ids;
    for (const auto *entry : entries)
        if (const auto text = m_ids.text(entry->shown); seen.insert(text).second)
            ids.push_back(text);
    return ids;
}

std::optional<ActorFacts> GameIndex::actor(std::string_view id) const
{
    for (const auto kind : {RecordKind::Npc, RecordKind::Creature}) {
        const auto entry = m_ids.find(id, kindMask(kind));
        if (entry == IdTable::npos || !m_ids[entry].live)
            continue;
        ActorFacts facts {kind, std::string(m_ids.text(m_ids[entry].key)), m_ids[entry].flags, {}};
        const auto first = std::partition_point(m_placed.begin(), m_placed.end(),
                                                [&](auto at) { return m_references[at].actor < entry; });
        for (auto at = first; at != m_placed.end() && m_references[*at].actor == entry; ++at)
            facts.cells.push_back(describeCell(m_references[*at].cell));
        return facts;
    }
    return std::nullopt;
}

std::string GameIndex::describeCell(std::uint32_t cell) const
{
    const IdEntry &entry = m_ids[cell];
    const CellInfo &info = m_cells[entry.cell];
    const std::string name(m_ids.text(entry.shown));
    if (info.interior)
        return name;
    const std::string grid =
        " (" + std::to_string(info.x) + ", " + std::to_string(info.y) + ")";
    if (!name.empty())
        return name + grid;
    // An unnamed exterior goes by its region's name, as in the game.
    const auto regionId = m_ids.text(info.region);
    const auto region = m_ids.find(regionId, kindMask(RecordKind::Region));
    if (region != IdTable::npos && m_ids[region].live && m_ids[region].shown.length > 0)
        return std::string(m_ids.text(m_ids[region].shown)) + grid;
    return (regionId.empty() ? std::string("Wilderness") : std::string(regionId)) + grid;
}

void GameIndex::organise()
{
    const auto &table = m_ids;
    const auto group = [this](IdGroup g) -> std::vector<TextRef> & {
        return m_sorted[static_cast<std::size_t>(g)];
    };
    for (const auto kind : kRecordKinds) {
        group(idGroupOf(kind)) = liveShown(kind);
        sortIds(group(idGroupOf(kind)), table);
    }
    group(IdGroup::Actor) = mergeIds(group(IdGroup::Npc), group(IdGroup::Creature), table);
    group(IdGroup::ActivateTarget) =
        mergeIds(group(IdGroup::Actor),
                 mergeIds(group(IdGroup::Object), group(IdGroup::Item), table), table);
    group(IdGroup::CastTarget) =
        mergeIds(group(IdGroup::Actor), {m_ids.addText(kPlayerId)}, table);
    group(IdGroup::Place) = mergeIds(group(IdGroup::Cell), group(IdGroup::Region), table);

    m_placed.clear();
    for (std::uint32_t at = 0; at < m_references.size(); ++at)
        if (m_references[at].live && m_ids[m_references[at].actor].live)
            m_placed.push_back(at);
    std::stable_sort(m_placed.begin(), m_placed.end(), [this](std::uint32_t a, std::uint32_t b) {
        return m_references[a].actor < m_references[b].actor;
    });
}

std::string describeCounts(const GameIndex &index)
{
    return counted(index.files().size(), "file", "files") + ", " +
        counted(index.count(RecordKind::Npc), "NPC", "NPCs") + ", " +
        counted(index.idCount(), "id", "ids");
}

} // namespace hw
