#pragma once

#include "ui/form/form_controls.hpp"
#include "ui/form/list_edit.hpp"

#include <QObject>
#include <QString>

#include <functional>

class QCheckBox;
class QUndoCommand;
class QUndoStack;

namespace hw {

/// The steps that Edit › Undo and Redo walk: every change of what a task-list
/// file keeps of the window (the task list, the NPC name and the three switches).
/// The task list is changed through changeTasks(); changes of the name and
/// the switches, by the author or the program, are seen as they happen.
/// Typing in the name box, completion included, is one step until something
/// else is done or the box loses the focus.
class EditHistory : public QObject
{
    Q_OBJECT
public:
    /// Watches the name box and the switches among `controls`, as a child of
    /// `form`; a step puts a name back with `setName`, which does not complete it.
    EditHistory(QObject &form, const FormControls &controls,
                std::function<void(const QString &)> setName);

    QUndoStack &stack() const { return *m_stack; }

    /// Makes `edit` in the task list as one step named `text` ("Add Task").
    /// With `selectPutIn`, the entries put in are selected, now and whenever
    /// the step is redone; an undo always selects the entries it brings back.
    void changeTasks(const QString &text, const ListEdit &edit, bool selectPutIn = false);

    /// Forgets every step: the window now holds another list, which is where
    /// the history starts.
    void clear();

    // What the steps do to the window; the changes they make are not steps.
    void applyTasks(const ListEdit &edit, bool forward, bool selectPutIn);
    void setName(const QString &text);
    void setSwitch(QCheckBox *box, bool checked);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void nameChanged();
    void switchToggled(QCheckBox *box, const QString &caption, bool checked);
    void push(QUndoCommand *command, bool typing = false);

    std::function<void(const QString &)> m_setName;
    const FormControls &m_controls;
    QUndoStack *m_stack;
    QString m_name; // the name box's text as the last step left it
    bool m_applying = false; // a step is changing the window
    bool m_pushing = false;
    bool m_typing = false; // the next change of the name joins the last step
};

} // namespace hw
