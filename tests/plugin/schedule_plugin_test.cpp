#include "generator/central_script.hpp"
#include "generator/schedule_script.hpp"
#include "plugin_files.hpp"
#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

using namespace hw;
using namespace hw::test;

const std::vector<std::string> kGuardTasks = {
    "06:00 > Travel > 100/200/0",
    "12:00 > Say > \"vo\\hello.mp3\"/\"Gr\xC3\xBC\xC3\x9F dich\"", // Grüß dich
};

// The script text the generator gives, in the plugin's code page.
std::string scheduleOf(const std::string &npc, const std::vector<std::string> &entries, bool global,
                       bool visibility = true)
{
    const auto text = generateSchedule(npc, entries, {.global = global, .visibility = visibility});
    return fromUtf8(text.text, CodePage::Windows1252).bytes;
}

class SchedulePlugin : public testing::Test
{
protected:
    PluginRequest request(std::string_view name = "Sched.omwaddon") const { return {m_dir / name}; }

    /// Writes `lists` into `request.file`, which must succeed.
    static PluginRun written(const PluginRequest &request, const std::vector<ScheduleList> &lists)
    {
        PluginRun run = runPlugin(request, lists);
        EXPECT_TRUE(run.written.written) << run.plan.problem << run.written.problem;
        return run;
    }

    const TempFolder m_dir;
};

TEST_F(SchedulePlugin, aNewPluginReadsBackRecordByRecordAndIsWrittenAgainTheSame)
{
    const std::vector<ScheduleList> lists = {
        scheduleList("Town Guard", false, kGuardTasks),
        scheduleList("hw_smith", true, {"08:00 > Appear"}, {}, false),
        scheduleList("\xC3\x9Clf", true, {"09:00 > Disappear"}), // Ülf
    };
    PluginRequest request = this->request();
    request.author = "Me";
    request.description = "Guards \xE2\x80\x94 and smiths"; // an em dash, which windows-1252 has
    const PluginGameData gameData {{{"Base.esm", 100}, {"Mod.esp", 20}}, {}, {}};
    const PluginRun run = runPlugin(request, lists, gameData);
    ASSERT_TRUE(run.plan.ok()) << run.plan.problem;
    ASSERT_TRUE(run.written.written) << run.written.problem;
    EXPECT_TRUE(run.written.backup.empty());
    const std::string central = run.plan.changes.central;
    EXPECT_TRUE(central.starts_with("hrw_central_") && central.size() <= 31) << central;
    EXPECT_EQ(
        describeChanges(run.plan.changes),
        "adds scripts town_guard_sched_sc_01, hw_smith_sched_sc_01 and \xC3\xBClf_sched_sc_01, "
        "and a start script; adds the central script " +
            central + ", which starts 2 scripts once an hour, and its start script; 2 masters");

    const std::string bytes = fileBytes(request.file);
    const ReadPlugin plugin = readPlugin(bytes);
    EXPECT_EQ(plugin.header,
              (PluginHeader {
                  0, "Me", "Guards \x97 and smiths", 6, {{"Base.esm", 100}, {"Mod.esp", 20}}}));
    ASSERT_EQ(plugin.tags(), "SCPT SSCR SCPT SCPT SCPT SSCR") << "no NPC record";
    const ScriptRecordData guard = scriptOf(plugin.records[0]);
    EXPECT_EQ(guard.name, "town_guard_sched_sc_01");
    EXPECT_EQ(guard.text, scheduleOf("Town Guard", kGuardTasks, false));
    // Check Visibility unticked: Appear without its look at the player.
    EXPECT_EQ(scriptOf(plugin.records[2]).text,
              scheduleOf("hw_smith", {"08:00 > Appear"}, true, false));
    EXPECT_EQ(scriptOf(plugin.records[3]).name, "\xFClf_sched_sc_01");
    EXPECT_EQ(
        scriptOf(plugin.records[4]).text,
        centralScript(central,
                      std::vector<std::string> {"hw_smith_sched_sc_01", "\xFClf_sched_sc_01"}));
    for (const auto &[at, script] :
         {std::pair(1, "town_guard_sched_sc_01"), {5, central.c_str()}}) {
        const auto start = readStartScriptRecord(std::string_view(plugin.records[at]).substr(16));
        ASSERT_TRUE(start);
        EXPECT_EQ(start->script, script);
        EXPECT_EQ(start->number, startScriptNumber(script));
    }
    // Each script record counts and names the locals its text declares.
    for (const std::string &record : plugin.records)
        if (record.starts_with("SCPT")) {
            const ScriptRecordData script = scriptOf(record);
            EXPECT_EQ(record, scriptRecord(script.name, script.text)) << script.name;
        }

    const PluginRun again = runPlugin(request, lists, gameData);
    EXPECT_TRUE(again.plan.ok() && !again.written.written && again.plan.changes.none());
    EXPECT_EQ(fileBytes(request.file), bytes);
    const TempFolder other;
    request.file = other / "Sched.omwaddon";
    ASSERT_TRUE(runPlugin(request, lists, gameData).written.written);
    EXPECT_EQ(fileBytes(request.file), bytes);
}

// The old file is kept once; a changed list replaces its script where it stands.
TEST_F(SchedulePlugin, aMergeIntoEachRealPluginKeepsEveryRecordByteForByte)
{
    std::vector<fs::path> plugins;
    for (const fs::path folder : {HW_TEST_PLUGINS})
        for (const auto &entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".ids")
                plugins.push_back(fs::path(entry.path()).replace_extension());
    ASSERT_GE(plugins.size(), 10u);
    for (const fs::path &original : plugins) {
        SCOPED_TRACE(original.filename().string());
        const std::string before = fileBytes(original);
        const PluginRequest request = this->request(original.filename().string());
        fs::copy_file(original, request.file);
        const std::vector<ScheduleList> lists = {
            scheduleList("hw_guard", false, kGuardTasks),
            scheduleList("hw_smith", true, {"08:00 > Appear"})};
        const PluginRun run = written(request, lists);
        EXPECT_EQ(run.written.backup, fs::path(request.file) += ".bak");
        const ReadPlugin old = readPlugin(before);
        const ReadPlugin merged = readPlugin(fileBytes(request.file));
        ASSERT_EQ(merged.records.size(), old.records.size() + 5);
        EXPECT_TRUE(std::equal(old.records.begin(), old.records.end(), merged.records.begin()));
        EXPECT_EQ(merged.header.recordCount, merged.records.size());
        EXPECT_EQ(merged.header.masters, old.header.masters);
        EXPECT_EQ(merged.header.author, old.header.author);
        EXPECT_TRUE(merged.tags().ends_with("SCPT SSCR SCPT SCPT SSCR")) << "no NPC record";

        const std::size_t guardAt = old.records.size();
        const PluginRun changed =
            written(request, {scheduleList("hw_guard", false, {"07:00 > Appear"}), lists[1]});
        EXPECT_TRUE(changed.written.backup.empty());
        EXPECT_EQ(describeChanges(changed.plan.changes), "replaces script hw_guard_sched_sc_01");
        const ReadPlugin rewritten = readPlugin(fileBytes(request.file));
        ASSERT_EQ(rewritten.records.size(), merged.records.size());
        for (std::size_t i = 0; i < merged.records.size(); ++i)
            EXPECT_EQ(rewritten.records[i] == merged.records[i], i != guardAt) << i;
        EXPECT_EQ(scriptOf(rewritten.records[guardAt]).text,
                  scheduleOf("hw_guard", {"07:00 > Appear"}, false));
        EXPECT_EQ(fileBytes(fs::path(request.file) += ".bak"), before);
    }
}

// A plugin of the author's that holds an older HourWright script and a central
// script the author added lines to.
std::string authorsPlugin(std::string &centralText)
{
    centralText = centralScript("hrw_central_OLD", std::vector<std::string> {"my_own_script"});
    centralText.insert(centralText.find("       Set hrw_last"),
                       "       ; the smith comes later\r\n");
    return headerRecord({0, "Author", "", 5, {{"Morrowind.esm", 79837557}}}) +
        npcRecord("hw_guard") +
        scriptRecord("HW_Guard_sched_sc_01", scheduleOf("hw_guard", {"05:00 > Appear"}, true)) +
        scriptRecord("my_own_script", "Begin my_own_script\r\nEnd") +
        scriptRecord("hrw_central_OLD", centralText, 0x400) +
        startScriptRecord("1", "hrw_central_OLD") +
        startScriptRecord(startScriptNumber("hw_guard_sched_sc_01"), "my_own_script");
}

TEST_F(SchedulePlugin, ownRecordsAreReplacedInPlaceAndTheCentralScriptKeepsTheAuthorsLines)
{
    std::string centralText;
    const std::string before = authorsPlugin(centralText);
    const PluginRequest request = this->request("Mod.esp");
    m_dir.write("Mod.esp", before);
    const ReadPlugin old = readPlugin(before);

    const PluginRun run = written(request,
                                  {scheduleList("hw_guard", false, kGuardTasks),
                                   scheduleList("hw_smith", true, {"08:00 > Appear"})});
    EXPECT_EQ(describeChanges(run.plan.changes),
              "adds script hw_smith_sched_sc_01 and a start script; replaces script "
              "hw_guard_sched_sc_01; adds 1 StartScript line to the central script "
              "hrw_central_OLD; corrects the record count in the header; keeps the old file as "
              "Mod.esp.bak");
    ReadPlugin merged = readPlugin(fileBytes(request.file));
    ASSERT_EQ(merged.tags(), "NPC_ SCPT SCPT SCPT SSCR SSCR SSCR SCPT");
    for (const std::size_t kept : {0, 2, 4, 5})
        EXPECT_EQ(merged.records[kept], old.records[kept]) << kept;
    EXPECT_EQ(scriptOf(merged.records[1]).text, scheduleOf("hw_guard", kGuardTasks, false));
    EXPECT_EQ(scriptOf(merged.records[1]).name, "hw_guard_sched_sc_01") << "named anew";
    std::string expected = centralText;
    expected.insert(expected.find("       ; the smith"),
                    "       StartScript hw_smith_sched_sc_01\r\n");
    EXPECT_EQ(merged.records[3], scriptRecord("hrw_central_OLD", expected, 0x400)) << "its flags";
    // Its start script's number is one no other start script has.
    const auto start = readStartScriptRecord(std::string_view(merged.records[6]).substr(16));
    EXPECT_EQ(start->script, "hw_guard_sched_sc_01");
    EXPECT_EQ(std::stoull(std::string(start->number)),
              std::stoull(startScriptNumber("hw_guard_sched_sc_01")) + 1);
    EXPECT_EQ(merged.header.recordCount, 8u);

    // Back to Global: its start script goes, the central script starts it.
    written(request, {scheduleList("hw_guard", true, kGuardTasks)});
    merged = readPlugin(fileBytes(request.file));
    EXPECT_EQ(merged.tags(), "NPC_ SCPT SCPT SCPT SSCR SSCR SCPT");
    EXPECT_EQ(merged.header.recordCount, 7u);
    EXPECT_NE(scriptOf(merged.records[3]).text.find("StartScript hw_guard_sched_sc_01\r\n"),
              std::string_view::npos);
    EXPECT_EQ(fileBytes(fs::path(request.file) += ".bak"), before);
}

} // namespace
