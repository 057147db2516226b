#include "generator/command_writer.hpp"

#include "model/catalogue.hpp"
#include "model/entry_line.hpp"
#include "model/task_entry.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <span>
#include <string>

namespace {

// One command line: 7 blanks, the quoted NPC id, "-> " and `command`.
std::string cmd(std::string_view command)
{
    return R"(       "Town Guard"-> )" + std::string(command) + "\r\n";
}

// `line` between the lines that run it only out of the player's sight.
std::string hidden(std::string_view line)
{
    return "       If ( \"Town Guard\"-> GetLOS Player != 1 )\r\n" + std::string(line) +
        "       EndIf\r\n";
}

struct CommandCase
{
    const char *entry;
    std::string lines; ///< without the visibility check
    bool hides = false; ///< with it, `lines` run only out of the player's sight
};

// Every action with the defaults of its option fields and short texts.
const CommandCase kEveryAction[] = {
    {"06:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10",
     cmd("AIWander 512, 4, 10, 10, 10, 10, 10, 10, 10, 10, 10")},
    {"06:00 > Travel > 0/0/0", cmd("AITravel 0, 0, 0")},
    {R"(06:00 > Follow > "T"/4/0/0/0)", cmd(R"(AIFollow "T", 4, 0, 0, 0)")},
    {R"(06:00 > Escort > "T"/4/0/0/0)", cmd(R"(AIEscort "T", 4, 0, 0, 0)")},
    {"06:00 > Appear", "       " + cmd("Enable"), true},
    {"06:00 > Disappear", cmd("Disable"), true},
    {R"(06:00 > Say > "F"/"S")", cmd(R"(Say "F", "S")")},
    {"06:00 > Set Attack Chance > 30", cmd("SetFight 30")},
    {"06:00 > Set Flee Chance > 30", cmd("SetFlee 30")},
    {"06:00 > Set Alarm Chance > 30", cmd("SetAlarm 30")},
    {"06:00 > Set Greeting Chance > 30", cmd("SetHello 30")},
    {R"(06:00 > Attack > "T")", cmd(R"(StartCombat "T")")},
    {"06:00 > Stop Attacking", cmd("StopCombat")},
    {R"(06:00 > Add Item > "I"/1)", cmd(R"(AddItem "I", 1)")},
    {R"(06:00 > Remove Item > "I"/1)", cmd(R"(RemoveItem "I", 1)")},
    {R"(06:00 > Equip > "I")", cmd(R"(Equip "I")")},
    {R"(06:00 > Activate > "T")", cmd(R"(AIActivate "T")")},
    {R"(06:00 > Add Spell > "S")", cmd(R"(AddSpell "S")")},
    {R"(06:00 > Remove Spell > "S")", cmd(R"(RemoveSpell "S")")},
    {R"(06:00 > Cast > "S"/"T")", cmd(R"(Cast "S", "T")")},
    {"06:00 > Face > 0/0", cmd("Face 0, 0")},
    {"06:00 > Position > 0/0/0/0", cmd("Position 0, 0, 0, 0"), true},
    {R"(06:00 > Position in Cell > "C"/0/0/0/0)", cmd(R"(PositionCell 0, 0, 0, 0, "C")"), true},
    {"06:00 > Start Sneaking", cmd("ForceSneak")},
    {"06:00 > Stop Sneaking", cmd("ClearForceSneak")},
    {"06:00 > Start Running", cmd("ForceRun")},
    {"06:00 > Stop Running", cmd("ClearForceRun")},
    {"06:00 > Start Jumping", cmd("ForceJump")},
    {"06:00 > Stop Jumping", cmd("ClearForceJump")},
    {"06:00 > Start Jumping While Moving", cmd("ForceMoveJump")},
    {"06:00 > Stop Jumping While Moving", cmd("ClearForceMoveJump")},
    {R"(06:00 > Play Animation > "G")", cmd(R"(PlayGroup "G")")},
    {"06:00 > Return to Original Location", cmd("SetAtStart")},
};

// The fields as choosing the action leaves them, with the table's texts typed
// into the text fields, give the table's entry; so does reading it as a line.
TEST(BuildTaskEntry, storesTheDefaultsOfEveryAction)
{
    ASSERT_EQ(std::size(kEveryAction), hw::actionCatalogue().size());
    for (const auto &c : kEveryAction) {
        const auto parts = hw::splitEntry(c.entry);
        const auto typed = hw::splitOptions(parts.options);
        const hw::Action *action = hw::findAction(parts.action);
        ASSERT_NE(action, nullptr) << c.entry;
        hw::OptionFields fields;
        for (const auto &option : action->options) {
            const auto n = static_cast<std::size_t>(option.field);
            fields[n] = {true,
                         hw::isTextField(option.field, action->textFlag)
                             ? std::string(typed[n].substr(1, typed[n].size() - 2))
                             : std::string(option.defaultText)};
        }
        EXPECT_EQ(hw::buildTaskEntry("06:00", action->name, fields, action->textFlag).entry,
                  c.entry);
        EXPECT_EQ(hw::readEntryLine(c.entry).entry, c.entry);
    }
}

// The worked examples not in the table above, and texts holding the
// separators: only the "/" between values become ", ".
const CommandCase kExamples[] = {
    {R"(08:00 > Add Item > "gold_001"/25)", cmd(R"(AddItem "gold_001", 25)")},
    {R"(10:00 > Position in Cell > "Market"/10.5/-20/0/90)",
     cmd(R"(PositionCell 10.5, -20, 0, 90, "Market")"), true},
    {R"(12:00 > Say > "a.mp3"/"Bread and/or ale?")", cmd(R"(Say "a.mp3", "Bread and/or ale?")")},
    {R"(12:00 > Say > "a.mp3"/"3 > 2")", cmd(R"(Say "a.mp3", "3 > 2")")},
    {R"(12:00 > Activate > "door/02")", cmd(R"(AIActivate "door/02")")},
    {R"(12:00 > Position in Cell > "Vivec, Arena/Pit"/1/2/3/4)",
     cmd(R"(PositionCell 1, 2, 3, 4, "Vivec, Arena/Pit")"), true},
    // Without numbers there is nothing to move in front of the cell id.
    {R"(12:00 > Position in Cell > "Market")", cmd(R"(PositionCell "Market")"), true},
};

// With the visibility check and without it.
TEST(CommandWriter, writesTheLinesOfEachEntryByteForByteInAnyLetterCase)
{
    for (const auto table :
         {std::span<const CommandCase>(kEveryAction), std::span<const CommandCase>(kExamples)})
        for (const auto &[entry, lines, hides] : table) {
            const auto parts = hw::splitEntry(entry);
            std::string upper(parts.action);
            for (auto &ch : upper)
                ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
            for (const std::string_view action : {parts.action, std::string_view(upper)})
                for (const bool check : {true, false}) {
                    std::string script;
                    EXPECT_TRUE(
                        hw::writeCommand(script, "Town Guard", action, parts.options, check));
                    EXPECT_EQ(script, check && hides ? hidden(lines) : lines)
                        << entry << " as " << action << ", check " << check;
                }
        }
}

} // namespace
