// The NPC name box: the Load button (the dialog, the clear question, the scan
// and the names added, from plugin files written here), the list's model and
// the completion of names typed with key events as the author types.
#include "window_fixture.hpp"

#include "model/caseless.hpp"
#include "ui/name_list_model.hpp"

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include <algorithm>
#include <random>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::npcs;
using hw::test::WindowTest;

const QString kQuestion =
    QStringLiteral("HourWright|Do you want to clear the NPC list before adding the new names?");

struct LoadCase
{
    const char *name;
    std::string bytes; // of the file loaded after one with the ids D, b; "<missing>", "<cancel>"
    PromptAnswer answer;
    const char *names; // the list afterwards
    const char *text; // the box's text afterwards ("typed" before)
    std::string message; // after "HourWright|The file "PATH" ", if any
};

class Load : public WindowTest, public ::testing::WithParamInterface<LoadCase>
{
};

TEST_P(Load, clearsOnlyOnYesAfterAScanThatWorkedAndAddsTheIdsInOrder)
{
    const LoadCase &c = GetParam();
    load(plugin("first.esm", npcs({"D", "b"})));
    window.txtName->setEditText("typed");
    const QString path = c.bytes == "<cancel>" ? QString()
        : c.bytes == "<missing>"               ? folder.filePath("missing.esp")
                                               : plugin("second.esp", c.bytes);
    load(path, c.answer);
    EXPECT_EQ(names(), c.names);
    EXPECT_EQ(window.txtName->currentText(), c.text);
    EXPECT_EQ(prompts.dialogs.value(1),
              hw::fromFilesystemPath(window.dataFolder()) +
                  "|Elder Scrolls Master File (*.ESM);;Elder Scrolls Plugin File (*.ESP)");
    EXPECT_EQ(prompts.defaults.at(0), PromptAnswer::Yes);
    QStringList expected(path.isEmpty() ? 1 : 2, kQuestion); // a cancel asks nothing
    if (!c.message.empty())
        expected.append("HourWright|The file \"" + path + "\" " +
                        QString::fromStdString(c.message));
    EXPECT_EQ(prompts.asked, expected);
    EXPECT_EQ(prompts.buttons.back(), c.message.empty() ? PromptButtons::YesNo : PromptButtons::Ok);
}

const std::string kWhole = npcs({"b", "a", "c"});

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Load, ::testing::Values(
    LoadCase {"Cancel", "<cancel>", PromptAnswer::Yes, "b,D", "typed", ""},
    // Of ids equal but for case, the older entries stay in front.
    LoadCase {"No", npcs({"c", "a", "e", "d", "B"}), PromptAnswer::No, "a,b,B,c,D,d,e", "typed", ""},
    LoadCase {"Yes", npcs({"c", "a", "e"}), PromptAnswer::Yes, "a,c,e", "", ""},
    LoadCase {"SameFileTwice", npcs({"D", "b"}), PromptAnswer::No, "b,b,D,D", "typed", ""},
    LoadCase {"NoNpcRecordsAfterYes", hw::test::headerRecord(), PromptAnswer::Yes, "", "", ""},
    // An empty first id does not hide the ids behind it.
    LoadCase {"EmptyFirstId", npcs({"", "a"}), PromptAnswer::No, ",a,b,D", "typed", ""},
    // A damaged or unreadable file leaves the list as it was, after Yes too.
    LoadCase {"MalformedAfterYes", npcs({"x"}) + hw::test::record("CELL", "", -5) + npcs({"y"}),
              PromptAnswer::Yes, "b,D", "typed", "is damaged at offset 0x216: the record \"CELL\" at "
              "offset 0x216 has a negative data size (-5). 1 NPC id was found before it. The NPC "
              "list was left as it was."},
    LoadCase {"UnreadableAfterYes", "<missing>", PromptAnswer::Yes, "b,D", "typed",
              "cannot be opened: No such file or directory. The NPC list was left as it was."},
    // A truncated file gives the ids before the cut.
    LoadCase {"TruncatedAfterYes", kWhole.substr(0, kWhole.size() - 10), PromptAnswer::Yes, "a,b", "",
              "ends early at offset 0x36C: the record \"NPC_\" at offset 0x2C6 says it holds 160 "
              "bytes of data, but only 150 follow its header. 2 NPC ids were found before it. The "
              "ids found were added to the NPC list."}),
    [](const auto &row) { return std::string(row.param.name); });
// clang-format on

TEST_F(WindowTest, realPluginsGiveTheirIdsInCaselessOrderEqualOnesInTheOrderOfAdding)
{
    const QDir plugins(QStringLiteral(HW_TEST_PLUGINS));
    std::vector<std::string> expected;
    for (const char *name : {"Welcome_to_the_Arena_v6.7.esp", "D2Items.esp", "firemoth.esm"}) {
        std::ifstream ids(hw::toFilesystemPath(plugins.filePath(QString::fromUtf8(name) + ".ids")));
        ASSERT_TRUE(ids) << name;
        for (std::string id; std::getline(ids, id);)
            if (!id.empty())
                expected.push_back(id);
        load(plugins.filePath(QString::fromUtf8(name)));
    }
    std::stable_sort(expected.begin(), expected.end(), hw::caselessLess);
    QStringList all;
    for (const std::string &id : expected)
        all.append(QString::fromStdString(id));
    EXPECT_EQ(names(), all.join(','));
}

TEST_F(WindowTest, addingNamesLeavesTheTextItsSelectionAndTheChosenEntryAlone)
{
    QLineEdit *edit = window.txtName->lineEdit();
    QTest::keyClicks(window.txtName, "fa"); // completed by a change of the text; a load makes none
    edit->setSelection(2, -1);
    // Through the slot: a click on the button would take the focus, and with it the selection.
    prompts.files.push_back(plugin("a.esp", npcs({"fargoth", "Fa"})));
    prompts.answers = {PromptAnswer::No};
    window.Command1_Click();
    EXPECT_EQ(window.txtName->currentText(), "fa");
    EXPECT_EQ(window.txtName->currentIndex(), -1);
    EXPECT_EQ(edit->selectedText(), "a");
    EXPECT_EQ(edit->cursorPosition(), 1);

    window.txtName->setCurrentIndex(1); // fargoth, picked from the list
    load(plugin("b.esp", npcs({"a", "z", "FARGOTH"})));
    EXPECT_EQ(names(), "a,Fa,fargoth,FARGOTH,z");
    EXPECT_EQ(window.txtName->currentIndex(), 2);
    EXPECT_EQ(window.txtName->currentText(), "fargoth");
}

TEST(NameListModel, everyEntryKeepsItsPersistentIndexAndItsOrderThroughEachLoad)
{
    hw::NameListModel model;
    // Any inconsistency in the model's signals ends the program.
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    std::mt19937 random(3);
    for (int load = 0; load < 30; ++load) {
        std::vector<std::pair<QPersistentModelIndex, QString>> kept;
        for (int row = 0; row < model.rowCount(); ++row)
            kept.emplace_back(model.index(row), model.index(row).data().toString());
        std::vector<std::string> ids;
        for (auto n = random() % 12; n > 0; --n)
            ids.push_back(std::string("aAbB_").substr(random() % 5, random() % 3));
        model.add(std::move(ids));
        for (std::size_t i = 0; i < kept.size(); ++i) {
            ASSERT_TRUE(kept[i].first.isValid()) << load;
            EXPECT_EQ(kept[i].first.data().toString(), kept[i].second) << load;
            // Equal entries too keep their order among themselves.
            EXPECT_TRUE(i == 0 || kept[i - 1].first.row() < kept[i].first.row()) << load;
        }
        if (load % 10 == 9)
            model.clear();
    }
}

struct TypingCase
{
    const char *name;
    std::vector<std::string> list;
    // Latin-1 characters, typed as a keyboard that has them sends them;
    // \b presses Backspace, \177 Delete and \1 Home.
    const char *keys;
    const char *text; // the box's text afterwards
    int selectionStart; // the caret when nothing is selected
    int selectionLength;
};

class Completion : public WindowTest, public ::testing::WithParamInterface<TypingCase>
{
};

TEST_P(Completion, completesWithTheFirstEntryAndSelectsFromTheCaretToTheEnd)
{
    const TypingCase &c = GetParam();
    load(plugin("names.esp", npcs(c.list)));
    window.txtName->setFocus();
    for (const char *key = c.keys; *key; ++key) {
        const QChar letter(static_cast<unsigned char>(*key));
        if (*key == '\b' || *key == '\177' || *key == '\1')
            QTest::keyClick(window.txtName,
                            *key == '\b'       ? Qt::Key_Backspace
                                : *key == '\1' ? Qt::Key_Home
                                               : Qt::Key_Delete);
        else
            QTest::sendKeyEvent(QTest::Click, window.txtName,
                                static_cast<Qt::Key>(letter.toUpper().unicode()), letter,
                                Qt::NoModifier);
    }
    const QLineEdit &edit = *window.txtName->lineEdit();
    EXPECT_EQ(window.txtName->currentText(), QString::fromLatin1(c.text));
    EXPECT_EQ(edit.selectionLength(), c.selectionLength);
    EXPECT_EQ(edit.cursorPosition(), c.selectionStart + c.selectionLength);
}

const std::vector<std::string> kFive = {"ab", "ac", "xa", "xb", "xc"};
const std::vector<std::string> kSigns = {"a?c", "a[b", "abc"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Completion, ::testing::Values(
    TypingCase {"FirstEntry", kFive, "a", "ab", 1, 1},
    TypingCase {"TypingOverTheSuggestion", kFive, "ac", "ac", 2, 0},
    TypingCase {"NoEntryBeginsWithIt", kFive, "b", "b", 1, 0},
    // A first letter late in the alphabet still finds an entry early in the list.
    TypingCase {"WholeListSearched", {"pa", "qa", "xa", "xb", "xc"}, "p", "pa", 1, 1},
    TypingCase {"TypedCaseKept", {"abc"}, "AB", "ABc", 2, 1},
    TypingCase {"EqualButForCase", {"abc"}, "ABC", "ABC", 3, 0},
    TypingCase {"BeyondAscii", {"dres", "\xC9lise"}, "\xE9l", "\xE9lise", 2, 3}, // Windows-1252
    // Backspace and Delete take a suggestion away without bringing it back.
    TypingCase {"BackspaceRemovesTheSuggestion", {"abc"}, "a\b", "a", 1, 0},
    TypingCase {"TypingAfterBackspaceCompletes", {"abc"}, "a\bb", "abc", 2, 1},
    TypingCase {"DeleteRemovesTheSuggestion", {"abc"}, "ab\177", "ab", 2, 0},
    TypingCase {"BackspaceToEmptyThenType", {"abc"}, "ab\b\b\ba", "abc", 1, 2},
    // Typing in the middle completes from the whole text; the selection runs
    // from the caret over the rest.
    TypingCase {"TypingInTheMiddle", {"xaby"}, "ab\1x", "xaby", 1, 3},
    TypingCase {"QuestionMark", kSigns, "a?", "a?c", 2, 1},
    TypingCase {"Bracket", kSigns, "a[", "a[b", 2, 1}),
    [](const auto &row) { return std::string(row.param.name); });
// clang-format on

} // namespace
