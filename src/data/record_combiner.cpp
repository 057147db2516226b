#include "data/record_combiner.hpp"

#include "model/caseless.hpp"

namespace hw {

namespace {

constexpr KindMask kActors = kindMask(RecordKind::Npc) | kindMask(RecordKind::Creature);
constexpr std::uint32_t kNumberBits = 0x00FFFFFF;

// The file part of a name as a master list or a path gives it, in lower case.
std::string fileKey(std::string_view name)
{
    const auto slash = name.find_last_of("/\\");
    return lowerCase(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

// An exterior cell is known by its grid position; its key cannot clash with
// a name, which never holds a control character.
std::string exteriorKey(std::int32_t x, std::int32_t y)
{
    return '\x01' + std::to_string(x) + ',' + std::to_string(y);
}

} // namespace

std::size_t RecordCombiner::KeyHash::operator()(const ReferenceKey &key) const
{
    const std::uint64_t packed = (std::uint64_t {key.cell} << 32 | key.number) ^
        (std::uint64_t {key.origin} * 0x9E3779B97F4A7C15ull);
    return std::hash<std::uint64_t> {}(packed);
}

RecordCombiner::RecordCombiner(GameIndex index)
    : m_index(std::move(index))
{
    const auto &references = m_index.m_references;
    for (std::uint32_t at = 0; at < references.size(); ++at)
        m_references.emplace(
            ReferenceKey {references[at].cell, references[at].origin, references[at].number}, at);
}

std::uint32_t RecordCombiner::origin(std::string_view fileName)
{
    auto &origins = m_index.m_origins;
    const std::string key = fileKey(fileName);
    for (std::uint32_t at = 0; at < origins.size(); ++at)
        if (origins[at] == key)
            return at;
    origins.push_back(key);
    return static_cast<std::uint32_t>(origins.size() - 1);
}

void RecordCombiner::beginFile(const std::filesystem::path &name)
{
    const auto utf8 = name.filename().u8string();
    m_own = origin(std::string_view(reinterpret_cast<const char *>(utf8.data()), utf8.size()));
    m_masters.clear();
    m_cell = IdTable::npos;
    m_ownActorReferences.clear();
}

void RecordCombiner::masters(const std::vector<std::string> &names)
{
    for (const auto &name : names)
        m_masters.push_back(origin(name));
}

void RecordCombiner::revive(IdEntry &entry)
{
    if (!entry.live)
        entry.sequence = ++m_index.m_sequence;
    entry.live = true;
}

void RecordCombiner::setShown(IdEntry &entry, std::string_view shown)
{
    if (m_index.m_ids.text(entry.shown) != shown)
        entry.shown = m_index.m_ids.addText(shown);
}

// An id keeps the spelling it first had: the game ignores letter case. A
// region's display name, though, is whatever its last record says.
void RecordCombiner::record(const IdRecord &record)
{
    if (record.id.empty())
        return;
    auto &ids = m_index.m_ids;
    IdEntry &entry = ids[ids.findOrAdd(record.kind, record.id)];
    if (record.deleted) {
        entry.live = false;
        return;
    }
    revive(entry);
    entry.flags = record.flags;
    if (record.kind == RecordKind::Region)
        setShown(entry, record.shown);
}

std::uint32_t RecordCombiner::cellEntry(const CellPlace &place)
{
    auto &ids = m_index.m_ids;
    const std::size_t before = ids.entries().size();
    const auto entry =
        ids.findOrAdd(RecordKind::Cell, place.interior ? std::string(place.name)
                                                       : exteriorKey(place.x, place.y));
    if (ids.entries().size() > before) {
        ids[entry].cell = static_cast<std::uint32_t>(m_index.m_cells.size());
        m_index.m_cells.push_back({place.x, place.y, {}, place.interior});
        if (!place.interior)
            ids[entry].shown = {};
    }
    return entry;
}

// Interiors are known by name, exteriors by grid; a cell record in a later
// file for the same cell replaces its name and region.
void RecordCombiner::cell(const CellRecord &cell)
{
    m_cell = cellEntry(cell.place);
    IdEntry &entry = m_index.m_ids[m_cell];
    if (cell.deleted) {
        entry.live = false;
        return;
    }
    revive(entry);
    if (!cell.place.interior)
        setShown(entry, cell.place.name);
    auto &info = m_index.m_cells[entry.cell];
    if (m_index.m_ids.text(info.region) != cell.region)
        info.region = m_index.m_ids.addText(cell.region);
}

// As the game reads reference numbers: a top byte n from 1 to the number of
// the file's masters names the n-th master, whose reference this one
// changes; 0 is the file's own new reference, and so is any other top byte,
// taken as a faulty number of the file's own with all its 32 bits.
RecordCombiner::ReferenceKey RecordCombiner::owner(std::uint32_t cell, std::uint32_t refNum) const
{
    const std::uint32_t master = refNum >> 24;
    if (master != 0 && master <= m_masters.size())
        return {cell, m_masters[master - 1], refNum & kNumberBits};
    return {cell, m_own, refNum};
}

std::uint32_t RecordCombiner::liveActor(std::string_view id) const
{
    const auto &ids = m_index.m_ids;
    const auto found = ids.find(id, kActors);
    if (found == IdTable::npos || ids[found].live)
        return found;
    // An NPC that was deleted may share its id with a creature that was not.
    const auto other =
        ids.find(id, kActors & static_cast<KindMask>(~kindMask(ids[found].kind)));
    return other != IdTable::npos && ids[other].live ? other : IdTable::npos;
}

bool RecordCombiner::ownActorReference(std::uint32_t number) const
{
    const std::size_t word = number / 64;
    return number > kNumberBits ||
        (word < m_ownActorReferences.size() && (m_ownActorReferences[word] >> (number % 64) & 1));
}

void RecordCombiner::markOwnActorReference(std::uint32_t number)
{
    if (number > kNumberBits)
        return;
    if (number / 64 >= m_ownActorReferences.size())
        m_ownActorReferences.resize(number / 64 + 1, 0);
    m_ownActorReferences[number / 64] |= std::uint64_t {1} << (number % 64);
}

void RecordCombiner::setLive(const ReferenceKey &key, std::uint32_t actor)
{
    auto &references = m_index.m_references;
    if (const auto found = m_references.find(key); found != m_references.end()) {
        auto &reference = references[found->second];
        reference.live = actor != IdTable::npos;
        if (reference.live)
            reference.actor = actor;
        return;
    }
    if (actor == IdTable::npos)
        return;
    m_references.emplace(key, static_cast<std::uint32_t>(references.size()));
    references.push_back({actor, key.cell, key.number, key.origin, true});
    if (key.origin == m_own)
        markOwnActorReference(key.number);
}

// Only references to NPCs and creatures are kept. A reference keyed by its
// cell, its file and its number replaces the one with the same key (in the
// game a file changes a master's reference inside the same cell); a moved
// reference (MVRF) leaves its cell for the one it names.
void RecordCombiner::reference(const CellReference &reference)
{
    if (m_cell == IdTable::npos)
        return;
    auto key = owner(m_cell, reference.refNum);
    const auto actor = reference.deleted ? IdTable::npos : liveActor(reference.object);
    // Most references place things other than actors, and a file's own new
    // reference can replace nothing of an earlier file.
    if (actor == IdTable::npos && !reference.movedTo && key.origin == m_own &&
        !ownActorReference(key.number))
        return;
    if (reference.movedTo) {
        setLive(key, IdTable::npos);
        key.cell = cellEntry(*reference.movedTo);
    }
    setLive(key, actor);
}

} // namespace hw
