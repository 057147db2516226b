#include "model/catalogue.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(Catalogue, findsAWholeNameIgnoringCase)
{
    const std::pair<const char *, const char *> cases[] = {
        {"wander", "Wander"}, {"position IN cell", "Position in Cell"},
        {"Wander ", "none"},  {" Wander", "none"},
        {"Wand", "none"},     {"", "none"},
    };
    for (const auto &[text, found] : cases) {
        const hw::Action *action = hw::findAction(text);
        EXPECT_EQ(action ? std::string(action->name) : "none", found) << '"' << text << '"';
    }
}

TEST(Catalogue, asksForTribunalOnlyForItsSevenActions)
{
    // Seven catalogue names, so a Tribunal name that no longer matches its
    // action is noticed.
    const auto catalogue = hw::actionCatalogue();
    EXPECT_EQ(std::count_if(catalogue.begin(), catalogue.end(),
                            [](const hw::Action &a) { return hw::isTribunalAction(a.name); }),
              7);
    EXPECT_TRUE(hw::isTribunalAction("equip"));
    EXPECT_FALSE(hw::isTribunalAction("Equip "));
}

} // namespace
