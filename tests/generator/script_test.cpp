#include "generator/central_script.hpp"
#include "generator/schedule_script.hpp"
#include "model/messages.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using hw::generateSchedule;
using Lines = std::vector<std::string>;

// Lines joined with CR LF between them, as the generators write scripts.
std::string joinLines(const Lines &lines)
{
    std::string text;
    for (const auto &line : lines)
        text.append(line).append("\r\n");
    return text.substr(0, text.size() - 2);
}

Lines operator+(Lines first, const Lines &second)
{
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

const Lines kWorkedExample = {"06:00 > Start Running", "06:00 > Travel > 100/200/0",
                              R"(12:00 > Say > "vo\hello.mp3"/"Good day")", "20:00 > Disappear"};

// Alone the script guards itself; started from a central script it leaves
// the guards to that script and stops itself.
TEST(ScheduleScript, writesTheWorkedExampleAloneAndForACentralScript)
{
    // clang-format off
    const Lines chain = {
        "If ( hrw_hour <= 6 )",
        R"(       "Town Guard"-> ForceRun)", R"(       "Town Guard"-> AITravel 100, 200, 0)",
        "ElseIf ( hrw_hour <= 12 )",
        R"(       "Town Guard"-> Say "vo\hello.mp3", "Good day")",
        "ElseIf ( hrw_hour == 20 )",
        R"(       If ( "Town Guard"-> GetLOS Player != 1 ))", R"(       "Town Guard"-> Disable)",
        "       EndIf",
        "EndIf", ""};
    const std::pair<hw::ScheduleSwitches, std::string> cases[] = {
        {{}, joinLines(Lines {
            "Begin town_guard_sched_sc_01", "",
            "Short hrw_hour", "Short hrw_last", "",
            "If ( MenuMode )", "      Return", "EndIf", "",
            "Set hrw_hour to GameHour",
            "If ( hrw_last == hrw_hour )", "      Return",
            R"(ElseIf ( "Town Guard"-> GetHealth <= 0 ) )", "       Return", "EndIf",
            "Set hrw_last to hrw_hour", ""} + chain + Lines {"", "End"})},
        {{.global = true}, joinLines(Lines {
            "Begin town_guard_sched_sc_01", "",
            "Short hrw_hour", "",
            R"(If ( "Town Guard"-> GetHealth <= 0 ) )", "       Return", "EndIf", "",
            "Set hrw_hour to GameHour", ""} + chain + Lines {
            "StopScript town_guard_sched_sc_01", "",
            "End"})},
    };
    // clang-format on
    for (const auto &[switches, text] : cases) {
        const auto script = generateSchedule("Town Guard", kWorkedExample, switches);
        EXPECT_TRUE(script.unknownEntries.empty());
        EXPECT_EQ(script.text, text) << "global " << switches.global;
    }
}

// The script from its first hour condition on.
std::string sectionOf(const Lines &entries, hw::ScheduleSwitches switches = {})
{
    const std::string text = generateSchedule("npc", entries, switches).text;
    const auto first = text.find("\r\nIf ( hrw_hour ");
    return first == std::string::npos ? "" : text.substr(first + 2);
}

TEST(ScheduleScript, opensEachGroupByItsFirstEntryAndTheSwitches)
{
    const Lines list = {
        "05:00 > Appear",       "06:00 > Stop Running",   "07:00 > Set Flee Chance > 30",
        "07:00 > Stop Running", "09:00 > Travel > 1/2/3", "09:00 > Start Running"};
    const std::tuple<Lines, hw::ScheduleSwitches, std::string> cases[] = {
        {{"10:00 > Appear"}, {}, "If ( hrw_hour == 10 )\r\n"},
        {{"10:00 > disappear"}, {}, "If ( hrw_hour == 10 )\r\n"},
        {{"10:00 > Position > 1/2/3/4"}, {}, "If ( hrw_hour == 10 )\r\n"},
        {{R"(10:00 > Position in Cell > "c"/1/2/3/4)"}, {}, "If ( hrw_hour == 10 )\r\n"},
        {{"10:00 > Return to Original Location"}, {}, "If ( hrw_hour == 10 )\r\n"},
        {{"10:00 > Travel > 1/2/3"}, {}, "If ( hrw_hour <= 10 )\r\n"},
        {{"10:00 > Travel > 1/2/3"}, {.equality = true}, "If ( hrw_hour == 10 )\r\n"},
        // Activate sorts before Appear and opens the group, so Appear runs in
        // every hour up to 10 as well.
        {{R"(10:00 > Activate > "lever")", "10:00 > Appear"}, {}, "If ( hrw_hour <= 10 )\r\n"},
        // An entry without a time still gets an If before its commands.
        {{" > Appear"}, {.global = true}, "If ( hrw_hour == 0 )\r\n"},
        // The first selected entry opens the chain, whatever comes before it.
        {hw::includedEntries(list, {false, false, true, false, true, false},
                             hw::GenerateScope::Selection),
         {},
         joinLines(Lines {"If ( hrw_hour <= 7 )", R"(       "npc"-> SetFlee 30)",
                          "ElseIf ( hrw_hour <= 9 )", R"(       "npc"-> AITravel 1, 2, 3)", "EndIf",
                          ""})},
    };
    for (const auto &[entries, switches, start] : cases)
        EXPECT_EQ(sectionOf(entries, switches).substr(0, start.size()), start) << entries.back();
    // Without entries only the guard's own EndIf stands: the chain stays balanced.
    const auto empty = generateSchedule("npc", {}, {.global = true}).text;
    EXPECT_EQ(empty.find("EndIf"), empty.rfind("EndIf"));
}

TEST(ScheduleScript, keepsTheGroupOfAnUnknownActionAndReportsIt)
{
    const Lines entries = {"06:00 > Dance", "06:00 > Appear", "07:00 > Dance > 1/2"};
    EXPECT_EQ(generateSchedule("npc", entries, {}).unknownEntries,
              (std::vector<std::size_t> {0, 2}));
    EXPECT_TRUE(sectionOf(entries).starts_with(joinLines(
        Lines {"If ( hrw_hour <= 6 )", "       ;Some error occured here!",
               R"(       If ( "npc"-> GetLOS Player != 1 ))", R"(              "npc"-> Enable)",
               "       EndIf", "ElseIf ( hrw_hour <= 7 )", "       ;Some error occured here!",
               "EndIf", ""})));
}

// The name is checked first: with neither name nor tasks, the name is missing.
TEST(ScheduleScript, checksTheNameBeforeTheTasks)
{
    const std::tuple<const char *, std::size_t, std::optional<std::string_view>> cases[] = {
        {"", 0, hw::kNpcNameMissing},
        {"a\"", 0, hw::kNpcNameHasQuote},
        {"a\nb", 0, hw::kNpcNameHasControl},
        {" ", 0, hw::kNoTasks},
        {" ", 1, std::nullopt}};
    for (const auto &[id, tasks, message] : cases)
        EXPECT_EQ(hw::scheduleCheck(id, tasks), message) << id;
}

// The name drops leading zeros and leaves Data2 and the first bytes of Data4 out.
TEST(CentralScript, writesTheTemplateUnderANameFromTheGuidOrStartingTheScriptsGiven)
{
    EXPECT_EQ(hw::centralScriptName({}), "hrw_central_000");
    const hw::Guid guid {0x0000ABCD, 0x1234, 0x4E21, {0x8A, 0, 0, 0, 0, 0, 0, 0x07}};
    // clang-format off
    const Lines head = {"Short hrw_hour", "Short hrw_last", "",
        "If ( MenuMode )", "      Return", "EndIf", "",
        "Set hrw_hour to GameHour",
        "If ( hrw_last != hrw_hour )"};
    const Lines tail = {"       Set hrw_last to hrw_hour", "EndIf", "", "End"};
    EXPECT_EQ(hw::centralScript(guid), joinLines(Lines {"Begin hrw_central_ABCD4E217", ""} + head + Lines {
        "       ;Put your scripts names here like this(without the semicolon):",
        "       ;StartScript MyScriptName",
        R"(       ;The script name is what you see after "Begin")"} + tail));
    // A plugin's central script starts its scripts where the comments stood.
    EXPECT_EQ(hw::centralScript("hrw_central_1", std::vector<std::string> {"a_sched_sc_01", "b"}),
              joinLines(Lines {"Begin hrw_central_1", ""} + head +
                        Lines {"       StartScript a_sched_sc_01", "       StartScript b"} + tail));
    // clang-format on
}

} // namespace
