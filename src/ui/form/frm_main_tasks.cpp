// The task list: Add Task, Remove Task and Delete, loading an entry into the
// form with a double-click and putting it back with Replace Task.
#include "ui/form/frm_main.hpp"

#include "model/catalogue.hpp"
#include "model/entry_line.hpp"
#include "model/task_entry.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/edit_history.hpp"
#include "ui/form/list_box.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

namespace hw {

void frmMain::tell(const char *caption, const QString &text)
{
    m_prompts.tell(this, QString::fromUtf8(caption), text);
}

// The entry that the form's choices make, after the Tribunal question and
// Add Task's checks; nothing when the author said No or a check refused it.
std::optional<QString> frmMain::formEntry()
{
    FormControls &c = m_controls;
    const std::string action = c.cmbTask->currentText().toStdString();
    if (isTribunalAction(action) && !blnYesToAll) {
        const PromptAnswer answer = m_prompts.ask(this, QString::fromUtf8(kProgramTitle),
                                                  QString::fromStdString(tribunalQuestion(action)),
                                                  PromptButtons::YesYesToAllNo, PromptAnswer::Yes);
        if (answer == PromptAnswer::No)
            return std::nullopt;
        // No more questions until the program ends.
        if (answer == PromptAnswer::YesToAll)
            blnYesToAll = true;
    }
    OptionFields fields;
    for (std::size_t n = 0; n < fields.size(); ++n)
        fields[n] = {c.optionFields[n]->isEnabled(), c.optionFields[n]->text().toStdString()};
    const EntryResult result =
        buildTaskEntry(c.cmbTime->currentText().toStdString(), action, fields, blnOption1Text);
    if (!result.ok()) {
        tell(kApplicationTitle, QString::fromUtf8(refusalMessage(*result.refusal)));
        return std::nullopt;
    }
    return QString::fromStdString(result.entry);
}

void frmMain::cmdAdd_Click()
{
    if (const auto entry = formEntry())
        m_history->changeTasks(QStringLiteral("Add Task"),
                               sortedEdit(m_controls.lstTasks->texts(), {}, {*entry}));
}

void frmMain::removeSelected(const QString &step)
{
    FormControls &c = m_controls;
    QList<int> rows;
    for (int row = 0; row < c.lstTasks->count(); ++row)
        if (c.lstTasks->item(row)->isSelected())
            rows.append(row);
    m_history->changeTasks(step, sortedEdit(c.lstTasks->texts(), rows, {}));
}

void frmMain::cmdRemove_Click()
{
    removeSelected(QStringLiteral("Remove Task"));
}

void frmMain::lstTasks_Delete()
{
    removeSelected(QStringLiteral("Delete"));
}

void frmMain::lstTasks_DblClick()
{
    FormControls &c = m_controls;
    // The line that was double-clicked, whatever else is selected.
    const int row = c.lstTasks->currentRow();
    if (row < 0)
        return;
    const auto read = entryFields(c.lstTasks->item(row)->text().toStdString());
    if (!read) {
        // Only an entry of the task list's own form can be put into the form.
        QApplication::beep();
        return;
    }
    c.cmbTime->setCurrentIndex(c.cmbTime->findText(QString::fromStdString(read->time)));
    // Lays the fields out for the action, unless it is chosen already.
    c.cmbTask->setCurrentIndex(c.cmbTask->findText(QString::fromUtf8(read->action->name)));
    for (std::size_t n = 0; n < read->fields.size(); ++n) {
        if (!read->fields[n].enabled)
            continue;
        // The entry's own text, not the start of an id to complete.
        const QSignalBlocker block(c.optionFields[n]);
        c.optionFields[n]->setText(QString::fromStdString(read->fields[n].text));
    }
}

bool frmMain::canReplaceTask() const
{
    return m_controls.lstTasks->selectedItems().size() == 1;
}

void frmMain::replaceTask()
{
    FormControls &c = m_controls;
    if (!canReplaceTask())
        return;
    const int row = c.lstTasks->row(c.lstTasks->selectedItems().front());
    const auto entry = formEntry();
    if (!entry || *entry == c.lstTasks->item(row)->text())
        return;
    // The new entry stays selected, to be changed and replaced again.
    m_history->changeTasks(QStringLiteral("Replace Task"),
                           sortedEdit(c.lstTasks->texts(), {row}, {*entry}), true);
}

void frmMain::setNpcName(const QString &text)
{
    if (m_controls.txtName->currentText() == text)
        return;
    // The change handler takes the flag away as it passes over the completion.
    blnNoComplete = true;
    m_controls.txtName->setEditText(text);
}

} // namespace hw
