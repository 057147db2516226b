// OpenMW's folders as this system gives them, and the choice between OpenMW's
// configuration and Morrowind.ini.
#include "platform/openmw_paths.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>

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
    const fs::path root =
        fs::temp_directory_path() / ("hourwright xdg " + std::to_string(std::random_device()()));
    fs::create_directories(root / "openmw");
    ASSERT_EQ(setenv("XDG_CONFIG_HOME", root.c_str(), 1), 0);
    ASSERT_EQ(setenv("WINEPREFIX", (root / "no prefix").c_str(), 1), 0);
    const auto neither = hw::readGameLoadOrder();
    ASSERT_EQ(neither.problems.size(), 1u);
    EXPECT_EQ(neither.problems[0].message.rfind("found neither OpenMW's configuration (" +
                                                    (root / "openmw/openmw.cfg").string() + ")",
                                                0),
              0u);
    std::ofstream(root / "openmw/openmw.cfg") << "content=Morrowind.esm\n";
    const auto order = hw::readGameLoadOrder();
    EXPECT_EQ(order.source, root / "openmw/openmw.cfg");
    fs::remove_all(root);
}
#endif

} // namespace
