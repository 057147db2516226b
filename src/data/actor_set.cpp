#include "data/actor_set.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <cstring>

namespace hw {

namespace {

constexpr std::size_t kFilterBitsPerSlot = 8;
constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
constexpr std::uint64_t kFold = 0x2020202020202020ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// What the filter is keyed by, cheaper than the id's hash: its first eight
// bytes with ASCII letter case folded, and its length. Ids with other bytes
// there all share key 0, so that their letter case needs no care.
std::uint64_t filterKey(std::string_view id)
{
    std::uint64_t head = 0;
    if (id.size() >= 8)
        std::memcpy(&head, id.data(), 8);
    else
        for (std::size_t at = 0; at < id.size(); ++at)
            head |= std::uint64_t {static_cast<unsigned char>(id[at])} << (8 * at);
    if ((head & kHighBits) != 0)
        return 0;
    return ((head | kFold) ^ id.size()) * kMultiplier;
}

} // namespace

std::size_t ActorSet::filterBit(std::string_view id) const
{
    return filterKey(id) >> 40 & (m_filter.size() * 64 - 1);
}

bool ActorSet::mayHold(std::string_view id) const
{
    const std::size_t bit = filterBit(id);
    return (m_filter[bit / 64] >> (bit % 64) & 1) != 0;
}

std::uint32_t ActorSet::find(std::string_view id, const IdTable &ids) const
{
    if (m_count == 0)
        return IdTable::npos;
    if (!mayHold(id))
        return IdTable::npos;
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
