#pragma once

#include "data/record_kind.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// A text kept in an IdTable: where it starts in the table's text and its length.
struct TextRef
{
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

/// One id of an index, live or deleted.
struct IdEntry
{
    TextRef key; ///< what tells it apart within its kind (an exterior cell: its grid)
    TextRef shown; ///< what the author is offered (a region: its display name)
    std::uint32_t sequence = 0; ///< when it last came to life: orders ids by first appearance
    std::uint32_t flags = 0; ///< the record header's flags
    std::uint32_t cell = 0; ///< a cell's place in the index's cell table
    /// The file (its place among the index's files) that last brought the id
    /// to life: for an NPC, the file that defines it.
    std::uint32_t file = 0;
    RecordKind kind = RecordKind::Npc;
    bool live = false;
};

/// A set of kinds, one bit each.
using KindMask = std::uint8_t;

constexpr KindMask kindMask(RecordKind kind)
{
    return static_cast<KindMask>(1u << static_cast<unsigned>(kind));
}

/// A hash of `text` that is the same for texts that are equal with ASCII
/// letter case ignored (asciiCaselessEqual).
std::uint64_t asciiCaselessHash(std::string_view text);

/// Ids found by their key, letter case ignored, in one open-addressing hash
/// table over one block of text: a few bytes per id beyond the text itself.
class IdTable
{
public:
    static constexpr std::uint32_t npos = ~std::uint32_t {0};

    std::string_view text(TextRef ref) const { return {m_text.data() + ref.offset, ref.length}; }
    TextRef addText(std::string_view text);

    /// The entry of one of `kinds` whose key equals `key` with letter case
    /// ignored, live or not; npos when there is none.
    std::uint32_t find(std::string_view key, KindMask kinds) const;

    /// The entry of `kind` whose key is `key`; a new one that is not live yet
    /// when there is none.
    std::uint32_t findOrAdd(RecordKind kind, std::string_view key);

    IdEntry &operator[](std::uint32_t entry) { return m_entries[entry]; }
    const IdEntry &operator[](std::uint32_t entry) const { return m_entries[entry]; }
    std::span<const IdEntry> entries() const { return m_entries; }

private:
    void insertSlot(std::uint64_t slot);

    std::string m_text;
    std::vector<IdEntry> m_entries;
    // Each slot holds the low half of the key's hash (which also places it)
    // and the entry's number plus 1; 0 is empty. At most half the slots are
    // used.
    std::vector<std::uint64_t> m_slots;
};

} // namespace hw
