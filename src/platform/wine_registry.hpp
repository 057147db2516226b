#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// Value types as the registry numbers them.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

/// Physical lines longer than this are not kept whole: a value on such a line
/// counts as too long, and its key as unreadable.
inline constexpr std::size_t kRegistryLineLimit = 64 * 1024;

/// At most this many UTF-16 code units of a string value are kept.
inline constexpr std::size_t kRegistryKeptUnits = 2048;

/// A value to look for: the path of its key below the hive (names joined by a
/// backslash) and its name ("" for the key's default value). Both are UTF-8 and
/// match without regard to letter case.
struct RegistryQuery
{
    std::string_view key;
    std::string_view value;
};

/// What a registry file holds for one query.
struct RegistryValue
{
    bool keyFound = false;
    bool valueFound = false;
    /// kRegNone also for a value whose data could not be read, as Wine keeps it.
    std::uint32_t type = kRegNone;
    /// The data of a string value (kRegSz, kRegExpandSz, kRegMultiSz, in
    /// either of the file's forms) as UTF-16 code units, a stored terminating
    /// NUL included; only the first kRegistryKeptUnits are kept.
    std::u16string text;
    /// How many code units the string data holds in all; SIZE_MAX when its
    /// line was too long to read.
    std::size_t length = 0;
};

/// Reads a Wine registry file: the line "WINE REGISTRY Version 2", then
/// sections "[key\\path] time" with lines `"name"=data` or `@=data`, where data
/// is "text", str(2):"text", str(7):"text", dword:hex or hex(type):bytes (lines
/// continued by a backslash). Text escapes: \\ \" \n and the other C letters,
/// \x with one to four hex digits, octal with one to three digits; bytes above
/// 127 are UTF-8. Returns, in the order of `queries`, what the file holds for
/// each; the last of repeated values counts. A file without the first line
/// holds nothing; damaged lines are passed over as Wine passes them over.
/// Memory stays bounded whatever the input.
std::vector<RegistryValue> readRegistry(std::string_view text,
                                        std::span<const RegistryQuery> queries);

/// The same, read from a stream in pieces.
std::vector<RegistryValue> readRegistry(std::istream &in, std::span<const RegistryQuery> queries);

} // namespace hw
