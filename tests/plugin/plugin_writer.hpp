#pragma once

// Plugin bytes built in memory (records of any tag and size, sub-records, NPCs
// with ids of any bytes, cells with references), for the tests and benchmarks.

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace hw::test {

inline std::string le32(std::uint32_t value)
{
    return {static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
            static_cast<char>(value >> 24)};
}

/// A sub-record: tag, 32-bit length (the data's length unless given), data.
inline std::string subrecord(std::string_view tag, std::string_view data,
                             std::optional<std::uint32_t> length = std::nullopt)
{
    return std::string(tag) + le32(length.value_or(static_cast<std::uint32_t>(data.size()))) +
        std::string(data);
}

/// A text sub-record whose data is `text` and its closing NUL.
inline std::string textSubrecord(std::string_view tag, std::string_view text)
{
    return subrecord(tag, std::string(text) + '\0');
}

/// A record: tag, data size (the data's length unless given), two header
/// fields (0 and the flags), data.
inline std::string record(std::string_view tag, std::string_view data,
                          std::optional<std::int32_t> size = std::nullopt, std::uint32_t flags = 0)
{
    const auto stored = size.value_or(static_cast<std::int32_t>(data.size()));
    return std::string(tag) + le32(static_cast<std::uint32_t>(stored)) + le32(0) + le32(flags) +
        std::string(data);
}

/// The header record that starts every real plugin, naming `masters`.
inline std::string headerRecord(std::initializer_list<std::string_view> masters = {"Morrowind.esm"})
{
    // HEDR: version 1.3, type, author, description, record count.
    std::string data = subrecord("HEDR", le32(0x3FA66666) + std::string(4 + 32 + 256 + 4, '\0'));
    for (const auto master : masters)
        data += textSubrecord("MAST", master) + subrecord("DATA", std::string(8, '\0'));
    return record("TES3", data);
}

/// A record of `tag` whose id is `id`, then the sub-records `rest`.
inline std::string idRecord(std::string_view tag, std::string_view id, std::string_view rest = {},
                            std::uint32_t flags = 0)
{
    return record(tag, textSubrecord("NAME", id) + std::string(rest), std::nullopt, flags);
}

/// The part of a CELL record before its references: name, DATA (flags, grid
/// position) and, for an exterior, its region.
inline std::string cellHead(std::string_view name, std::uint32_t flags, std::int32_t x = 0,
                            std::int32_t y = 0, std::string_view region = {})
{
    std::string head = textSubrecord("NAME", name) +
        subrecord("DATA",
                  le32(flags) + le32(static_cast<std::uint32_t>(x)) +
                      le32(static_cast<std::uint32_t>(y)));
    return region.empty() ? head : head + textSubrecord("RGNN", region);
}

/// One placed reference as the editor writes it: FRMR (`refNum`, whose top
/// byte names a master), the object's id, a position, and DELE if `deleted`.
inline std::string placed(std::uint32_t refNum, std::string_view object, bool deleted = false)
{
    return subrecord("FRMR", le32(refNum)) + textSubrecord("NAME", object) +
        subrecord("DATA", std::string(24, '\0')) + (deleted ? subrecord("DELE", le32(0)) : "");
}

/// An NPC record as the game's editor writes it: NAME first, then the
/// display name, race, class, faction, head, hair and the fixed data.
inline std::string npcRecord(std::string_view id, std::string_view fullName = "Someone")
{
    return record("NPC_",
                  textSubrecord("NAME", id) + textSubrecord("FNAM", fullName) +
                      textSubrecord("RNAM", "Dark Elf") + textSubrecord("CNAM", "Guard") +
                      textSubrecord("ANAM", "") + textSubrecord("BNAM", "b_n_dark elf_m_head_01") +
                      textSubrecord("KNAM", "b_n_dark elf_m_hair_01") +
                      subrecord("NPDT", std::string(12, '\x01')) + subrecord("FLAG", le32(0x18)));
}

} // namespace hw::test
