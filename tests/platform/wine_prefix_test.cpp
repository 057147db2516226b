#include "platform/wine_prefix.hpp"

#include "temp_prefix.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {

using hw::test::regEscape;
using hw::test::systemReg;

constexpr const char *kBethesda32 = "[Software\\\\Wow6432Node\\\\Bethesda Softworks\\\\Morrowind] "
                                    "1700000000\n#time=1da1b2c3d4e5f60\n";
constexpr const char *kBethesda = "[Software\\\\Bethesda Softworks\\\\Morrowind] 1700000000\n";
constexpr const char *kSteam =
    "[Software\\\\Wow6432Node\\\\Microsoft\\\\Windows\\\\CurrentVersion\\\\"
    "Uninstall\\\\Steam App 22320] 1700000000\n";
constexpr const char *kGog = "[Software\\\\GOG.com\\\\Games\\\\1435828767] 1700000000\n";

std::string installedPath(std::string_view windowsPath)
{
    return "\"Installed Path\"=\"" + regEscape(windowsPath) + "\"\n";
}

struct PrefixCase
{
    const char *name;
    std::string registry; // after Wine's first lines
    std::vector<const char *> folders; // made in the prefix
    const char *expected = nullptr; // the data folder in the prefix, or none
    const char *driveD = nullptr; // the prefix's folder that D: maps to
};

void PrintTo(const PrefixCase &c, std::ostream *os)
{
    *os << c.name;
}

class DataFolderInPrefix : public testing::TestWithParam<PrefixCase>
{
};

TEST_P(DataFolderInPrefix, findsTheFolderTheRegistryNames)
{
    const auto &c = GetParam();
    const hw::test::TempPrefix prefix;
    for (const auto *folder : c.folders)
        prefix.makeFolder(folder);
    if (c.driveD)
        prefix.mapDrive("d:", c.driveD);
    prefix.writeRegistry(systemReg(c.registry));

    const auto found = hw::dataFolderInPrefix(prefix.path());
    if (c.expected) {
        ASSERT_TRUE(found.has_value());
        EXPECT_EQ(*found, prefix.resolved(c.expected));
    } else {
        EXPECT_FALSE(found.has_value()) << *found;
    }
}

const std::string kGame = "C:\\Games\\Morrowind";
const char *const kData = "drive_c/Games/Morrowind/Data Files";

// A path of exactly `length` characters that names C:\Games\Morrowind.
std::string paddedPath(std::size_t length)
{
    std::string path = kGame;
    while (path.size() + 2 <= length)
        path += "\\.";
    if (path.size() < length)
        path += "\\";
    return path;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DataFolderInPrefix,
    testing::Values(
        PrefixCase {"normal", kBethesda32 + installedPath(kGame), {kData}, kData},
        PrefixCase {"nativeView", kBethesda + installedPath(kGame), {kData}, kData},
        PrefixCase {"trailingBackslash", kBethesda32 + installedPath(kGame + "\\"), {kData}, kData},
        PrefixCase {"dotDotIsLexical",
                    kBethesda32 + installedPath("C:\\Gone\\..\\Games\\.\\Morrowind"),
                    {kData},
                    kData},
        PrefixCase {"emptyValueIsNoDrive", kBethesda32 + installedPath(""), {"drive_c/Data Files"}},
        PrefixCase {"longestValue", kBethesda32 + installedPath(paddedPath(1023)), {kData}, kData},
        PrefixCase {"overLongValue", kBethesda32 + installedPath(paddedPath(1024)), {kData}},
        PrefixCase {"noValue",
                    std::string(kBethesda32) + "\"Installed Path2\"=\"" + regEscape(kGame) + "\"\n",
                    {kData}},
        PrefixCase {"noKey",
                    "[Software\\\\Bethesda Softworks\\\\Oblivion]\n" + installedPath(kGame),
                    {kData}},
        PrefixCase {"steam",
                    std::string(kSteam) +
                        "\"InstallLocation\"=\"C:\\\\Program Files (x86)\\\\Steam\\\\"
                        "steamapps\\\\common\\\\Morrowind\"\n",
                    {"drive_c/Program Files (x86)/Steam/steamapps/common/Morrowind/Data Files"},
                    "drive_c/Program Files (x86)/Steam/steamapps/common/Morrowind/Data Files"},
        PrefixCase {"gog",
                    std::string(kGog) + "\"path\"=\"C:\\\\GOG Games\\\\Morrowind\"\n",
                    {"drive_c/GOG Games/Morrowind/Data Files"},
                    "drive_c/GOG Games/Morrowind/Data Files"},
        PrefixCase {"bethesdaBeforeGog",
                    std::string(kGog) + "\"path\"=\"C:\\\\GOG Games\\\\Morrowind\"\n" +
                        kBethesda32 + installedPath(kGame),
                    {kData, "drive_c/GOG Games/Morrowind/Data Files"},
                    kData},
        PrefixCase {"staleBethesdaThenGog",
                    std::string(kBethesda32) + installedPath("C:\\Old\\Morrowind") + kGog +
                        "\"path\"=\"C:\\\\GOG Games\\\\Morrowind\"\n",
                    {"drive_c/GOG Games/Morrowind/Data Files"},
                    "drive_c/GOG Games/Morrowind/Data Files"},
        PrefixCase {"escapedName",
                    kBethesda32 +
                        std::string("\"Installed Path\"=\"C:\\\\Jeux\\\\\\x00c9dition "
                                    "\\x2013 GOTY\"\n"),
                    {"drive_c/Jeux/\xC3\x89"
                     "dition \xE2\x80\x93 GOTY/Data Files"},
                    "drive_c/Jeux/\xC3\x89"
                    "dition \xE2\x80\x93 GOTY/Data Files"},
        PrefixCase {
            "missingDataFiles", kBethesda32 + installedPath(kGame), {"drive_c/Games/Morrowind"}},
        PrefixCase {"otherDrive",
                    kBethesda32 + installedPath("D:\\Morrowind"),
                    {"games disk/Morrowind/Data Files"},
                    "games disk/Morrowind/Data Files",
                    "games disk"},
        PrefixCase {"unmappedDrive",
                    kBethesda32 + installedPath("E:\\Morrowind"),
                    {"drive_c/Morrowind/Data Files"}},
        PrefixCase {"letterCase",
                    kBethesda32 + installedPath("c:\\GAMES\\morrowind"),
                    {"drive_c/Games/Morrowind/Data files"},
                    "drive_c/Games/Morrowind/Data files"},
        PrefixCase {"damagedSectionLine",
                    "[Software\\\\Wow6432Node\\\\Bethesda Softworks\\\\Morrowind\n" +
                        installedPath(kGame),
                    {kData}}));

TEST(DataFolderInPrefix, isNothingWithoutARegistryFile)
{
    const hw::test::TempPrefix prefix;
    prefix.makeFolder(kData);
    EXPECT_FALSE(hw::dataFolderInPrefix(prefix.path()).has_value());
    prefix.writeRegistry(kBethesda32 + installedPath(kGame)); // no "WINE REGISTRY" line
    EXPECT_FALSE(hw::dataFolderInPrefix(prefix.path()).has_value());
    EXPECT_FALSE(hw::dataFolderInPrefix(prefix.path() / "nowhere").has_value());
}

TEST(InstallPathText, readsAsTheGameReadsIntoItsBuffer)
{
    const auto value = [](std::u16string text, std::uint32_t type = hw::kRegSz) {
        hw::RegistryValue v;
        v.keyFound = v.valueFound = true;
        v.type = type;
        v.length = text.size();
        v.text = std::move(text);
        return v;
    };
    using namespace std::literals;
    EXPECT_EQ(hw::installPathText(value(u"C:\\G\0"s)), "C:\\G");
    EXPECT_EQ(hw::installPathText(value(u"C:\\G\0junk\0"s, hw::kRegMultiSz)), "C:\\G");
    EXPECT_EQ(hw::installPathText(value(u"C:\\G"s, hw::kRegExpandSz)),
              "C:\\G"); // zeroed buffer ends it
    EXPECT_EQ(hw::installPathText(value(std::u16string(1023, u'a'))), std::string(1023, 'a'));
    EXPECT_EQ(hw::installPathText(value(std::u16string(1023, u'a') + u'\0')),
              std::string(1023, 'a'));
    EXPECT_EQ(hw::installPathText(value(std::u16string(1024, u'a'))), std::nullopt); // no end
    EXPECT_EQ(hw::installPathText(value(std::u16string(1024, u'a') + u'\0')), std::nullopt);
    EXPECT_EQ(hw::installPathText(value(u"\0"s)), "");
    EXPECT_EQ(hw::installPathText(value(u"C:\\G\0"s, hw::kRegDword)), std::nullopt);
    EXPECT_EQ(hw::installPathText(value(u""s, hw::kRegNone)), std::nullopt);
    EXPECT_EQ(hw::installPathText(hw::RegistryValue {}), std::nullopt);
}

} // namespace
