#include "model/task_entry.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using hw::buildTaskEntry;
using hw::EntryRefusal;
using hw::OptionFields;

// The fields as the window holds them right after `action` was chosen, with
// the texts the author typed into fields 0 and 1 where those take text.
OptionFields layoutWithDefaults(const hw::Action &action, std::string text0, std::string text1)
{
    OptionFields fields;
    for (const auto &spec : action.options) {
        auto &f = fields[static_cast<std::size_t>(spec.field)];
        f.enabled = true;
        f.text = std::string(spec.defaultText);
        if (spec.field == 0)
            f.text = text0;
        if (spec.field == 1 && action.textFlag)
            f.text = text1;
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

class EntryWithDefaults : public testing::TestWithParam<DefaultsCase>
{
};

TEST_P(EntryWithDefaults, matchesTheLayoutTable)
{
    const auto &c = GetParam();
    const auto *action = hw::findAction(c.action);
    ASSERT_NE(action, nullptr);
    const auto built = buildTaskEntry(
        "06:00", action->name, layoutWithDefaults(*action, c.text0, c.text1), action->textFlag);
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.entry, c.entry);
}

INSTANTIATE_TEST_SUITE_P(
    AllActions, EntryWithDefaults,
    testing::Values(
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
                      "06:00 > Return to Original Location"}),
    [](const auto &p) {
        std::string name = p.param.action;
        std::erase(name, ' ');
        return name;
    });

TEST(BuildTaskEntry, coversEveryActionOfTheCatalogue)
{
    // Guards the table above against a missing row.
    EXPECT_EQ(hw::actionCatalogue().size(), 33u);
}

OptionFields fieldsOf(std::initializer_list<std::pair<int, std::string>> enabled)
{
    OptionFields fields;
    for (const auto &[n, text] : enabled)
        fields[static_cast<std::size_t>(n)] = {true, text};
    return fields;
}

TEST(BuildTaskEntry, keepsTextOptionsExactlyAsTyped)
{
    const auto built = buildTaskEntry(
        "12:00", "Say", fieldsOf({{0, "vo\\a b\\c.mp3"}, {1, " Hello,  there "}}), true);
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.entry, "12:00 > Say > \"vo\\a b\\c.mp3\"/\" Hello,  there \"");
    EXPECT_EQ(buildTaskEntry("01:00", "Attack", fieldsOf({{0, " "}}), false).entry,
              "01:00 > Attack > \" \"");
}

TEST(BuildTaskEntry, normalisesNumberOptionsAndSkipsDisabledFields)
{
    // Field 1 is a number unless the text flag is set; disabled fields leave no slot.
    const auto built = buildTaskEntry(
        "03:00", "Wander", fieldsOf({{1, ""}, {2, "007"}, {4, "1.50"}, {11, ".5"}}), false);
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.entry, "03:00 > Wander > 0/7/1.5/0.5");
}

struct RefusalCase
{
    const char *name;
    OptionFields fields;
    bool option1Text;
    EntryRefusal refusal;
    int field;
};

class Refusal : public testing::TestWithParam<RefusalCase>
{
};

TEST_P(Refusal, namesTheFirstFaultyFieldAndBuildsNothing)
{
    const auto &c = GetParam();
    const auto built = buildTaskEntry("06:00", "Any", c.fields, c.option1Text);
    ASSERT_FALSE(built.ok());
    EXPECT_EQ(built.refusal, c.refusal);
    EXPECT_EQ(built.field, c.field);
    EXPECT_TRUE(built.entry.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, Refusal,
    testing::Values(RefusalCase {"emptyItemWithQuantity", fieldsOf({{0, ""}, {2, "5"}}), false,
                                 EntryRefusal::RequiredFieldEmpty, 0},
                    RefusalCase {"emptySubtitle", fieldsOf({{0, "a"}, {1, ""}}), true,
                                 EntryRefusal::RequiredFieldEmpty, 1},
                    RefusalCase {"quoteInTarget", fieldsOf({{0, "say \"hi\""}}), false,
                                 EntryRefusal::TextHasQuote, 0},
                    RefusalCase {"quoteBeforeLaterEmpty", fieldsOf({{0, "\""}, {1, ""}}), true,
                                 EntryRefusal::TextHasQuote, 0},
                    RefusalCase {"emptyBeforeLaterQuote", fieldsOf({{0, ""}, {1, "\""}}), true,
                                 EntryRefusal::RequiredFieldEmpty, 0},
                    RefusalCase {"hugeNumber", fieldsOf({{0, "x"}, {2, "1E999"}}), false,
                                 EntryRefusal::NumberOutOfRange, 2},
                    RefusalCase {"hugeBeforeEmptyText", fieldsOf({{1, "1e400"}, {2, "5"}}), false,
                                 EntryRefusal::NumberOutOfRange, 1}),
    [](const auto &p) { return std::string(p.param.name); });

TEST(BuildTaskEntry, refusalMessagesAreTheWindowTexts)
{
    EXPECT_EQ(hw::refusalMessage(EntryRefusal::RequiredFieldEmpty), "Required field not filled!");
    EXPECT_EQ(hw::refusalMessage(EntryRefusal::TextHasQuote),
              "Text fields cannot contain double quotes!");
    EXPECT_EQ(hw::refusalMessage(EntryRefusal::NumberOutOfRange), "Number out of range!");
}

TEST(SplitEntry, splitsAtTheFirstTwoSeparatorsOnly)
{
    auto p = hw::splitEntry("06:00 > Say > \"a > b\"/\"c\"");
    EXPECT_EQ(p.time, "06:00");
    EXPECT_EQ(p.action, "Say");
    EXPECT_TRUE(p.hasOptions);
    EXPECT_EQ(p.options, "\"a > b\"/\"c\"");

    p = hw::splitEntry("05:00 > Stop Sneaking");
    EXPECT_EQ(p.action, "Stop Sneaking");
    EXPECT_FALSE(p.hasOptions);

    p = hw::splitEntry("no separator");
    EXPECT_EQ(p.time, "no separator");
    EXPECT_EQ(p.action, "");
    EXPECT_FALSE(p.hasOptions);
}

TEST(SplitOptions, splitsOnlyAtSlashesOutsideQuotes)
{
    using V = std::vector<std::string_view>;
    EXPECT_EQ(hw::splitOptions("512/4/10"), (V {"512", "4", "10"}));
    EXPECT_EQ(hw::splitOptions("\"and/or\"/\"x\""), (V {"\"and/or\"", "\"x\""}));
    EXPECT_EQ(hw::splitOptions("\"a/b/c\"/1/2"), (V {"\"a/b/c\"", "1", "2"}));
    EXPECT_EQ(hw::splitOptions("30"), (V {"30"}));
    EXPECT_EQ(hw::splitOptions(""), (V {""}));
}

// Building and splitting any entry gives back the typed texts.
TEST(SplitEntry, roundTripsAnyTypedTexts)
{
    const std::vector<std::string> pieces = {" ",  "/",  " > ",      ">",        "\\",
                                             "a",  "Z",  "\xC3\xA9", "\xD0\x96", "  ",
                                             "//", " >", "> ",       "0",        "-"};
    std::mt19937 rng(20261206);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(1, 8);
    auto randomText = [&] {
        std::string s;
        for (int n = length(rng); n > 0; --n)
            s += pieces[pick(rng)];
        return s;
    };
    for (int round = 0; round < 2000; ++round) {
        const std::string a = randomText(), b = randomText();
        const auto built = buildTaskEntry("07:00", "Cast", fieldsOf({{0, a}, {1, b}}), true);
        ASSERT_TRUE(built.ok());
        const auto parts = hw::splitEntry(built.entry);
        ASSERT_EQ(parts.time, "07:00");
        ASSERT_EQ(parts.action, "Cast");
        const auto values = hw::splitOptions(parts.options);
        ASSERT_EQ(values.size(), 2u) << built.entry;
        EXPECT_EQ(values[0], "\"" + a + "\"");
        EXPECT_EQ(values[1], "\"" + b + "\"");

        const auto cell = buildTaskEntry("07:00", "Position in Cell",
                                         fieldsOf({{0, a}, {2, "1"}, {3, "-2"}}), false);
        const auto cellValues = hw::splitOptions(hw::splitEntry(cell.entry).options);
        ASSERT_EQ(cellValues.size(), 3u) << cell.entry;
        EXPECT_EQ(cellValues[0], "\"" + a + "\"");
    }
}

TEST(TribunalQuestion, quotesTheActionAndOffersYesToAll)
{
    EXPECT_EQ(hw::tribunalQuestion("Equip"),
              "\"Equip\" is a Tribunal function. Do you still want to add it?\r\n"
              "Cancel is \"Yes to All\"");
}

} // namespace
