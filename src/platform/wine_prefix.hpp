#pragma once

#include "platform/wine_registry.hpp"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace hw {

/// The size of the buffer in which the game's own tools read the installation
/// path, and so the longest value (its NUL included) that names a folder.
inline constexpr std::size_t kInstallPathBuffer = 1024;

/// The path text a registry value gives when read as the game's tools read it:
/// a string value of at most kInstallPathBuffer characters (one byte each in the
/// game's single-byte code pages), cut before its first NUL. nullopt for other
/// types, for longer values and for a value that fills the whole buffer
/// without a NUL. The text is UTF-8.
std::optional<std::string> installPathText(const RegistryValue &value);

/// The host folder that the Windows path `windowsPath` (UTF-8, "X:\..." with
/// "\" or "/" between names) names inside the Wine prefix `prefix`, with
/// "Data Files" appended: the drive through the prefix's dosdevices links, then
/// each name matched to an existing folder, exactly or else without regard to
/// letter case. Empty names and "." are skipped, ".." goes up but not above
/// the drive. nullopt when the path has no drive letter, the drive is not
/// mapped, or a folder on the way does not exist.
std::optional<std::filesystem::path> dataFolderFromWindowsPath(const std::filesystem::path &prefix,
                                                               std::string_view windowsPath);

/// The game's data folder as the prefix's system.reg records it: the Bethesda,
/// then the Steam, then the GOG key, each in the 32-bit view (Wow6432Node) and
/// then the native one; the first value that names an existing folder counts.
/// nullopt when none does, or when system.reg is missing, is not a regular
/// file, or is larger than any real registry file.
std::optional<std::filesystem::path> dataFolderInPrefix(const std::filesystem::path &prefix);

/// The Wine prefix that Wine itself would use: `winePrefix` (the value of
/// WINEPREFIX) when it is set and not empty, else `home`/.wine; nullopt
/// when neither is set. Either argument may be null.
std::optional<std::filesystem::path> winePrefixPath(const char *winePrefix, const char *home);

} // namespace hw
