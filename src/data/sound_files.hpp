#pragma once

#include "data/load_order.hpp"
#include "plugin/code_page.hpp"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// The most entries of Sound folders that are looked at, all data folders
/// together; the game's own Sound folder holds a few thousand.
inline constexpr std::size_t kMostSoundEntries = 200000;

/// The sound files a load order offers to the Say command.
struct SoundFiles
{
    /// Each path as Say takes it: relative to a "Sound" folder, with
    /// backslashes ("Vo\Misc\Hit Heavy 1.wav"), as UTF-8; each once, letter
    /// case ignored, in the spelling of the data folder or archive with the
    /// highest priority; sorted by caselessLess.
    std::vector<std::string> files;
    /// Archives that could not be read whole, a listing cut short.
    std::vector<LoadOrderProblem> problems;
};

/// The path Say takes for the archive entry `name` ("sound\vo\hello.mp3"
/// gives "vo\hello.mp3"), or nullopt for an entry that is not a .wav or .mp3
/// file under "sound\" (letter case ignored; "/" taken for "\").
std::optional<std::string> sayPathOfArchiveName(std::string_view name);

/// The .wav and .mp3 files under the "Sound" folder (its name in any letter
/// case) of each of the load order's data folders, searched through, and
/// those under "sound\" in its archives (names read in `page`). The game
/// prefixes the path that Say gives with "Sound\" and looks it up in loose
/// files first, then in the archives, without regard to letter case.
SoundFiles listSoundFiles(const LoadOrder &order, CodePage page = CodePage::Windows1252);

} // namespace hw
