// The data folder as the game's registry entries in a Wine prefix name it, and
// the look-up from the environment that the program makes with it. Windows has
// its own registry and is tested there.
#include "platform/data_folder.hpp"
#include "platform/wine_prefix.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace std::literals;

// `path` as it is written between quotes in system.reg.
std::string regEscape(std::string_view path)
{
    std::string out;
    for (const char c : path) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

// A Wine prefix in a temporary folder whose name is not ASCII and holds a
// space, with drive C: mapped as Wine maps it; removed at the end of the test.
// Paths are UTF-8, with "/" between names.
struct TempPrefix
{
    fs::path path;

    TempPrefix()
    {
        std::random_device random;
        do
            path = fs::temp_directory_path() / ("hourwright préfixe-" + std::to_string(random()));
        while (!fs::create_directory(path));
        makeFolder("dosdevices");
        makeFolder("drive_c");
        fs::create_directory_symlink("../drive_c", path / "dosdevices" / "c:");
    }
    ~TempPrefix()
    {
        std::error_code error;
        fs::remove_all(path, error);
    }
    TempPrefix(const TempPrefix &) = delete;

    fs::path makeFolder(std::string_view relative) const
    {
        fs::create_directories(path / relative);
        return path / relative;
    }

    // Writes system.reg: Wine's first lines, then `body`.
    void writeRegistry(std::string_view body) const
    {
        std::ofstream(path / "system.reg", std::ios::binary)
            << "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n"
            << body;
    }

    // Where `relative` is, through the links of the prefix's drives.
    fs::path resolved(std::string_view relative) const { return fs::canonical(path / relative); }
};

const std::string kBethesda = "Software\\Wow6432Node\\Bethesda Softworks\\Morrowind";
const std::string kGame = "C:\\Games\\Morrowind";
const char *const kData = "drive_c/Games/Morrowind/Data Files";
const char *const kSteamData = "drive_c/Steam/Morrowind/Data Files";
const char *const kGogData = "drive_c/GOG Games/Morrowind/Data files"; // "files" on purpose
const char *const kJeuxData = "drive_c/Jeux/Édition – GOTY/Data Files";
const char *const kDriveDData = "games disk/Morrowind/Data Files";

// A section as Wine writes it, holding `values`.
std::string section(std::string_view key, std::string_view values)
{
    return "[" + regEscape(key) + "] 1700000000\n#time=1da1b2c3d4e5f60\n" + std::string(values);
}

std::string entry(std::string_view key, std::string_view name, std::string_view path)
{
    return section(key, "\"" + std::string(name) + "\"=\"" + regEscape(path) + "\"\n");
}

std::string bethesda(std::string_view path)
{
    return entry(kBethesda, "Installed Path", path);
}

const std::string kGogEntry =
    entry("Software\\GOG.com\\Games\\1435828767", "path", "C:\\GOG Games\\Morrowind");

struct PrefixCase
{
    const char *name;
    std::string registry; // after Wine's first lines
    const char *expected; // the data folder in the prefix, or none
};

void PrintTo(const PrefixCase &c, std::ostream *os)
{
    *os << c.name;
}

// Empty names are passed over, so backslashes pad a path to any length; with
// its NUL, a value of 1023 characters just fills the game's buffer.
const std::vector<PrefixCase> kCases = {
    {"normal", bethesda(kGame), kData},
    {"nativeView", entry("Software\\Bethesda Softworks\\Morrowind", "Installed Path", kGame),
     kData},
    {"trailingBackslash", bethesda(kGame + "\\"), kData},
    {"dotDotIsLexical", bethesda("C:\\Gone\\..\\Games\\.\\Morrowind"), kData},
    {"emptyValueIsNoDrive", bethesda(""), nullptr},
    {"longestValue", bethesda(kGame + std::string(1023 - kGame.size(), '\\')), kData},
    {"overLongValue", bethesda(kGame + std::string(1024 - kGame.size(), '\\')), nullptr},
    {"noValue", entry(kBethesda, "Installed Path2", kGame), nullptr},
    {"noKey", entry("Software\\Bethesda Softworks\\Oblivion", "Installed Path", kGame), nullptr},
    {"steam",
     entry("Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 22320",
           "InstallLocation", "C:\\Steam\\Morrowind"),
     kSteamData},
    {"gog", kGogEntry, kGogData},
    {"bethesdaBeforeGog", kGogEntry + bethesda(kGame), kData},
    {"staleBethesdaThenGog", bethesda("C:\\Old\\Morrowind") + kGogEntry, kGogData},
    {"escapedName", section(kBethesda, R"("Installed Path"="C:\\Jeux\\\x00c9dition \x2013 GOTY")"),
     kJeuxData},
    {"missingDataFiles", bethesda("C:\\Games"), nullptr},
    {"otherDrive", bethesda("D:\\Morrowind"), kDriveDData},
    {"unmappedDrive", bethesda("E:\\Games\\Morrowind"), nullptr},
    {"letterCase", bethesda("c:\\gog GAMES\\morrowind"), kGogData},
    {"damagedSectionLine",
     "[" + regEscape(kBethesda) + "\n\"Installed Path\"=\"" + regEscape(kGame) + "\"\n", nullptr},
};

class DataFolderInPrefix : public testing::TestWithParam<PrefixCase>
{
};

// Every case has the same folders, so that a path read wrongly can land on
// another one; D: is mapped by an absolute link, as winecfg makes it.
TEST_P(DataFolderInPrefix, findsTheFolderTheRegistryNames)
{
    const TempPrefix prefix;
    for (const char *folder :
         {"drive_c/Data Files", kData, kSteamData, kGogData, kJeuxData, kDriveDData})
        prefix.makeFolder(folder);
    std::filesystem::create_directory_symlink(prefix.makeFolder("games disk"),
                                              prefix.path / "dosdevices" / "d:");
    prefix.writeRegistry(GetParam().registry);
    const auto found = hw::dataFolderInPrefix(prefix.path);
    if (GetParam().expected)
        EXPECT_EQ(found, prefix.resolved(GetParam().expected));
    else
        EXPECT_EQ(found, std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Cases, DataFolderInPrefix, testing::ValuesIn(kCases),
                         [](const auto &p) { return std::string(p.param.name); });

TEST(InstallPathText, readsAsTheGameReadsIntoItsBuffer)
{
    const auto text = [](std::u16string data, std::uint32_t type = hw::kRegSz) {
        return hw::installPathText(hw::RegistryValue {true, true, type, data, data.size()});
    };
    EXPECT_EQ(text(u"C:\\G\0junk\0"s, hw::kRegMultiSz), "C:\\G");
    EXPECT_EQ(text(u"C:\\G"s, hw::kRegExpandSz), "C:\\G"); // the zeroed buffer ends it
    EXPECT_EQ(text(std::u16string(1024, u'a')), std::nullopt); // fills it without an end
    EXPECT_EQ(text(u"C:\\G\0"s, hw::kRegDword), std::nullopt);
    EXPECT_EQ(hw::installPathText(hw::RegistryValue {}), std::nullopt);
}

// Changes the environment, which is safe because each test runs in a process
// of its own.
TEST(FindDataFolder, readsWineprefixThenDotWineThenFallsBackToTheProgramsFolder)
{
    const TempPrefix prefix;
    const TempPrefix home;
    const auto programFolder = fs::read_symlink("/proc/self/exe").parent_path();
    ASSERT_EQ(setenv("WINEPREFIX", prefix.path.c_str(), 1), 0);
    prefix.makeFolder("system.reg");
    EXPECT_EQ(hw::findDataFolder(), programFolder); // no system.reg file
    fs::remove(prefix.path / "system.reg");
    prefix.writeRegistry(bethesda("C:\\Morrowind"));
    EXPECT_EQ(hw::findDataFolder(), programFolder); // no such folder
    prefix.makeFolder("drive_c/Morrowind/Data Files");
    const auto data = prefix.resolved("drive_c/Morrowind/Data Files");
    EXPECT_EQ(hw::findDataFolder(), data);

    fs::create_directory_symlink(prefix.path, home.path / ".wine");
    ASSERT_EQ(setenv("WINEPREFIX", "", 1), 0); // as good as not set
    ASSERT_EQ(setenv("HOME", home.path.c_str(), 1), 0);
    EXPECT_EQ(hw::findDataFolder(), data);
    ASSERT_EQ(unsetenv("WINEPREFIX"), 0);
    ASSERT_EQ(unsetenv("HOME"), 0);
    EXPECT_EQ(hw::findDataFolder(), programFolder); // no prefix at all
}

} // namespace
