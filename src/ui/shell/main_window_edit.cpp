// The Edit menu: Undo and Redo over the form's steps, and Replace Task.
#include "ui/shell/main_window.hpp"

#include "ui/form/edit_history.hpp"
#include "ui/form/frm_main.hpp"

#include <QAction>
#include <QUndoStack>

namespace hw {

namespace {

// "&Undo Add Task": the command and what it would take back or do again.
void follow(QAction *action, const QString &command, const QString &step)
{
    action->setText(step.isEmpty() ? command : command + QLatin1Char(' ') + step);
}

} // namespace

void MainWindow::connectEditMenu()
{
    QUndoStack &stack = m_form->history().stack();
    connect(m_menu.undo, &QAction::triggered, &stack, &QUndoStack::undo);
    connect(m_menu.redo, &QAction::triggered, &stack, &QUndoStack::redo);
    const QString undo = m_menu.undo->text(), redo = m_menu.redo->text();
    connect(&stack, &QUndoStack::canUndoChanged, m_menu.undo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, m_menu.redo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, m_menu.undo,
            [this, undo](const QString &step) { follow(m_menu.undo, undo, step); });
    connect(&stack, &QUndoStack::redoTextChanged, m_menu.redo,
            [this, redo](const QString &step) { follow(m_menu.redo, redo, step); });
    m_menu.undo->setEnabled(stack.canUndo());
    m_menu.redo->setEnabled(stack.canRedo());

    connect(m_menu.replaceTask, &QAction::triggered, m_form, &frmMain::replaceTask);
    const auto updateReplace = [this] { m_menu.replaceTask->setEnabled(m_form->canReplaceTask()); };
    connect(m_form, &frmMain::selectionChanged, this, updateReplace);
    updateReplace();
}

} // namespace hw
