#include "generator/day_run.hpp"

#include "generator/schedule_script.hpp"
#include "model/catalogue.hpp"
#include "model/task_entry.hpp"
#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A random schedule's entries, sorted as the task list sorts them.
std::vector<std::string> randomList(std::mt19937 &random)
{
    const auto catalogue = hw::actionCatalogue();
    std::vector<std::string> entries;
    for (std::size_t n = 1 + random() % 8; n > 0; --n) {
        const hw::Action &action = catalogue[random() % catalogue.size()];
        hw::OptionFields fields;
        for (const auto &option : action.options)
            fields[static_cast<std::size_t>(option.field)] = {
                true, hw::isTextField(option.field, action.textFlag) ? "t" : "1"};
        char time[6];
        std::snprintf(time, sizeof time, "%02u:00", static_cast<unsigned>(random() % 24));
        entries.push_back(hw::buildTaskEntry(time, action.name, fields, action.textFlag).entry);
    }
    hw::sortEntries(entries);
    return entries;
}

int hourOf(std::string_view entry)
{
    return std::stoi(std::string(hw::splitEntry(entry).time.substr(0, 2)));
}

// The first entry of the group of `entry`.
std::size_t groupStart(const std::vector<std::string> &list, std::size_t entry)
{
    while (entry > 0 && hourOf(list[entry - 1]) == hourOf(list[entry]))
        --entry;
    return entry;
}

// Whether the group that `first` opens holds `hour`: the hours an author
// reads in the list, worked out apart from the generator.
bool holds(const std::vector<std::string> &list, std::size_t first, int hour, bool equality)
{
    const bool exact = equality || hw::findAction(hw::splitEntry(list[first]).action)->exactHour;
    return exact ? hour == hourOf(list[first]) : hour <= hourOf(list[first]);
}

// The first hour in which an entry's command runs other than once in the
// hours its group holds first and never in the others; empty when none.
std::string firstFault(const std::vector<std::string> &list, hw::ScheduleSwitches switches,
                       const hw::TwoDays &days)
{
    if (!days.problem.empty())
        return days.problem;
    if (days.commandCount != list.size())
        return std::to_string(days.commandCount) + " commands for the entries";
    for (int hour = 0; hour < 48; ++hour) {
        // The first group whose condition holds in the hour, by its first entry.
        std::size_t first = 0;
        while (
            first < list.size() &&
            (groupStart(list, first) != first || !holds(list, first, hour % 24, switches.equality)))
            ++first;
        for (std::size_t e = 0; e < list.size(); ++e) {
            const unsigned wanted = first == groupStart(list, e) ? 1 : 0;
            const unsigned times = days.times(e, hour);
            // The first day starts with every variable at 0, as a new game
            // does, which may hold the script back in its first hour.
            if (times == wanted || (hour < 24 && times < wanted))
                continue;
            return list[e] + " runs " + std::to_string(times) + " times on day " +
                std::to_string(hour / 24 + 1) + " at " + std::to_string(hour % 24) + ":00, not " +
                std::to_string(wanted);
        }
    }
    return {};
}

// Every command runs once an hour in the hours in which its group is the
// first whose condition holds, never in others, and every day: over random
// lists in every setting of the switches, the script run frame by frame
// (or, for Global, started once an hour as the central script does).
TEST(DayRun, runsEachCommandOnceInEachHourItsGroupHoldsFirstEveryDay)
{
    constexpr unsigned kSeed = 20;
    std::mt19937 random(kSeed);
    for (int n = 0; n < 500; ++n) {
        const auto list = randomList(random);
        for (int setting = 0; setting < 8; ++setting) {
            const hw::ScheduleSwitches switches {(setting & 1) != 0, (setting & 2) != 0,
                                                 (setting & 4) != 0};
            const auto script = hw::generateSchedule("npc", list, switches);
            const auto days = hw::runTwoDays(script.text,
                                             switches.global ? hw::ScriptStart::EveryHour
                                                             : hw::ScriptStart::EveryFrame);
            const std::string fault = firstFault(list, switches, days);
            if (fault.empty())
                continue;
            std::ostringstream replay;
            for (const auto &entry : list)
                replay << "\n  " << entry;
            FAIL() << "list " << n << " of seed " << kSeed << ", global " << switches.global
                   << ", equality " << switches.equality << ", visibility " << switches.visibility
                   << ": " << fault << replay.str();
        }
    }
}

} // namespace

namespace {

// The commands A to E by number, as a frame ran them.
std::string namesOf(const std::vector<std::size_t> &commands)
{
    std::string names;
    for (const std::size_t c : commands)
        names += static_cast<char>('A' + c);
    return names;
}

TEST(ScriptInterpreter, takesTheFirstBranchThatHoldsAndStopsAtReturn)
{
    hw::ScriptInterpreter script("Begin test\r\nShort a\r\nSet a to GameHour\r\n"
                                 "IF ( a < 5 )\r\n  A\r\nElseIf ( a == 5 )\r\n"
                                 "  If ( \"npc\"-> GetLOS Player != 1 ) ; hidden\r\n  B\r\n"
                                 "  EndIf\r\nElse\r\n  C\r\n  Return\r\n  D\r\nEndIf\r\nE\r\nEnd");
    ASSERT_EQ(script.problem(), "");
    const std::tuple<double, bool, std::string> cases[] = {
        {3.5, false, "AE"}, {5.9, false, "BE"}, {5, true, "E"}, {7, false, "C"}};
    for (const auto &[hour, seen, ran] : cases)
        EXPECT_EQ(namesOf(script.runFrame({.gameHour = hour, .seenByPlayer = seen}).commands), ran)
            << hour;
}

TEST(ScriptInterpreter, refusesWhatItCannotRunAndNamesTheLine)
{
    const std::pair<const char *, const char *> cases[] = {
        {"If ( x == 1 )\nEndIf", "line 1: unknown function or variable \"x\""},
        {"Short a\nIf ( a == 1 )\n", "line 2: this If has no EndIf"},
        {"Short a\nEndIf", "line 2: there is no If to go with this line"},
        {"Short a\nIf ( a )\nElse\nElseIf ( a )\nEndIf",
         "line 4: nothing but EndIf may follow the Else of a block"},
        {"Short a\nSet a 5", "line 2: \"to\" must follow the variable"},
        {"If ( \"npc\"-> GetLOS Enemy )\nEndIf",
         "line 1: GetLOS is asked only about the Player here"},
        {"If MenuMode\nEndIf", "line 1: the condition must be in parentheses"},
        {"Short a\nShort A", "line 2: the variable A is declared twice"},
    };
    for (const auto &[text, problem] : cases) {
        hw::ScriptInterpreter script(text);
        EXPECT_EQ(script.problem(), problem) << text;
        EXPECT_TRUE(script.runFrame({}).commands.empty());
    }
}

// Started when the hour changes (not in the first hour of a new game, where
// the central script's hour is still 0), a Global script runs each frame
// until it stops itself.
TEST(DayRun, startsAGlobalScriptWhenTheHourChangesAndRunsItUntilItStops)
{
    for (const bool stops : {false, true}) {
        const auto days =
            hw::runTwoDays(stops ? "A\nStopScript x" : "A", hw::ScriptStart::EveryHour);
        const unsigned wanted = stops ? 1 : 4;
        EXPECT_EQ(days.times(0, 0), 0u);
        EXPECT_EQ(days.times(0, 1), wanted);
        EXPECT_EQ(days.times(0, 24), wanted);
    }
}

} // namespace
