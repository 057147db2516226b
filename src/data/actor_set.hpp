#pragma once

#include "data/id_table.hpp"

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The NPCs and creatures of an IdTable in a hash table of their own, behind
/// a one-bit-per-hash filter, with their ids in lower case in one block of
/// its own. All of it is small enough to stay in the processor's cache, so
/// that the hundreds of thousands of references in a master, most of which
/// place something else, are told apart from those that place an actor at
/// little cost, and the others are found without reading the IdTable's
/// scattered entries and texts.
class ActorSet
{
public:
    /// Adds the actor `entry` of `ids`, unless it is there already.
    void add(std::uint32_t entry, const IdTable &ids);

    /// The live NPC or creature of `ids` whose id is `id`, letter case
    /// ignored; IdTable::npos when there is none. Most ids a master places
    /// are not actors, and the filter rules them out here, inline, at the
    /// cost of a few instructions.
    std::uint32_t find(std::string_view id, const IdTable &ids) const
    {
        return mayHold(id) ? lookUp(id, &ids) : IdTable::npos;
    }

    /// True when an actor with the id `id` (letter case ignored) was added,
    /// live or not: whenever find() finds one, and sometimes when it does
    /// not. It reads nothing of the IdTable, so another thread may ask while
    /// the table changes, as long as nothing is added to the set.
    bool holdsKey(std::string_view id) const
    {
        return mayHold(id) && lookUp(id, nullptr) != IdTable::npos;
    }

private:
    static constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    static constexpr std::uint64_t kFold = 0x2020202020202020ull;

    // What the filter is keyed by, cheaper than the id's hash: its first
    // eight bytes (for fewer, its first and last four, or its bytes) with
    // bit 5 of each set, which makes ASCII capitals equal to small letters,
    // and its length.
    static std::uint64_t filterKey(std::string_view id)
    {
        std::uint64_t head = 0;
        const char *bytes = id.data();
        if (id.size() >= 8) {
            std::memcpy(&head, bytes, 8);
        } else if (id.size() >= 4) {
            std::uint32_t first = 0;
            std::uint32_t last = 0;
            std::memcpy(&first, bytes, 4);
            std::memcpy(&last, bytes + id.size() - 4, 4);
            head = first | std::uint64_t {last} << 32;
        } else {
            for (std::size_t at = 0; at < id.size(); ++at)
                head |= std::uint64_t {static_cast<unsigned char>(bytes[at])} << (8 * at);
        }
        return ((head | kFold) ^ id.size()) * kMultiplier;
    }

    std::size_t filterBit(std::string_view id) const { return filterKey(id) >> 40 & m_filterMask; }

    bool mayHold(std::string_view id) const
    {
        if (m_actors.empty())
            return false;
        const std::size_t bit = filterBit(id);
        return (m_filter[bit / 64] >> (bit % 64) & 1) != 0;
    }

    // The first actor with the id `id` that is live in `ids`; without
    // `ids`, the first with that id.
    std::uint32_t lookUp(std::string_view id, const IdTable *ids) const;
    void insert(std::uint64_t slot);

    struct Actor
    {
        std::uint32_t entry; ///< in the IdTable
        std::uint32_t keyOffset; ///< of its id in lower case, in m_keys
        std::uint32_t keyLength;
    };

    std::vector<Actor> m_actors;
    std::string m_keys;
    // Each slot holds the low half of the id's hash (which also places it)
    // and the actor's number plus 1; 0 is empty. At most half the slots are
    // used.
    std::vector<std::uint64_t> m_slots;
    // Eight bits per slot, one set for each id by a key cheaper than its
    // hash: a clear bit rules an id out without hashing it.
    std::vector<std::uint64_t> m_filter;
    std::size_t m_filterMask = 0; ///< the filter's bit count less 1
};

} // namespace hw
