#include "data/actor_set.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <cstring>

namespace hw {

namespace {

constexpr std::size_t kFilterBitsPerSlot = 8;

} // namespace

std::uint32_t ActorSet::lookUp(std::string_view id, const IdTable &ids) const
{
    const auto hash = asciiCaselessHash(id);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask; m_slots[at] != 0; at = (at + 1) & mask) {
        if ((m_slots[at] >> 32) != (hash >> 32))
            continue;
        const auto entry = static_cast<std::uint32_t>(m_slots[at]) - 1;
        if (ids[entry].live && asciiCaselessEqual(ids.text(ids[entry].key), id))
            return entry;
    }
    return IdTable::npos;
}

void ActorSet::add(std::uint32_t entry, const IdTable &ids)
{
    const auto hash = asciiCaselessHash(ids.text(ids[entry].key));
    const std::size_t mask = m_slots.empty() ? 0 : m_slots.size() - 1;
    for (std::size_t at = hash & mask; !m_slots.empty() && m_slots[at] != 0; at = (at + 1) & mask)
        if (static_cast<std::uint32_t>(m_slots[at]) == entry + 1)
            return;
    if (2 * (m_count + 1) > m_slots.size()) {
        std::vector<std::uint64_t> slots(std::max<std::size_t>(256, 2 * m_slots.size()));
        slots.swap(m_slots);
        m_filter.assign(m_slots.size() * kFilterBitsPerSlot / 64, 0);
        m_filterMask = m_filter.size() * 64 - 1;
        for (const auto slot : slots)
            if (slot != 0) {
                const auto old = static_cast<std::uint32_t>(slot) - 1;
                insert(ids.text(ids[old].key), old);
            }
    }
    insert(ids.text(ids[entry].key), entry);
    ++m_count;
}

void ActorSet::insert(std::string_view id, std::uint32_t entry)
{
    const auto hash = asciiCaselessHash(id);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = hash & mask;
    while (m_slots[at] != 0)
        at = (at + 1) & mask;
    m_slots[at] = (hash >> 32) << 32 | (entry + 1);
    const std::size_t bit = filterBit(id);
    m_filter[bit / 64] |= std::uint64_t {1} << (bit % 64);
}

} // namespace hw
