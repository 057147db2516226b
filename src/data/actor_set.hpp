#pragma once

#include "data/id_table.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace hw {

/// The NPCs and creatures of an IdTable in a hash table of their own, behind
/// a one-bit-per-hash filter. Both are small enough to stay in the
/// processor's cache, so that the hundreds of thousands of references in a
/// master, most of which place something else, are told apart from those
/// that place an actor at little cost.
class ActorSet
{
public:
    /// Adds the actor `entry` of `ids`, unless it is there already.
    void add(std::uint32_t entry, const IdTable &ids);

    /// The live NPC or creature of `ids` whose id is `id`, letter case
    /// ignored; IdTable::npos when there is none.
    std::uint32_t find(std::string_view id, const IdTable &ids) const;

private:
    std::size_t filterBit(std::string_view id) const;
    bool mayHold(std::string_view id) const;
    void insert(std::string_view id, std::uint32_t entry);

    // Each slot holds the top half of the id's hash and the entry's number
    // plus 1; 0 is empty. At most half the slots are used.
    std::vector<std::uint64_t> m_slots;
    // Eight bits per slot, one set for each id by a key cheaper than its
    // hash: a clear bit rules an id out without hashing it.
    std::vector<std::uint64_t> m_filter;
    std::size_t m_count = 0;
};

} // namespace hw
