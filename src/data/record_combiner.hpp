#pragma once

#include "data/actor_set.hpp"
#include "data/game_index.hpp"
#include "data/record_reader.hpp"

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

    void masters(const std::vector<std::string> &names) override;
    void record(const IdRecord &record) override;
    void cell(const CellRecord &cell) override;
    void reference(const CellReference &reference) override;

private:
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
    bool ownActorReference(std::uint32_t number) const;
    void markOwnActorReference(std::uint32_t number);

    GameIndex m_index;
    ActorSet m_actors;
    std::vector<OriginReferences> m_byOrigin;
    std::vector<bool> m_readBefore; ///< by origin: a file of that name was read before
    std::uint32_t m_own = 0;
    bool m_ownReadBefore = false;
    std::vector<std::uint32_t> m_masters;
    std::uint32_t m_cell = IdTable::npos;
    // One bit per reference number of the file being read that places an
    // actor, so that its other references need no look-up.
    std::vector<std::uint64_t> m_ownActorReferences;
};

} // namespace hw
