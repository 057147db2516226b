// The data folder that the game's registry entries in a Wine prefix name, and
// the look-up from the environment. (Windows's own registry is tested there.)
#include "platform/data_folder.hpp"
#include "platform/wine_prefix.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using namespace std::literals;

// A section as Wine writes it, with one value; the key and the data are
// written as they stand in the file, with backslashes doubled.
std::string entry(std::string_view key, std::string_view name, std::string_view data)
{
    return "[" + std::string(key) + "] 1700000000\n#time=1da1b2c3d4e5f60\n\"" + std::string(name) +
        "\"=\"" + std::string(data) + "\"\n";
}

const std::string kBethesda = R"(Software\\Wow6432Node\\Bethesda Softworks\\Morrowind)";

std::string bethesda(std::string_view data)
{
    return entry(kBethesda, "Installed Path", data);
}

TEST(FindDataFolder, findsTheFolderThePrefixsRegistryNames)
{
    const char *const data = "drive_c/Games/Morrowind/Data Files";
    const char *const gogData = "drive_c/GOG Games/Morrowind/Data files"; // "files" on purpose
    const char *const jeuxData = "drive_c/Jeux/Édition – GOTY/Data Files";
    const char *const driveDData = "games disk/Morrowind/Data Files";
    const std::string game = R"(C:\\Games\\Morrowind)"; // 18 characters
    const std::string gog =
        entry(R"(Software\\GOG.com\\Games\\1435828767)", "path", R"(c:\\gog GAMES\\morrowind)");
    // Empty names are passed over, so backslashes pad a path to any length;
    // with its NUL, a value of 1023 characters just fills the game's buffer.
    const std::string longest = game + std::string(2 * (1023 - 18), '\\');
    const std::string steam =
        R"(Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Steam App 22320)";
    // clang-format off
    // name, the registry after Wine's first lines, the data folder in the prefix or none
    const std::tuple<const char *, std::string, const char *> cases[] = {
        {"normal", bethesda(game), data},
        {"nativeView", entry(R"(Software\\Bethesda Softworks\\Morrowind)", "Installed Path", game), data},
        {"trailingBackslash", bethesda(game + R"(\\)"), data},
        {"emptyValueIsNoDrive", bethesda(""), nullptr},
        {"longestValue", bethesda(longest), data},
        {"overLongValue", bethesda(longest + R"(\\)"), nullptr},
        {"noValue", entry(kBethesda, "Installed Path2", game), nullptr},
        {"noKey", entry(R"(Software\\Bethesda Softworks\\Oblivion)", "Installed Path", game), nullptr},
        {"steamWithEscapes", entry(steam, "InstallLocation", R"(C:\\Jeux\\\x00c9dition \x2013 GOTY)"), jeuxData},
        {"gogInAnyLetterCase", gog, gogData},
        {"bethesdaBeforeGog", gog + bethesda(game), data},
        {"staleBethesdaThenGog", bethesda(R"(C:\\Old\\Morrowind)") + gog, gogData},
        {"missingDataFiles", bethesda(R"(C:\\Games)"), nullptr},
        {"otherDriveDotsAreLexical", bethesda(R"(D:\\Gone\\..\\.\\Morrowind)"), driveDData},
        {"unmappedDrive", bethesda(R"(E:\\Games\\Morrowind)"), nullptr},
    };
    // clang-format on
    // A prefix named beyond ASCII, C: linked as Wine links it and D: by an
    // absolute link; all cases share the folders, so a misread path can land on one.
    const hw::test::TempFolder prefix;
    const auto folder = [&](std::string_view relative) {
        return fs::canonical(prefix.folder(relative));
    };
    for (const char *name :
         {"dosdevices", "drive_c/Data Files", data, gogData, jeuxData, driveDData})
        folder(name);
    fs::create_directory_symlink("../drive_c", prefix.path() / "dosdevices" / "c:");
    fs::create_directory_symlink(folder("games disk"), prefix.path() / "dosdevices" / "d:");
    EXPECT_EQ(hw::dataFolderInPrefix(prefix.path()), std::nullopt); // no system.reg
    const auto writeRegistry = [&](const std::string &body) {
        prefix.write(
            "system.reg",
            "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n" +
                body);
    };
    for (const auto &[name, registry, expected] : cases) {
        writeRegistry(registry);
        EXPECT_EQ(hw::dataFolderInPrefix(prefix.path()),
                  expected ? std::optional(folder(expected)) : std::nullopt)
            << name;
    }

    // The program looks in WINEPREFIX, else starts in its own folder. (Each
    // test runs in a process of its own, so the environment may change.)
    writeRegistry(bethesda(game));
    ASSERT_EQ(setenv("WINEPREFIX", prefix.path().c_str(), 1), 0);
    EXPECT_EQ(hw::findDataFolder(), folder(data));
    ASSERT_EQ(unsetenv("WINEPREFIX"), 0);
    ASSERT_EQ(unsetenv("HOME"), 0);
    EXPECT_EQ(hw::findDataFolder(), fs::read_symlink("/proc/self/exe").parent_path());
}

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

TEST(WinePrefixPath, isWineprefixElseDotWineInHome)
{
    EXPECT_EQ(hw::winePrefixPath("/p", "/h"), fs::path("/p"));
    EXPECT_EQ(hw::winePrefixPath("", "/h"), fs::path("/h/.wine")); // as good as not set
    EXPECT_EQ(hw::winePrefixPath(nullptr, "/h"), fs::path("/h/.wine"));
    EXPECT_EQ(hw::winePrefixPath(nullptr, ""), std::nullopt);
}

} // namespace
