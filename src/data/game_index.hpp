#pragma once

#include "data/id_group.hpp"
#include "data/id_table.hpp"
#include "data/record_kind.hpp"
#include "plugin/plugin_header.hpp"
#include "plugin/scan_outcome.hpp"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// Ids in the game's caseless order (asciiCaselessLess), each once, borrowed from a
/// GameIndex: valid while that index lives and is not assigned to.
class SortedIds
{
public:
    SortedIds() = default;
    SortedIds(std::span<const TextRef> ids, const IdTable &table)
        : m_ids(ids)
        , m_table(&table)
    { }

    std::size_t size() const { return m_ids.size(); }
    bool empty() const { return m_ids.empty(); }
    std::string_view operator[](std::size_t at) const { return m_table->text(m_ids[at]); }

private:
    std::span<const TextRef> m_ids;
    const IdTable *m_table = nullptr;
};

/// The index of the first of `ids` that begins with `prefix`, ASCII letter
/// case ignored, or ids.size() when none does. O(log n).
std::size_t firstStartingWith(const SortedIds &ids, std::string_view prefix);

/// One file of the index and how far it was read: the records before a
/// fault are part of the index.
struct IndexedFile
{
    std::filesystem::path path;
    ScanOutcome outcome;
    std::uint64_t size = 0; ///< on disk
    /// The masters its header names, UTF-8, with the sizes it gives them.
    std::vector<MasterFile> masters = {};
};

/// A script record of one of the index's files.
struct IndexedScript
{
    std::string_view id; ///< UTF-8, as the record spells it
    std::size_t file = 0; ///< its place among the index's files
};

/// What the index knows of an NPC or creature.
struct ActorFacts
{
    static constexpr std::uint32_t kPersists = 0x400;
    static constexpr std::uint32_t kBlocked = 0x2000;

    RecordKind kind = RecordKind::Npc;
    std::string id; ///< as first spelt
    std::uint32_t flags = 0; ///< the record header's flags
    /// For each reference that stands in a cell: the cell, as the author
    /// knows it ("Balmora, Guild of Mages", "Seyda Neen (-2, -9)").
    std::vector<std::string> cells;

    bool persists() const { return (flags & kPersists) != 0; }
};

/// The records of the game's files by kind, combined in load order as the
/// game combines them: a later record replaces an earlier one of the same
/// kind and id (case ignored), a deletion removes it, and a reference that a
/// file changes or deletes replaces the reference of the file it belongs to.
///
/// A plain value: build it with GameIndexBuilder (any thread), then move it
/// where it is used. Reading it from several threads at once is safe.
class GameIndex
{
public:
    /// The files in the order they were combined, each with its outcome.
    std::span<const IndexedFile> files() const { return m_files; }

    /// True before any file was added: nothing is known.
    bool empty() const { return m_files.empty(); }

    /// How many ids of `kind` there are, each counted once.
    std::size_t count(RecordKind kind) const { return sorted(idGroupOf(kind)).size(); }

    /// How many ids of all kinds there are.
    std::size_t idCount() const;

    /// The ids of `group` in caseless order, for completion; built once with
    /// the index.
    SortedIds sorted(IdGroup group) const;

    /// True when `id` is one of `group`, letter case ignored. O(log n).
    bool knows(IdGroup group, std::string_view id) const;

    /// The ids of `kind`, each once (case ignored), in the order they first
    /// appeared as the files combined.
    std::vector<std::string_view> inOrder(RecordKind kind) const;

    /// The NPC or creature `id`; nothing when the index has no such actor.
    std::optional<ActorFacts> actor(std::string_view id) const;

    /// How many cells the NPC or creature `id` stands in, as actor() lists
    /// them, without naming each cell; 0 when there is no such actor.
    std::size_t placementCount(std::string_view id) const;

    /// The file (its place in files()) that defines the NPC `id`: the first
    /// with a record for it after the last that deleted it, letter case
    /// ignored; nothing when no file does.
    std::optional<std::size_t> definingFile(std::string_view npcId) const;

    /// Every script record of the files, in the order they were read.
    std::vector<IndexedScript> scripts() const;

private:
    friend class GameIndexBuilder;
    friend class RecordCombiner;

    struct CellInfo
    {
        std::int32_t x = 0;
        std::int32_t y = 0;
        TextRef region;
        bool interior = false;
    };

    struct Script
    {
        TextRef id;
        std::uint32_t file = 0;
    };

    struct Reference
    {
        std::uint32_t actor = 0;
        std::uint32_t cell = 0;
        std::uint32_t number = 0;
        std::uint32_t origin = 0;
        bool live = false;
    };

    void organise(bool sortLists);
    void placeActors();
    std::uint32_t liveActor(std::string_view id) const;
    std::span<const std::uint32_t> placementsOf(std::uint32_t actor) const;
    std::vector<TextRef> liveShown(RecordKind kind) const;
    std::string describeCell(std::uint32_t cell) const;

    IdTable m_ids;
    std::vector<CellInfo> m_cells;
    std::vector<Reference> m_references;
    std::vector<IndexedFile> m_files;
    std::vector<Script> m_scripts;
    std::vector<std::string> m_origins; ///< the files references belong to, in lower case
    std::uint32_t m_sequence = 0;
    std::array<std::vector<TextRef>, kIdGroupCount> m_sorted;
    std::vector<std::uint32_t> m_placed; ///< live references to live actors, by actor
};

/// 14102 as "14,102".
std::string withThousands(std::size_t number);

/// "3 files, 2,675 NPCs, 14,102 ids": what the status bar says is loaded.
std::string describeCounts(const GameIndex &index);

} // namespace hw
