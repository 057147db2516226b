#include "data/schedule_checks.hpp"

#include "data/game_index_builder.hpp"
#include "plugin_writer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace hw::test;
using Strings = std::vector<std::string>;

hw::GameIndex gameData()
{
    const std::string guild = "Balmora, Guild of Mages";
    std::string crowd = idRecord("NPC_", "crowd"); // in 13 cells, the second twice
    for (int cell = 1; cell <= 13; ++cell)
        crowd += record("CELL",
                        cellHead("c" + std::to_string(cell), 1) + placed(200 + cell, "crowd") +
                            (cell == 2 ? placed(300, "Crowd") : ""));
    const std::string plugin = headerRecord({}) + idRecord("NPC_", "guard", {}, 0x400) +
        idRecord("NPC_", "wanderer") + idRecord("NPC_", "ghost", {}, 0x400) +
        idRecord("CREA", "rat") + idRecord("MISC", "gold_001") + idRecord("MISC", "gold_005") +
        idRecord("SPEL", "fireball") + idRecord("DOOR", "door_01") +
        idRecord("REGN", "ascadian isles region", textSubrecord("FNAM", "Ascadian Isles Region")) +
        record("CELL",
               cellHead(guild, 1) + placed(1, "guard") + placed(2, "wanderer") +
                   placed(3, "Wanderer")) +
        record("CELL", cellHead("Balmora", 0, -3, -2) + placed(4, "wanderer")) + crowd;
    hw::MemorySource source(plugin);
    hw::GameIndexBuilder builder;
    builder.addSource(source, "Data.esp");
    return builder.finish();
}

// Each kind of id, the nearest known ids as suggestions, how often and where
// the NPC is placed, and what matters only for a global script.
TEST(CheckSchedule, notesWhatTheGameWillNotFind)
{
    // clang-format off
    const std::tuple<const char *, const char *, bool, Strings, Strings> cases[] = {
        // name, NPC, global, entries, notes as noteLine writes them
        {"KnownIdsOfEveryKind", "guard", true,
         {R"(06:00 > Follow > "RAT"/4/0/0/0)", R"(07:00 > Activate > "door_01")",
          R"(08:00 > Add Item > "Gold_001"/1)", R"(09:00 > Cast > "fireball"/"player")",
          R"(10:00 > Position in Cell > "Ascadian Isles Region"/1/2/3/0)",
          R"(11:00 > Attack > "Player")", R"(12:00 > Activate > "gold_005")",
          "13:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10", "14:00 > Start Running"},
         {}},
        {"MisspeltIdsWithTheNearestKnownOnes", "guard", false,
         {R"(08:00 > Add Item > "gold_00"/1)", R"(09:00 > Cast > "firebal"/"gaurd")",
          R"(10:00 > Position in Cell > "Balmora, Guild of Magse"/0/0/0/0)",
          R"(11:00 > Activate > "strongbox")"},
         {R"(08:00 > Add Item > "gold_00"/1: Item ID "gold_00" is not an item in the loaded )"
          R"(game data. Did you mean "gold_001" or "gold_005"?)",
          R"(09:00 > Cast > "firebal"/"gaurd": Spell "firebal" is not a spell in the loaded )"
          R"(game data. Did you mean "fireball"?)",
          R"(09:00 > Cast > "firebal"/"gaurd": Target "gaurd" is not an NPC or creature in the )"
          R"(loaded game data. Did you mean "guard"?)",
          R"(10:00 > Position in Cell > "Balmora, Guild of Magse"/0/0/0/0: Cell ID "Balmora, )"
          R"(Guild of Magse" is not a cell or region in the loaded game data. Did you mean )"
          R"("Balmora, Guild of Mages"?)",
          R"(11:00 > Activate > "strongbox": Target "strongbox" is not an object, item, NPC or )"
          R"(creature in the loaded game data.)"}},
        {"AnIdOfAnotherKind", "guard", false,
         {R"(08:00 > Equip > "rat")", R"(09:00 > Add Spell > "door_01")"},
         {R"(08:00 > Equip > "rat": Item ID "rat" is not an item in the loaded game data.)",
          R"(09:00 > Add Spell > "door_01": Spell ID "door_01" is not a spell in the loaded )"
          R"(game data.)"}},
        {"UnknownNpc", "gaurd", true, {},
         {R"(No NPC or creature in the loaded game data has the id "gaurd". Did you mean )"
          R"("guard"?)"}},
        {"PlacedThreeTimesWithoutPersistingWhenGlobal", "WANDERER", true, {},
         {R"(The NPC "WANDERER" is placed 3 times (Balmora, Guild of Mages twice; Balmora )"
          R"((-3, -2)): its commands reach only one of them.)",
          R"(The NPC "WANDERER" does not have "References Persist" set: a script started )"
          R"(from a central script cannot reach it while its cell is not loaded.)"}},
        {"PersistingDoesNotMatterWithoutGlobal", "wanderer", false, {},
         {R"(The NPC "wanderer" is placed 3 times (Balmora, Guild of Mages twice; Balmora )"
          R"((-3, -2)): its commands reach only one of them.)"}},
        {"PlacedNowhere", "ghost", true, {},
         {R"(The NPC "ghost" is not placed in any cell of the loaded game data: its commands )"
          R"(reach nobody.)"}},
        // Each cell once in the order of the references, with how often: the first ten.
        {"AFewOfManyCells", "crowd", false, {},
         {"The NPC \"crowd\" is placed 14 times (c1; c2 twice; c3; c4; c5; c6; c7; c8; c9; "
          "c10 and 3 more): its commands reach only one of them."}},
    };
    // clang-format on
    const auto index = gameData();
    for (const auto &[name, npc, global, entries, expected] : cases) {
        SCOPED_TRACE(name);
        Strings lines;
        for (const auto &note : hw::checkSchedule(npc, entries, {global, false}, index))
            lines.push_back(hw::noteLine(note, entries));
        EXPECT_EQ(lines, expected);
        // Without game data nothing is checked.
        EXPECT_TRUE(hw::checkSchedule(npc, entries, {global, false}, hw::GameIndex {}).empty());
    }
}

} // namespace
