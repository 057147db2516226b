// The notes on a generated schedule: the status bar's count, the panel under the form (F8),
// copying, the double-click, and the script that notes never change.
#include "game_fixture.hpp"

#include "ui/document/recent_files.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/game/notes_panel.hpp"

#include <QClipboard>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QToolButton>

#include <functional>

namespace {

using namespace hw::test;

// Time, action, and the texts of its fields.
using Task = std::tuple<const char *, const char *, std::vector<const char *>>;

// Loads the game (unless `load` is false), types the NPC, adds `tasks`, presses Generate.
void generate(GameWindow &w, const char *npc, const std::vector<Task> &tasks, bool load = true)
{
    w.configure({"firemoth.esm", "MQE_MainQuestEnhancers.esp"});
    if (load)
        w.loadGameData();
    for (const auto &[time, action, texts] : tasks)
        Window::addTaskTo(w.form, time, action, texts);
    controls(w.form).txtName->setEditText(QString::fromUtf8(npc));
    QTest::mouseClick(controls(w.form).cmdGenerate[0], Qt::LeftButton);
}

QStringList notes(const GameWindow &w)
{
    QStringList lines;
    const QListWidget *list = w.game.notesPanel().list();
    for (int row = 0; row < list->count(); ++row)
        lines.append(list->item(row)->text());
    return lines;
}

QString counted(int notes)
{
    return notes == 0 ? "No notes" : notes == 1 ? "1 note" : QString::number(notes) + " notes";
}

// The notes on when the commands run come with the game data and without it;
// the checks against the game come before them.
TEST(Notes, countTheChecksOfTheGeneratedScheduleAndNeverChangeTheScript)
{
    // A name; the NPC; the tasks; the count of notes with the game loaded and
    // without it; a text that each note holds, in order.
    const std::string addItem7 =
        "Add Item at 07:00 runs once an hour from 00:00 to 07:00 (8 times a day)";
    // clang-format off
    const std::tuple<const char *, const char *, std::vector<Task>, int, int, std::vector<std::string>> cases[] = {
        {"Clean", "fm_aronil", {{"06:00", "Follow", {"fm_mara"}}, {"07:00", "Add Item", {"fm_keep_key", "1"}},
         {"23:00", "Wander", {}}}, 0, 0, {}},
        {"MisspeltItem", "fm_aronil", {{"07:00", "Add Item", {"fm_keep_kye", "1"}}}, 3, 2,
         {"07:00 > Add Item > \"fm_keep_kye\"/1: Item ID \"fm_keep_kye\" is not an item in the loaded game "
          "data. Did you mean \"fm_keep_key\"", addItem7, "from 08:00 to 23:59 the NPC keeps what it was last told"}},
        {"MisspeltCell", "fm_aronil", {{"08:00", "Position in Cell", {"Firemoth, Gret Hall", "1", "2", "3", "0"}},
         {"09:00", "Attack", {"fm_mara"}}}, 2, 1,
         {"\"Firemoth, Gret Hall\" is not a cell or region", "\"Firemoth, Great Hall\"", "from 10:00 to 23:59"}},
        {"PlacedTwice", "_MQE_preacher_city", {{"06:00", "Wander", {}}}, 2, 1,
         {"\"_MQE_preacher_city\" is placed 4 times ("}},
        {"SeveralNotes", "fm_jhanir", {{"10:00", "Follow", {"fm_marra"}}}, 3, 1,
         {"is not placed in any cell", "10:00 > Follow > \"fm_marra\"/"}},
    };
    // clang-format on
    for (const auto &[name, npc, tasks, loaded, unloaded, parts] : cases) {
        SCOPED_TRACE(name);
        // One after the other: each sets its own configuration folder.
        QString script;
        {
            GameWindow w;
            generate(w, npc, tasks, false);
            script = controls(w.form).txtScript->toPlainText();
            EXPECT_EQ(w.game.notesButton().text(), counted(unloaded) + "; no game data loaded");
            EXPECT_EQ(notes(w).size(), unloaded);
        }
        GameWindow w;
        generate(w, npc, tasks);
        EXPECT_EQ(w.game.notesButton().text(), counted(loaded));
        EXPECT_EQ(w.game.notesPanel().windowTitle(), "Notes: " + counted(loaded));
        const QStringList lines = notes(w);
        ASSERT_EQ(lines.size(), loaded);
        qsizetype from = 0;
        for (const auto &part : parts) {
            const qsizetype at = lines.join('\n').indexOf(QString::fromStdString(part), from);
            EXPECT_GE(at, from) << lines.join('\n').toStdString() << "\n  lacks " << part;
            from = std::max(from, at);
        }
        // Notes never change the script.
        EXPECT_FALSE(script.isEmpty());
        EXPECT_EQ(controls(w.form).txtScript->toPlainText(), script);
    }
}

TEST(Notes, openUnderTheFormWithF8ToBeCopiedAndLeadToTheirEntries)
{
    GameWindow w;
    generate(w, "fm_jhanir",
             {{"06:00", "Follow", {"fm_marra"}}, {"07:00", "Add Item", {"fm_keep_kye", "2"}}});
    const int height = w.window.height();
    const QRect form = w.form.geometry();
    const QRect frame = w.window.frameGeometry();
    ASSERT_FALSE(w.game.notesPanel().isVisible());

    QTest::keyClick(&w.window, Qt::Key_F8);
    QListWidget *list = w.game.notesPanel().list();
    EXPECT_TRUE(w.game.notesPanel().isVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->hasFocus(); }));
    // The form keeps its place; the window grows downwards by the panel.
    EXPECT_EQ(w.form.geometry(), form);
    EXPECT_TRUE(QTest::qWaitFor([&] { return w.window.height() > height + 50; }));
    EXPECT_GE(w.game.notesPanel().y(), form.bottom());
    // It moves up as far as it must to end on the screen, and no further.
    const QRect room = w.window.screen()->availableGeometry();
    const int top = std::max(
        room.top(), std::min(frame.top(), room.bottom() + 1 - w.window.frameGeometry().height()));
    EXPECT_EQ(w.window.frameGeometry().top(), top);

    // Ctrl+A, Ctrl+C: every note, one per line.
    QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), notes(w).join('\n'));
    ASSERT_EQ(notes(w).size(), 4);

    // The note on the second entry selects it, and only it, in the task list.
    hw::ListBox *tasks = controls(w.form).lstTasks;
    tasks->selectAll();
    QListWidgetItem *note = list->item(2);
    const QPoint at = list->visualItemRect(note).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tasks->selectedItems().size(), 2); // a click only selects the note
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(tasks->selectedItems().size(), 1);
    EXPECT_EQ(tasks->currentRow(), 1);
    EXPECT_TRUE(note->text().startsWith(tasks->currentItem()->text() + ": "));

    // Generate From Selection checks the selected entry alone; the central
    // script is not checked at all.
    QTest::mouseClick(controls(w.form).cmdGenerate[1], Qt::LeftButton);
    EXPECT_EQ(w.game.notesButton().text(), "4 notes");
    EXPECT_TRUE(notes(w).at(1).startsWith(tasks->currentItem()->text() + ": Item ID"));
    QTest::mouseClick(controls(w.form).cmdGenerate[2], Qt::LeftButton);
    EXPECT_EQ(w.game.notesButton().text(), "4 notes");

    // Esc closes the panel; the status bar's button opens it again.
    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(w.game.notesPanel().isVisible());
    QTest::mouseClick(&w.game.notesButton(), Qt::LeftButton);
    EXPECT_TRUE(w.game.notesPanel().isVisible());
}

TEST(Notes, goWithTheScriptWhenNewOrAnOpenPutsAnotherListInTheWindow)
{
    // The command, and whether it puts another list in the window.
    using Command = std::function<void(GameWindow &)>;
    const std::tuple<const char *, Command, bool> commands[] = {
        {"New", [](GameWindow &w) { w.window.menu().newList->trigger(); }, true},
        {"Open", [](GameWindow &w) { w.window.menu().open->trigger(); }, true},
        {"OpenRecent",
         [](GameWindow &w) { w.window.menu().openRecent->actions().value(0)->trigger(); }, true},
        {"OpenMissing",
         [](GameWindow &w) { w.window.document().openFile(w.home.filePath("missing.hwtasks")); },
         false},
    };
    for (const auto &[name, command, replaces] : commands) {
        SCOPED_TRACE(name);
        GameWindow w;
        const QString atStart = w.game.notesPanel().windowTitle();
        const QString list = w.home.filePath("other.hwtasks");
        std::ofstream(hw::toFilesystemPath(list)) << "; NPC: other\n07:00 > Appear\n";
        hw::RecentFiles::add(list);
        w.window.document().updateRecentMenu();
        generate(w, "fm_aronil", {{"07:00", "Add Item", {"fm_keep_kye", "1"}}});
        const QStringList made = notes(w);
        const QString count = w.game.notesButton().text();
        ASSERT_FALSE(made.isEmpty());
        const QString script = controls(w.form).txtScript->scriptText();
        w.prompts.answers = {hw::PromptAnswer::Discard};
        w.prompts.files = {list};
        command(w);
        EXPECT_EQ(controls(w.form).txtScript->scriptText(), replaces ? QString() : script);
        EXPECT_EQ(notes(w), replaces ? QStringList() : made);
        EXPECT_EQ(w.game.notesButton().text(), replaces ? QString() : count);
        EXPECT_EQ(w.game.notesButton().isEnabled(), !replaces);
        EXPECT_EQ(w.game.notesPanel().windowTitle() == atStart, replaces);
    }
}

} // namespace
