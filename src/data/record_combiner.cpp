#include "data/record_combiner.hpp"

#include "model/caseless.hpp"

namespace hw {

namespace {

constexpr KindMask kActors = kindMask(RecordKind::Npc) | kindMask(RecordKind::Creature);

// The file part of a name as a master list or a path gives it, in lower case.
std::string fileKey(std::string_view name)
{
    const auto slash = name.find_last_of("/\\");
    return asciiLowerCase(slash == std::string_view::npos ? name : name.substr(slash + 1));
}

// An exterior cell is known by its grid position; its key cannot clash with
// a name, which never holds a control character.
std::string exteriorKey(std::int32_t x, std::int32_t y)
{
    return '\x01' + std::to_string(x) + ',' + std::to_string(y);
}

std::string utf8Name(const std::filesystem::path &path)
{
    const auto utf8 = path.filename().u8string();
    return {utf8.begin(), utf8.end()};
}

std::uint64_t place(std::uint32_t cell, std::uint32_t number)
{
    return std::uint64_t {cell} << 32 | number;
}

} // namespace

RecordCombiner::RecordCombiner(GameIndex index)
    : m_index(std::move(index))
{
    const auto &ids = m_index.m_ids;
    for (std::uint32_t entry = 0; entry < ids.entries().size(); ++entry)
        if (ids[entry].live && (kindMask(ids[entry].kind) & kActors) != 0)
            m_actors.add(entry, ids);
    m_readBefore.assign(m_index.m_origins.size(), false);
    for (const auto &file : m_index.m_files) {
        const auto read = origin(utf8Name(file.path));
        m_readBefore[read] = true;
    }
}

std::uint32_t RecordCombiner::origin(std::string_view fileName)
{
    auto &origins = m_index.m_origins;
    const std::string key = fileKey(fileName);
    for (std::uint32_t at = 0; at < origins.size(); ++at)
        if (origins[at] == key)
            return at;
    origins.push_back(key);
    m_readBefore.push_back(false);
    return static_cast<std::uint32_t>(origins.size() - 1);
}

void RecordCombiner::beginFile(const std::filesystem::path &name)
{
    m_own = origin(utf8Name(name));
    // A file read a second time changes its own references, as a master's.
    m_ownReadBefore = m_readBefore[m_own];
    m_readBefore[m_own] = true;
    m_file = static_cast<std::uint32_t>(m_index.m_files.size());
    m_masters.clear();
    m_fileMasters.clear();
    m_cell = IdTable::npos;
    m_ownActorReferences.clear();
}

void RecordCombiner::masters(const std::vector<MasterFile> &masters)
{
    for (const auto &master : masters)
        m_masters.push_back(origin(master.name));
    m_fileMasters = masters;
}

void RecordCombiner::script(std::string_view id)
{
    m_index.m_scripts.push_back({m_index.m_ids.addText(id), m_file});
}

// The file that brings an id to life is the one that defines it until a
// later file deletes it.
void RecordCombiner::revive(IdEntry &entry)
{
    if (!entry.live) {
        entry.sequence = ++m_index.m_sequence;
        entry.file = m_file;
    }
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
    const auto found = ids.findOrAdd(record.kind, record.id);
    IdEntry &entry = ids[found];
    if (record.deleted) {
        entry.live = false;
        return;
    }
    revive(entry);
    entry.flags = record.flags;
    if (m_takesReferences && (kindMask(record.kind) & kActors) != 0)
        m_actors.add(found, ids);
    if (record.kind == RecordKind::Region)
        setShown(entry, record.shown);
}

std::uint32_t RecordCombiner::cellEntry(const CellPlace &place)
{
    auto &ids = m_index.m_ids;
    const std::size_t before = ids.entries().size();
    const auto entry = ids.findOrAdd(
        RecordKind::Cell, place.interior ? std::string(place.name) : exteriorKey(place.x, place.y));
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

RecordCombiner::OriginReferences &RecordCombiner::referencesOf(std::uint32_t origin)
{
    if (m_byOrigin.size() <= origin)
        m_byOrigin.resize(origin + 1);
    auto &references = m_byOrigin[origin];
    if (!references.made) {
        const auto &all = m_index.m_references;
        for (std::uint32_t at = 0; at < all.size(); ++at)
            if (all[at].origin == origin)
                references.byPlace.emplace(place(all[at].cell, all[at].number), at);
        references.made = true;
    }
    return references;
}

void RecordCombiner::add(const ReferenceKey &key, std::uint32_t actor)
{
    auto &all = m_index.m_references;
    if (key.origin < m_byOrigin.size() && m_byOrigin[key.origin].made)
        m_byOrigin[key.origin].byPlace.emplace(place(key.cell, key.number), all.size());
    all.push_back({actor, key.cell, key.number, key.origin, true});
    if (key.origin == m_own)
        if (key.number <= kNumberBits)
            m_ownActorReferences.add(key.number);
}

void RecordCombiner::setLive(const ReferenceKey &key, std::uint32_t actor)
{
    auto &byPlace = referencesOf(key.origin).byPlace;
    if (const auto found = byPlace.find(place(key.cell, key.number)); found != byPlace.end()) {
        auto &reference = m_index.m_references[found->second];
        reference.live = actor != IdTable::npos;
        if (reference.live)
            reference.actor = actor;
    } else if (actor != IdTable::npos) {
        add(key, actor);
    }
}

// A reference keyed by its cell, its file and its number replaces the one
// with the same key (in the game a file changes a master's reference inside
// the same cell); a moved reference (MVRF) leaves its cell for the one it
// names.
void RecordCombiner::change(const CellReference &reference, std::uint32_t actor)
{
    auto key = owner(m_cell, reference.refNum);
    if (reference.movedTo) {
        setLive(key, IdTable::npos);
        key.cell = cellEntry(*reference.movedTo);
    }
    setLive(key, actor);
}

} // namespace hw
