#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace hw {

/// The largest openmw.cfg or Morrowind.ini that is read; real ones are a few
/// dozen kilobytes.
inline constexpr std::uint64_t kLargestConfigFile = 1024 * 1024;

/// A configuration file's bytes, or why there are none.
struct TextFile
{
    enum class Status {
        Read, ///< `text` holds the whole file
        Missing, ///< there is no file of that name
        Refused, ///< there is one, but it cannot or must not be read: see `problem`
    };

    Status status = Status::Missing;
    std::string text;
    /// For Refused: what is wrong, in plain words, without the file's name.
    std::string problem;
};

/// Reads `file` whole when it is a regular file of at most `limit` bytes. A
/// pipe or a device is never read (and never waited on), a folder neither.
TextFile readTextFile(const std::filesystem::path &file, std::uint64_t limit = kLargestConfigFile);

} // namespace hw
