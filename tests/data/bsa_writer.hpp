#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hw::test {

inline void putLe32(std::string &out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

/// The bytes of a Morrowind BSA archive holding a file of `dataSize` bytes
/// for each of `names` (bytes in the game's code page), laid out as the game
/// writes one: header, sizes and offsets, name offsets, names, hashes, data.
inline std::string bsaArchive(const std::vector<std::string> &names, std::uint32_t dataSize = 4)
{
    std::string records, nameOffsets, nameTable;
    for (std::uint32_t i = 0; i < names.size(); ++i) {
        putLe32(records, dataSize);
        putLe32(records, i * dataSize);
        putLe32(nameOffsets, static_cast<std::uint32_t>(nameTable.size()));
        nameTable += names[i] + '\0';
    }
    std::string out;
    putLe32(out, 0x100);
    putLe32(out,
            static_cast<std::uint32_t>(records.size() + nameOffsets.size() + nameTable.size()));
    putLe32(out, static_cast<std::uint32_t>(names.size()));
    out += records + nameOffsets + nameTable;
    out.append(8 * names.size(), '\x5A'); // hashes, which are not read
    out.append(dataSize * names.size(), 'd');
    return out;
}

} // namespace hw::test
