#pragma once

// The layout of the game's master and plugin files (TES3) that the reader and
// the writer share: a flat sequence of records, each a 16-byte header (tag,
// signed 32-bit data size, a field that is not used, flags) and its data, a
// sequence of sub-records (tag, 32-bit length, that many bytes). Every number
// is little-endian.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace hw {

inline constexpr std::uint64_t kRecordHeaderSize = 16;
inline constexpr std::size_t kSubrecordHeaderSize = 8;

/// The largest data size a record header can hold.
inline constexpr std::uint64_t kMaxRecordDataSize = 0x7FFFFFFF;

/// A four-character tag as the integer it makes when read little-endian.
constexpr std::uint32_t fourCC(const char (&tag)[5])
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(tag[0])) |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[1])) << 8 |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[2])) << 16 |
        static_cast<std::uint32_t>(static_cast<unsigned char>(tag[3])) << 24;
}

/// The unsigned 32-bit little-endian number in the four bytes at `bytes`.
inline std::uint32_t loadLe32(const char *bytes)
{
    const auto *b = reinterpret_cast<const unsigned char *>(bytes);
    return static_cast<std::uint32_t>(b[0]) | static_cast<std::uint32_t>(b[1]) << 8 |
        static_cast<std::uint32_t>(b[2]) << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

/// The unsigned 64-bit little-endian number in the eight bytes at `bytes`.
inline std::uint64_t loadLe64(const char *bytes)
{
    return loadLe32(bytes) | static_cast<std::uint64_t>(loadLe32(bytes + 4)) << 32;
}

/// Appends `value` as `bytes` little-endian bytes.
inline void appendLe(std::string &out, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i) & 0xFF);
}

/// Appends a sub-record: `tag`, the length of `data`, `data`.
inline void appendSubrecord(std::string &out, std::string_view tag, std::string_view data)
{
    out.append(tag.substr(0, 4));
    appendLe(out, data.size(), 4);
    out.append(data);
}

/// A whole record: `tag`, the size of `data`, 0, `flags`, `data`. The data
/// must be at most kMaxRecordDataSize bytes.
inline std::string recordBytes(std::string_view tag, std::string_view data, std::uint32_t flags = 0)
{
    std::string out;
    out.reserve(kRecordHeaderSize + data.size());
    out.append(tag.substr(0, 4));
    appendLe(out, data.size(), 4);
    appendLe(out, 0, 4);
    appendLe(out, flags, 4);
    return out.append(data);
}

} // namespace hw
