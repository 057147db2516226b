// The schedule command run as a user runs it: task lists, headers, switches
// and the day, read from files and standard input.
#include "cli_fixture.hpp"
#include "model/messages.hpp"
#include "model/task_list_file.hpp"
#include "plugin/code_page.hpp"

#include <gtest/gtest.h>

namespace {

using namespace hw::test;
using hw::utf8Path;

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
        scripted({"schedule", "--npc", id, tasks}, "", id, kSortedEntries),
        scripted({"schedule", "--global", "--npc=" + id, tasks}, "", id, kSortedEntries, {.global = true}),
        scripted({"schedule", "--npc", id, "--equal", "-"}, std::string(kUnsortedInput), id, kSortedEntries,
                 {.equality = true}),
        scripted({"schedule", "--equal", "--global", "--npc", id}, std::string(kUnsortedInput), id,
                 kSortedEntries, {true, true}),
        scripted(npc, lines(equal), "npc", equal),
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
        scripted({"schedule", "--npc", id, mac}, "", id, kSortedEntries),
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
        scripted({"schedule", list}, "", id, kSortedEntries, {true, false, false}),
        scripted({"schedule", "--npc", "Other", "--equal", list}, "", "Other", kSortedEntries, {true, true, false}),
        scripted({"schedule", "--no-global", "--visibility", list}, "", id, kSortedEntries),
        scripted({"schedule", "--no-global", "--global", "--equal", "--no-equal", list}, "", id, kSortedEntries,
                 {true, false, false}),
        scripted({"schedule", "--no-visibility"}, "; NPC: a\n; Visibility: yes\n06:00 > Appear\n", "a",
                 {"06:00 > Appear"}, {.visibility = false}),
        scripted(schedule, "; NPC: \" \"\n06:00 > Appear\n", " ", {"06:00 > Appear"}),
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
    // Each group holds the hours up to its own, or with Equality its own alone.
    const auto day = [&](bool exact) {
        return table([=](int hour) {
            const auto holds = [&](int group) { return exact ? hour == group : hour <= group; };
            return holds(6)  ? "06:00\tStart Running, Travel\t1"
                : holds(12)  ? "12:00\tSay\t1"
                : hour == 20 ? "20:00\tDisappear\t1"
                             : "-\t-\t0";
        });
    };
    check({
        {{"schedule", "--day", list}, "", 0, day(false), notesOn("Town Guard", entries)},
        {{"schedule", "--day", "--global", "--equal", list},
         "",
         0,
         day(true),
         notesOn("Town Guard", entries, {true, true})},
    });
    EXPECT_NE(run({"schedule", "--help"}, "").out.find("  --day "), std::string::npos);
}

} // namespace
