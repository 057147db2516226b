// The Edit menu: Undo and Redo over every change of the task list, the NPC name and the
// switches; loading an entry into the form and Replace Task.
#include "window_fixture.hpp"

#include "ui/document/task_list_document.hpp"
#include "ui/form/edit_history.hpp"
#include "ui/shell/main_window.hpp"

#include <QAction>
#include <QClipboard>
#include <QUndoStack>

namespace {

using hw::PromptAnswer;
using namespace hw::test;

struct EditWindow
{
    ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    hw::frmMain &form = main.form();
    const hw::MainMenu &menu = main.menu();
    const Controls c = controls(form);
    QTemporaryDir folder;

    EditWindow() { showActive(main); }

    // The NPC name, the switches and the entries: what a task-list file keeps.
    QString state() const
    {
        return c.txtName->currentText() + '|' + (c.chkLOS->isChecked() ? 'V' : '-') +
            (c.chkGlobal->isChecked() ? 'G' : '-') + (c.chkEqual->isChecked() ? 'E' : '-') + '|' +
            c.lstTasks->texts().join('|');
    }
    QString selected() const
    {
        QStringList texts;
        for (const QListWidgetItem *item : c.lstTasks->selectedItems())
            texts.append(item->text());
        return texts.join('|');
    }
    void add(const char *time, const char *action, const std::vector<const char *> &texts = {})
    {
        Window::addTaskTo(form, time, action, texts);
    }
    void select(std::initializer_list<int> rows)
    {
        c.lstTasks->clearSelection();
        for (int row : rows)
            c.lstTasks->setCurrentRow(row, QItemSelectionModel::Select);
    }
    void doubleClick(int row)
    {
        const QPoint at = c.lstTasks->visualItemRect(c.lstTasks->item(row)).center();
        QTest::mouseClick(c.lstTasks->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(c.lstTasks->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST(Undo, takesBackEveryChangeOneStepAtATimeNamedInTheMenuRedoesItAndStartsAfreshWithNewAndOpen)
{
    EditWindow w;
    const Controls &c = w.c;
    EXPECT_FALSE(w.menu.undo->isEnabled() || w.menu.redo->isEnabled());
    EXPECT_EQ(w.menu.undo->text(), "&Undo");
    const auto click = [](QWidget *control) { QTest::mouseClick(control, Qt::LeftButton); };
    // Each change, and the name Undo gives it.
    // clang-format off
    const std::pair<std::function<void()>, QString> steps[] = {
        {[&] { w.add("05:00", "Appear"); }, "Add Task"},
        {[&] { w.add("03:00", "Attack", {"a"}); }, "Add Task"},
        {[&] { w.add("03:00", "Attack", {"A"}); }, "Add Task"}, // after "a", equal but for case
        {[&] { w.add("07:00", "Attack", {"b"}); }, "Add Task"},
        {[&] { w.add("09:00", "Disappear"); }, "Add Task"},
        {[&] { c.txtName->setFocus(); typeKeys(c.txtName, "Town"); }, "Change NPC Name"},
        {[&] { click(c.chkGlobal); }, "Global On"},
        {[&] { click(c.chkEqual); }, "Test for Complete Equality On"},
        {[&] { click(c.chkLOS); }, "Check Visibility Off"},
        // "03:00 a": an undo must put it back before "03:00 A".
        {[&] { w.select({0}); click(c.cmdRemove); }, "Remove Task"},
        {[&] { w.select({2, 3}); QTest::keyClick(c.lstTasks, Qt::Key_Delete); }, "Delete"},
        {[&] { QGuiApplication::clipboard()->setText("04:00 > Appear\n01:00 > Appear\n04:00 > appear");
               QTest::keyClick(c.lstTasks, Qt::Key_V, Qt::ControlModifier); }, "Paste"},
        {[&] { w.doubleClick(4); // 05:00 > Appear
               Window::pick(c.cmbTime, "06:00");
               w.menu.replaceTask->trigger(); }, "Replace Task"},
        {[&] { click(c.chkGlobal); }, "Global Off"},
    };
    // clang-format on
    QStringList states {w.state()};
    for (const auto &[step, name] : steps) {
        step();
        states.append(w.state());
        EXPECT_EQ(w.menu.undo->text(), "&Undo " + name);
    }
    EXPECT_EQ(states.last(),
              "Town|--E|01:00 > Appear|03:00 > Attack > \"A\"|04:00 > Appear|"
              "04:00 > Appear|06:00 > Appear");
    const int count = static_cast<int>(std::size(steps));
    for (int at = count; at > 0; --at) {
        SCOPED_TRACE(at);
        w.menu.undo->trigger();
        EXPECT_EQ(w.state(), states[at - 1]);
        EXPECT_EQ(w.menu.redo->text(), "&Redo " + steps[at - 1].second);
    }
    EXPECT_FALSE(w.menu.undo->isEnabled());
    EXPECT_FALSE(w.main.isWindowModified());
    for (int at = 1; at <= count; ++at) {
        SCOPED_TRACE(at);
        w.menu.redo->trigger();
        EXPECT_EQ(w.state(), states[at]);
    }
    EXPECT_FALSE(w.menu.redo->isEnabled());
    // Undo and redo select the entries they put back.
    w.menu.undo->trigger();
    w.menu.undo->trigger();
    EXPECT_EQ(w.selected(), "05:00 > Appear");
    w.menu.redo->trigger();
    EXPECT_EQ(w.selected(), "06:00 > Appear");

    // The saved state counts as clean: a change undone after a save leaves the list unchanged.
    QUndoStack &stack = w.form.history().stack();
    w.add("05:00", "Appear");
    const QString path = w.folder.filePath("a.hwtasks");
    w.prompts.savePaths = {path};
    w.menu.saveAs->trigger();
    EXPECT_TRUE(stack.isClean());
    w.add("06:00", "Appear");
    EXPECT_TRUE(w.main.isWindowModified());
    w.menu.undo->trigger();
    EXPECT_TRUE(stack.isClean());
    EXPECT_FALSE(w.main.isWindowModified());
    // New and Open start the history afresh.
    for (const bool open : {false, true}) {
        w.add("07:00", "Appear");
        w.prompts.answers = {PromptAnswer::Discard};
        if (open)
            w.main.document().openFile(path);
        else
            w.menu.newList->trigger();
        EXPECT_FALSE(w.menu.undo->isEnabled()) << open;
        EXPECT_FALSE(w.menu.redo->isEnabled()) << open;
    }
}

TEST(Undo, takesTypingInTheNameBoxCompletionIncludedAsOneStepPerVisitAndItsOwnKeys)
{
    EditWindow w;
    QLineEdit *edit = w.c.txtName->lineEdit();
    const QString names = w.folder.filePath("names.esp");
    std::ofstream(hw::toFilesystemPath(names), std::ios::binary) << npcs({"Town Guard"});
    w.form.loadNpcNames({names});
    w.c.txtName->setFocus();
    typeKeys(w.c.txtName, "to");
    ASSERT_EQ(edit->text(), "town Guard");
    w.c.cmbTime->setFocus(); // leaving the box ends the step
    w.c.txtName->setFocus();
    typeKeys(w.c.txtName, "\1x");
    ASSERT_EQ(edit->text(), "xtown Guard");
    EXPECT_EQ(w.form.history().stack().count(), 2);
    // Taken back and redone with the keys in the box itself, not by the box's own undo.
    constexpr auto ctrl = Qt::ControlModifier;
    // clang-format off
    const std::pair<QKeyCombination, const char *> keys[] = {
        {ctrl | Qt::Key_Z, "town Guard"}, {ctrl | Qt::Key_Z, ""},
        {ctrl | Qt::Key_Z, ""}, // nothing more to undo
        {ctrl | Qt::Key_Y, "town Guard"}, {ctrl | Qt::ShiftModifier | Qt::Key_Z, "xtown Guard"},
    };
    // clang-format on
    for (const auto &[key, text] : keys) {
        QTest::keyClick(edit, key.key(), key.keyboardModifiers());
        EXPECT_EQ(edit->text(), text);
    }
    // Typing that ends where it began leaves no step, and what follows is not joined to the
    // step before it.
    typeKeys(w.c.txtName, "y\b");
    EXPECT_EQ(w.form.history().stack().count(), 2);
    typeKeys(w.c.txtName, "z");
    EXPECT_EQ(w.form.history().stack().count(), 3);
}

TEST(ReplaceTask, loadsAnEntryIntoTheFormAndPutsTheChangedOneInItsPlace)
{
    EditWindow w;
    hw::frmMain &form = w.form;
    const Controls &c = w.c;
    w.add("12:00", "Say", {"vo\\a/b > c.mp3", "Hi"});
    w.add("06:00", "Travel", {"1", "2", "3"});
    c.lstTasks->addSorted("08:00 > Play Animation > \"Idl\"");
    auto fields = [&] {
        return c.cmbTime->currentText() + ' ' + c.cmbTask->currentText() + ' ' +
            Window::optionTextsOf(form);
    };
    // A double-click, or Enter, loads time, action and values; texts without their quotes,
    // and never completed into a longer id ("Idl" is the start of "Idle").
    // clang-format off
    const std::tuple<int, bool, const char *> loads[] = {
        {2, true, "12:00 Say vo\\a/b > c.mp3/Hi"}, {0, false, "06:00 Travel 1/2/3"},
        {1, true, "08:00 Play Animation Idl"},
    };
    // clang-format on
    for (const auto &[row, mouse, loaded] : loads) {
        if (mouse) {
            w.doubleClick(row);
        } else {
            w.select({row});
            QTest::keyClick(c.lstTasks, Qt::Key_Return);
        }
        EXPECT_EQ(fields(), loaded);
    }
    const QString before = w.state();
    w.select({0});
    QTest::keyClick(c.lstTasks, Qt::Key_Return);
    c.txtOption[4]->setText("5");
    QTest::keyClick(c.lstTasks, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(w.state(), QString(before).replace("> 1/2/3|", "> 1/2/5|"));
    EXPECT_EQ(w.selected(), "06:00 > Travel > 1/2/5"); // to be changed again

    // One selected entry only; a refused entry changes nothing.
    w.select({0, 1});
    EXPECT_FALSE(w.menu.replaceTask->isEnabled());
    form.replaceTask();
    w.select({2});
    EXPECT_TRUE(w.menu.replaceTask->isEnabled());
    QTest::keyClick(c.lstTasks, Qt::Key_Return);
    c.txtOption[0]->clear();
    form.replaceTask();
    EXPECT_EQ(w.prompts.asked, QStringList {"HourWright|Required field not filled!"});
    EXPECT_EQ(w.state(), QString(before).replace("> 1/2/3|", "> 1/2/5|"));
}

} // namespace
