#pragma once

#include "data/actor_set.hpp"
#include "data/game_index.hpp"
#include "data/record_reader.hpp"
#include "data/reference_numbers.hpp"

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace hw {

/// Combines what the reader finds in each file with the index of the files
/// before it, as the game combines its content files.
class RecordCombiner final : public RecordSink
{
public:
    explicit RecordCombiner(GameIndex index);

    /// Starts the file `name`; what follows belongs to it.
    void beginFile(const std::filesystem::path &name);

    GameIndex &index() { return m_index; }

    /// Whether references are taken at all. An index built without them has
    /// the same ids and cells and the same verdict on each file, but places
    /// no actor anywhere; it spares the look-up of every reference where
    /// nobody asks where actors stand.
    bool takesReferences() const { return m_takesReferences; }
    void leaveOutReferences() { m_takesReferences = false; }

    /// The file being read was read before in this index: its references
    /// change its own earlier ones.
    bool ownReadBefore() const { return m_ownReadBefore; }
    /// The NPCs and creatures known so far; it grows only in record().
    const ActorSet &actors() const { return m_actors; }
    /// The entry of the cell last given to cell().
    std::uint32_t currentCell() const { return m_cell; }

    void masters(const std::vector<MasterFile> &masters) override;
    void record(const IdRecord &record) override;
    /// A script record of the file being read, by its id.
    void script(std::string_view id);

    /// The masters the file being read names; what is left is empty.
    std::vector<MasterFile> takeMasters() { return std::move(m_fileMasters); }
    void cell(const CellRecord &cell) override;

    // Only references to NPCs and creatures are kept. A file's own new
    // reference can replace nothing of an earlier file, and only one of its
    // own if it gives a number twice; most references of a master are such
    // and place no actor, and they end here at the cost of the actor filter.
    void reference(const CellReference &reference) override
    {
        if (m_cell == IdTable::npos)
            return;
        const auto actor =
            reference.deleted ? IdTable::npos : m_actors.find(reference.object, m_index.m_ids);
        const std::uint32_t master = reference.refNum >> 24;
        const bool own = master == 0 || master > m_masters.size();
        if (own && !reference.movedTo && !m_ownReadBefore && !ownActorReference(reference.refNum)) {
            if (actor != IdTable::npos)
                add({m_cell, m_own, reference.refNum}, actor);
            return;
        }
        change(reference, actor);
    }

    /// reference() for a reference of the cell `cell`, given later than the
    /// cell's record: the cell last given to cell() stays the current one.
    void referenceIn(std::uint32_t cell, const CellReference &reference)
    {
        const auto current = m_cell;
        m_cell = cell;
        this->reference(reference);
        m_cell = current;
    }

private:
    static constexpr std::uint32_t kNumberBits = ReferenceNumbers::kNumberBits;

    struct ReferenceKey
    {
        std::uint32_t cell;
        std::uint32_t origin;
        std::uint32_t number;
    };

    // The references of one file, found by cell and number; made only when
    // a later file changes one of them.
    struct OriginReferences
    {
        bool made = false;
        std::unordered_map<std::uint64_t, std::uint32_t> byPlace;
    };

    std::uint32_t origin(std::string_view fileName);
    ReferenceKey owner(std::uint32_t cell, std::uint32_t refNum) const;
    std::uint32_t cellEntry(const CellPlace &place);
    void revive(IdEntry &entry);
    void setShown(IdEntry &entry, std::string_view shown);
    OriginReferences &referencesOf(std::uint32_t origin);
    void add(const ReferenceKey &key, std::uint32_t actor);
    void setLive(const ReferenceKey &key, std::uint32_t actor);
    void change(const CellReference &reference, std::uint32_t actor);

    // The reference number of the file being read places an actor.
    bool ownActorReference(std::uint32_t number) const
    {
        return number > kNumberBits || m_ownActorReferences.contains(number);
    }

    GameIndex m_index;
    ActorSet m_actors;
    std::vector<OriginReferences> m_byOrigin;
    std::vector<bool> m_readBefore; ///< by origin: a file of that name was read before
    std::uint32_t m_own = 0;
    std::uint32_t m_file = 0; ///< the file being read: its place among the index's files
    std::vector<MasterFile> m_fileMasters;
    bool m_ownReadBefore = false;
    std::vector<std::uint32_t> m_masters;
    std::uint32_t m_cell = IdTable::npos;
    bool m_takesReferences = true;
    // The reference numbers of the file being read that place an actor, so
    // that its other references need no look-up.
    ReferenceNumbers m_ownActorReferences;
};

} // namespace hw
