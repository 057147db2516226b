#include "model/catalogue.hpp"
#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using hw::actionCatalogue;
using hw::findAction;

TEST(Catalogue, listsTheActionsInDisplayOrderOnceSorted)
{
    // The action box sorts its items; this is the order the author sees.
    const std::vector<std::string> expected = {"Activate",
                                               "Add Item",
                                               "Add Spell",
                                               "Appear",
                                               "Attack",
                                               "Cast",
                                               "Disappear",
                                               "Equip",
                                               "Escort",
                                               "Face",
                                               "Follow",
                                               "Play Animation",
                                               "Position",
                                               "Position in Cell",
                                               "Remove Item",
                                               "Remove Spell",
                                               "Return to Original Location",
                                               "Say",
                                               "Set Alarm Chance",
                                               "Set Attack Chance",
                                               "Set Flee Chance",
                                               "Set Greeting Chance",
                                               "Start Jumping",
                                               "Start Jumping While Moving",
                                               "Start Running",
                                               "Start Sneaking",
                                               "Stop Attacking",
                                               "Stop Jumping",
                                               "Stop Jumping While Moving",
                                               "Stop Running",
                                               "Stop Sneaking",
                                               "Travel",
                                               "Wander"};
    std::vector<std::string> names;
    for (const auto &a : actionCatalogue())
        names.emplace_back(a.name);
    ASSERT_EQ(names.size(), 33u);
    EXPECT_EQ(names.front(), "Wander");
    EXPECT_EQ(names.back(), "Return to Original Location");
    std::stable_sort(names.begin(), names.end(), [](const std::string &a, const std::string &b) {
        return hw::entryLess(a, b);
    });
    EXPECT_EQ(names, expected);
}

TEST(Catalogue, usesEachFieldAtMostOnceAndOnlyTextFieldsWithoutDefault)
{
    for (const auto &action : actionCatalogue()) {
        std::vector<int> seen;
        for (const auto &spec : action.options) {
            SCOPED_TRACE(std::string(action.name) + " field " + std::to_string(spec.field));
            EXPECT_GE(spec.field, 0);
            EXPECT_LT(spec.field, hw::kOptionFieldCount);
            EXPECT_EQ(std::count(seen.begin(), seen.end(), spec.field), 0);
            seen.push_back(spec.field);
            EXPECT_EQ(spec.defaultText.empty(), hw::isTextField(spec.field, action.textFlag));
            EXPECT_TRUE(spec.caption.ends_with(':'));
        }
    }
}

TEST(Catalogue, keepsTheCaptionsAuthorsKnow)
{
    const auto *follow = findAction("Follow");
    ASSERT_NE(follow, nullptr);
    ASSERT_EQ(follow->options.size(), 5u);
    EXPECT_EQ(follow->options[2].caption, "Destiantion X:");
    const auto *cell = findAction("Position in Cell");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->options.back().field, 0);
    EXPECT_EQ(cell->options.back().caption, "Cell ID:");
    const auto *wander = findAction("Wander");
    ASSERT_NE(wander, nullptr);
    EXPECT_EQ(wander->options[0].caption, "Range:");
    EXPECT_EQ(wander->options[10].caption, "Idle 9 Chance:");
}

TEST(Catalogue, textFlagOnlyForSayAndCast)
{
    for (const auto &action : actionCatalogue())
        EXPECT_EQ(action.textFlag, action.name == "Say" || action.name == "Cast") << action.name;
}

struct LookupCase
{
    const char *text;
    const char *found; // nullptr: not in the catalogue
};

class ActionLookup : public testing::TestWithParam<LookupCase>
{
};

TEST_P(ActionLookup, matchesWholeNameIgnoringCase)
{
    const auto &c = GetParam();
    const auto *action = findAction(c.text);
    if (c.found == nullptr) {
        EXPECT_EQ(action, nullptr) << c.text;
    } else {
        ASSERT_NE(action, nullptr) << c.text;
        EXPECT_EQ(action->name, c.found);
    }
}

INSTANTIATE_TEST_SUITE_P(Names, ActionLookup,
                         testing::Values(LookupCase {"Wander", "Wander"},
                                         LookupCase {"wander", "Wander"},
                                         LookupCase {"WANDER", "Wander"},
                                         LookupCase {"position IN cell", "Position in Cell"},
                                         LookupCase {"Wander ", nullptr},
                                         LookupCase {" Wander", nullptr},
                                         LookupCase {"Wand", nullptr}, LookupCase {"", nullptr},
                                         LookupCase {"Position in", nullptr}));

TEST(Catalogue, tribunalSetIsTheSevenExpansionCommands)
{
    std::vector<std::string> tribunal;
    for (const auto &a : actionCatalogue())
        if (hw::isTribunalAction(a.name))
            tribunal.emplace_back(a.name);
    EXPECT_EQ(tribunal,
              (std::vector<std::string> {"Equip", "Start Running", "Stop Running", "Start Jumping",
                                         "Stop Jumping", "Start Jumping While Moving",
                                         "Stop Jumping While Moving"}));
    EXPECT_TRUE(hw::isTribunalAction("equip"));
    EXPECT_FALSE(hw::isTribunalAction("Equip "));
}

} // namespace
