#include "data/game_index.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <future>
#include <set>
#include <system_error>

namespace hw {

namespace {

// The first of `ids` that does not sort before `text`.
std::size_t lowerBound(const SortedIds &ids, std::string_view text)
{
    std::size_t low = 0;
    std::size_t high = ids.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (asciiCaselessLess(ids[middle], text))
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

// An id with the first sixteen bytes of its lower-case form as two numbers
// that order as those bytes do, as asciiCaselessLess orders the ids; only ids
// with the same sixteen first bytes need their texts compared. (Ids share
// long beginnings: "ex_common_", "furn_de_", "T_Com_Var_".)
struct SortKey
{
    std::uint64_t head;
    std::uint64_t next;
    TextRef id;

    bool prefixBefore(const SortKey &other) const
    {
        return head != other.head ? head < other.head : next < other.next;
    }
    bool samePrefix(const SortKey &other) const { return head == other.head && next == other.next; }
};

// Eight bytes of `id` from `from` on in lower case (zeros after its end) as
// one number.
std::uint64_t packFolded(std::string_view id, std::size_t from)
{
    std::uint64_t prefix = 0;
    for (std::size_t at = from; at < from + 8; ++at)
        prefix =
            prefix << 8 | (at < id.size() ? static_cast<unsigned char>(asciiLower(id[at])) : 0);
    return prefix;
}

SortKey sortKey(std::string_view id, TextRef ref)
{
    return {packFolded(id, 0), packFolded(id, 8), ref};
}

class KeyOrder
{
public:
    explicit KeyOrder(const IdTable &table)
        : m_table(table)
    { }
    bool operator()(const SortKey &a, const SortKey &b) const
    {
        return !a.samePrefix(b) ? a.prefixBefore(b) : asciiCaselessLess(rest(a), rest(b));
    }
    bool equal(const SortKey &a, const SortKey &b) const
    {
        return a.samePrefix(b) && asciiCaselessEqual(rest(a), rest(b));
    }

private:
    // What the prefix leaves to compare: the bytes after the first sixteen.
    // (An id holds no NUL, so ids with one prefix agree up to the end of the
    // shorter one when it has fewer than sixteen bytes, and both end there.)
    std::string_view rest(const SortKey &key) const
    {
        const auto id = m_table.text(key.id);
        return id.substr(std::min<std::size_t>(16, id.size()));
    }

    const IdTable &m_table;
};

// Of ids that are equal with case ignored, the first one stays.
void keepFirstOfEqual(std::vector<SortKey> &ids, const KeyOrder &order)
{
    const auto equal = [&](const SortKey &a, const SortKey &b) { return order.equal(a, b); };
    ids.erase(std::unique(ids.begin(), ids.end(), equal), ids.end());
}

std::vector<SortKey> sortIds(const std::vector<TextRef> &ids, const KeyOrder &order,
                             const IdTable &table)
{
    std::vector<SortKey> keys;
    keys.reserve(ids.size());
    for (const auto id : ids)
        keys.push_back(sortKey(table.text(id), id));
    std::stable_sort(keys.begin(), keys.end(), order);
    keepFirstOfEqual(keys, order);
    return keys;
}

std::vector<SortKey> mergeIds(const std::vector<SortKey> &a, const std::vector<SortKey> &b,
                              const KeyOrder &order)
{
    std::vector<SortKey> merged;
    merged.reserve(a.size() + b.size());
    std::merge(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(merged), order);
    keepFirstOfEqual(merged, order);
    return merged;
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
    if (first == ids.size() || !asciiCaselessStartsWith(ids[first], prefix))
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
    return at < ids.size() && asciiCaselessEqual(ids[at], id);
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
    std::set<std::string_view, decltype(&asciiCaselessLess)> seen(&asciiCaselessLess);
    std::vector<std::string_view> ids;
    for (const auto *entry : entries)
        if (const auto text = m_ids.text(entry->shown); seen.insert(text).second)
            ids.push_back(text);
    return ids;
}

// The live NPC of `id`, else its live creature (the two may share an id).
std::uint32_t GameIndex::liveActor(std::string_view id) const
{
    for (const auto kind : {RecordKind::Npc, RecordKind::Creature}) {
        const auto entry = m_ids.find(id, kindMask(kind));
        if (entry != IdTable::npos && m_ids[entry].live)
            return entry;
    }
    return IdTable::npos;
}

// The live references that place `actor`, in the order they were read.
std::span<const std::uint32_t> GameIndex::placementsOf(std::uint32_t actor) const
{
    const auto byActor = [&](std::uint32_t at) { return m_references[at].actor < actor; };
    const auto first = std::partition_point(m_placed.begin(), m_placed.end(), byActor);
    auto last = first;
    while (last != m_placed.end() && m_references[*last].actor == actor)
        ++last;
    return {first, last};
}

std::optional<ActorFacts> GameIndex::actor(std::string_view id) const
{
    const auto entry = liveActor(id);
    if (entry == IdTable::npos)
        return std::nullopt;
    const IdEntry &found = m_ids[entry];
    ActorFacts facts {found.kind, std::string(m_ids.text(found.key)), found.flags, {}};
    for (const auto at : placementsOf(entry))
        facts.cells.push_back(describeCell(m_references[at].cell));
    return facts;
}

std::size_t GameIndex::placementCount(std::string_view id) const
{
    const auto entry = liveActor(id);
    return entry == IdTable::npos ? 0 : placementsOf(entry).size();
}

std::optional<std::size_t> GameIndex::definingFile(std::string_view npcId) const
{
    const auto entry = m_ids.find(npcId, kindMask(RecordKind::Npc));
    if (entry == IdTable::npos || !m_ids[entry].live)
        return std::nullopt;
    return m_ids[entry].file;
}

std::vector<IndexedScript> GameIndex::scripts() const
{
    std::vector<IndexedScript> scripts;
    scripts.reserve(m_scripts.size());
    for (const Script &script : m_scripts)
        scripts.push_back({m_ids.text(script.id), script.file});
    return scripts;
}

std::string GameIndex::describeCell(std::uint32_t cell) const
{
    const IdEntry &entry = m_ids[cell];
    const CellInfo &info = m_cells[entry.cell];
    const std::string name(m_ids.text(entry.shown));
    if (info.interior)
        return name;
    const std::string grid = " (" + std::to_string(info.x) + ", " + std::to_string(info.y) + ")";
    if (!name.empty())
        return name + grid;
    // An unnamed exterior goes by its region's name, as in the game.
    const auto regionId = m_ids.text(info.region);
    const auto region = m_ids.find(regionId, kindMask(RecordKind::Region));
    if (region != IdTable::npos && m_ids[region].live && m_ids[region].shown.length > 0)
        return std::string(m_ids.text(m_ids[region].shown)) + grid;
    return (regionId.empty() ? std::string("Wilderness") : std::string(regionId)) + grid;
}

namespace {

constexpr std::size_t kIdsForASecondThread = 16384;

} // namespace

void GameIndex::organise(bool sortLists)
{
    if (!sortLists) {
        placeActors();
        return;
    }
    // Sorting is most of the work, and the kinds sort apart: for a game's
    // tens of thousands of ids the things (items, objects, spells) and the
    // placing of actors go to a second thread, where one can be started; for
    // a few ids a thread would cost more than it spares.
    const KeyOrder order(m_ids);
    std::array<std::vector<SortKey>, kIdGroupCount> groups;
    const auto sortKinds = [&](bool things) {
        for (const auto kind : kRecordKinds) {
            const bool thing =
                kind == RecordKind::Item || kind == RecordKind::Object || kind == RecordKind::Spell;
            if (thing == things)
                groups[static_cast<std::size_t>(idGroupOf(kind))] =
                    sortIds(liveShown(kind), order, m_ids);
        }
    };
    const auto second = [&] {
        sortKinds(true);
        placeActors();
    };
    std::future<void> beside;
    try {
        if (m_ids.entries().size() >= kIdsForASecondThread)
            beside = std::async(std::launch::async, second);
    } catch (const std::system_error &) {
        // No thread to be had: everything is sorted here.
    }
    if (!beside.valid())
        second();
    sortKinds(false);
    if (beside.valid())
        beside.get();

    const auto group = [&](IdGroup g) -> std::vector<SortKey> & {
        return groups[static_cast<std::size_t>(g)];
    };
    const auto player = m_ids.addText(kPlayerId);
    group(IdGroup::Actor) = mergeIds(group(IdGroup::Npc), group(IdGroup::Creature), order);
    group(IdGroup::ActivateTarget) =
        mergeIds(group(IdGroup::Actor),
                 mergeIds(group(IdGroup::Object), group(IdGroup::Item), order), order);
    group(IdGroup::CastTarget) =
        mergeIds(group(IdGroup::Actor), {sortKey(kPlayerId, player)}, order);
    group(IdGroup::Place) = mergeIds(group(IdGroup::Cell), group(IdGroup::Region), order);
    for (std::size_t at = 0; at < kIdGroupCount; ++at) {
        m_sorted[at].clear();
        for (const auto &key : groups[at])
            m_sorted[at].push_back(key.id);
    }
}

void GameIndex::placeActors()
{
    // Each live reference as its actor and its place, sorted: by actor, and
    // for one actor in the order the references were read.
    std::vector<std::uint64_t> placed;
    for (std::uint32_t at = 0; at < m_references.size(); ++at)
        if (m_references[at].live && m_ids[m_references[at].actor].live)
            placed.push_back(std::uint64_t {m_references[at].actor} << 32 | at);
    std::sort(placed.begin(), placed.end());
    m_placed.assign(placed.size(), 0);
    std::transform(placed.begin(), placed.end(), m_placed.begin(),
                   [](std::uint64_t both) { return static_cast<std::uint32_t>(both); });
}

std::string withThousands(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    return digits;
}

std::string describeCounts(const GameIndex &index)
{
    return counted(index.files().size(), "file", "files") + ", " +
        counted(index.count(RecordKind::Npc), "NPC", "NPCs") + ", " +
        counted(index.idCount(), "id", "ids");
}

} // namespace hw
