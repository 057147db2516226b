// Runs the built command-line program as a user would: arguments, standard
// input, standard output and error, exit status.
#include "data/timing_notes.hpp"
#include "generator/central_script.hpp"
#include "generator/schedule_script.hpp"
#include "model/catalogue.hpp"
#include "model/messages.hpp"
#include "model/task_list_file.hpp"
#include "plugin/code_page.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

using hw::utf8Path;
using hw::test::fileBytes;

#ifdef _WIN32
// One argument as the C runtime splits a command line: in double quotes, a
// quote inside escaped, and the backslashes before a quote doubled.
std::wstring quoteArg(std::string_view arg)
{
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : hw::pathFromUtf8(arg).wstring()) {
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
    return CreateFileW(hw::pathFromUtf8(path).wstring().c_str(), access,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, disposition,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts the program itself, not through cmd.exe, whose quoting rules bend
// arguments that hold control characters.
int runProgram(const Args &args, const std::string &in, const std::string &out,
               const std::string &err, const std::string & /*shell: POSIX only*/)
{
    const std::string program = utf8Path(fs::path(HOURWRIGHT_CLI).make_preferred());
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
    // Wine, busy with other tests, now and then fails to start a process at
    // all; that says nothing of the program, so the start is tried again.
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        started = CreateProcessW(hw::pathFromUtf8(program).wstring().c_str(), line.data(), nullptr,
                                 nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
        if (!started) {
            std::fprintf(stderr, "cannot start the program (error %lu)\n", GetLastError());
            Sleep(200);
        }
    }
    if (started) {
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

// `shell` runs in the program's shell before it: "ulimit -v N;" limits its
// memory, "cat |" hands it its input through a pipe.
int runProgram(const Args &args, const std::string &in, const std::string &out,
               const std::string &err, const std::string &shell)
{
    std::string command = "(" + shell + " " + quoteArg(HOURWRIGHT_CLI);
    for (const auto &arg : args)
        command += " " + quoteArg(arg);
    command += ") < " + quoteArg(in) + " > " + quoteArg(out) + " 2> " + quoteArg(err);
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}
#endif

// A message of the program about `command`, as it begins a line of standard error.
std::string said(std::string_view command, std::string_view text)
{
    return "hourwright-cli " + std::string(command) + ": " + std::string(text);
}

// One run: arguments, standard input, exit status, standard output (its start
// when it ends in "*") and the start of standard error (empty when this is).
struct Row
{
    Args args;
    std::string input;
    int status;
    std::string out;
    std::string err;
};

// Each test works in a folder of its own whose name is not ASCII, so every
// file name the rows pass is not either.
class Cli : public testing::Test
{
protected:
    std::string path(std::string_view name) const { return utf8Path(m_dir / name); }
    std::string write(std::string_view name, std::string_view bytes) const
    {
        return utf8Path(m_dir.write(name, bytes));
    }

    // Runs the program with `args`, `input` on standard input and `outputTo`
    // (a file of the folder unless given) as standard output.
    Outcome run(const Args &args, std::string_view input = {}, std::string outputTo = {},
                const std::string &shell = {}) const
    {
        const std::string in = write("stdin", input);
        const std::string out = outputTo.empty() ? path("stdout") : outputTo;
        Outcome result;
        result.status = runProgram(args, in, out, path("stderr"), shell);
        result.out = fileBytes(m_dir / "stdout");
        result.err = fileBytes(m_dir / "stderr");
        std::erase(result.err, '\r'); // messages are text: CR LF on Windows
        return result;
    }

    void check(std::initializer_list<Row> rows, const std::string &shell = {}) const
    {
        for (const Row &row : rows) {
            const Outcome r = run(row.args, row.input, {}, shell);
            std::string trace = shell;
            for (const auto &arg : row.args)
                trace += " " + arg.substr(0, 40);
            EXPECT_EQ(r.status, row.status) << trace << "\n" << r.err;
            if (row.out.ends_with('*'))
                EXPECT_TRUE(r.out.starts_with(row.out.substr(0, row.out.size() - 1))) << trace;
            else
                EXPECT_EQ(r.out, row.out) << trace;
            const auto errStart =
                r.err.substr(0, row.err.empty() ? std::string::npos : row.err.size());
            EXPECT_EQ(errStart, row.err) << trace;
        }
    }

    const hw::test::TempFolder m_dir;
};

// The worked example unsorted, with a byte-order mark, both line ends, blank
// lines, actions in other case, numbers as typed, texts holding separators.
constexpr std::string_view kUnsortedInput =
    "\xEF\xBB\xBF"
    "20:00 > disappear\r\n"
    "\r\n"
    "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"\n"
    "  \t\n"
    "07:00 > Say > \"a.mp3\"/\"Bread and/or ale > water\"\n"
    "07:00 > Position in Cell > \"Vivec, Arena/Pit\"/1/2/3/4\n"
    "06:00 > Travel > 0100/2e2/ - 0\n"
    "06:00 > START RUNNING";

const Args kSortedEntries = {
    "06:00 > Start Running",
    "06:00 > Travel > 100/200/0",
    R"(07:00 > Position in Cell > "Vivec, Arena/Pit"/1/2/3/4)",
    R"(07:00 > Say > "a.mp3"/"Bread and/or ale > water")",
    R"(12:00 > Say > "vo\hello.mp3"/"Good day")",
    "20:00 > Disappear",
};

std::string script(std::string_view id, const Args &entries, hw::ScheduleSwitches switches = {})
{
    return hw::generateSchedule(id, entries, switches).text;
}

// The notes on when the commands run, which follow every script on standard error.
std::string notesOn(std::string_view id, const Args &entries, hw::ScheduleSwitches switches = {})
{
    std::string text;
    for (const auto &note : hw::timingNotes(id, entries, switches))
        text += said("schedule", "note: " + hw::noteLine(note, entries)) + "\n";
    return text;
}

std::string lines(const Args &entries)
{
    std::string text;
    for (const auto &entry : entries)
        text += entry + "\n";
    return text;
}

TEST_F(Cli, schedulePrintsTheCoresScriptOrRefusesWithAMessage)
{
    const std::string tasks = write("tasks.txt", kUnsortedInput);
    const std::string faults =
        write("faults.txt", "06:00 > Appear\r\n07:00 > Dance\r\n08:00 > Fly \n");
    const std::string id = "J\xC3\xB6ns \xC3\x84rger",
                      bob = "\xD0\x91\xD0\xBE\xD0\xB1"; // Jöns Ärger, Боб
    const std::string stdinAt = said("schedule", "(standard input):");
    const Args npc = {"schedule", "--npc", "npc"};
    const auto cp1251 = [](const std::string &text) {
        return hw::fromUtf8(text, hw::CodePage::Windows1251).bytes;
    };
    const std::string utf16 = {'0', 0, '6', 0, ':', 0, '0', 0, '0', 0}; // "06:00"
    // Entries equal but for letter case, more than a sort handles by insertion:
    // they keep their order, as in the window.
    Args equal;
    for (int i = 0; i < 40; ++i)
        equal.push_back(i % 3 ? "09:00 > Attack > \"ab\"" : "09:00 > Attack > \"AB\"");
    // Old Mac line ends; and a CR LF split by the end of the first block read,
    // which must end one line, not two, as the number of the line after it shows.
    std::string macInput(kUnsortedInput);
    std::erase(macInput, '\r');
    std::replace(macInput.begin(), macInput.end(), '\n', '\r');
    const std::string mac = write("mac.hwtasks", macInput);
    std::string split = "\n";
    for (int i = 0; i < 5000; ++i)
        split += "06:00 > Appear\r\n";
    const std::string splitFile = write("split.hwtasks", split + "07:00 > Fly\n");
    const std::string big = write("big.hwtasks", std::string(hw::kTaskListFileLimit + 1, '\n'));
    // clang-format off
    check({
        {{"schedule", "--npc", id, tasks}, "", 0, script(id, kSortedEntries),
         notesOn(id, kSortedEntries)},
        {{"schedule", "--global", "--npc=" + id, tasks}, "", 0,
         script(id, kSortedEntries, {.global = true}), notesOn(id, kSortedEntries, {.global = true})},
        {{"schedule", "--npc", id, "--equal", "-"}, std::string(kUnsortedInput), 0,
         script(id, kSortedEntries, {.equality = true}), notesOn(id, kSortedEntries, {.equality = true})},
        {{"schedule", "--equal", "--global", "--npc", id}, std::string(kUnsortedInput), 0,
         script(id, kSortedEntries, {true, true}), notesOn(id, kSortedEntries, {true, true})},
        {npc, lines(equal), 0, script("npc", equal), notesOn("npc", equal)},
        {{"schedule", "--npc", bob, "--encoding", "windows-1251"}, "06:00 > Say > \"\xD0\xB0\"/\"b\"", 0,
         cp1251(script(bob, {"06:00 > Say > \"\xD0\xB0\"/\"b\""})),
         notesOn(bob, {"06:00 > Say > \"\xD0\xB0\"/\"b\""})},
        // Refused input exits with 1, and the name is checked before the input is read.
        {{"schedule", "--npc", "", "no-such-file"}, "", 1, "", said("schedule", hw::kNpcNameMissing)},
        {{"schedule", "--npc", bob, "--encoding", "windows-1252"}, "", 1, "",
         said("schedule", "the NPC id: \"\xD0\x91\" (U+0411) is not in windows-1252")},
        {{"schedule", "--npc", "npc", "--encoding", "windows-1250"}, "06:00 > Appear\n06:00 > Attack > \"\xCE\xA9\"", 1, "",
         stdinAt + "2: \"\xCE\xA9\" (U+03A9) is not in windows-1250"},
        {npc, "\r\n \n", 1, "", said("schedule", hw::kNoTasks)},
        {{"schedule", "--npc", id, mac}, "", 0, script(id, kSortedEntries),
         notesOn(id, kSortedEntries)},
        {{"schedule", "--npc", id, splitFile}, "", 1, "",
         said("schedule", splitFile + ":5002: unknown action \"Fly\"\n")},
        {{"schedule", "--npc", id, big}, "", 1, "",
         said("schedule", big + ": the text is larger than 32 MiB, which no task list is\n")},
        {{"schedule", "--npc", "npc", faults}, "", 1, "",
         said("schedule", faults + ":2: unknown action \"Dance\"\n") +
             said("schedule", faults + ":3: unknown action \"Fly \"\n")},
        {npc, utf16, 1, "", stdinAt + " the file is UTF-16; save it as UTF-8"},
        {npc, "06:00 > Appear\n" + std::string(100'000, '/'), 1, "",
         stdinAt + "2: the line is longer than 64 KiB, which no task-list line is: \"" +
             std::string(80, '/') + "\"...\n"},
        {{"schedule", "--npc", "npc", path("none.txt")}, "", 1, "",
         said("schedule", path("none.txt") + ": cannot open: ")},
        {{"schedule", "--npc", "npc", utf8Path(m_dir.path())}, "", 1, "",
         said("schedule", utf8Path(m_dir.path()) + ": is a folder, not a file")},
        // Wrong usage exits with 2.
        {{"schedule", "--npc", "npc", "--loud"}, "", 2, "", said("schedule", "unknown option '--loud'")},
        {{"schedule", "--npc", "npc", "a", "b"}, "", 2, "", said("schedule", "only one FILE may be given")},
        {{"schedule", "--npc", "--global"}, "", 2, "",
         said("schedule", "option '--npc' needs a value, not the option '--global'")},
        {{"schedule", "--global"}, "", 2, "", said("schedule", "option '--npc' is missing")},
        {{"schedule", "--npc", "x", "--encoding", "utf-16"}, "", 2, "", said("schedule", "unknown encoding 'utf-16'")},
        {{"schedule", "--help"}, "", 0, "Usage: hourwright-cli schedule [--npc ID]*", ""},
    });
    // clang-format on
}

// A task-list file's header names the NPC and the switches; the command line
// overrides each.
TEST_F(Cli, scheduleTakesTheHeaderOfATaskListUnlessTheCommandLineSaysOtherwise)
{
    const std::string id = "J\xC3\xB6ns \xC3\x84rger"; // Jöns Ärger
    const std::string header = "; HourWright task list\n; NPC: " + id +
        "\n; Global: yes\n"
        "; Equality: no\n; Visibility: no\n; a comment\n";
    const std::string list = write("list.hwtasks", header + std::string(kUnsortedInput).substr(3));
    const std::string stdinAt = said("schedule", "(standard input):");
    const Args schedule = {"schedule"};
    // clang-format off
    check({
        {{"schedule", list}, "", 0, script(id, kSortedEntries, {true, false, false}),
         notesOn(id, kSortedEntries, {true, false, false})},
        {{"schedule", "--npc", "Other", "--equal", list}, "", 0,
         script("Other", kSortedEntries, {true, true, false}),
         notesOn("Other", kSortedEntries, {true, true, false})},
        {{"schedule", "--no-global", "--visibility", list}, "", 0, script(id, kSortedEntries),
         notesOn(id, kSortedEntries)},
        {{"schedule", "--no-global", "--global", "--equal", "--no-equal", list}, "", 0,
         script(id, kSortedEntries, {true, false, false}), notesOn(id, kSortedEntries, {true, false, false})},
        {{"schedule", "--no-visibility"}, "; NPC: a\n; Visibility: yes\n06:00 > Appear\n", 0,
         script("a", {"06:00 > Appear"}, {.visibility = false}),
         notesOn("a", {"06:00 > Appear"}, {.visibility = false})},
        {schedule, "; NPC: \" \"\n06:00 > Appear\n", 0, script(" ", {"06:00 > Appear"}),
         notesOn(" ", {"06:00 > Appear"})},
        {schedule, "; Global: yes\n06:00 > Appear\n", 2, "", said("schedule", "option '--npc' is missing")},
        {schedule, "; NPC: a\"b\n06:00 > Appear\n", 1, "", said("schedule", hw::kNpcNameHasQuote)},
        {{"schedule", "--encoding", "windows-1251"}, "; NPC: " + id + "\n06:00 > Appear\n", 1, "",
         said("schedule", "the NPC id: \"\xC3\xB6\" (U+00F6) is not in windows-1251")},
        {schedule, "; NPC: a\n; Global: maybe\n06:00 > Fly\n", 1, "",
         stdinAt + "2: \"Global\" must be yes or no, not \"maybe\"\n" + stdinAt + "3: unknown action"},
    });
    // clang-format on
}

// --day prints, in place of the script, what it does each hour of a day; the notes follow as ever.
TEST_F(Cli, scheduleDayPrintsWhatTheScriptDoesEachHour)
{
    const Args entries = {"06:00 > Start Running", "06:00 > Travel > 100/200/0",
                          R"(12:00 > Say > "vo\hello.mp3"/"Good day")", "20:00 > Disappear"};
    const std::string list = write("guard.hwtasks", "; NPC: Town Guard\n" + lines(entries));
    // The group and actions of each hour, and how often they run in it.
    const auto table = [](auto row) {
        std::string text;
        for (int hour = 0; hour < 24; ++hour)
            text += (hour < 10 ? "0" : "") + std::to_string(hour) + ":00\t" + row(hour) + "\n";
        return text;
    };
    const auto atMost = [](int hour) {
        return hour <= 6 ? "06:00\tStart Running, Travel\t1"
            : hour <= 12 ? "12:00\tSay\t1"
            : hour == 20 ? "20:00\tDisappear\t1"
                         : "-\t-\t0";
    };
    const auto exactly = [](int hour) {
        return hour == 6 ? "06:00\tStart Running, Travel\t1"
            : hour == 12 ? "12:00\tSay\t1"
            : hour == 20 ? "20:00\tDisappear\t1"
                         : "-\t-\t0";
    };
    check({
        {{"schedule", "--day", list}, "", 0, table(atMost), notesOn("Town Guard", entries)},
        {{"schedule", "--day", "--global", "--equal", list},
         "",
         0,
         table(exactly),
         notesOn("Town Guard", entries, {true, true})},
    });
    EXPECT_NE(run({"schedule", "--help"}, "").out.find("  --day "), std::string::npos);
}

// Every real plugin with its FILE.ids, and all their ids in that order.
std::pair<Args, std::string> realPlugins()
{
    Args plugins;
    for (const auto &entry : fs::directory_iterator(HW_TEST_PLUGINS))
        if (entry.path().extension() == ".ids")
            plugins.push_back(utf8Path(fs::path(entry.path()).replace_extension()));
    std::sort(plugins.begin(), plugins.end());
    std::string ids;
    for (const auto &plugin : plugins)
        ids += fileBytes(fs::path(plugin) += ".ids");
    return {plugins, ids};
}

Args concat(Args first, const Args &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

TEST_F(Cli, npcsPrintsTheIdsOfEachFileOrSaysWhatStoppedIt)
{
    const auto [plugins, ids] = realPlugins();
    const std::string first = plugins.front(), firstIds = fileBytes(first + ".ids");
    const std::string control =
        hw::test::headerRecord() + hw::test::npcRecord("a\nb\tc") + hw::test::npcRecord("d\\x");
    const std::string controlFile = write("control.esp", control);
    // A header record whose data size runs past the end, one whose size
    // (0x7A7A7A7A, "zzzz") no record can have, and a text file.
    const std::string cut = write("cut.esp", hw::test::record("TES3", "NAME", 100));
    const std::string huge = write("huge.esp", "TES3zzzz12345678NAME");
    const std::string text = write("text.esp", "Hello, world");
    // A creature without an id: the index cannot read it, so neither can npcs.
    const std::string noId =
        write("no-id.esp",
              hw::test::headerRecord() + hw::test::npcRecord("a") +
                  hw::test::record("CREA", hw::test::textSubrecord("FNAM", "Rat")));
    // clang-format off
    check({
        {concat({"npcs"}, plugins), "", 0, ids, ""},
        {concat({"npcs", "--encoding=WINDOWS-1250", "--encoding", "windows-1252", "--"}, plugins), "", 0, ids, ""},
        // Standard input, a file redirected in, is read in place.
        {{"npcs", "-H", controlFile, "-"}, control, 0,
         controlFile + "\ta\\x0Ab\\x09c\n" + controlFile + "\td\\x\n(standard input)\ta\\x0Ab\\x09c\n(standard input)\td\\x\n", ""},
        // A file that cannot be read does not stop the others, and fails the run.
        {{"npcs", path("missing.esp"), first}, "", 1, firstIds,
         said("npcs", "The file \"" + path("missing.esp") + "\" cannot be opened.")},
        {{"npcs", cut}, "", 1, "", said("npcs", "The file \"" + cut + "\" ends in the middle of a record.")},
        {{"npcs", huge}, "", 1, "", said("npcs", "The file \"" + huge + "\" is damaged: a record gives an impossible size.")},
        {{"npcs", noId}, "", 1, "a\n", said("npcs", "The file \"" + noId + "\" is damaged: a record has no id.")},
        {{"npcs", text, "-"}, "", 1, "", said("npcs", "The file \"" + text + "\" is not a Morrowind plugin or master file.")},
        {{"npcs"}, "", 2, "", said("npcs", "no FILE given")},
        {{"npcs", "--encoding"}, "", 2, "", said("npcs", "option '--encoding' needs a value\n")},
        {{"npcs", "--encoding", "utf-8", first}, "", 2, "", said("npcs", "unknown encoding 'utf-8'")},
        {{"npcs", "--encoding", "--with-filename", first}, "", 2, "",
         said("npcs", "option '--encoding' needs a value, not the option '--with-filename'")},
        {{"npcs", "--help"}, "", 0, "Usage: hourwright-cli npcs*", ""},
    });
    // clang-format on
}

TEST_F(Cli, idsAndTheScheduleNotesReadTheFilesAsTheGameCombinesThem)
{
    using namespace hw::test;
    // A master with two NPCs, one placed twice and a cell; a plugin that
    // deletes one NPC, adds another with a control character, and places one.
    const std::string master =
        write("m.esm",
              headerRecord() + npcRecord("Guard") + npcRecord("Gone") +
                  record("CELL", cellHead("Keep", 1) + placed(1, "guard") + placed(2, "GUARD")));
    const std::string plugin = headerRecord({"m.esm"}) +
        record("NPC_", textSubrecord("NAME", "Gone") + subrecord("DELE", le32(0))) +
        npcRecord("new\tone") + record("CELL", cellHead("Hut", 1) + placed(1, "new\tone"));
    const std::string pluginFile = write("p.esp", plugin);
    const Args guardTasks = {"06:00 > Follow > \"player\"/0/0/0/0",
                             "07:00 > Follow > \"Gone\"/0/0/0/0"};
    // clang-format off
    check({
        {{"ids", master, pluginFile}, "", 0, "Guard\nnew\\x09one\n", ""},
        {{"ids", "--placed", master, "-"}, plugin, 0, "Guard\t2\nnew\\x09one\t1\n", ""},
        {{"ids", "--kind=cell", master, pluginFile}, "", 0, "Keep\nHut\n", ""},
        // A file that cannot be opened is named after the ids; the others are read.
        {{"ids", path("missing.esp"), master}, "", 1, "Guard\nGone\n",
         said("ids", "The file \"" + path("missing.esp") + "\" cannot be opened.")},
        {{"ids", "--kind", "npcs", master}, "", 2, "", said("ids", "unknown kind 'npcs'")},
        {{"ids", "--kind", "item", "--placed", master}, "", 2, "",
         said("ids", "--placed counts the references of NPCs and creatures only")},
        {{"ids"}, "", 2, "", said("ids", "no FILE given")},
        {{"ids", "--help"}, "", 0, "Usage: hourwright-cli ids*", ""},
        // With game data the notes follow on standard error, the NPC's first.
        {{"schedule", "--npc", "Guard", "--data", master, "--data", pluginFile}, lines(guardTasks), 0,
         script("Guard", guardTasks),
         said("schedule", "note: The NPC \"Guard\" is placed 2 times (Keep twice): its commands reach only one of them.\n") +
             said("schedule", "note: " + guardTasks[1] + ": Target \"Gone\" is not ")},
        // Without a file's ids every id of it would be unknown: no notes then.
        {{"schedule", "--npc", "Guard", "--data", path("missing.esp"), "--data", master},
         lines(guardTasks), 1, script("Guard", guardTasks),
         said("schedule", "The file \"" + path("missing.esp") + "\" cannot be opened.\nNo such file or directory.\n") +
             said("schedule", "no notes: without the game data that could not be read they would call ids unknown that the game knows\n")},
        {{"schedule", "--npc", "Guard", "--data", "-"}, lines(guardTasks), 2, "",
         said("schedule", "--data names a file")},
    });
    // clang-format on
#ifndef _WIN32
    // --load-order reads the user's openmw.cfg; a missing content file is told
    // before the notes and fails the run.
    const std::string data = "data=\"" + utf8Path(m_dir.path()) + "\"\ncontent=m.esm\n";
    write("good/openmw/openmw.cfg", data);
    const std::string gone = write("gone/openmw/openmw.cfg", data + "content=gone.esp\n");
    const std::string placedTwice = said("schedule", "note: The NPC \"Guard\" is placed 2 times");
    const Args loadOrder = {"schedule", "--npc", "Guard", "--load-order"};
    // clang-format off
    check({{loadOrder, lines(guardTasks), 0, script("Guard", guardTasks), placedTwice}},
          "XDG_CONFIG_HOME=" + quoteArg(path("good")));
    check({{loadOrder, lines(guardTasks), 1, script("Guard", guardTasks),
           said("schedule", gone + ":3: the content file \"gone.esp\" is in none of the data folders\n") + placedTwice}},
          "XDG_CONFIG_HOME=" + quoteArg(path("gone")));
    write("empty/openmw/openmw.cfg", "data=\"" + utf8Path(m_dir.path()) + "\"\n");
    check({{loadOrder, lines(guardTasks), 1, script("Guard", guardTasks),
           said("schedule", "no notes: there is no game data to check the script against\n")}},
          "XDG_CONFIG_HOME=" + quoteArg(path("empty")));
    // clang-format on
#endif
}

TEST_F(Cli, listsTheActionsAndPrintsAFreshCentralTemplate)
{
    const Outcome actions = run({"actions"});
    EXPECT_EQ(actions.status, 0) << actions.err;
    // In the action box's order, fields in entry order, texts quoted, no trailing blank.
    EXPECT_TRUE(actions.out.starts_with("Activate\n   0 \"Target:\"\nAdd Item\n   0 \"Item ID:\"\n"
                                        "   2 Quantity:         1\nAdd Spell\n"))
        << actions.out;
    EXPECT_NE(actions.out.find("\nPosition in Cell\n   0 \"Cell ID:\"\n   2 X:"),
              std::string::npos);
    EXPECT_TRUE(actions.out.ends_with("\n  11 Idle 9 Chance:    10\n")) << actions.out;
    EXPECT_EQ(actions.out.find(" \n"), std::string::npos);

    const Outcome first = run({"central"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_NE(first.out, run({"central"}).out);
    // Apart from its name the template is the core's.
    const std::string zero = hw::centralScript({});
    EXPECT_TRUE(first.out.starts_with("Begin hrw_central_")) << first.out;
    EXPECT_TRUE(first.out.ends_with(zero.substr(zero.find("\r\n")))) << first.out;

    // clang-format off
    check({
        {{"central", "now"}, "", 2, "", said("central", "takes no arguments")},
        {{"actions", "-x"}, "", 2, "", said("actions", "unknown option '-x'")},
        {{"central", "--help"}, "", 0, "Usage: hourwright-cli central\n*", ""},
        {{"--help"}, "", 0, "Usage: hourwright-cli COMMAND*", ""},
        {{"dance"}, "", 2, "", "hourwright-cli: unknown command 'dance'\n"},
    });
    // clang-format on
}

#ifndef _WIN32
// Output that cannot be written, special files, pipes and too little memory:
// each ends the command at once with a message.
TEST_F(Cli, failsCleanlyWhereTheSystemSaysNo)
{
    const std::string full = "cannot write to standard output: No space left on device";
    // clang-format off
    const Args writers[] = {{"actions"}, {"actions", "--help"}, {"central"}, {"central", "-h"},
        {"schedule", "--npc", "x"}, {"schedule", "-h"}, {"npcs", "-"}, {"npcs", "-h"}, {"ids", "-h"}, {"loadorder", "-h"}, {"--help"}, {"--version"}};
    // clang-format on
    const std::string plugin = hw::test::headerRecord() + hw::test::npcRecord("x");
    for (const Args &args : writers) {
        const Outcome r = run(args, args[0] == "npcs" ? plugin : "06:00 > Appear\n", "/dev/full");
        EXPECT_EQ(r.status, 1) << args.back();
        const std::string command =
            args[0].starts_with("--") ? "hourwright-cli: " : said(args[0], "");
        EXPECT_EQ(r.err, command + full + "\n") << args.back();
    }

    const std::string special =
        ": is not a regular file; send a pipe or a device to standard input (-) instead\n";
    // clang-format off
    const std::pair<Row, std::string> rows[] = {
        {{{"schedule", "--npc", "x", "/dev/zero"}, "", 1, "", said("schedule", "/dev/zero" + special)}, ""},
        {{{"npcs", "-H", "-"}, plugin, 0, "(standard input)\tx\n", ""}, "cat |"},
        // What does not begin as a plugin does is refused after four bytes.
        {{{"npcs", "-"}, "", 1, "", said("npcs", "The file \"(standard input)\" is not a Morrowind plugin")},
         "cat /dev/zero |"},
        {{{"schedule", "--npc", "x"}, "06:00 > Appear", 0, script("x", {"06:00 > Appear"}),
          notesOn("x", {"06:00 > Appear"})}, "cat |"},
        {{{"schedule", "--npc", "x"}, std::string(100'000, '\0'), 1, "",
          said("schedule", "(standard input):1: the line is longer than 64 KiB")}, "cat |"},
        {{{"schedule", "--npc", "x"}, lines(Args(100'000, "06:00 > Wander > 1/2/3/4/5/6/7/8/9/10/11")), 1, "",
          said("schedule", "out of memory; the input is too large\n")}, "ulimit -v 16000;"},
    };
    // clang-format on
    for (const auto &[row, shell] : rows) {
#ifdef HW_SANITIZED
        if (shell.starts_with("ulimit")) // the sanitizers reserve far more address space
            continue;
#endif
        check({row}, shell);
    }
}
#endif

} // namespace
