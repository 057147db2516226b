// openmw.cfg: one file's lines and the config= chain in memory.
#include "data/openmw_config.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

const hw::OpenMwPaths kTokens {"/uc", "/ud", "/gl", "/lo"};

std::string generic(const fs::path &path)
{
    const auto text = path.generic_u8string();
    return {text.begin(), text.end()};
}

// One line per value and per problem, in a fixed order.
Lines summary(const hw::OpenMwFile &file, const std::vector<hw::LoadOrderProblem> &problems)
{
    Lines out;
    for (const auto &data : file.data)
        out.push_back("data " + generic(data.folder));
    if (file.dataLocal)
        out.push_back("local " + generic(file.dataLocal->folder));
    for (const auto &config : file.config)
        out.push_back("config " + generic(config.folder));
    for (const auto &content : file.content)
        out.push_back("content " + content.name + "@" + std::to_string(content.line));
    for (const auto &archive : file.archives)
        out.push_back("archive " + archive.name);
    for (const auto &key : file.replace)
        out.push_back("replace " + key);
    for (const auto &problem : problems)
        out.push_back("problem " + std::to_string(problem.line) + ": " + problem.message);
    return out;
}

// Problems are matched by the beginning of their message.
void expectLines(const Lines &actual, const Lines &expected, const std::string &name,
                 bool allProblems = false)
{
    ASSERT_EQ(actual.size(), expected.size()) << name << ": " << testing::PrintToString(actual);
    for (std::size_t i = 0; i < actual.size(); ++i)
        EXPECT_TRUE(allProblems || actual[i].starts_with("problem ")
                        ? actual[i].starts_with(expected[i])
                        : actual[i] == expected[i])
            << name << ": " << actual[i] << " (expected " << expected[i] << ")";
}

TEST(OpenMwFile, readsEachLineAsOpenMwDoes)
{
    // clang-format off
    const std::tuple<const char *, const char *, Lines> cases[] = { // name, text, summary
        {"quotedWithEscapes", R"(data="Tom && Jerry&"s")", {"data /cfg/Tom & Jerry\"s"}},
        {"trimmedAndRelative", "  data = Data Files \r\nfallback-archive= Morrowind.bsa\r\n",
         {"data /cfg/Data Files", "archive Morrowind.bsa"}},
        {"tokens", "data=?userdata?mods\ndata=?global?\nconfig=?userconfig?\ndata-local=\"?local?data\"",
         {"data /ud/mods", "data /gl", "local /lo/data", "config /uc"}},
        {"commentsAndSections", "# content=A.esp\n  #\tcontent=B.esp\ncontent=C.esp #x\n[Misc]\ncontent=D.esp\nx=y",
         {"content C.esp #x@3", "problem 5: content= stands under [Misc], where OpenMW does not read it"}},
        // OpenMW takes the mark for part of the first setting's name.
        {"byteOrderMark", "\xEF\xBB\xBF" "content=A.esp\ncontent=B.esp",
         {"content B.esp@2", "problem 1: the file begins with a byte-order mark"}},
        {"foldersLexicallyNormal", "data=../x/./y/\nconfig=?userdata?a/../b", {"data /x/y/", "config /ud/b"}},
        {"contentNamesKeepTheirQuotes", R"(content="A.esp")", {"content \"A.esp\"@1"}},
        {"replace", "replace=content\nreplace=fallback-archive", {"replace content", "replace fallback-archive"}},
        {"brokenLinesAndTheRest",
         "content=A.esp\nno equals sign\ndata=\"open\ndata=\"x\" tail\ndata=?nope?x\ncontent=\n"
         "data-local=a\ndata-local=b\nContent=E.esp",
         {"data /cfg/x", "local /cfg/a", "content A.esp@1", "problem 2: this line is not a setting",
          "problem 3: the closing quote is missing", "problem 4: the text after the closing quote",
          "problem 5: the folder begins with an unknown token", "problem 6: content= names no file",
          "problem 8: data-local is set a second time"}},
    };
    // clang-format on
    for (const auto &[name, text, expected] : cases) {
        std::vector<hw::LoadOrderProblem> problems;
        const auto file = hw::parseOpenMwFile(text, "/cfg/openmw.cfg", kTokens, problems);
        expectLines(summary(file, problems), expected, name);
    }
}

TEST(OpenMwFile, listsAFewBrokenLinesAndCountsTheRest)
{
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += "x\n";
    std::vector<hw::LoadOrderProblem> problems;
    const auto file = hw::parseOpenMwFile(text + "content=A.esp", "openmw.cfg", kTokens, problems);
    ASSERT_EQ(problems.size(), 21u);
    EXPECT_EQ(problems[19].line, 20u);
    EXPECT_EQ(problems.back().message, "1480 more broken lines are not listed");
    EXPECT_EQ(file.content.size(), 1u);
}

// A chain in memory: each entry is the openmw.cfg of the folder /c/NAME;
// "!" as text stands for a file that cannot be read.
struct Chain
{
    const char *name;
    std::map<std::string, std::string> files;
    Lines content; // in the combined order
    Lines problems; // "folder:line: message"
};

Lines readChain(const Chain &chain, Lines &problems)
{
    const auto read = [&](const fs::path &file) {
        const auto name = file.parent_path().filename().string();
        const auto it = chain.files.find(name);
        if (it == chain.files.end() || file.filename() != "openmw.cfg")
            return hw::TextFile {};
        if (it->second == "!")
            return hw::TextFile {hw::TextFile::Status::Refused, {}, "cannot be read"};
        return hw::TextFile {hw::TextFile::Status::Read, it->second, {}};
    };
    const auto settings = hw::readOpenMwSettings("/c/a/openmw.cfg", kTokens, read);
    Lines content;
    for (const auto &entry : settings.content)
        content.push_back(entry.name);
    for (const auto &problem : settings.problems)
        problems.push_back(problem.file.parent_path().filename().string() + ":" +
                           std::to_string(problem.line) + ": " + problem.message);
    return content;
}

TEST(OpenMwChain, followsConfigLinesAndCombinesAsOpenMwDoes)
{
    Chain longChain {"moreFilesThanRead", {}, {}, {"b31:1: more than 32 configuration folders"}};
    longChain.files["a"] = "config=../b1\ncontent=a";
    for (int i = 1; i < 40; ++i)
        longChain.files["b" + std::to_string(i)] = "config=../b" + std::to_string(i + 1);
    longChain.content = {"a"};
    // clang-format off
    const Chain cases[] = {
        {"depthFirstInLineOrder",
         {{"a", "content=a1\nconfig=../b\nconfig=../c/\ncontent=a2"}, {"b", "content=b\nconfig=../d"},
          {"c", "content=c"}, {"d", "content=d"}},
         {"a1", "a2", "b", "d", "c"}, {}},
        {"replaceConfigKeepsTheStart",
         {{"a", "content=a\nconfig=../b\nconfig=../c"}, {"b", "content=b"}, {"c", "replace=config\ncontent=c"}},
         {"a", "c"}, {}},
        {"loopsReadEachFolderOnce",
         {{"a", "config=../b\ncontent=a"}, {"b", "config=../a\nconfig=./\ncontent=b"}},
         {"a", "b"}, {"b:1: config= leads back", "b:2: config= leads back"}},
        {"aFolderTwoFilesNameIsNoLoop",
         {{"a", "config=../b\nconfig=../c"}, {"b", "config=../c\ncontent=b"}, {"c", "content=c"}},
         {"b", "c"}, {}},
        {"missingFilesAreSilentUnreadableOnesNot",
         {{"a", "config=../none\nconfig=../bad\ncontent=a"}, {"bad", "!"}}, {"a"}, {"bad:0: cannot be read"}},
        {"noStart", {}, {}, {"a:0: there is no such file"}},
        longChain,
    };
    // clang-format on
    for (const auto &c : cases) {
        Lines problems;
        EXPECT_EQ(readChain(c, problems), c.content) << c.name;
        expectLines(problems, c.problems, c.name, true);
    }
}

} // namespace
