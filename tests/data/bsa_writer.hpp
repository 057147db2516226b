#pragma once

#include "plugin_writer.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace hw::test {

/// The bytes of a Morrowind BSA archive holding a file of `dataSize` bytes
/// for each of `names` (bytes in the game's code page), laid out as the game
/// writes one: header, sizes and offsets, name offsets, names, hashes, data.
inline std::string bsaArchive(const std::vector<std::string> &names, std::uint32_t dataSize = 4)
{
    std::string records, nameOffsets, nameTable;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        records += le32(dataSize) + le32(i * dataSize);
        nameOffsets += le32(static_cast<std::uint32_t>(nameTable.size()));
        nameTable += names[i] + '\0';
    }
    const auto tableSize = records.size() + nameOffsets.size() + nameTable.size();
    return le32(0x100) + le32(static_cast<std::uint32_t>(tableSize)) +
        le32(static_cast<std::uint32_t>(names.size())) + records + nameOffsets + nameTable +
        std::string(8 * names.size(), '\x5A') // hashes, which are not read
        + std::string(dataSize * names.size(), 'd');
}

} // namespace hw::test
