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
using Args = std::vector<std::string>;

struct Outcome
{
    int status = -1;
    std::string out, err;
};

// A path as the program takes it on its command line: UTF-8.
std::string utf8(const fs::path &path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

#ifdef _WIN32
std::wstring wide(std::string_view utf8Text)
{
    return fs::path(std::u8string(utf8Text.begin(), utf8Text.end())).wstring();
}

// One argument as the C runtime splits a command line: in double quotes, a
// quote inside escaped, and the backslashes before a quote doubled.
std::wstring quoteArg(std::string_view arg)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : wide(arg)) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(2 * backslashes, L'\\') + L'"';
}

HANDLE openInherited(const std::string &path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES inherit {sizeof inherit, nullptr, TRUE};
    return CreateFileW(wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program itself, not through cmd.exe, whose quoting rules bend
// arguments that hold control characters.
int runProgram(const Args &args, const std::string &in, const std::string &out,
               const std::string &err)
{
    const std::string program = utf8(fs::path(HOURWRIGHT_CLI).make_preferred());
    std::wstring line = quoteArg(program);
    for (const auto &arg : args)
        line += L' ' + quoteArg(arg);
    const HANDLE files[] = {openInherited(in, GENERIC_READ, OPEN_EXISTING),
                            openInherited(out, GENERIC_WRITE, CREATE_ALWAYS),
                            openInherited(err, GENERIC_WRITE, CREATE_ALWAYS)};
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = files[0];
    startup.hStdOutput = files[1];
    startup.hStdError = files[2];
    PROCESS_INFORMATION process {};
    DWORD status = static_cast<DWORD>(-1);
    if (CreateProcessW(wide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    for (const HANDLE file : files)
        CloseHandle(file);
    return static_cast<int>(status);
}
#else
// Double quotes with \" inside read back the same through sh; the tests pass
// no $ or `.
std::string quoteArg(std::string_view arg)
{
    std::string quoted = "\"";
    for (const char c : arg)
        quoted.append(c == '"' ? "\\\"" : std::string(1, c));
    return quoted + "\"";
}

int runProgram(const Args &args, const std::string &in, const std::string &out,
               const std::string &err)
{
    std::string command = quoteArg(HOURWRIGHT_CLI);
    for (const auto &arg : args)
        command += " " + quoteArg(arg);
    command += " < " + quoteArg(in) + " > " + quoteArg(out) + " 2> " + quoteArg(err);
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}
#endif

// A message of the program, as a line of its standard error.
std::string said(std::string_view text)
{
    return "hourwright-cli: " + std::string(text);
}

std::string readFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each test works in a folder of its own, as ctest runs them side by side.
class Cli : public testing::Test
{
protected:
    void SetUp() override { fs::create_directories(m_dir); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string path(const char *name) const { return utf8(m_dir / name); }
    void write(const char *name, std::string_view bytes) const
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }

    // Runs the program with `args`, `input` on standard input and `outputTo`
    // (a file of the folder unless given) as standard output.
    Outcome run(const Args &args, std::string_view input = {}, std::string outputTo = {}) const
    {
        write("stdin", input);
        Outcome result;
        result.status = runProgram(args, path("stdin"),
                                   outputTo.empty() ? path("stdout") : outputTo, path("stderr"));
        result.out = readFile(m_dir / "stdout");
        result.err = readFile(m_dir / "stderr");
        std::erase(result.err, '\r'); // messages are text: CR LF on Windows
        return result;
    }

    const fs::path m_dir = fs::temp_directory_path() /
        ("hourwright-cli-test-" + std::to_string(std::random_device()()) +
         std::to_string(std::random_device()()));
};

// The worked example out of order, with both kinds of line end, blank lines,
// a byte order mark, the action names' case changed, numbers as typed and
// texts that hold the separators.
constexpr std::string_view kUnsortedInput =
    "\xEF\xBB\xBF"
    "20:00 > disappear\r\n"
    "\r\n"
    "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
    "  \t\n"
    "07:00 > Say > \"a.mp3\"/\"Bread and/or ale > water\"\n"
    "07:00 > Position in Cell > \"Vivec, Arena/Pit\"/1/2/3/4\n"
    "06:00 > Travel > 0100/200.0/-0\n"
    "06:00 > START RUNNING";

const Args kSortedEntries = {
    "06:00 > Start Running",
    "06:00 > Travel > 100/200/0",
    R"(07:00 > Position in Cell > "Vivec, Arena/Pit"/1/2/3/4)",
    R"(07:00 > Say > "a.mp3"/"Bread and/or ale > water")",
    R"(12:00 > Say > "vo\hello.mp3"/"Good day")",
    "20:00 > Disappear",
};

// The id is beyond ASCII, which Windows would hand main() in its narrow code
// page.
TEST_F(Cli, printsTheCoresScriptForAFileAndForStandardInput)
{
    write("tasks.txt", kUnsortedInput);
    const std::string file = path("tasks.txt"), id = "J\xC3\xB6ns \xC3\x84rger"; // Jöns Ärger
    const std::tuple<Args, hw::ScheduleSwitches, std::string_view> cases[] = {
        {{"schedule", "--npc", id, file}, {}, {}},
        {{"schedule", "--global", "--npc=" + id, file}, {.global = true}, {}},
        {{"schedule", "--npc", id, "--equal", "-"}, {.equality = true}, kUnsortedInput},
        {{"schedule", "--equal", "--global", "--npc", id}, {true, true}, kUnsortedInput},
    };
    for (const auto &[args, switches, input] : cases) {
        const Outcome r = run(args, input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out, hw::generateSchedule(id, kSortedEntries, switches).text);
    }
}

// Refused input exits with status 1, wrong usage with 2 and a message that
// names the command; a file's refused lines are named by the file and each
// line number.
TEST_F(Cli, refusesWithAMessageAndNoScript)
{
    const Args npc = {"schedule", "--npc", "npc"};
    const std::string line = said("<stdin>:"), usage = "hourwright-cli schedule: ";
    write("tasks.txt", "06:00 > Appear\r\n07:00 > Dance\r\n08:00 > Fly\r\n");
    const std::string file = path("tasks.txt");
    // clang-format off
    const std::tuple<Args, std::string, std::string> cases[] = {
        // The name is checked before the file is even opened.
        {{"schedule", "--npc", "", "no-such-file"}, "", said(hw::kNpcNameMissing)},
        {{"schedule", "--npc", "Town \"Guard\""}, "", said(hw::kNpcNameHasQuote)},
        {{"schedule", "--npc", "Town\x01Guard"}, "", said(hw::kNpcNameHasControl)},
        {npc, "\r\n \n", said(hw::kNoTasks)},
        {npc, "06:00 > Appear\n24:00 > Appear\n",
         line + "2: the time must be 00:00 to 23:00, not \"24:00\""},
        {npc, "06:00\n", line + "1: missing \" > \" and an action after the time"},
        {npc, "06:00 > Appear > 1\n", line + "1: \"Appear\" takes no options, not 1"},
        {npc, "06:00 > Travel > 1/2\n", line + "1: \"Travel\" takes 3 options, not 2"},
        {npc, "06:00 > Say > \"a\"/\"b\"c\"\n",
         line + "1: option 2 of \"Say\" must be a text in double quotes, not \"b\"c\""},
        {npc, "06:00 > Cast > \"\"/\"b\"\n", line + "1: option 1 of \"Cast\" is empty"},
        {npc, "06:00 > Face > 1/1e3\n",
         line + "1: option 2 of \"Face\" must be a number, not \"1e3\""},
        {npc, "06:00 > Face > 1/" + std::string(400, '9'),
         line + "1: option 2 of \"Face\" is out of range"},
        {npc, "06:00 > Say > \"a\rb\"/\"c\"\n", line + "1: the line holds a control character"},
        {{"schedule", "--npc", "npc", file}, "",
         said(file + ":2: unknown action \"Dance\"\n") + said(file + ":3: unknown action \"Fly\"")},
        {{"schedule", "--npc", "npc", "--loud"}, "", usage + "unknown option '--loud'"},
        {{"schedule", "--npc", "npc", "a", "b"}, "", usage + "only one FILE may be given"},
        {{"central", "now"}, "", "hourwright-cli central: takes no arguments"},
    };
    // clang-format on
    for (const auto &[args, input, err] : cases) {
        const Outcome r = run(args, input);
        EXPECT_EQ(r.status, err.starts_with(said("")) ? 1 : 2) << err;
        EXPECT_EQ(r.out, "") << err;
        EXPECT_EQ(r.err.substr(0, err.size() + 1), err + "\n");
    }
    const std::string none = path("none.txt");
    const Outcome missing = run({"schedule", "--npc", "npc", none});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(missing.err.starts_with(said(none + ": cannot open: "))) << missing.err;
}

#ifdef __linux__
TEST_F(Cli, failsWhenTheScriptCannotBeWritten)
{
    for (const Args &args : {Args {"schedule", "--npc", "npc"}, Args {"central"}}) {
        const Outcome r = run(args, "06:00 > Appear\n", "/dev/full");
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.err.starts_with(said("cannot write the script:"))) << r.err;
    }
}
#endif

TEST_F(Cli, printsAFreshCentralTemplateAndTheActionList)
{
    const Outcome first = run({"central"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out, run({"central"}).out);
    // Apart from its name the template is the core's.
    const std::string zero = hw::centralScript({});
    EXPECT_TRUE(first.out.starts_with("Begin hrw_central_")) << first.out;
    EXPECT_TRUE(first.out.ends_with(zero.substr(zero.find("\r\n")))) << first.out;

    Outcome actions = run({"actions"});
    EXPECT_EQ(actions.status, 0) << actions.err;
    std::erase(actions.out, '\r'); // a listing in text mode, with CR LF on Windows
    EXPECT_TRUE(actions.out.starts_with("Wander\n   1 Range:             512\n")) << actions.out;
    EXPECT_TRUE(actions.out.ends_with("\nPlay Animation\n   0 Group:             \n"
                                      "Return to Original Location\n"));
}

// File names beyond ASCII reach the commands whole, also on Windows.
TEST_F(Cli, takesFileNamesBeyondAsciiWhole)
{
    const fs::path folder = m_dir / fs::path(u8"\u0152uvres \u00e9t\u00e9");
    fs::create_directories(folder);
    fs::copy_file(fs::path(HW_TEST_PLUGINS) / "all_types.esp", folder / "all_types.esp");
    const Outcome npcs = run({"npcs", utf8(folder / "all_types.esp")});
    EXPECT_EQ(npcs.status, 0) << npcs.err;
    EXPECT_EQ(npcs.out, "test_npc\ntest_npc_autocalc\n");
    std::ofstream(folder / "tasks.txt", std::ios::binary) << kUnsortedInput;
    const Outcome schedule = run({"schedule", "--npc", "npc", utf8(folder / "tasks.txt")});
    EXPECT_EQ(schedule.status, 0) << schedule.err;
    EXPECT_EQ(schedule.out, hw::generateSchedule("npc", kSortedEntries, {}).text);
}

} // namespace
