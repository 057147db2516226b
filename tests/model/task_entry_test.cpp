#include "model/entry_line.hpp"
#include "model/task_entry.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using hw::buildTaskEntry;

// Seven catalogue names, so that a Tribunal name that no longer matches its
// action is noticed; only the whole name counts.
TEST(Catalogue, asksForTribunalOnlyForItsSevenActions)
{
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
    using R = hw::EntryRefusal;
    // fields, option 1 a text, the entry ("" when refused), the refusal and its field
    const std::tuple<hw::OptionFields, bool, const char *, std::optional<R>, int> cases[] = {
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
    int row = 0;
    for (const auto &[fields, option1Text, entry, refusal, field] : cases) {
        SCOPED_TRACE(testing::Message() << "row " << row++);
        const auto built = buildTaskEntry("06:00", "Any", fields, option1Text);
        EXPECT_EQ(std::tie(built.entry, built.refusal, built.field),
                  std::tie(entry, refusal, field));
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
        {"06:00 > Wand", "!unknown action \"Wand\""},
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
    // Echoes are cut after 80 characters, never inside one.
    EXPECT_EQ(hw::quotedForMessage(std::string(79, 'a') + "\xC3\xA9\t"),
              '"' + std::string(79, 'a') + "\xC3\xA9\"...");
}

// An entry loaded back into the fields gives the same entry through Add Task: texts without
// their quotes (and with the separators they may hold), numbers as stored.
TEST(EntryFields, giveTheEntryBackThroughAddTaskForEveryAction)
{
    for (const hw::Action &action : hw::actionCatalogue()) {
        SCOPED_TRACE(action.name);
        hw::OptionFields typed;
        for (const hw::OptionSpec &spec : action.options)
            typed[static_cast<std::size_t>(spec.field)] = {
                true, hw::isTextField(spec.field, action.textFlag) ? "v\\a/b > c" : "-1.5"};
        const hw::EntryResult entry =
            hw::buildTaskEntry("13:00", action.name, typed, action.textFlag);
        ASSERT_TRUE(entry.ok());
        const auto read = hw::entryFields(entry.entry);
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(read->time, "13:00");
        EXPECT_EQ(read->action, &action);
        for (std::size_t n = 0; n < typed.size(); ++n) {
            EXPECT_EQ(read->fields[n].enabled, typed[n].enabled) << n;
            EXPECT_EQ(read->fields[n].text, typed[n].text) << n;
        }
    }
    for (const char *junk : {"06:00 > Fly", "24:00 > Appear", "06:00 > Travel > 1/2",
                             "06:00 > Attack > guard", "06:00 > Face > 1/x"})
        EXPECT_FALSE(hw::entryFields(junk).has_value()) << junk;
}

} // namespace
