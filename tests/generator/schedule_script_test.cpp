#include "generator/schedule_script.hpp"

#include "generator/messages.hpp"
#include "script_text.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using hw::generateSchedule;
using hw::ScheduleSwitches;
using hw::test::joinLines;
using hw::test::splitLines;
using Lines = std::vector<std::string>;

const std::vector<std::string> kWorkedExample = {
    "06:00 > Start Running",
    "06:00 > Travel > 100/200/0",
    R"(12:00 > Say > "vo\hello.mp3"/"Good day")",
    "20:00 > Disappear",
};

const std::string kWorkedScript = joinLines({
    "Begin town_guard_sched_sc_01",
    "",
    "Short hrw_hour",
    "Short hrw_last",
    "",
    "If ( MenuMode )",
    "      Return",
    "EndIf",
    "",
    "Set hrw_hour to GameHour",
    "If ( hrw_last == hrw_hour )",
    "      Return",
    R"(ElseIf ( "Town Guard"-> GetHealth <= 0 ) )",
    "       Return",
    "EndIf",
    "",
    "If ( hrw_hour <= 6 )",
    "       Set hrw_last to 6",
    R"(       "Town Guard"-> ForceRun)",
    R"(       "Town Guard"-> AITravel 100, 200, 0)",
    "ElseIf ( hrw_hour <= 12 )",
    "       Set hrw_last to 12",
    R"(       "Town Guard"-> Say "vo\hello.mp3", "Good day")",
    "ElseIf ( hrw_hour == 20 )",
    "       Set hrw_last to 20",
    R"(       If ( "Town Guard"-> GetLOS Player != 1 ))",
    R"(       "Town Guard"-> Disable)",
    "       EndIf",
    "EndIf",
    "",
    "",
    "End",
});

TEST(ScheduleScript, writesTheWorkedExample)
{
    const auto script = generateSchedule("Town Guard", kWorkedExample, {});
    EXPECT_EQ(script.text, kWorkedScript);
    EXPECT_TRUE(script.unknownEntries.empty());
}

TEST(ScheduleScript, leavesTheGuardsToACentralScriptWhenGlobal)
{
    const auto script = generateSchedule("Town Guard", kWorkedExample, {.global = true});
    EXPECT_EQ(script.text,
              joinLines({
                  "Begin town_guard_sched_sc_01",
                  "",
                  "Short hrw_hour",
                  "",
                  R"(If ( "Town Guard"-> GetHealth <= 0 ) )",
                  "       Return",
                  "EndIf",
                  "",
                  "Set hrw_hour to GameHour",
                  "",
                  "If ( hrw_hour <= 6 )",
                  R"(       "Town Guard"-> ForceRun)",
                  R"(       "Town Guard"-> AITravel 100, 200, 0)",
                  "ElseIf ( hrw_hour <= 12 )",
                  R"(       "Town Guard"-> Say "vo\hello.mp3", "Good day")",
                  "ElseIf ( hrw_hour == 20 )",
                  R"(       If ( "Town Guard"-> GetLOS Player != 1 ))",
                  R"(       "Town Guard"-> Disable)",
                  "       EndIf",
                  "EndIf",
                  "",
                  "StopScript town_guard_sched_sc_01",
                  "",
                  "End",
              }));
}

TEST(ScheduleScript, testsEveryHourForEqualityWhenAsked)
{
    std::string expected = kWorkedScript;
    for (const char *hour : {"6 )", "12 )"}) {
        const auto at = expected.find(std::string("hrw_hour <= ") + hour);
        ASSERT_NE(at, std::string::npos);
        expected.replace(at, 11, "hrw_hour ==");
    }
    EXPECT_EQ(generateSchedule("Town Guard", kWorkedExample, {.equality = true}).text, expected);
}

// The lines from the first hour condition up to the EndIf that closes the chain.
Lines taskSection(const std::string &text)
{
    const Lines lines = splitLines(text);
    std::size_t first = 0;
    while (first < lines.size() && !lines[first].starts_with("If ( hrw_hour "))
        ++first;
    std::size_t last = lines.size();
    while (last > first && lines[last - 1] != "EndIf")
        --last;
    return last > first ? Lines(lines.begin() + first, lines.begin() + last - 1) : Lines {};
}

TEST(ScheduleScript, startsTheFirstSelectedGroupWithIf)
{
    const std::vector<bool> selected = {false, false, true, false, true, false};
    auto sectionOf = [&](const std::vector<std::string> &list) {
        return taskSection(
            generateSchedule("npc",
                             hw::includedEntries(list, selected, hw::GenerateScope::Selection), {})
                .text);
    };
    EXPECT_EQ(
        sectionOf({"05:00 > Appear", "06:00 > Stop Running", "07:00 > Set Flee Chance > 30",
                   "07:00 > Stop Running", "09:00 > Travel > 1/2/3", "09:00 > Start Running"}),
        (Lines {"If ( hrw_hour <= 7 )", "       Set hrw_last to 7", R"(       "npc"-> SetFlee 30)",
                "ElseIf ( hrw_hour <= 9 )", "       Set hrw_last to 9",
                R"(       "npc"-> AITravel 1, 2, 3)"}));
    // Three entries of one hour share its condition and hour-set lines.
    EXPECT_EQ(
        sectionOf({"05:00 > Appear", "06:00 > Stop Running", "06:00 > Face > 1/2",
                   "06:00 > Stop Running", "06:00 > Travel > 1/2/3", "06:00 > Start Running"}),
        (Lines {"If ( hrw_hour <= 6 )", "       Set hrw_last to 6", R"(       "npc"-> Face 1, 2)",
                R"(       "npc"-> AITravel 1, 2, 3)"}));
}

TEST(ScheduleScript, choosesTheOperatorByTheEntryThatOpensTheGroup)
{
    struct Case
    {
        const char *entry;
        const char *condition;
    };
    const Case cases[] = {
        {"10:00 > Appear", "If ( hrw_hour == 10 )"},
        {"10:00 > disappear", "If ( hrw_hour == 10 )"},
        {"10:00 > Position > 1/2/3/4", "If ( hrw_hour == 10 )"},
        {R"(10:00 > Position in Cell > "c"/1/2/3/4)", "If ( hrw_hour == 10 )"},
        {"10:00 > Return to Original Location", "If ( hrw_hour == 10 )"},
        {"10:00 > Travel > 1/2/3", "If ( hrw_hour <= 10 )"},
    };
    for (const auto &c : cases) {
        const std::vector<std::string> entries = {c.entry};
        EXPECT_EQ(taskSection(generateSchedule("npc", entries, {}).text).at(0), c.condition)
            << c.entry;
    }

    // Activate sorts before Appear and opens the group, so Appear runs in
    // every hour up to 10 as well.
    const std::vector<std::string> entries = {R"(10:00 > Activate > "lever")", "10:00 > Appear"};
    const Lines section = taskSection(generateSchedule("npc", entries, {}).text);
    EXPECT_EQ(section.at(0), "If ( hrw_hour <= 10 )");
    EXPECT_EQ(std::count(section.begin(), section.end(), "       Set hrw_last to 10"), 1);
}

TEST(ScheduleScript, keepsTheGroupOfAnUnknownActionAndReportsIt)
{
    const std::vector<std::string> entries = {"06:00 > Dance", "06:00 > Appear",
                                              "07:00 > Dance > 1/2"};
    const auto script = generateSchedule("npc", entries, {});
    EXPECT_EQ(script.unknownEntries, (std::vector<std::size_t> {0, 2}));
    EXPECT_EQ(
        taskSection(script.text),
        (Lines {"If ( hrw_hour <= 6 )", "       Set hrw_last to 6",
                "       ;Some error occured here!", R"(       If ( "npc"-> GetLOS Player != 1 ))",
                R"(              "npc"-> Enable)", "       EndIf", "ElseIf ( hrw_hour <= 7 )",
                "       Set hrw_last to 7", "       ;Some error occured here!"}));
}

TEST(ScheduleScript, opensAGroupForTheFirstEntryWhateverItsTime)
{
    // An entry without a time still gets an If before its commands, and a
    // script without entries gets no closing EndIf: the chain stays balanced.
    const std::vector<std::string> entries = {" > Appear"};
    const auto text = generateSchedule("npc", entries, {.global = true}).text;
    EXPECT_EQ(taskSection(text).at(0), "If ( hrw_hour == 0 )");
    const Lines empty = splitLines(generateSchedule("npc", {}, {.global = true}).text);
    EXPECT_EQ(std::count(empty.begin(), empty.end(), "EndIf"), 1); // the guard's own
}

TEST(ScheduleScript, namesTheScriptAfterTheLowerCaseId)
{
    EXPECT_EQ(hw::scheduleScriptName("Town Guard"), "town_guard_sched_sc_01");
    EXPECT_EQ(hw::scheduleScriptName(" "), "__sched_sc_01");
    EXPECT_EQ(hw::scheduleScriptName("\xC3\x84ldere  Frau\t1"),
              "\xC3\xA4ldere__frau\t1_sched_sc_01");
}

TEST(ScheduleScript, checksInTheWindowsOrder)
{
    EXPECT_EQ(hw::scheduleCheck("", 0), hw::kNpcNameMissing);
    EXPECT_EQ(hw::scheduleCheck("", 3), hw::kNpcNameMissing);
    EXPECT_EQ(hw::scheduleCheck("Town \"Guard\"", 0), hw::kNpcNameHasQuote);
    EXPECT_EQ(hw::scheduleCheck("\"", 1), hw::kNpcNameHasQuote);
    EXPECT_EQ(hw::scheduleCheck("Town Guard", 0), hw::kNoTasks);
    EXPECT_EQ(hw::scheduleCheck(" ", 1), std::nullopt);
}

} // namespace
