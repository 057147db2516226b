// The look-up as the program makes it, from the environment. Windows has its
// own registry and is tested there.

#include "platform/data_folder.hpp"

#include "temp_prefix.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

const char *const kRegistry = "[Software\\\\Wow6432Node\\\\Bethesda Softworks\\\\Morrowind]\n"
                              "\"Installed Path\"=\"C:\\\\Morrowind\"\n";

std::filesystem::path programFolder()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
}

// Each test runs in a process of its own, so the environment can be changed.
TEST(FindDataFolder, readsThePrefixThatWineprefixNames)
{
    const hw::test::TempPrefix prefix;
    prefix.makeFolder("drive_c/Morrowind/Data Files");
    prefix.writeRegistry(hw::test::systemReg(kRegistry));
    ASSERT_EQ(setenv("WINEPREFIX", prefix.path().c_str(), 1), 0);
    EXPECT_EQ(hw::findDataFolder(), prefix.resolved("drive_c/Morrowind/Data Files"));
}

TEST(FindDataFolder, readsDotWineInTheHomeFolderOtherwise)
{
    const hw::test::TempPrefix home;
    const hw::test::TempPrefix prefix;
    prefix.makeFolder("drive_c/Morrowind/Data Files");
    prefix.writeRegistry(hw::test::systemReg(kRegistry));
    std::filesystem::create_directory_symlink(prefix.path(), home.path() / ".wine");
    ASSERT_EQ(unsetenv("WINEPREFIX"), 0);
    ASSERT_EQ(setenv("HOME", home.path().c_str(), 1), 0);
    EXPECT_EQ(hw::findDataFolder(), prefix.resolved("drive_c/Morrowind/Data Files"));
}

TEST(FindDataFolder, fallsBackToTheProgramsFolder)
{
    const hw::test::TempPrefix prefix;
    ASSERT_EQ(setenv("WINEPREFIX", prefix.path().c_str(), 1), 0);
    EXPECT_EQ(hw::findDataFolder(), programFolder()); // no system.reg
    prefix.writeRegistry(hw::test::systemReg(kRegistry));
    EXPECT_EQ(hw::findDataFolder(), programFolder()); // no such folder
    ASSERT_EQ(unsetenv("WINEPREFIX"), 0);
    ASSERT_EQ(unsetenv("HOME"), 0);
    EXPECT_EQ(hw::findDataFolder(), programFolder()); // no prefix at all
}

} // namespace
