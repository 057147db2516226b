#include "generator/central_script.hpp"
#include "generator/messages.hpp"
#include "generator/schedule_script.hpp"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

struct Outcome
{
    int status = -1;
    std::string out;
    std::string err;
};

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path &path, std::string_view bytes)
{
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A path as the program takes it on its command line: UTF-8.
std::string utf8(const fs::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

// Double quotes with \" inside read back the same through sh and through
// cmd.exe with the Windows C runtime; the tests pass no $, ` or %.
std::string quoteArg(std::string_view arg)
{
    std::string quoted = "\"";
    for (const char c : arg)
        quoted.append(c == '"' ? "\\\"" : std::string(1, c));
    return quoted + "\"";
}

// Each test works in a folder of its own, as ctest runs them side by side.
class Cli : public testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device random;
        m_dir = fs::temp_directory_path() /
            ("hourwright-cli-test-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path path(const char *name) const { return m_dir / name; }

    // Runs the program with `args`, `input` on standard input and `outputTo`
    // (the output file unless given) as standard output.
    Outcome run(const std::vector<std::string> &args, std::string_view input = {},
                std::string outputTo = {})
    {
        writeFile(path("stdin"), input);
        if (outputTo.empty())
            outputTo = utf8(path("stdout"));
        std::string command = quoteArg(utf8(fs::path(HOURWRIGHT_CLI).make_preferred()));
        for (const auto &arg : args)
            command += " " + quoteArg(arg);
        command += " < " + quoteArg(utf8(path("stdin"))) + " > " + quoteArg(outputTo) + " 2> " +
            quoteArg(utf8(path("stderr")));
#ifdef _WIN32
        // cmd.exe drops the outermost pair of quotes of the whole line.
        command = "\"" + command + "\"";
#endif
        Outcome result;
#ifdef _WIN32
        // The wide form carries every character of the UTF-8 command.
        std::wstring wide(command.size() + 1, L'\0');
        wide.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, command.c_str(), -1,
                                                                 wide.data(),
                                                                 static_cast<int>(wide.size())) -
                                             1));
        result.status = _wsystem(wide.c_str());
#else
        const int raw = std::system(command.c_str());
        result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        result.out = readFile(path("stdout"));
        result.err = readFile(path("stderr"));
        // Messages are text: Windows ends their lines with CR LF.
        std::erase(result.err, '\r');
        return result;
    }

    fs::path m_dir;
};

// The worked example out of order, with both kinds of line end, blank lines,
// a byte order mark, the action names' case changed and numbers as typed.
constexpr std::string_view kUnsortedInput = "\xEF\xBB\xBF"
                                            "20:00 > disappear\r\n"
                                            "\r\n"
                                            "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
                                            "  \t\n"
                                            "06:00 > Travel > 0100/200.0/-0\n"
                                            "06:00 > START RUNNING";

const std::vector<std::string> kSortedEntries = {
    "06:00 > Start Running",
    "06:00 > Travel > 100/200/0",
    R"(12:00 > Say > "vo\hello.mp3"/"Good day")",
    "20:00 > Disappear",
};

TEST_F(Cli, printsTheCoresScriptForAFileAndForStandardInput)
{
    writeFile(path("tasks.txt"), kUnsortedInput);
    const std::string file = utf8(path("tasks.txt"));
    struct Case
    {
        std::vector<std::string> args;
        hw::ScheduleSwitches switches;
        std::string_view input;
    };
    const Case cases[] = {
        {{"schedule", "--npc", "Town Guard", file}, {}, {}},
        {{"schedule", "--global", "--npc=Town Guard", file}, {.global = true}, {}},
        {{"schedule", "--npc", "Town Guard", "--equal", "-"}, {.equality = true}, kUnsortedInput},
        {{"schedule", "--equal", "--global", "--npc", "Town Guard"}, {true, true}, kUnsortedInput},
    };
    for (const auto &c : cases) {
        const Outcome r = run(c.args, c.input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, hw::generateSchedule("Town Guard", kSortedEntries, c.switches).text);
    }
}

TEST_F(Cli, keepsSlashesAndSeparatorsInsideTexts)
{
    const std::string input = "07:00 > Say > \"a.mp3\"/\"Bread and/or ale > water\"\n"
                              "07:00 > Position in Cell > \"Vivec, Arena/Pit\"/1/2/3/4\n";
    const Outcome r = run({"schedule", "--npc", "npc"}, input);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> entries = {
        R"(07:00 > Position in Cell > "Vivec, Arena/Pit"/1/2/3/4)",
        R"(07:00 > Say > "a.mp3"/"Bread and/or ale > water")"};
    EXPECT_EQ(r.out, hw::generateSchedule("npc", entries, {}).text);
}

struct Refusal
{
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string err;
};

// Names each case after its arguments and the message it expects.
void PrintTo(const Refusal &c, std::ostream *os)
{
    for (const auto &arg : c.args)
        *os << arg << ' ';
    *os << c.err.substr(0, c.err.find('\n'));
}

class CliRefuses : public Cli, public testing::WithParamInterface<Refusal>
{
};

TEST_P(CliRefuses, withAMessageAndNoScript)
{
    const auto &c = GetParam();
    const Outcome r = run(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.err);
}

std::string message(std::string_view text)
{
    return "hourwright-cli: " + std::string(text) + "\n";
}

// A schedule for the NPC "npc" from standard input, refused for its entries.
Refusal badEntry(std::string input, std::string_view what)
{
    return {
        {"schedule", "--npc", "npc"}, std::move(input), 1, message("<stdin>:" + std::string(what))};
}

Refusal usage(std::vector<std::string> args, std::string err)
{
    return {std::move(args), "", 2, std::move(err)};
}

INSTANTIATE_TEST_SUITE_P(
    BadInput, CliRefuses,
    testing::Values(
        Refusal {{"schedule"}, "06:00 > Appear\n", 1, message(hw::kNpcNameMissing)},
        // The name is checked before the file is even opened.
        Refusal {{"schedule", "--npc", "", "no-such-file"}, "", 1, message(hw::kNpcNameMissing)},
        Refusal {{"schedule", "--npc", "Town \"Guard\""}, "", 1, message(hw::kNpcNameHasQuote)},
        Refusal {{"schedule", "--npc", "npc"}, "\r\n \n", 1, message(hw::kNoTasks)},
        Refusal {{"schedule", "--npc", "Town\x01Guard"},
                 "06:00 > Appear",
                 1,
                 message("the NPC id holds a control character")},
        badEntry("06:00 > Appear\n24:00 > Appear\n",
                 "2: the time must be 00:00 to 23:00, not \"24:00\""),
        badEntry("06:00\n", "1: missing \" > \" and an action after the time"),
        badEntry("06:00 > Dance\n", "1: unknown action \"Dance\""),
        badEntry("06:00 > Appear > 1\n", "1: \"Appear\" takes no options, not 1"),
        badEntry("06:00 > Travel > 1/2\n", "1: \"Travel\" takes 3 options, not 2"),
        badEntry("06:00 > Say > \"a\"/\"b\"c\"\n",
                 "1: option 2 of \"Say\" must be a text in double quotes, not \"b\"c\""),
        badEntry("06:00 > Cast > \"\"/\"b\"\n", "1: option 1 of \"Cast\" is empty"),
        badEntry("06:00 > Face > 1/1e3\n", "1: option 2 of \"Face\" must be a number, not \"1e3\""),
        badEntry("06:00 > Face > 1/" + std::string(400, '9'),
                 "1: option 2 of \"Face\" is out of range"),
        badEntry("06:00 > Say > \"a\rb\"/\"c\"\n", "1: the line holds a control character"),
        usage({"schedule", "--npc", "npc", "--loud"},
              "hourwright-cli schedule: unknown option '--loud'\n"),
        usage({"schedule", "--npc", "npc", "a", "b"},
              "hourwright-cli schedule: only one FILE may be given\n"),
        usage({"central", "now"}, "hourwright-cli central: takes no arguments\n")));

TEST_F(Cli, reportsEveryBadLineOfAFileByName)
{
    writeFile(path("tasks.txt"), "06:00 > Appear\r\n07:00 > Dance\r\n08:00 > Fly\r\n");
    const std::string file = utf8(path("tasks.txt"));
    const Outcome r = run({"schedule", "--npc", "npc", file});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              message(file + ":2: unknown action \"Dance\"") +
                  message(file + ":3: unknown action \"Fly\""));

    const std::string none = utf8(path("none.txt"));
    const Outcome missing = run({"schedule", "--npc", "npc", none});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.starts_with("hourwright-cli: " + none + ": cannot open: "))
        << missing.err;
}

#ifdef __linux__
TEST_F(Cli, failsWhenTheScriptCannotBeWritten)
{
    for (const auto &args : {std::vector<std::string> {"schedule", "--npc", "npc"},
                             std::vector<std::string> {"central"}}) {
        const Outcome r = run(args, "06:00 > Appear\n", "/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.starts_with("hourwright-cli: cannot write the script:")) << r.err;
    }
}
#endif

TEST_F(Cli, printsAFreshCentralTemplate)
{
    const Outcome first = run({"central"});
    const Outcome second = run({"central"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    EXPECT_NE(first.out, second.out);

    // Apart from its name the template is the core's.
    const std::string zero = hw::centralScript({});
    const auto firstLineEnd = first.out.find("\r\n");
    ASSERT_NE(firstLineEnd, std::string::npos);
    EXPECT_EQ(first.out.substr(firstLineEnd), zero.substr(zero.find("\r\n")));
    const std::string name = first.out.substr(6, firstLineEnd - 6);
    EXPECT_TRUE(first.out.starts_with("Begin hrw_central_"));
    EXPECT_EQ(name.find_first_not_of("0123456789ABCDEF", 12), std::string::npos) << name;
}

// File names and NPC ids beyond ASCII reach the commands whole, also on
// Windows, whose main() would see them in its narrow code page.
TEST_F(Cli, takesArgumentsBeyondAsciiWhole)
{
    const fs::path folder = m_dir / fs::path(u8"\u0152uvres \u00e9t\u00e9");
    fs::create_directories(folder);
    fs::copy_file(fs::path(HW_TEST_PLUGINS) / "all_types.esp", folder / "all_types.esp");
    const Outcome npcs = run({"npcs", utf8(folder / "all_types.esp")});
    EXPECT_EQ(npcs.status, 0) << npcs.err;
    EXPECT_EQ(npcs.out, "test_npc\ntest_npc_autocalc\n");

    const std::string id = "J\xC3\xB6ns \xC3\x84rger"; // Jöns Ärger
    const Outcome schedule = run({"schedule", "--npc", id}, "05:00 > Stop Sneaking\n");
    EXPECT_EQ(schedule.status, 0) << schedule.err;
    EXPECT_EQ(
        schedule.out,
        hw::generateSchedule(id, std::vector<std::string> {"05:00 > Stop Sneaking"}, {}).text);
}

TEST_F(Cli, explainsEachCommand)
{
    for (const char *command : {"schedule", "central"}) {
        const Outcome r = run({command, "--help"});
        EXPECT_EQ(r.status, 0);
        EXPECT_TRUE(r.out.starts_with("Usage: hourwright-cli " + std::string(command))) << r.out;
    }
}

} // namespace
