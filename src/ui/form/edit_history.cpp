#include "ui/form/edit_history.hpp"

#include "ui/form/list_box.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QUndoCommand>
#include <QUndoStack>

namespace hw {

namespace {

// Far more steps than an author takes back, few enough that a long session
// does not keep every pasted list in memory.
constexpr int kUndoLimit = 500;

// The first redo() comes from the push, for a change already made, except for
// the task list's, which its step makes.
class TasksStep : public QUndoCommand
{
public:
    TasksStep(EditHistory &history, const QString &text, const ListEdit &edit, bool selectPutIn)
        : QUndoCommand(text)
        , m_history(history)
        , m_edit(edit)
        , m_selectPutIn(selectPutIn)
    { }
    void undo() override { m_history.applyTasks(m_edit, false, true); }
    void redo() override
    {
        m_history.applyTasks(m_edit, true, m_selectPutIn || !m_first);
        m_first = false;
    }

private:
    EditHistory &m_history;
    ListEdit m_edit;
    bool m_selectPutIn;
    bool m_first = true;
};

class NameStep : public QUndoCommand
{
public:
    static constexpr int kId = 1;

    NameStep(EditHistory &history, const QString &before, const QString &after, bool typing)
        : QUndoCommand(QStringLiteral("Change NPC Name"))
        , m_history(history)
        , m_before(before)
        , m_after(after)
        , m_typing(typing)
    { }
    int id() const override { return kId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const NameStep *>(other);
        if (!next->m_typing)
            return false;
        m_after = next->m_after;
        // Typed and taken back again: no step at all.
        setObsolete(m_after == m_before);
        return true;
    }
    void undo() override { m_history.setName(m_before); }
    void redo() override
    {
        if (!m_first)
            m_history.setName(m_after);
        m_first = false;
    }

private:
    EditHistory &m_history;
    QString m_before, m_after;
    bool m_typing;
    bool m_first = true;
};

class SwitchStep : public QUndoCommand
{
public:
    SwitchStep(EditHistory &history, QCheckBox *box, const QString &caption, bool checked)
        : QUndoCommand(caption + (checked ? QStringLiteral(" On") : QStringLiteral(" Off")))
        , m_history(history)
        , m_box(box)
        , m_checked(checked)
    { }
    void undo() override { m_history.setSwitch(m_box, !m_checked); }
    void redo() override
    {
        if (!m_first)
            m_history.setSwitch(m_box, m_checked);
        m_first = false;
    }

private:
    EditHistory &m_history;
    QCheckBox *m_box;
    bool m_checked;
    bool m_first = true;
};

} // namespace

EditHistory::EditHistory(QObject &form, const FormControls &controls,
                         std::function<void(const QString &)> setName)
    : QObject(&form)
    , m_setName(std::move(setName))
    , m_controls(controls)
    , m_stack(new QUndoStack(this))
    , m_name(controls.txtName->currentText())
{
    m_stack->setUndoLimit(kUndoLimit);
    QLineEdit *name = controls.txtName->lineEdit();
    connect(name, &QLineEdit::textChanged, this, &EditHistory::nameChanged);
    // The box has the focus and hands its focus events to its line edit past
    // any filter of the line edit's.
    controls.txtName->installEventFilter(this);
    name->installEventFilter(this);
    const auto watch = [this](QCheckBox *box) {
        // The caption without its access key: "&Global" is "Global".
        const QString caption = box->text().remove(QLatin1Char('&'));
        connect(box, &QCheckBox::toggled, this,
                [this, box, caption](bool checked) { switchToggled(box, caption, checked); });
    };
    watch(controls.chkLOS);
    watch(controls.chkGlobal);
    watch(controls.chkEqual);
    // An undo or a redo ends the typing: what is typed next is a step of its own.
    connect(m_stack, &QUndoStack::indexChanged, this, [this] {
        if (!m_pushing)
            m_typing = false;
    });
}

void EditHistory::push(QUndoCommand *command, bool typing)
{
    const int before = m_stack->index();
    m_pushing = true;
    m_stack->push(command);
    m_pushing = false;
    // Typing that came back to where it began took its step away: what comes
    // next does not join the step before, which was done before the typing.
    m_typing = typing && m_stack->index() >= before;
}

void EditHistory::changeTasks(const QString &text, const ListEdit &edit, bool selectPutIn)
{
    if (!edit.empty())
        push(new TasksStep(*this, text, edit, selectPutIn));
}

void EditHistory::clear()
{
    m_stack->clear();
    m_name = m_controls.txtName->currentText();
    m_typing = false;
}

void EditHistory::applyTasks(const ListEdit &edit, bool forward, bool selectPutIn)
{
    applyEdit(*m_controls.lstTasks, edit, forward, selectPutIn);
}

void EditHistory::setName(const QString &text)
{
    m_applying = true;
    m_setName(text);
    m_applying = false;
    m_name = text;
}

void EditHistory::setSwitch(QCheckBox *box, bool checked)
{
    m_applying = true;
    box->setChecked(checked);
    m_applying = false;
}

void EditHistory::nameChanged()
{
    // The box's text now: completion changes it again while the change that
    // it completes is still being reported, which then comes late.
    const QString text = m_controls.txtName->lineEdit()->text();
    if (text == m_name)
        return;
    const QString before = m_name;
    m_name = text;
    if (!m_applying)
        push(new NameStep(*this, before, text, m_typing), true);
}

void EditHistory::switchToggled(QCheckBox *box, const QString &caption, bool checked)
{
    if (!m_applying)
        push(new SwitchStep(*this, box, caption, checked));
}

bool EditHistory::eventFilter(QObject *watched, QEvent *event)
{
    // Leaving the name box ends the typing; a popup of its own does not.
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
        m_typing = false;
    return QObject::eventFilter(watched, event);
}

} // namespace hw
