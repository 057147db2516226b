#include "generator/schedule_script.hpp"

#include "script_text.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using hw::generateSchedule;
using hw::test::joinLines;
using Lines = std::vector<std::string>;

const Lines kWorkedExample = {
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
std::string taskSection(const std::string &text)
{
    const auto first = text.find("\r\nIf ( hrw_hour ");
    const auto last = text.rfind("\r\nEndIf\r\n");
    return first < last && last != std::string::npos ? text.substr(first + 2, last - first - 2)
                                                     : "";
}

std::string sectionOf(const Lines &entries)
{
    return taskSection(generateSchedule("npc", entries, {}).text);
}

TEST(ScheduleScript, startsTheFirstSelectedGroupWithIf)
{
    const Lines list = {
        "05:00 > Appear",       "06:00 > Stop Running",   "07:00 > Set Flee Chance > 30",
        "07:00 > Stop Running", "09:00 > Travel > 1/2/3", "09:00 > Start Running"};
    const std::vector<bool> selected = {false, false, true, false, true, false};
    EXPECT_EQ(sectionOf(hw::includedEntries(list, selected, hw::GenerateScope::Selection)),
              joinLines({"If ( hrw_hour <= 7 )", "       Set hrw_last to 7",
                         R"(       "npc"-> SetFlee 30)", "ElseIf ( hrw_hour <= 9 )",
                         "       Set hrw_last to 9", R"(       "npc"-> AITravel 1, 2, 3)"}));
}

TEST(ScheduleScript, choosesTheOperatorByTheEntryThatOpensTheGroup)
{
    const std::pair<Lines, const char *> cases[] = {
        {{"10:00 > Appear"}, "=="},
        {{"10:00 > disappear"}, "=="},
        {{"10:00 > Position > 1/2/3/4"}, "=="},
        {{R"(10:00 > Position in Cell > "c"/1/2/3/4)"}, "=="},
        {{"10:00 > Return to Original Location"}, "=="},
        {{"10:00 > Travel > 1/2/3"}, "<="},
        // Activate sorts before Appear and opens the group, so Appear runs in
        // every hour up to 10 as well.
        {{R"(10:00 > Activate > "lever")", "10:00 > Appear"}, "<="},
    };
    for (const auto &[entries, op] : cases)
        EXPECT_TRUE(
            sectionOf(entries).starts_with(std::string("If ( hrw_hour ") + op + " 10 )\r\n"))
            << entries.back();
}

TEST(ScheduleScript, keepsTheGroupOfAnUnknownActionAndReportsIt)
{
    const auto script = generateSchedule(
        "npc", Lines {"06:00 > Dance", "06:00 > Appear", "07:00 > Dance > 1/2"}, {});
    EXPECT_EQ(script.unknownEntries, (std::vector<std::size_t> {0, 2}));
    EXPECT_EQ(
        taskSection(script.text),
        joinLines({"If ( hrw_hour <= 6 )", "       Set hrw_last to 6",
                   "       ;Some error occured here!",
                   R"(       If ( "npc"-> GetLOS Player != 1 ))", R"(              "npc"-> Enable)",
                   "       EndIf", "ElseIf ( hrw_hour <= 7 )", "       Set hrw_last to 7",
                   "       ;Some error occured here!"}));
}

TEST(ScheduleScript, opensAGroupForTheFirstEntryWhateverItsTime)
{
    // An entry without a time still gets an If before its commands, and a
    // script without entries gets no closing EndIf: the chain stays balanced.
    const auto text = generateSchedule("npc", Lines {" > Appear"}, {.global = true}).text;
    EXPECT_TRUE(taskSection(text).starts_with("If ( hrw_hour == 0 )\r\n")) << text;
    const auto empty = generateSchedule("npc", {}, {.global = true}).text;
    EXPECT_EQ(empty.find("EndIf"), empty.rfind("EndIf")) << "only the guard's own";
}

TEST(ScheduleScript, namesTheScriptAfterTheLowerCaseId)
{
    EXPECT_EQ(hw::scheduleScriptName("\xC3\x84ldere  Frau\t1"),
              "\xC3\xA4ldere__frau\t1_sched_sc_01");
}

} // namespace
