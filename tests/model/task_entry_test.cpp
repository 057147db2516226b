#include "model/entry_line.hpp"
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

// A line gives the entry Add Task stores for its values, or says what is
// wrong with it in Add Task's words where Add Task would refuse it.
TEST(ReadEntryLine, givesAddTasksEntryOrTheProblem)
{
    const std::string nines(100, '9');
    // clang-format off
    const std::pair<std::string, std::string> cases[] = { // line, entry or "!" and the problem
        {"05:00 > stop SNEAKING", "05:00 > Stop Sneaking"},
        {"06:00 > Wander > 1e3/4/&H10/1 0//-/.5/0e5/007/1D2/-0",
         "06:00 > Wander > 1000/4/16/10/0/0/0.5/0/7/100/0"},
        {R"(07:00 > position in cell > "a/b > c"/1/2/3/4)",
         R"(07:00 > Position in Cell > "a/b > c"/1/2/3/4)"},
        {"24:00 > Appear", "!the time must be 00:00 to 23:00, not \"24:00\""},
        {"06:00", "!missing \" > \" and an action after the time"},
        {"06:00 > Appear ", "!unknown action \"Appear \""},
        {"06:00 > Appear\r", "!unknown action \"Appear\\x0D\""},
        {"06:00 > Appear > 1", "!\"Appear\" takes no options, not 1"},
        {"06:00 > Travel", "!\"Travel\" takes 3 options, not 0"},
        {"06:00 > Face > 1/2x", "!option 2 of \"Face\" (Y) must be a number, not \"2x\""},
        {"06:00 > Face > 1/" + nines + "x",
         "!option 2 of \"Face\" (Y) must be a number, not \"" + nines.substr(0, 80) + "\"..."},
        {"06:00 > Face > 1/1e999", "!option 2 of \"Face\" (Y): Number out of range!"},
        {"06:00 > Attack > guard",
         "!option 1 of \"Attack\" (Target) must be a text in double quotes, not \"guard\""},
        {R"(06:00 > Position in Cell > ""/1/2/3/4)",
         "!option 1 of \"Position in Cell\" (Cell ID): Required field not filled!"},
        {R"(06:00 > Say > "a"/"b"c")",
         "!option 2 of \"Say\" (Subtitles): Text fields cannot contain double quotes!"},
        {"06:00 > Say > \"a\"/\"b\tc\"", "!option 2 of \"Say\" (Subtitles): Text fields cannot "
                                          "contain line breaks or control characters!"},
    };
    // clang-format on
    for (const auto &[line, expected] : cases) {
        const hw::EntryLine read = hw::readEntryLine(line);
        EXPECT_EQ(read.ok() ? read.entry : "!" + read.problem, expected) << line;
    }
}

// Echoes are cut after 80 characters, never inside one.
TEST(ReadEntryLine, quotesCutsAndChecksTheStartOfTheText)
{
    EXPECT_EQ(hw::quotedForMessage(std::string(79, 'a') + "\xC3\xA9\t"),
              '"' + std::string(79, 'a') + "\xC3\xA9\"...");
    const std::tuple<std::string, std::string, bool> starts[] = {
        // text, after, UTF-16
        {"\xEF\xBB\xBF"
         "06:00",
         "06:00", false},
        {"0", "0", false},
        {"\xFF\xFE"
         "0",
         "", true},
        {"\xFE\xFF", "", true},
        {std::string("0\0:", 3), "", true},
        {std::string("\0"
                     "0",
                     2),
         "", true},
    };
    for (auto [text, after, utf16] : starts) {
        std::string_view view = text;
        EXPECT_EQ(hw::takeTextStart(view).has_value(), utf16) << text;
        if (!utf16) {
            EXPECT_EQ(view, after);
        }
    }
}

} // namespace
