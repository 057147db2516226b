// What the writer refuses, and writes that fail: the file and its folder stay as they were.
#include "plugin/plugin_header.hpp"

#include "plugin_files.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <map>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

using namespace hw;
using namespace hw::test;

const std::string kHeader = headerRecord(PluginHeader {0, "", "", 1, {}});
const ScheduleList kGuard = scheduleList("hw_guard", false, {"06:00 > Appear"});

// Every file of `folder` with its bytes ("<folder>" for a folder), by name.
std::string contents(const fs::path &folder)
{
    std::map<std::string, std::string> files;
    for (const auto &entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = entry.is_directory() ? "<folder>"
            : entry.is_regular_file()                                  ? fileBytes(entry.path())
                                                                       : "<special>";
    std::string text;
    for (const auto &[name, bytes] : files)
        text += name + "=" + bytes + "\n";
    return text;
}

struct Refusal
{
    const char *name;
    std::function<void(const TempFolder &)> setUp; // makes Sched.esp, or what stands there
    std::vector<ScheduleList> lists;
    std::optional<PluginGameData> gameData;
    std::string problem; // the start of the message, "FILE" standing for the plugin's quoted path
    std::optional<std::string> author = std::nullopt;
};

TEST(PluginRefusals, eachRefusalSaysWhyAndLeavesTheFileAsItWas)
{
    const auto file = [](std::string bytes) {
        return [bytes](const TempFolder &dir) { dir.write("Sched.esp", bytes); };
    };
    const std::string central = "Begin hrw_central_1\r\nShort hrw_hour\r\nEnd";
    const std::string omega = "\xCE\xA9"; // Ω
    // clang-format off
    const Refusal refusals[] = {
        {"not a plugin", file("Hello, world"), {kGuard}, {}, "The file FILE is not a Morrowind plugin or master file."},
        {"cut short", file(kHeader + record("NPC_", "NAME", 100)), {kGuard}, {}, "The file FILE ends in the middle of a record."},
        {"a folder", [](const TempFolder &dir) { dir.folder("Sched.esp"); }, {kGuard}, {}, "FILE is a folder, not a plugin file."},
#ifndef _WIN32
        {"a pipe", [](const TempFolder &dir) { mkfifo((dir / "Sched.esp").c_str(), 0600); }, {kGuard}, {},
         "The file FILE is not a regular file."},
#endif
        {"a broken script record", file(kHeader + record("SCPT", subrecord("SCTX", "x"))), {kGuard}, {},
         "The file FILE is damaged: a script record at offset 0x"},
        {"a script of the author's with the id", file(kHeader + scriptRecord("HW_Guard_sched_sc_01", "Begin x\r\nEnd")),
         {kGuard}, {}, "The script id hw_guard_sched_sc_01 already belongs to a script in FILE that HourWright did not write."},
        {"a script of the game data with the id", file(kHeader), {kGuard}, PluginGameData {{}, {}, {{"HW_GUARD_sched_sc_01", "Other.esp"}}},
         "The script id hw_guard_sched_sc_01 already belongs to a script in \"Other.esp\"."},
        {"an NPC the game data does not know", {}, {kGuard}, PluginGameData {{{"Morrowind.esm", 1}}, {"hw_guard"}, {}},
         "No file of the game data defines the NPC \"hw_guard\"."},
        {"its own master", file(kHeader), {kGuard}, PluginGameData {{{"Base.esm", 1}, {"SCHED.ESP", 2}}, {}, {}},
         "The plugin \"Sched.esp\" is one of the masters it would need for its NPCs"},
        {"no NPC", {}, {scheduleList("", false, {"06:00 > Appear"}, "a.hwtasks")}, {},
         "The task list a.hwtasks names no NPC"},
        {"two lists for one NPC", {}, {kGuard, scheduleList("HW_GUARD", true, {"07:00 > Appear"}, "b.hwtasks")}, {},
         "Two task lists are for the NPC \"HW_GUARD\": hw_guard.hwtasks and b.hwtasks."},
        {"a name the code page cannot hold", {}, {scheduleList(omega, false, {"06:00 > Appear"})}, {},
         "The script name \xCF\x89_sched_sc_01 cannot be written in windows-1252: \"\xCF\x89\" (U+03C9) is not in windows-1252."},
        {"a text the code page cannot hold", {}, {scheduleList("a", true, {"06:00 > Start Running", "07:00 > Say > \"x\"/\"" + omega + "\""})}, {},
         "The schedule of the NPC \"a\" cannot be written in windows-1252.\nLine 14: \"" + omega + "\" (U+03A9) is not in windows-1252"},
        {"an entry with a line break", {}, {scheduleList("a", false, {"06:00 > Say > \"x\"/\"Hi\nShort b\""})}, {},
         "The task list a.hwtasks: the entry \"06:00 > Say > \"x\"/\"Hi\\x0AShort b\"\" holds a line break or another control character."},
        {"an author too long", {}, {kGuard}, {}, "The author is longer than the 31 bytes", std::string(32, 'a')},
        {"a central script with no place for a line", file(kHeader + scriptRecord("hrw_central_1", central)),
         {scheduleList("b", true, {"06:00 > Appear"})}, {}, "The central script hrw_central_1 in FILE has no line \"Set hrw_last to hrw_hour\""},
    };
    // clang-format on
    for (const Refusal &refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        const TempFolder dir;
        if (refusal.setUp)
            refusal.setUp(dir);
        const std::string before = contents(dir.path());
        const PluginRequest request {.file = dir / "Sched.esp", .author = refusal.author};
        const PluginRun run = runPlugin(request, refusal.lists, refusal.gameData);
        std::string expected = refusal.problem;
        if (const auto at = expected.find("FILE"); at != std::string::npos)
            expected.replace(at, 4, "\"" + utf8Path(request.file) + "\"");
        EXPECT_TRUE(run.plan.problem.starts_with(expected)) << run.plan.problem;
        EXPECT_FALSE(run.written.written);
        EXPECT_EQ(contents(dir.path()), before);
    }
}

TEST(PluginRefusals, forceAndReplaceLetThroughWhatTheyName)
{
    const TempFolder dir;
    const PluginRequest request {.file = dir / "Sched.esp", .force = true};
    const PluginRun forced =
        runPlugin(request, {kGuard}, PluginGameData {{{"Morrowind.esm", 1}}, {"hw_guard"}, {}});
    EXPECT_TRUE(forced.written.written) << forced.plan.problem;
    EXPECT_EQ(
        forced.plan.notes,
        std::vector<std::string> {"No file of the game data defines the NPC \"hw_guard\": the "
                                  "plugin names no master for it, and the game must load the "
                                  "file that defines it first."});
    EXPECT_EQ(readPlugin(fileBytes(request.file)).header.masters,
              (std::vector<MasterFile> {{"Morrowind.esm", 1}}));

    const ScheduleList later = scheduleList("HW_GUARD", true, {"07:00 > Appear"});
    const PluginRun replaced = runPlugin(request, {kGuard, later}, std::nullopt, true);
    ASSERT_TRUE(replaced.written.written) << replaced.plan.problem;
    EXPECT_EQ(replaced.plan.notes.size(), 1u) << "the note on masters without game data";
    const ReadPlugin plugin = readPlugin(fileBytes(request.file));
    EXPECT_EQ(plugin.tags(), "SCPT SCPT SSCR");
    EXPECT_NE(scriptOf(plugin.records[0]).text.find("\"HW_GUARD\"-> Enable"), std::string::npos);
}

#ifndef _WIN32
// A full disk (a file size limit here), a file where its folder should be, a
// file changed after it was read or made where a new one was to go, a script
// that no longer fits the code page when its record is made.
TEST(PluginRefusals, aWriteThatFailsLeavesTheFileAsItWas)
{
    const TempFolder dir;
    const fs::path file = dir / "Sched.esp";
    const std::string before = kHeader + npcRecord("someone");
    dir.write("Sched.esp", before);
    dir.write("plain", "");
    std::string listing = contents(dir.path());
    const auto failed = [&](const fs::path &target, std::string_view reason,
                            const std::function<void(PluginPlan &)> &between = {}) {
        const PluginRequest request {.file = target};
        PreparedScripts scripts = prepareScripts(std::vector {kGuard}, false);
        PluginPlan plan = planPlugin(request, std::move(scripts.scripts), std::nullopt);
        ASSERT_TRUE(plan.ok()) << plan.problem;
        if (between)
            between(plan);
        const PluginWritten written = writePlugin(plan);
        EXPECT_FALSE(written.written);
        EXPECT_EQ(written.problem,
                  "Cannot write the plugin \"" + utf8Path(target) + "\". " + std::string(reason) +
                      " The file is as it was.");
        EXPECT_EQ(contents(dir.path()), listing);
    };
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    failed(file, "File too large.", [&](PluginPlan &) {
        const rlimit small {64, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    });
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    failed(dir / "plain/Sched.esp", "Not a directory.");
    failed(file, "It changed after it was read; write it again.", [&](PluginPlan &) {
        dir.write("Sched.esp", before + npcRecord("another"));
        listing = contents(dir.path());
    });
    failed(dir / "New.esp", "A file of that name was made while it was written; write it again.",
           [&](PluginPlan &) {
               dir.write("New.esp", "the author's");
               listing = contents(dir.path());
           });
    // Never a script record with an empty text in its place.
    failed(file, "The script hw_guard_sched_sc_01 cannot be written in windows-1252.",
           [&](PluginPlan &plan) { plan.scripts.at(0).npcId += "\xCE\xA9"; });
    dir.write("Sched.esp", before);
}
#endif

} // namespace
