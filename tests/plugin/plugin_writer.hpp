#pragma once

// Builds plugin file bytes in memory: records of any tag and size, sub-records,
// and NPC records with ids of any bytes. The benchmarks use it as well.

#include <cstdint>
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

/// The header record that starts every real plugin.
inline std::string headerRecord()
{
    const std::string hedr = le32(0x3FA66666) + std::string(4 + 32 + 256, '\0');
    return record("TES3",
                  subrecord("HEDR", hedr) + textSubrecord("MAST", "Morrowind.esm") +
                      subrecord("DATA", std::string(8, '\0')));
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
