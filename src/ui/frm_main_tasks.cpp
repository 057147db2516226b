// The task list: Add Task, Remove Task and the double-click.
#include "ui/frm_main.hpp"

#include "model/catalogue.hpp"
#include "model/task_entry.hpp"
#include "ui/list_box.hpp"
#include "ui/prompts.hpp"

#include <QComboBox>
#include <QLineEdit>

namespace hw {

void frmMain::tell(const char *caption, const QString &text)
{
    m_prompts.tell(this, QString::fromUtf8(caption), text);
}

void frmMain::cmdAdd_Click()
{
    const std::string action = cmbTask->currentText().toStdString();
    if (isTribunalAction(action) && !blnYesToAll) {
        const PromptAnswer answer = m_prompts.ask(this, QString::fromUtf8(kProgramTitle),
                                                  QString::fromStdString(tribunalQuestion(action)),
                                                  PromptButtons::YesNoCancel, PromptAnswer::Yes);
        if (answer == PromptAnswer::No)
            return;
        // Cancel means "Yes to all": no more questions until the program ends.
        if (answer == PromptAnswer::Cancel)
            blnYesToAll = true;
    }
    OptionFields fields;
    for (std::size_t n = 0; n < fields.size(); ++n)
        fields[n] = {txtOption[n]->isEnabled(), txtOption[n]->text().toStdString()};
    const EntryResult result =
        buildTaskEntry(cmbTime->currentText().toStdString(), action, fields, blnOption1Text);
    if (!result.ok()) {
        tell(kApplicationTitle, QString::fromUtf8(refusalMessage(*result.refusal)));
        return;
    }
    lstTasks->addSorted(QString::fromStdString(result.entry));
}

void frmMain::cmdRemove_Click()
{
    // From the bottom up, so that the rows still to be looked at keep their numbers.
    for (int row = lstTasks->count() - 1; row >= 0; --row) {
        if (lstTasks->item(row)->isSelected())
            delete lstTasks->takeItem(row);
    }
}

void frmMain::lstTasks_DblClick()
{
    // Only the line that was double-clicked goes, whatever else is selected.
    const int row = lstTasks->currentRow();
    if (row >= 0)
        delete lstTasks->takeItem(row);
}

} // namespace hw
