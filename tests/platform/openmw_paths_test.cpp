// OpenMW's folders as this system gives them, and the choice between OpenMW's
// configuration and Morrowind.ini.
#include "platform/openmw_paths.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

namespace fs = std::filesystem;

#ifdef _WIN32
TEST(OpenMwPaths, areInTheDocumentsFolder)
{
    const auto paths = hw::openMwPaths();
    EXPECT_TRUE(paths.userConfig.is_absolute());
    EXPECT_EQ(paths.userConfig.filename(), "OpenMW");
    EXPECT_EQ(paths.userConfig.parent_path().filename(), "My Games");
    EXPECT_EQ(paths.userData, paths.userConfig);
}
#else
// Changing the environment is safe: each test runs in a process of its own.
TEST(OpenMwPaths, followTheXdgVariablesElseHome)
{
    ASSERT_EQ(setenv("HOME", "/home/nerevar", 1), 0);
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", "", 1), 0);
    ASSERT_EQ(unsetenv("XDG_DATA_HOME"), 0);
    auto paths = hw::openMwPaths();
    EXPECT_EQ(paths.userConfig, "/home/nerevar/.config/openmw");
    EXPECT_EQ(paths.userData, "/home/nerevar/.local/share/openmw");
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", "/cfg", 1), 0);
    ASSERT_EQ(setenv("XDG_DATA_HOME", "/data", 1), 0);
    paths = hw::openMwPaths();
    EXPECT_EQ(paths.userConfig, "/cfg/openmw");
    EXPECT_EQ(paths.userData, "/data/openmw");
    ASSERT_EQ(unsetenv("XDG_CONFIG_HOME"), 0);
    ASSERT_EQ(unsetenv("HOME"), 0);
    EXPECT_TRUE(hw::openMwPaths().userConfig.empty());
}

TEST(GameLoadOrder, readsOpenMwsUserConfigurationWhenThereIsOne)
{
    const hw::test::TempFolder root;
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.path().c_str(), 1), 0);
    ASSERT_EQ(setenv("WINEPREFIX", (root / "no prefix").c_str(), 1), 0);
    const auto neither = hw::readGameLoadOrder();
    ASSERT_EQ(neither.problems.size(), 1u);
    EXPECT_TRUE(neither.problems[0].message.starts_with(
        "found neither OpenMW's configuration (" + (root / "openmw/openmw.cfg").string() + ")"))
        << neither.problems[0].message;
    const auto cfg = root.write("openmw/openmw.cfg", "content=Morrowind.esm\n");
    EXPECT_EQ(hw::readGameLoadOrder().source, cfg);
}
#endif

} // namespace
