// The NPC name box: the Load button (dialog, clear question, names added) and its list's width.
#include "window_fixture.hpp"

#include <QAbstractItemView>
#include <QScreen>

namespace {

using hw::PromptAnswer;
using namespace hw::test;

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
    {"NoNpcRecordsAfterYes", headerRecord(), PromptAnswer::Yes, "", "", ""},
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
        QStringList asked(path.isEmpty() ? 0 : 1, kClear);
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

} // namespace
