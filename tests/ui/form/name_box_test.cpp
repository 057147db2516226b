// The NPC name box: the Load button (dialog, clear question, names added), its list's
// width and the completion of names typed with key events.
#include "window_fixture.hpp"

#include <QAbstractItemView>
#include <QScreen>

#include <algorithm>

namespace {

using hw::PromptAnswer;
using hw::test::controls;
using hw::test::npcs;
using hw::test::Window;
using hw::test::WindowTest;

const char kKept[] = "The NPC list was left as it was.";
const char kAdded[] = "The ids found were added to the NPC list.";
const std::string kWhole = npcs({"b", "a", "c"});

// A name; the bytes loaded after a file with the ids D, b (or "<missing>", "<cancel>"); the
// answer; the list and the box's text ("typed" before) after; the note on the list, if any.
// clang-format off
const std::tuple<const char *, std::string, PromptAnswer, const char *, const char *, const char *> kLoads[] = {
    {"Cancel", "<cancel>", PromptAnswer::Yes, "b,D", "typed", ""},
    // Of ids equal but for case, the older entries stay in front.
    {"No", npcs({"c", "a", "e", "d", "B"}), PromptAnswer::No, "a,b,B,c,D,d,e", "typed", ""},
    {"Yes", npcs({"c", "a", "e"}), PromptAnswer::Yes, "a,c,e", "", ""},
    {"SameFileTwice", npcs({"D", "b"}), PromptAnswer::No, "b,b,D,D", "typed", ""},
    {"NoNpcRecordsAfterYes", hw::test::headerRecord(), PromptAnswer::Yes, "", "", ""},
    // An empty id is no NPC and no row; it does not hide the ids behind it.
    {"EmptyFirstId", npcs({"", "a"}), PromptAnswer::No, "a,b,D", "typed", ""},
    // A file that gives no ids (which ones do is the reader's, tested with it)
    // leaves the list as it was, after Yes too.
    {"Unreadable", "<missing>", PromptAnswer::Yes, "b,D", "typed", kKept},
    {"TextFile", "Hello, world\n", PromptAnswer::Yes, "b,D", "typed", kKept},
    // A truncated file gives the ids before the cut; without any, the list stays.
    {"Truncated", kWhole.substr(0, kWhole.size() - 10), PromptAnswer::Yes, "a,b", "", kAdded},
    {"TruncatedWithoutIds", kWhole.substr(0, 100), PromptAnswer::Yes, "b,D", "typed", kKept},
};
// clang-format on

TEST(Load, clearsOnlyOnYesAfterAScanThatWorkedAndAddsTheIdsInOrder)
{
    for (const auto &[name, bytes, answer, list, text, note] : kLoads) {
        SCOPED_TRACE(name);
        Window w;
        w.load(w.plugin("first.esm", npcs({"D", "b"})));
        controls(w.window).txtName->setEditText("typed");
        const QString path = bytes == "<cancel>" ? QString()
            : bytes == "<missing>"               ? w.folder.filePath("missing.esp")
                                                 : w.plugin("second.esp", bytes);
        w.load(path, answer);
        EXPECT_EQ(w.names(), list);
        EXPECT_EQ(controls(w.window).txtName->currentText(), text);
        EXPECT_EQ(
            w.prompts.dialogs.value(1),
            hw::fromFilesystemPath(w.window.dataFolder()) +
                "|Elder Scrolls Master File (*.ESM);;Elder Scrolls Plugin File (*.ESP);;"
                "OpenMW Addon File (*.omwaddon);;OpenMW Game File (*.omwgame);;All files (*)");
        // The first file went into an empty list, with nothing to clear; a cancel asks nothing.
        QStringList asked(path.isEmpty() ? 0 : 1, hw::test::kClear);
        EXPECT_TRUE(path.isEmpty() || w.prompts.defaults.at(0) == PromptAnswer::Yes);
        const QString message = w.prompts.asked.value(1);
        if (*note)
            asked.append(message);
        EXPECT_EQ(w.prompts.asked, asked);
        // What went wrong in plain words, the note, then the detail as a paragraph of its own.
        EXPECT_TRUE(!*note ||
                    (message.startsWith("HourWright|The file \"" + path + "\" ") &&
                     message.contains(QStringLiteral(". ") + note + "\n\n")))
            << message.toStdString();
    }
}

TEST_F(WindowTest, addingNamesLeavesTheTextItsSelectionAndTheChosenEntryAlone)
{
    QLineEdit *edit = controls(window).txtName->lineEdit();
    // Completed by a change of the text; a load makes none.
    QTest::keyClicks(controls(window).txtName, "fa");
    edit->setSelection(2, -1);
    // Through the slot: a click on the button would take the focus, and with it the selection.
    prompts.files.push_back(plugin("a.esp", npcs({"fargoth", "Fa"})));
    prompts.answers = {PromptAnswer::No};
    window.loadButton_Click();
    EXPECT_EQ(controls(window).txtName->currentText(), "fa");
    EXPECT_EQ(controls(window).txtName->currentIndex(), -1);
    EXPECT_EQ(edit->selectedText(), "a");
    EXPECT_EQ(edit->cursorPosition(), 1);

    controls(window).txtName->setCurrentIndex(1); // fargoth, picked from the list
    load(plugin("b.esp", npcs({"a", "z", "FARGOTH"})));
    EXPECT_EQ(names(), "a,Fa,fargoth,FARGOTH,z");
    EXPECT_EQ(controls(window).txtName->currentIndex(), 2);
    EXPECT_EQ(controls(window).txtName->currentText(), "fargoth");
}

TEST_F(WindowTest, theListOpensAsWideAsItsWidestIdUpToTheWidthOfTheScreen)
{
    // The widest id is not the longest.
    const std::string wide(30, 'W'), screenWide(1000, 'W');
    load(plugin("a.esp", npcs({std::string(40, 'i'), wide, "b"})));
    QAbstractItemView *list = controls(window).txtName->view();
    for (const std::string &widest : {wide, screenWide}) {
        load(plugin("b.esp", npcs({widest})));
        controls(window).txtName->showPopup();
        const int text = list->fontMetrics().horizontalAdvance(QString::fromStdString(widest));
        const int screen = window.screen()->availableGeometry().width();
        EXPECT_GE(list->viewport()->width(), std::min(text, screen - 50));
        EXPECT_LE(list->window()->width(), screen);
        controls(window).txtName->hidePopup();
    }
}

// A name; the list; the keys (as typeKeys takes them); the box's text afterwards, where its
// selection starts (the caret when nothing is selected) and how long it is.
using TypingCase =
    std::tuple<const char *, std::vector<std::string>, const char *, const char *, int, int>;

const std::vector<std::string> kFive = {"ab", "ac", "xa", "xb", "xc"};

// clang-format off
const TypingCase kTyping[] = {
    {"FirstEntry", kFive, "a", "ab", 1, 1}, {"TypingOverTheSuggestion", kFive, "ac", "ac", 2, 0},
    {"NoEntryBeginsWithIt", kFive, "b", "b", 1, 0},
    // A first letter late in the alphabet still finds an entry early in the list.
    {"WholeListSearched", {"pa", "qa", "xa", "xb", "xc"}, "p", "pa", 1, 1},
    {"TypedCaseKept", {"abc"}, "AB", "ABc", 2, 1}, {"EqualButForCase", {"abc"}, "ABC", "ABC", 3, 0},
    {"BeyondAscii", {"dres", "\xC9lise"}, "\xE9l", "\xE9lise", 2, 3}, // Windows-1252
    // Backspace and Delete take a suggestion away without bringing it back.
    {"BackspaceRemovesSuggestion", {"abc"}, "a\b", "a", 1, 0}, {"TypeAfterBackspace", {"abc"}, "a\bb", "abc", 2, 1},
    {"DeleteRemovesSuggestion", {"abc"}, "ab\177", "ab", 2, 0}, {"ToEmptyThenType", {"abc"}, "ab\b\b\ba", "abc", 1, 2},
    // Typing in the middle completes from the whole text; the selection runs on from the caret.
    {"TypingInTheMiddle", {"xaby"}, "ab\1x", "xaby", 1, 3},
    {"SignsMatchOnlyThemselves", {"a?c", "a[b", "abc"}, "a[", "a[b", 2, 1},
};
// clang-format on

TEST(Completion, completesWithTheFirstEntryAndSelectsFromTheCaretToTheEnd)
{
    for (const auto &[name, list, keys, text, selectionStart, selectionLength] : kTyping) {
        SCOPED_TRACE(name);
        Window w;
        w.load(w.plugin("names.esp", npcs(list)));
        controls(w.window).txtName->setFocus();
        hw::test::typeKeys(controls(w.window).txtName, keys);
        const QLineEdit &edit = *controls(w.window).txtName->lineEdit();
        EXPECT_EQ(edit.text(), QString::fromLatin1(text));
        EXPECT_EQ(edit.selectionLength(), selectionLength);
        EXPECT_EQ(edit.cursorPosition(), selectionStart + selectionLength);
    }
}

// The entries that complete the name box's text, listed under it, or "closed".
QString candidates(const hw::frmMain &form)
{
    const auto *list =
        controls(form).txtName->lineEdit()->findChild<QAbstractItemView *>("lstCandidates");
    if (!list || !list->isVisible())
        return QStringLiteral("closed");
    QStringList rows;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        rows.append(list->model()->index(row, 0).data().toString());
    return rows.join(',');
}

TEST(Completion, listsTheEntriesThatBeginWithTheTextAndTakesOneWithDownUpAndEnter)
{
    // The keys (as typeKeys takes them: \16 Down, \20 Up, \n Enter, \33 Escape); the text and
    // its selected part after; the list under the box; the tasks that Enter added.
    const char *const all = "fa,Faras,Fargoth,fargoth_2";
    // clang-format off
    const std::tuple<const char *, const char *, const char *, const char *, int> cases[] = {
        {"fa", "fa", "", all, 0}, {"far", "faras", "as", "Faras,Fargoth,fargoth_2", 0},
        {"far\16", "fargoth", "goth", "Faras,Fargoth,fargoth_2", 0},
        {"far\16\20", "faras", "as", "Faras,Fargoth,fargoth_2", 0},
        {"far\16\16\n", "fargoth_2", "", "closed", 0}, {"far\16\n", "Fargoth", "", "closed", 0},
        {"far\n\n", "Faras", "", "closed", 1}, {"far\33", "faras", "as", "closed", 0},
        {"far\16g", "fargoth", "oth", "Fargoth,fargoth_2", 0},
        {"farg\b", "farg", "", "closed", 0}, {"farg\bo", "fargoth", "th", "Fargoth,fargoth_2", 0},
        {"x", "x", "", "closed", 0},
    };
    // clang-format on
    for (const auto &[keys, text, selected, list, added] : cases) {
        SCOPED_TRACE(keys);
        Window w;
        w.load(w.plugin("names.esp", npcs({"Fargoth", "fargoth_2", "Faras", "Dralas", "fa", "G"})));
        w.pick(controls(w.window).cmbTask, "Appear");
        controls(w.window).txtName->setFocus();
        hw::test::typeKeys(controls(w.window).txtName, keys);
        const QLineEdit &edit = *controls(w.window).txtName->lineEdit();
        EXPECT_EQ(edit.text(), QString::fromLatin1(text));
        EXPECT_EQ(edit.selectedText(), QString::fromLatin1(selected));
        EXPECT_EQ(candidates(w.window), QString::fromLatin1(list));
        EXPECT_EQ(controls(w.window).lstTasks->count(), added);
        hw::test::typeKeys(controls(w.window).txtName, "\33");
    }
    // Text set by the program, with the focus elsewhere, opens no list.
    Window w;
    w.load(w.plugin("names.esp", npcs({"Fargoth"})));
    controls(w.window).lstTasks->setFocus();
    controls(w.window).txtName->setEditText(QStringLiteral("f"));
    EXPECT_EQ(controls(w.window).txtName->currentText(), QStringLiteral("fargoth"));
    EXPECT_EQ(candidates(w.window), QStringLiteral("closed"));
    // Names added while the list is open move the ids it borrowed: it closes.
    controls(w.window).txtName->clearEditText();
    controls(w.window).txtName->setFocus();
    hw::test::typeKeys(controls(w.window).txtName, "f");
    EXPECT_EQ(candidates(w.window), QStringLiteral("Fargoth"));
    w.prompts.files = {w.plugin("more.esp", npcs({"fa"}))};
    w.prompts.answers = {PromptAnswer::No};
    w.window.loadButton_Click();
    EXPECT_EQ(candidates(w.window), QStringLiteral("closed"));
}

// A long list holds its first 500 entries and a last line that cannot be taken.
TEST_F(WindowTest, aLongListOfCompletionsEndsWithHowManyMoreThereAre)
{
    std::vector<std::string> ids;
    for (int n = 0; n < 620; ++n)
        ids.push_back(QStringLiteral("n%1").arg(n, 3, 10, QLatin1Char('0')).toStdString());
    load(plugin("many.esp", npcs(ids)));
    controls(window).txtName->setFocus();
    hw::test::typeKeys(controls(window).txtName, "n");
    auto *list =
        controls(window).txtName->lineEdit()->findChild<QAbstractItemView *>("lstCandidates");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->model()->rowCount(), 501);
    const QModelIndex more = list->model()->index(500, 0);
    EXPECT_EQ(more.data().toString(), QStringLiteral("…and 120 more: type on to narrow the list"));
    list->scrollTo(more);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(more).center());
    EXPECT_TRUE(list->isVisible());
    list->setCurrentIndex(list->model()->index(499, 0));
    hw::test::typeKeys(controls(window).txtName, "\16\n");
    EXPECT_EQ(controls(window).txtName->currentText(), QStringLiteral("n499"));
}

} // namespace
