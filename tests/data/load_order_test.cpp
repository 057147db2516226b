// Load orders read from files on disk: an openmw.cfg chain, a Morrowind.ini
// with modification times, and configuration files that must not be read.
#include "data/morrowind_ini.hpp"
#include "data/openmw_config.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

namespace fs = std::filesystem;
using hw::test::TempFolder;
using Lines = std::vector<std::string>;

// The paths below `root`, "/" between names.
Lines relative(const std::vector<fs::path> &paths, const TempFolder &root)
{
    Lines out;
    for (const auto &path : paths)
        out.push_back(
            hw::utf8Path(fs::relative(path, fs::canonical(root.path())).generic_u8string()));
    return out;
}

// Each problem's file below `root`; "/" for "\\" in the messages too.
Lines problemLines(const std::vector<hw::LoadOrderProblem> &problems, const TempFolder &root)
{
    Lines out;
    for (const auto &problem : problems) {
        out.push_back(hw::utf8Path(fs::relative(problem.file, root.path()).generic_u8string()) +
                      ":" + std::to_string(problem.line) + ": " + problem.message);
        std::replace(out.back().begin(), out.back().end(), '\\', '/');
    }
    return out;
}

TEST(OpenMwLoadOrder, findsTheChainsFilesInItsDataFolders)
{
    const TempFolder root;
    const hw::OpenMwPaths tokens {root / "user", root / "userdata", root / "global", {}};
    // A later folder wins, ASCII letter case aside; userdata/data is OpenMW's
    // default data-local.
    for (const char *file :
         {"global/Data Files/Morrowind.esm", "global/Data Files/Tribunal.esm",
          "global/Data Files/Old.esp", "global/Data Files/Morrowind.bsa", "Mods/Café/MORROWIND.ESM",
          "Mods/Café/Mod.omwaddon", "Mods/Café/Café.esp", "userdata/data/New.esp"})
        root.write(file, "");
    root.write("user/openmw.cfg",
               "data=\"?global?Data Files\"\n"
               "fallback-archive=morrowind.bsa\n"
               "content=Morrowind.esm\ncontent=Old.esp\nconfig=../second\n");
    root.write("second/openmw.cfg",
               "replace=content\ndata=../Mods/Café\ndata=Gone\n"
               "content=morrowind.esm\ncontent=Tribunal.esm\n"
               "content=builtin.omwscripts\ncontent=Notes.txt\n"
               "content=Mod.omwaddon\ncontent=Missing.esp\n"
               "content=New.esp\ncontent=TRIBUNAL.ESM\nbroken\n"
               "content=Mod.omwaddon\ncontent=CAFÉ.esp\n");
    const auto order = hw::readOpenMwLoadOrder(root / "user/openmw.cfg", tokens);
    EXPECT_EQ(order.source, root / "user/openmw.cfg");
    EXPECT_EQ(relative(order.contentFiles, root),
              (Lines {"Mods/Café/MORROWIND.ESM", "global/Data Files/Tribunal.esm",
                      "Mods/Café/Mod.omwaddon", "userdata/data/New.esp"}));
    EXPECT_EQ(relative(order.dataFolders, root),
              (Lines {"global/Data Files", "Mods/Café", "userdata/data"}));
    EXPECT_EQ(relative(order.archives, root), Lines {"global/Data Files/Morrowind.bsa"});
    const auto gone = hw::utf8Path((root / "second/Gone").generic_u8string());
    const std::string cfg = "second/openmw.cfg:";
    // clang-format off
    EXPECT_EQ(problemLines(order.problems, root), (Lines {
        cfg + "12: this line is not a setting (it has no \"=\"), so OpenMW refuses this file; the line is passed over",
        cfg + "3: the data folder \"" + gone + "\" does not exist; OpenMW passes it over",
        cfg + "7: \"Notes.txt\" is not a master or plugin file (.esm, .esp, .omwaddon, .omwgame); it is passed over",
        cfg + "11: the content file \"TRIBUNAL.ESM\" names \"Tribunal.esm\" (line 5) a second time in other "
              "letter case, so OpenMW loads it twice; it counts once",
        cfg + "13: the content file \"Mod.omwaddon\" is named a second time (first on line 8), so OpenMW does "
              "not start; it counts once",
        cfg + "9: the content file \"Missing.esp\" is in none of the data folders",
        cfg + "14: the content file \"CAFÉ.esp\" is in none of the data folders"}));
    // clang-format on
}

TEST(MorrowindIniLoadOrder, putsMastersFirstThenOrdersByTime)
{
    const TempFolder root;
    const auto now = fs::file_time_type::clock::now();
    const auto day = [&](int n) { return now - std::chrono::hours(24 * (100 - n)); };
    // name in the folder, and its day; the ini names them in other letter cases,
    // beyond ASCII too, as Windows finds them
    const std::pair<const char *, int> files[] = {
        {"Morrowind.esm", 1}, {"Tribunal.esm", 5},  {"Bloodmoon.ESM", 5},
        {"Café.esp", 2},      {"Late.esp", 9},      {"Early.esp", 3},
        {"Same.esp", 3},      {"Morrowind.bsa", 1}, {"Tribunal.bsa", 5},
    };
    for (const auto &[name, n] : files)
        fs::last_write_time(root.write(std::string("Game/DATA FILES/") + name, ""), day(n));
    root.write("Game/Morrowind.ini",
               "[General]\r\nno entry here\r\n[Game Files]\r\n"
               "GameFile0=morrowind.esm\r\nGameFile4=Late.esp\r\nGameFile1=CAF\xC9.esp\r\n"
               "GameFile2=Same.esp\r\nGameFile3=\"Early.esp\"\r\nGameFile5=Tribunal.esm\r\n"
               "GameFile6=Bloodmoon.esm\r\nGameFile7=Missing.esp\r\nGameFile8=morrowind.ESM\r\n"
               "GameFile9=Notes.txt\r\nGameFile10=\r\ngamefile11 = Lost.esp\r\nGameFile01=x\r\n"
               "GameFile1=Late.esp\r\nbroken\r\n"
               "[Archives]\r\nArchive 0=Tribunal.bsa\r\nArchive 1=Gone.bsa\r\n");
    const auto order = hw::readMorrowindIniLoadOrder(root / "Game/Morrowind.ini");
    // Same time: Bloodmoon after Tribunal and Same.esp before Early.esp, by
    // their GameFile numbers.
    EXPECT_EQ(relative(order.contentFiles, root),
              (Lines {"Game/DATA FILES/Morrowind.esm", "Game/DATA FILES/Tribunal.esm",
                      "Game/DATA FILES/Bloodmoon.ESM", "Game/DATA FILES/Café.esp",
                      "Game/DATA FILES/Same.esp", "Game/DATA FILES/Early.esp",
                      "Game/DATA FILES/Late.esp"}));
    EXPECT_EQ(relative(order.archives, root),
              (Lines {"Game/DATA FILES/Morrowind.bsa", "Game/DATA FILES/Tribunal.bsa"}));
    EXPECT_EQ(relative(order.dataFolders, root), Lines {"Game/DATA FILES"});
    const std::string ini = "Game/Morrowind.ini:";
    // clang-format off
    EXPECT_EQ(problemLines(order.problems, root), (Lines {
        ini + "16: the game reads no entry \"GameFile01\" here, only GameFile0, GameFile1 and so on",
        ini + "17: GameFile1 is given a second time; the first (line 6) counts",
        ini + "18: this line is not an entry (it has no \"=\"); it is passed over",
        ini + "11: the game file \"Missing.esp\" is not in the Data Files folder",
        ini + "12: the game file \"morrowind.ESM\" is named a second time; it counts once",
        ini + "13: the game file \"Notes.txt\" is not a master or plugin file (.esm, .esp); it is passed over",
        ini + "15: the game file \"Lost.esp\" is not in the Data Files folder",
        ini + "21: the archive \"Gone.bsa\" is not in the Data Files folder"}));
    // clang-format on
}

// The entries count from 0 to the first missing number, as OpenMW's importer
// reads them (an empty entry is there); each one after the gap is named.
TEST(MorrowindIni, readsTheNumberedEntriesUpToTheFirstGap)
{
    std::vector<hw::LoadOrderProblem> problems;
    const auto ini = hw::parseMorrowindIni("[Game Files]\nGameFile0=A.esm\nGameFile1=\n"
                                           "GameFile7=D.esp\nGameFile3=C.esp\n"
                                           "[Archives]\nArchive 1=X.bsa\n",
                                           "Morrowind.ini", hw::CodePage::Windows1252, problems);
    Lines files;
    for (const auto &entry : ini.gameFiles)
        files.push_back(entry.name);
    EXPECT_EQ(files, (Lines {"A.esm", ""}));
    EXPECT_TRUE(ini.archives.empty());
    const std::string rule =
        ", and the entries are read only up to the first missing number, as OpenMW's importer "
        "reads them";
    EXPECT_EQ(
        problems,
        (std::vector<hw::LoadOrderProblem> {
            {"Morrowind.ini", 5, "GameFile3 (\"C.esp\") is left out: there is no GameFile2" + rule},
            {"Morrowind.ini", 4, "GameFile7 (\"D.esp\") is left out: there is no GameFile2" + rule},
            {"Morrowind.ini", 7, "Archive 1 (\"X.bsa\") is left out: there is no Archive 0" + rule},
        }));
}

// Without a Data Files folder beside it nothing can be found; with one, 300
// missing files give a hundred problems and one line that says so.
TEST(MorrowindIniLoadOrder, needsTheDataFilesFolderAndListsAHundredProblems)
{
    const TempFolder root;
    std::string ini = "[Game Files]\n";
    for (int i = 0; i < 300; ++i)
        ini += "GameFile" + std::to_string(i) + "=Missing" + std::to_string(i) + ".esp\n";
    const auto file = root.write("Morrowind.ini", ini);
    const auto alone = hw::readMorrowindIniLoadOrder(file);
    ASSERT_EQ(alone.problems.size(), 1u);
    EXPECT_EQ(alone.problems[0].message,
              "there is no \"Data Files\" folder beside this file, so "
              "the game's files cannot be found");
    root.folder("Data Files");
    const auto order = hw::readMorrowindIniLoadOrder(file);
    ASSERT_EQ(order.problems.size(), 101u);
    EXPECT_EQ(order.problems[99].line, 101u); // GameFile99
    EXPECT_EQ(order.problems.back().message, "more problems are not listed");
}

// A name from a file is shown whole: a NUL would cut the message where it is printed.
TEST(ProblemText, showsControlCharactersAsHex)
{
    EXPECT_EQ(hw::problemText({"a.cfg", 2, std::string("\"M\0d\n.esp\" is missing", 21)}),
              "a.cfg:2: \"M\\x00d\\x0A.esp\" is missing");
}

TEST(ReadTextFile, readsOnlyPlainFilesOfModestSize)
{
    const TempFolder root;
    root.write("small.cfg", "content=A.esp\n");
    root.write("large.cfg", std::string(hw::kLargestConfigFile + 1, '#'));
    root.folder("folder.cfg");
    const std::tuple<const char *, hw::TextFile::Status, const char *> cases[] = {
        {"small.cfg", hw::TextFile::Status::Read, ""},
        {"missing.cfg", hw::TextFile::Status::Missing, ""},
        {"large.cfg", hw::TextFile::Status::Refused,
         "is larger than 1 MiB, far more than any real one, so it is not read"},
        {"folder.cfg", hw::TextFile::Status::Refused, "is a folder, not a file"},
#ifndef _WIN32
        {"pipe.cfg", hw::TextFile::Status::Refused,
         "is not a plain file (a pipe or a device, say), so it is not read"},
#endif
    };
#ifndef _WIN32
    ASSERT_EQ(mkfifo((root / "pipe.cfg").c_str(), 0600), 0);
#endif
    for (const auto &[name, status, problem] : cases) {
        const auto text = hw::readTextFile(root / name);
        EXPECT_EQ(std::tuple(text.status, text.problem), std::tuple(status, std::string(problem)))
            << name;
    }
    EXPECT_EQ(hw::readTextFile(root / "small.cfg").text, "content=A.esp\n");
}

} // namespace
