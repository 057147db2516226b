#pragma once

#include "data/load_order.hpp"
#include "plugin/code_page.hpp"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hw {

/// One numbered entry of Morrowind.ini: GameFileN= or Archive N=.
struct IniEntry
{
    unsigned number = 0;
    std::string name; ///< UTF-8
    std::size_t line = 0;
};

/// What Morrowind.ini says about the game's files.
struct MorrowindIni
{
    /// The [Game Files] entries GameFileN=NAME, ordered by N, from 0 up to the
    /// first number that is missing; NAME may be empty (the game then loads
    /// nothing for that entry).
    std::vector<IniEntry> gameFiles;
    /// The [Archives] entries Archive N=NAME, ordered by N, as far as the
    /// game files.
    std::vector<IniEntry> archives;
};

/// Reads the bytes of a Morrowind.ini, written in the system's code page
/// `page`, as Windows reads such a file for the game: "[Section]" lines,
/// "key=value" lines with spaces around both trimmed, ";" comment lines, names
/// of sections and keys in any letter case, a value in quotes taken without
/// them, the first of two entries with the same key counting. In [Game Files]
/// and [Archives], a line that is not an entry the game knows is reported in
/// `problems` with `file` and its number, and the rest is still read. Entries
/// after a gap in the numbers (GameFile0, 1, 3: after 1) are left out, as
/// OpenMW's importer leaves them out, and each is reported.
MorrowindIni parseMorrowindIni(std::string_view bytes, const std::filesystem::path &file,
                               CodePage page, std::vector<LoadOrderProblem> &problems);

/// The load order that `ini` (read from `iniFile`) gives, with the files
/// looked up in the "Data Files" folder beside it (its name and theirs in any
/// letter case, as the game finds them on a Linux file system under Wine):
/// masters (.esm) before plugins (.esp), each kind from the oldest
/// modification time to the newest, as the original engine orders them;
/// files of the same time keep the order of their GameFile numbers. The
/// archives are Morrowind.bsa, which the engine always loads first, then the
/// [Archives] entries in order. A file named twice counts once; what is
/// missing is reported by name and line.
LoadOrder morrowindIniLoadOrder(const MorrowindIni &ini, const std::filesystem::path &iniFile,
                                std::vector<LoadOrderProblem> problems);

/// Reads the Morrowind.ini `iniFile` (in the code page `page`) and gives its
/// load order (see parseMorrowindIni and morrowindIniLoadOrder).
LoadOrder readMorrowindIniLoadOrder(const std::filesystem::path &iniFile,
                                    CodePage page = CodePage::Windows1252);

} // namespace hw
