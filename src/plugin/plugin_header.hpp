#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// A master file as a plugin's header names it: MAST, the file's name, then
/// DATA, its size in bytes.
struct MasterFile
{
    std::string name; ///< bytes of the game's code page
    std::uint64_t size = 0;

    bool operator==(const MasterFile &) const = default;
};

/// The longest author and description the header's fields hold, each with a
/// NUL after it.
inline constexpr std::size_t kMaxAuthorBytes = 31;
inline constexpr std::size_t kMaxDescriptionBytes = 255;

/// What the header record (TES3) of a plugin says. Texts are bytes of the
/// game's code page.
struct PluginHeader
{
    std::uint32_t type = 0; ///< 0 for a plugin, 1 for a master
    std::string author;
    std::string description;
    std::uint32_t recordCount = 0; ///< the records after the header
    std::vector<MasterFile> masters; ///< in load order

    bool operator==(const PluginHeader &) const = default;
};

/// The header record of a new plugin: HEDR (300 bytes: version 1.3, type,
/// author and description NUL-padded to 32 and 256 bytes, record count), then
/// a MAST and DATA pair for each master.
std::string headerRecord(const PluginHeader &header);

/// The header that a header record's data holds; nothing when a sub-record
/// runs past the end of the record or HEDR is missing or shorter than 300
/// bytes. A MAST without a DATA after it gives the size 0.
std::optional<PluginHeader> readHeader(std::string_view data);

/// What changes in an existing header.
struct HeaderChange
{
    std::uint32_t recordCount = 0;
    std::optional<std::string> author; ///< nothing keeps the old one
    std::optional<std::string> description;
    std::vector<MasterFile> addedMasters; ///< go after the last master already named
};

/// The data of an existing header record with `change` made and every other
/// byte kept, sub-records the writer does not know included; nothing where
/// readHeader gives nothing.
std::optional<std::string> changedHeaderData(std::string_view data, const HeaderChange &change);

} // namespace hw
