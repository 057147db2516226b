#include "model/task_entry.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using hw::buildTaskEntry;
using hw::OptionFields;

// The fields as the window holds them right after `action` was chosen, with
// the texts the author typed into fields 0 and 1 where those take text.
OptionFields layoutWithDefaults(const hw::Action &action, std::string text0, std::string text1)
{
    OptionFields fields;
    for (const auto &option : action.options) {
        std::string text(option.defaultText);
        if (option.field == 0 || (option.field == 1 && action.textFlag))
            text = option.field == 0 ? text0 : text1;
        fields[static_cast<std::size_t>(option.field)] = {true, text};
    }
    return fields;
}

struct DefaultsCase
{
    const char *action;
    const char *text0;
    const char *text1;
    const char *entry;
};

TEST(BuildTaskEntry, matchesTheLayoutTableForEveryAction)
{
    const DefaultsCase cases[] = {
        DefaultsCase {"Wander", "", "", "06:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10"},
        DefaultsCase {"Travel", "", "", "06:00 > Travel > 0/0/0"},
        DefaultsCase {"Follow", "T", "", "06:00 > Follow > \"T\"/4/0/0/0"},
        DefaultsCase {"Escort", "T", "", "06:00 > Escort > \"T\"/4/0/0/0"},
        DefaultsCase {"Appear", "", "", "06:00 > Appear"},
        DefaultsCase {"Disappear", "", "", "06:00 > Disappear"},
        DefaultsCase {"Say", "F", "S", "06:00 > Say > \"F\"/\"S\""},
        DefaultsCase {"Set Attack Chance", "", "", "06:00 > Set Attack Chance > 30"},
        DefaultsCase {"Set Flee Chance", "", "", "06:00 > Set Flee Chance > 30"},
        DefaultsCase {"Set Alarm Chance", "", "", "06:00 > Set Alarm Chance > 30"},
        DefaultsCase {"Set Greeting Chance", "", "", "06:00 > Set Greeting Chance > 30"},
        DefaultsCase {"Attack", "T", "", "06:00 > Attack > \"T\""},
        DefaultsCase {"Stop Attacking", "", "", "06:00 > Stop Attacking"},
        DefaultsCase {"Add Item", "I", "", "06:00 > Add Item > \"I\"/1"},
        DefaultsCase {"Remove Item", "I", "", "06:00 > Remove Item > \"I\"/1"},
        DefaultsCase {"Equip", "T", "", "06:00 > Equip > \"T\""},
        DefaultsCase {"Activate", "T", "", "06:00 > Activate > \"T\""},
        DefaultsCase {"Add Spell", "T", "", "06:00 > Add Spell > \"T\""},
        DefaultsCase {"Remove Spell", "T", "", "06:00 > Remove Spell > \"T\""},
        DefaultsCase {"Cast", "S", "T", "06:00 > Cast > \"S\"/\"T\""},
        DefaultsCase {"Face", "", "", "06:00 > Face > 0/0"},
        DefaultsCase {"Position", "", "", "06:00 > Position > 0/0/0/0"},
        DefaultsCase {"Position in Cell", "C", "", "06:00 > Position in Cell > \"C\"/0/0/0/0"},
        DefaultsCase {"Start Sneaking", "", "", "06:00 > Start Sneaking"},
        DefaultsCase {"Stop Sneaking", "", "", "06:00 > Stop Sneaking"},
        DefaultsCase {"Start Running", "", "", "06:00 > Start Running"},
        DefaultsCase {"Stop Running", "", "", "06:00 > Stop Running"},
        DefaultsCase {"Start Jumping", "", "", "06:00 > Start Jumping"},
        DefaultsCase {"Stop Jumping", "", "", "06:00 > Stop Jumping"},
        DefaultsCase {"Start Jumping While Moving", "", "", "06:00 > Start Jumping While Moving"},
        DefaultsCase {"Stop Jumping While Moving", "", "", "06:00 > Stop Jumping While Moving"},
        DefaultsCase {"Play Animation", "T", "", "06:00 > Play Animation > \"T\""},
        DefaultsCase {"Return to Original Location", "", "",
                      "06:00 > Return to Original Location"}};
    // A row for every action of the catalogue.
    ASSERT_EQ(std::size(cases), hw::actionCatalogue().size());
    for (const auto &c : cases) {
        const auto *action = hw::findAction(c.action);
        ASSERT_NE(action, nullptr) << c.action;
        const auto built = buildTaskEntry(
            "06:00", action->name, layoutWithDefaults(*action, c.text0, c.text1), action->textFlag);
        EXPECT_EQ(built.entry, c.entry);
    }
}

OptionFields fieldsOf(std::initializer_list<std::pair<int, std::string>> enabled)
{
    OptionFields fields;
    for (const auto &[n, text] : enabled)
        fields[static_cast<std::size_t>(n)] = {true, text};
    return fields;
}

TEST(BuildTaskEntry, normalisesNumbersOrRefusesAtTheFirstFaultyField)
{
    struct Case
    {
        const char *name;
        OptionFields fields;
        bool option1Text;
        const char *entry; // "" when refused
        std::optional<hw::EntryRefusal> refusal;
        int field;
    };
    using R = hw::EntryRefusal;
    const Case cases[] = {
        // Field 1 is a number unless the text flag is set; disabled fields leave no slot.
        {"numbers", fieldsOf({{1, ""}, {2, "007"}, {4, "1.50"}, {11, ".5"}}), false,
         "06:00 > Any > 0/7/1.5/0.5", std::nullopt, -1},
        {"emptySubtitle", fieldsOf({{0, "a"}, {1, ""}}), true, "", R::RequiredFieldEmpty, 1},
        {"quoteBeforeEmpty", fieldsOf({{0, "\""}, {1, ""}}), true, "", R::TextHasQuote, 0},
        {"emptyBeforeQuote", fieldsOf({{0, ""}, {1, "\""}}), true, "", R::RequiredFieldEmpty, 0},
        {"hugeInField1", fieldsOf({{1, "1e400"}, {2, "5"}}), false, "", R::NumberOutOfRange, 1},
    };
    for (const auto &c : cases) {
        const auto built = buildTaskEntry("06:00", "Any", c.fields, c.option1Text);
        EXPECT_EQ(built.entry, c.entry) << c.name;
        EXPECT_EQ(built.refusal, c.refusal) << c.name;
        EXPECT_EQ(built.field, c.field) << c.name;
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
