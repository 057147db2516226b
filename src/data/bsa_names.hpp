#pragma once

#include "plugin/byte_source.hpp"
#include "plugin/code_page.hpp"

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace hw {

/// What stopped the reading of a BSA archive's names.
enum class BsaFault {
    None, ///< every name was read
    TooSmall, ///< fewer than the 12 bytes of the header
    NotMorrowind, ///< the header's version is not 0x100: a later game's archive, or none
    TableTooLarge, ///< the header's file table cannot fit in the file
    NameOutside, ///< a name's offset lies outside the name table
    NameUnterminated, ///< a name runs to the end of the name table without its NUL
    DataOutside, ///< a file's data would lie past the end of the archive
    CannotOpen, ///< the system could not open the file
    CannotRead, ///< the system could not read the file
};

/// The file names of a Morrowind archive, and how far they go.
struct BsaNames
{
    /// The names as stored ("sound\vo\misc\hit heavy 1.wav", say), as UTF-8,
    /// in the order of the archive's table, up to the one at fault.
    std::vector<std::string> names;

    /// How many files the header says the archive holds.
    std::uint32_t fileCount = 0;

    BsaFault fault = BsaFault::None;

    /// Where the field at fault is (in bytes from the start of the file).
    std::uint64_t offset = 0;

    /// The system's reason (CannotOpen, CannotRead).
    std::error_code error;

    bool complete() const { return fault == BsaFault::None; }
};

/// No real archive's name table comes near this; a larger one is refused.
inline constexpr std::uint32_t kLargestBsaTable = 64 * 1024 * 1024;

/// Reads the names of a Morrowind (TES3) BSA archive: the 12-byte header
/// (version 0x100, the size of the file table, the number of files), then the
/// table that follows it (each file's size and offset, each name's offset,
/// the NUL-ended names). The hash table and the files' data are never read.
/// Every size and offset is checked against the source's real size before it
/// is used; the archive is damaged when the game would refuse it. Names are
/// converted from `page` to UTF-8.
BsaNames readBsaNames(ByteSource &source, CodePage page = CodePage::Windows1252);

/// The same, for the archive at `file`.
BsaNames readBsaNames(const std::filesystem::path &file, CodePage page = CodePage::Windows1252);

/// What is wrong with an archive that was not read whole, in plain words,
/// without the file's name: "is damaged: ...". Empty for a complete one.
std::string bsaMessage(const BsaNames &names);

} // namespace hw
