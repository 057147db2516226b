#include "model/task_entry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using hw::buildTaskEntry;

TEST(Catalogue, findsAWholeNameIgnoringCaseAndAsksForTribunalOnlyForItsSevenActions)
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
    // Seven catalogue names, so a Tribunal name that no longer matches its
    // action is noticed.
    const auto catalogue = hw::actionCatalogue();
    EXPECT_EQ(std::count_if(catalogue.begin(), catalogue.end(),
                            [](const hw::Action &a) { return hw::isTribunalAction(a.name); }),
              7);
    EXPECT_TRUE(hw::isTribunalAction("equip"));
    EXPECT_FALSE(hw::isTribunalAction("Equip "));
}

hw::OptionFields fieldsOf(std::initializer_list<std::pair<int, std::string>> enabled)
{
    hw::OptionFields fields;
    for (const auto &[n, text] : enabled)
        fields[static_cast<std::size_t>(n)] = {true, text};
    return fields;
}

TEST(BuildTaskEntry, normalisesNumbersOrRefusesAtTheFirstFaultyField)
{
    struct Case
    {
        hw::OptionFields fields;
        bool option1Text;
        const char *entry; // "" when refused
        std::optional<hw::EntryRefusal> refusal;
        int field;
    };
    using R = hw::EntryRefusal;
    const Case cases[] = {
        // Field 1 is a number unless the text flag is set; disabled fields leave no slot.
        {fieldsOf({{1, ""}, {2, "007"}, {4, "1.50"}, {11, ".5"}}), false,
         "06:00 > Any > 0/7/1.5/0.5", std::nullopt, -1},
        {fieldsOf({{0, "a"}, {1, ""}}), true, "", R::RequiredFieldEmpty, 1},
        {fieldsOf({{0, "\""}, {1, ""}}), true, "", R::TextHasQuote, 0},
        {fieldsOf({{0, "\"\n"}}), false, "", R::TextHasQuote, 0},
        {fieldsOf({{0, "a"}, {1, "b\tc"}}), true, "", R::TextHasControl, 1},
        {fieldsOf({{0, "a\x7F"}}), false, "", R::TextHasControl, 0},
        {fieldsOf({{0, ""}, {1, "\""}}), true, "", R::RequiredFieldEmpty, 0},
        {fieldsOf({{1, "1e400"}, {2, "5"}}), false, "", R::NumberOutOfRange, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        const auto built = buildTaskEntry("06:00", "Any", c.fields, c.option1Text);
        EXPECT_EQ(built.entry, c.entry);
        EXPECT_EQ(built.refusal, c.refusal);
        EXPECT_EQ(built.field, c.field);
    }
}

// Building and splitting any entry gives back the typed texts, whatever
// separators they hold.
TEST(SplitEntry, roundTripsAnyTypedTexts)
{
    const char *const pieces[] = {" ", "/",        " > ",      ">",  "\\", "a",
                                  "Z", "\xC3\xA9", "\xD0\x96", "//", "0"};
    std::mt19937 random(20261206);
    auto randomText = [&] {
        std::string s;
        for (auto n = 1 + random() % 8; n > 0; --n)
            s += pieces[random() % std::size(pieces)];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string a = randomText(), b = randomText();
        const auto built = buildTaskEntry("07:00", "Cast", fieldsOf({{0, a}, {1, b}}), true);
        const auto parts = hw::splitEntry(built.entry);
        ASSERT_EQ(parts.time, "07:00");
        ASSERT_EQ(parts.action, "Cast");
        const std::string quotedA = '"' + a + '"', quotedB = '"' + b + '"';
        EXPECT_EQ(hw::splitOptions(parts.options),
                  (std::vector<std::string_view> {quotedA, quotedB}));
    }
}

} // namespace
