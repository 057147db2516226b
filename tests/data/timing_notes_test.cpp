#include "data/timing_notes.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// The notes as their lines, each after the number of the entry it concerns.
Lines lines(const std::vector<hw::ScheduleNote> &notes)
{
    Lines text;
    for (const auto &note : notes)
        text.push_back((note.entry ? std::to_string(*note.entry) + ": " : "") + note.text);
    return text;
}

const std::string kTick = "; tick Test for Complete Equality to run it only at ";
const std::string kIdle = " the NPC keeps what it was last told";
const std::string kApart =
    "; the eight digits before _sched_sc_01 keep it apart from other NPCs' scripts.";

TEST(TimingNotes, sayWhenEachGroupRunsAndWhenNoneDoes)
{
    const std::string wander = "Wander > 1/2/3/4/5/6/7/8/9/10/11";
    // clang-format off
    const std::tuple<const char *, Lines, bool, Lines> cases[] = { // NPC, entries, Equality, notes
        {"npc", {R"(08:00 > Add Item > "gold_001"/1)"}, false,
         {"0: Add Item at 08:00 runs once an hour from 00:00 to 08:00 (9 times a day)" + kTick + "08:00",
          "from 09:00 to 23:59" + kIdle}},
        {"Town Guard", {"06:00 > Start Running", "06:00 > Travel > 100/200/0",
                        R"(12:00 > Say > "vo\hello.mp3"/"Good day")", "20:00 > Disappear"}, false,
         {"2: Say at 12:00 runs once an hour from 07:00 to 12:00 (6 times a day)" + kTick + "12:00",
          "from 13:00 to 19:59" + kIdle, "from 21:00 to 23:59" + kIdle}},
        // An earlier group that tests its hour exactly splits a later one's hours.
        {"npc", {"03:00 > Appear", R"(08:00 > Say > "a.mp3"/"Hi")"}, false,
         {"1: Say at 08:00 runs once an hour from 00:00 to 02:00 and from 04:00 to 08:00 (8 times a day)" +
              kTick + "08:00",
          "from 09:00 to 23:59" + kIdle}},
        // Equality: each group in its own hour; the stretch over midnight is one.
        {"npc", {"06:00 > Travel > 1/2/3", "08:00 > Appear"}, true,
         {"from 07:00 to 07:59" + kIdle, "from 09:00 to 05:59" + kIdle}},
        // The group's first entry chooses its test for the others.
        {"npc", {R"(10:00 > Activate > "lever")", "10:00 > Appear", "10:00 > Disappear"}, false,
         {"1: Appear and Disappear at 10:00 run from 00:00 to 10:00, not only at 10:00: Activate comes first "
          "at that hour and chooses the group's test, \"at most 10:00\".",
          "0: Activate at 10:00 runs once an hour from 00:00 to 10:00 (11 times a day)" + kTick + "10:00",
          "1: Appear at 10:00 runs once an hour from 00:00 to 10:00 (11 times a day)" + kTick + "10:00",
          "2: Disappear at 10:00 runs once an hour from 00:00 to 10:00 (11 times a day)" + kTick + "10:00",
          "from 11:00 to 23:59" + kIdle}},
        {"npc", {"20:00 > Disappear", "20:00 > Start Running"}, false,
         {"1: Start Running at 20:00 runs only at 20:00: Disappear comes first at that hour and chooses the "
          "group's test, \"exactly 20:00\".",
          "from 21:00 to 19:59" + kIdle}},
        // The Equality switch, not the first entry, chooses then.
        {"npc", {"20:00 > Disappear", "20:00 > Start Running"}, true, {"from 21:00 to 19:59" + kIdle}},
        // With nothing before it to take, the exact test changes nothing.
        {"npc", {"00:00 > Disappear", "00:00 > Start Running", "23:00 > " + wander}, false, {}},
        {"x;y", {"00:00 > " + wander, "23:00 > Stop Running"}, false,
         {"The script is named \"x_y_cafe12f7_sched_sc_01\": a script name holds only letters, digits, _, - "
          "and ', so the other characters became _" + kApart}},
        {"The Imperial Legion's guard captain", {"23:00 > Stop Running"}, false,
         {"The script is named \"the_imperi_024cf40a_sched_sc_01\": a script name holds at most 31 "
          "characters, so the id was cut" + kApart}},
    };
    // clang-format on
    // Started from a central script or not, the same.
    for (const auto &[npc, entries, equality, notes] : cases)
        for (const bool global : {false, true})
            EXPECT_EQ(lines(hw::timingNotes(npc, entries, {global, equality})), notes)
                << entries.front() << ", global " << global;
}

} // namespace
