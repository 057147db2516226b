#include "data/actor_set.hpp"

#include "model/caseless.hpp"

#include <algorithm>

namespace hw {

namespace {

constexpr std::size_t kFilterBitsPerSlot = 8;

std::uint32_t actorOf(std::uint64_t slot)
{
    return static_cast<std::uint32_t>(slot) - 1;
}

std::uint32_t hashOf(std::uint64_t slot)
{
    return static_cast<std::uint32_t>(slot >> 32);
}

} // namespace

// An NPC and a creature may share an id; the first live one found counts.
std::uint32_t ActorSet::lookUp(std::string_view id, const IdTable *ids) const
{
    const auto hash = static_cast<std::uint32_t>(asciiCaselessHash(id));
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask; m_slots[at] != 0; at = (at + 1) & mask) {
        if (hashOf(m_slots[at]) != hash)
            continue;
        const Actor &actor = m_actors[actorOf(m_slots[at])];
        const std::string_view key(m_keys.data() + actor.keyOffset, actor.keyLength);
        if (asciiCaselessEqual(key, id) && (ids == nullptr || (*ids)[actor.entry].live))
            return actor.entry;
    }
    return IdTable::npos;
}

void ActorSet::add(std::uint32_t entry, const IdTable &ids)
{
    const auto id = ids.text(ids[entry].key);
    const auto hash = static_cast<std::uint32_t>(asciiCaselessHash(id));
    const std::size_t mask = m_slots.empty() ? 0 : m_slots.size() - 1;
    for (std::size_t at = hash & mask; !m_slots.empty() && m_slots[at] != 0; at = (at + 1) & mask)
        if (m_actors[actorOf(m_slots[at])].entry == entry)
            return;
    if (2 * (m_actors.size() + 1) > m_slots.size()) {
        std::vector<std::uint64_t> slots(std::max<std::size_t>(256, 2 * m_slots.size()));
        slots.swap(m_slots);
        m_filter.assign(m_slots.size() * kFilterBitsPerSlot / 64, 0);
        m_filterMask = m_filter.size() * 64 - 1;
        // The hashes are kept: growing reads no id again.
        for (const auto slot : slots)
            if (slot != 0)
                insert(slot);
    }
    const Actor actor {entry, static_cast<std::uint32_t>(m_keys.size()),
                       static_cast<std::uint32_t>(id.size())};
    m_keys += asciiLowerCase(id);
    m_actors.push_back(actor);
    insert(std::uint64_t {hash} << 32 | m_actors.size());
}

void ActorSet::insert(std::uint64_t slot)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hashOf(slot) & mask;
    while (m_slots[at] != 0)
        at = (at + 1) & mask;
    m_slots[at] = slot;
    const Actor &actor = m_actors[actorOf(slot)];
    const std::size_t bit = filterBit({m_keys.data() + actor.keyOffset, actor.keyLength});
    m_filter[bit / 64] |= std::uint64_t {1} << (bit % 64);
}

} // namespace hw
