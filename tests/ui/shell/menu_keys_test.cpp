// Menu keys that a text box would take for itself: Write to Plugin's Ctrl+E
// wherever the focus is, Edit › Undo only in the name box.
#include "form_controls.hpp"
#include "window_fixture.hpp"

#include "ui/form/edit_history.hpp"
#include "ui/shell/main_window.hpp"

#include <QUndoStack>

namespace {

// Asks for every key before any menu sees it, as a line edit does for the
// keys it binds (on X11, Ctrl+E moves to the end of the line).
class GreedyBox : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QLineEdit::event(event);
    }
};

TEST(MenuKeys, winOverATextBoxOnlyWhereTheyAreClaimed)
{
    hw::test::ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    auto *greedy = new GreedyBox(&main.form());
    hw::test::showActive(main);
    hw::test::Window::addTaskTo(main.form(), "06:00", "Start Running", {});
    QUndoStack &history = main.form().history().stack();
    ASSERT_EQ(history.index(), 1);
    main.form().setNpcName("Town Guard");
    const int named = history.index();

    // The control, the key, then whether the plugin dialog opened and how far
    // the history stands after.
    const struct
    {
        const char *what;
        QWidget *control;
        QKeyCombination key;
        qsizetype dialogs;
        int index;
    } rows[] = {
        {"Ctrl+E in a box that wants it", greedy, Qt::ControlModifier | Qt::Key_E, 1, named},
        {"Ctrl+E in the name box", hw::test::controls(main.form()).txtName->lineEdit(),
         Qt::ControlModifier | Qt::Key_E, 2, named},
        {"Ctrl+Z in a box of its own", greedy, Qt::ControlModifier | Qt::Key_Z, 2, named},
        {"Ctrl+Z in the name box", hw::test::controls(main.form()).txtName->lineEdit(),
         Qt::ControlModifier | Qt::Key_Z, 2, named - 1},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        row.control->setFocus();
        QTest::keyClick(row.control, row.key.key(), row.key.keyboardModifiers());
        EXPECT_EQ(prompts.saveDialogs.size(), row.dialogs);
        EXPECT_EQ(history.index(), row.index);
    }
}

} // namespace
