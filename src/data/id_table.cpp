#include "data/id_table.hpp"

#include "model/caseless.hpp"

#include <algorithm>
#include <cstring>

namespace hw {

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
// Setting bit 5 of every byte makes ASCII capitals equal to small letters.
constexpr std::uint64_t kFold = 0x2020202020202020ull;

std::uint64_t mix(std::uint64_t hash, std::uint64_t word)
{
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 32);
}

std::uint64_t load(const char *bytes, std::size_t count)
{
    std::uint64_t word = 0;
    std::memcpy(&word, bytes, count);
    return word;
}

// The last up to eight bytes of `text` as one word: for eight and more, the
// last eight (overlapping words already hashed); for fewer, two overlapping
// halves or single bytes. Equal texts give equal words.
std::uint64_t lastWord(std::string_view text)
{
    const char *end = text.data() + text.size();
    if (text.size() >= 8)
        return load(end - 8, 8);
    if (text.size() >= 4)
        return load(text.data(), 4) | load(end - 4, 4) << 32;
    std::uint64_t word = 0;
    for (std::size_t at = 0; at < text.size(); ++at)
        word = word << 8 | static_cast<unsigned char>(text[at]);
    return word;
}

} // namespace

// Eight bytes at a time, each with bit 5 set: texts equal but for ASCII
// letter case give the same words. Bytes beyond ASCII are hashed as they
// stand (with bit 5 set too), as they never fold.
std::uint64_t asciiCaselessHash(std::string_view text)
{
    std::uint64_t hash = text.size() * kMultiplier;
    for (std::size_t at = 0; at + 8 < text.size(); at += 8)
        hash = mix(hash, load(text.data() + at, 8) | kFold);
    return mix(hash, lastWord(text) | kFold);
}

TextRef IdTable::addText(std::string_view text)
{
    const TextRef ref {static_cast<std::uint32_t>(m_text.size()),
                       static_cast<std::uint32_t>(text.size())};
    m_text.append(text);
    return ref;
}

std::uint32_t IdTable::find(std::string_view key, KindMask kinds) const
{
    if (m_slots.empty())
        return npos;
    const auto hash = static_cast<std::uint32_t>(asciiCaselessHash(key));
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t at = hash & mask; m_slots[at] != 0; at = (at + 1) & mask) {
        const std::uint64_t slot = m_slots[at];
        if ((slot >> 32) != hash)
            continue;
        const auto entry = static_cast<std::uint32_t>(slot) - 1;
        const IdEntry &e = m_entries[entry];
        if ((kindMask(e.kind) & kinds) != 0 && asciiCaselessEqual(text(e.key), key))
            return entry;
    }
    return npos;
}

std::uint32_t IdTable::findOrAdd(RecordKind kind, std::string_view key)
{
    if (const auto found = find(key, kindMask(kind)); found != npos)
        return found;
    const auto entry = static_cast<std::uint32_t>(m_entries.size());
    IdEntry &e = m_entries.emplace_back();
    e.kind = kind;
    e.key = e.shown = addText(key);
    if (2 * m_entries.size() > m_slots.size()) {
        // The slots keep their hashes: growing reads no key again.
        std::vector<std::uint64_t> slots(std::max<std::size_t>(64, 2 * m_slots.size()));
        slots.swap(m_slots);
        for (const auto slot : slots)
            if (slot != 0)
                insertSlot(slot);
    }
    insertSlot(asciiCaselessHash(key) << 32 | (entry + 1));
    return entry;
}

void IdTable::insertSlot(std::uint64_t slot)
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t at = (slot >> 32) & mask;
    while (m_slots[at] != 0)
        at = (at + 1) & mask;
    m_slots[at] = slot;
}

} // namespace hw
