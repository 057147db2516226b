#include "generator/command_writer.hpp"

#include "model/caseless.hpp"
#include "model/catalogue.hpp"
#include "model/task_entry.hpp"
#include "script_text.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <string>

namespace {

using hw::test::joinLines;

// The lines that one task entry adds to the script.
std::string commandFor(std::string_view npcId, std::string_view entry, bool *known = nullptr)
{
    const auto parts = hw::splitEntry(entry);
    std::string script;
    const bool ok = hw::writeCommand(script, npcId, parts.action, parts.options);
    if (known)
        *known = ok;
    return script;
}

struct CommandCase
{
    const char *entry;
    std::string lines; // each line ends in CR LF
};

void PrintTo(const CommandCase &c, std::ostream *os)
{
    *os << c.entry;
}

std::string block(std::initializer_list<std::string_view> lines)
{
    return joinLines(lines) + "\r\n";
}

class CommandLines : public testing::TestWithParam<CommandCase>
{
};

TEST_P(CommandLines, areWrittenByteForByte)
{
    const auto &c = GetParam();
    bool known = false;
    EXPECT_EQ(commandFor("Town Guard", c.entry, &known), c.lines);
    EXPECT_TRUE(known);
}

TEST_P(CommandLines, ignoreTheActionNamesCase)
{
    const auto &c = GetParam();
    const auto parts = hw::splitEntry(c.entry);
    std::string upper(parts.action);
    for (auto &ch : upper)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    std::string script;
    EXPECT_TRUE(hw::writeCommand(script, "Town Guard", upper, parts.options));
    EXPECT_EQ(script, c.lines);
}

const std::string kHiddenIf = R"(       If ( "Town Guard"-> GetLOS Player != 1 ))";
const std::string kHiddenEndIf = "       EndIf";

// Every action with the defaults of its option fields and short texts.
INSTANTIATE_TEST_SUITE_P(
    AllActionsWithDefaults, CommandLines,
    testing::Values(
        CommandCase {
            "06:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10",
            block(
                {R"(       "Town Guard"-> AIWander 512, 4, 10, 10, 10, 10, 10, 10, 10, 10, 10)"})},
        CommandCase {"06:00 > Travel > 0/0/0",
                     block({R"(       "Town Guard"-> AITravel 0, 0, 0)"})},
        CommandCase {R"(06:00 > Follow > "T"/4/0/0/0)",
                     block({R"(       "Town Guard"-> AIFollow "T", 4, 0, 0, 0)"})},
        CommandCase {R"(06:00 > Escort > "T"/4/0/0/0)",
                     block({R"(       "Town Guard"-> AIEscort "T", 4, 0, 0, 0)"})},
        CommandCase {"06:00 > Appear",
                     block({kHiddenIf, R"(              "Town Guard"-> Enable)", kHiddenEndIf})},
        CommandCase {"06:00 > Disappear",
                     block({kHiddenIf, R"(       "Town Guard"-> Disable)", kHiddenEndIf})},
        CommandCase {R"(06:00 > Say > "F"/"S")", block({R"(       "Town Guard"-> Say "F", "S")"})},
        CommandCase {"06:00 > Set Attack Chance > 30",
                     block({R"(       "Town Guard"-> SetFight 30)"})},
        CommandCase {"06:00 > Set Flee Chance > 30",
                     block({R"(       "Town Guard"-> SetFlee 30)"})},
        CommandCase {"06:00 > Set Alarm Chance > 30",
                     block({R"(       "Town Guard"-> SetAlarm 30)"})},
        CommandCase {"06:00 > Set Greeting Chance > 30",
                     block({R"(       "Town Guard"-> SetHello 30)"})},
        CommandCase {R"(06:00 > Attack > "T")",
                     block({R"(       "Town Guard"-> StartCombat "T")"})},
        CommandCase {"06:00 > Stop Attacking", block({R"(       "Town Guard"-> StopCombat)"})},
        CommandCase {R"(06:00 > Add Item > "I"/1)",
                     block({R"(       "Town Guard"-> AddItem "I", 1)"})},
        CommandCase {R"(06:00 > Remove Item > "I"/1)",
                     block({R"(       "Town Guard"-> RemoveItem "I", 1)"})},
        CommandCase {R"(06:00 > Equip > "I")", block({R"(       "Town Guard"-> Equip "I")"})},
        CommandCase {R"(06:00 > Activate > "T")", block({R"(       "Town Guard"-> Activate "T")"})},
        CommandCase {R"(06:00 > Add Spell > "S")",
                     block({R"(       "Town Guard"-> AddSpell "S")"})},
        CommandCase {R"(06:00 > Remove Spell > "S")",
                     block({R"(       "Town Guard"-> RemoveSpell "S")"})},
        CommandCase {R"(06:00 > Cast > "S"/"T")",
                     block({R"(       "Town Guard"-> Cast "S", "T")"})},
        CommandCase {"06:00 > Face > 0/0", block({R"(       "Town Guard"-> Face 0, 0)"})},
        CommandCase {
            "06:00 > Position > 0/0/0/0",
            block({kHiddenIf, R"(       "Town Guard"-> Position 0, 0, 0, 0)", kHiddenEndIf})},
        CommandCase {R"(06:00 > Position in Cell > "C"/0/0/0/0)",
                     block({kHiddenIf, R"(       "Town Guard"-> PositionCell 0, 0, 0, 0, "C")",
                            kHiddenEndIf})},
        CommandCase {"06:00 > Start Sneaking", block({R"(       "Town Guard"-> ForceSneak)"})},
        CommandCase {"06:00 > Stop Sneaking", block({R"(       "Town Guard"-> ClearForceSneak)"})},
        CommandCase {"06:00 > Start Running", block({R"(       "Town Guard"-> ForceRun)"})},
        CommandCase {"06:00 > Stop Running", block({R"(       "Town Guard"-> ClearForceRun)"})},
        CommandCase {"06:00 > Start Jumping", block({R"(       "Town Guard"-> ForceJump)"})},
        CommandCase {"06:00 > Stop Jumping", block({R"(       "Town Guard"-> ClearForceJump)"})},
        CommandCase {"06:00 > Start Jumping While Moving",
                     block({R"(       "Town Guard"-> ForceMoveJump)"})},
        CommandCase {"06:00 > Stop Jumping While Moving",
                     block({R"(       "Town Guard"-> ClearForceMoveJump)"})},
        CommandCase {R"(06:00 > Play Animation > "G")",
                     block({R"(       "Town Guard"-> PlayGroup "G")"})},
        CommandCase {"06:00 > Return to Original Location",
                     block({R"(       "Town Guard"-> SetAtStart)"})}));

// The worked examples (those with default values, such as Set Flee Chance 30
// or Appear, are rows of the table above), and texts that hold the
// separators: only the "/" between values become ", ".
INSTANTIATE_TEST_SUITE_P(
    Examples, CommandLines,
    testing::Values(
        CommandCase {R"(08:00 > Add Item > "gold_001"/25)",
                     block({R"(       "Town Guard"-> AddItem "gold_001", 25)"})},
        CommandCase {
            "10:00 > Position in Cell > \"Market\"/10.5/-20/0/90",
            block({kHiddenIf, R"(       "Town Guard"-> PositionCell 10.5, -20, 0, 90, "Market")",
                   kHiddenEndIf})},
        CommandCase {R"(12:00 > Say > "vo\hello.mp3"/"Good day")",
                     block({R"(       "Town Guard"-> Say "vo\hello.mp3", "Good day")"})},
        CommandCase {R"(12:00 > Say > "a.mp3"/"Bread and/or ale?")",
                     block({R"(       "Town Guard"-> Say "a.mp3", "Bread and/or ale?")"})},
        CommandCase {R"(12:00 > Say > "a.mp3"/"3 > 2")",
                     block({R"(       "Town Guard"-> Say "a.mp3", "3 > 2")"})},
        CommandCase {R"(12:00 > Activate > "door/02")",
                     block({R"(       "Town Guard"-> Activate "door/02")"})},
        CommandCase {R"(12:00 > Position in Cell > "Vivec, Arena/Pit"/1/2/3/4)",
                     block({kHiddenIf,
                            R"(       "Town Guard"-> PositionCell 1, 2, 3, 4, "Vivec, Arena/Pit")",
                            kHiddenEndIf})},
        // A cell form without numbers has nothing to move behind the cell id.
        CommandCase {
            R"(12:00 > Position in Cell > "Market")",
            block({kHiddenIf, R"(       "Town Guard"-> PositionCell "Market")", kHiddenEndIf})}));

TEST(CommandWriter, knowsEveryCatalogueAction)
{
    for (const auto &action : hw::actionCatalogue()) {
        std::string script;
        EXPECT_TRUE(hw::writeCommand(script, "x", action.name, "")) << action.name;
    }
}

TEST(CommandWriter, writesTheErrorLineForAnUnknownAction)
{
    for (const char *action : {"Dance", "Wander ", "", "Follow2"}) {
        std::string script = "kept\r\n";
        EXPECT_FALSE(hw::writeCommand(script, "Town Guard", action, "1/2"));
        EXPECT_EQ(script, "kept\r\n       ;Some error occured here!\r\n") << action;
    }
}

} // namespace
