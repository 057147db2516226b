// What the rest of the window sees of the form: its task list, NPC name and
// switches as a value, the selected entries, the script and the Load button.
#include "ui/form/frm_main.hpp"

#include "model/task_list.hpp"
#include "ui/form/list_box.hpp"
#include "ui/form/script_box.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace hw {

TaskListFile frmMain::taskList() const
{
    const FormControls &c = m_controls;
    TaskListFile list;
    list.npcId = c.txtName->currentText().toStdString();
    list.global = c.chkGlobal->isChecked();
    list.equality = c.chkEqual->isChecked();
    list.visibility = c.chkLOS->isChecked();
    list.entries.reserve(static_cast<std::size_t>(c.lstTasks->count()));
    for (int row = 0; row < c.lstTasks->count(); ++row)
        list.entries.push_back(c.lstTasks->item(row)->text().toStdString());
    return list;
}

bool frmMain::holds(const TaskListFile &list) const
{
    const FormControls &c = m_controls;
    if (c.chkGlobal->isChecked() != list.global || c.chkEqual->isChecked() != list.equality ||
        c.chkLOS->isChecked() != list.visibility ||
        static_cast<std::size_t>(c.lstTasks->count()) != list.entries.size() ||
        c.txtName->currentText().toStdString() != list.npcId)
        return false;
    for (int row = 0; row < c.lstTasks->count(); ++row)
        if (c.lstTasks->item(row)->text().toStdString() !=
            list.entries[static_cast<std::size_t>(row)])
            return false;
    return true;
}

void frmMain::showTaskList(const TaskListFile &list)
{
    const FormControls &c = m_controls;
    // A hand-made file may hold its entries in any order; the list keeps its own.
    std::vector<std::string> entries = list.entries;
    sortEntries(entries);
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string &entry : entries)
        rows.append(QString::fromStdString(entry));
    c.lstTasks->clear();
    c.lstTasks->addItems(rows);
    {
        // The id is the file's, not the start of a name to complete.
        const QSignalBlocker block(c.txtName->lineEdit());
        c.txtName->setEditText(QString::fromStdString(list.npcId));
    }
    c.chkGlobal->setChecked(list.global);
    c.chkEqual->setChecked(list.equality);
    c.chkLOS->setChecked(list.visibility);
}

QString frmMain::npcName() const
{
    return m_controls.txtName->currentText();
}

void frmMain::focusNpcName()
{
    m_controls.txtName->setFocus(Qt::OtherFocusReason);
    m_controls.txtName->lineEdit()->selectAll();
}

void frmMain::setLoadEnabled(bool enabled)
{
    m_controls.loadButton->setEnabled(enabled);
}

bool frmMain::isEntrySelected(int row) const
{
    return m_controls.lstTasks->item(row)->isSelected();
}

void frmMain::selectEntries(int first, int end)
{
    ListBox *list = m_controls.lstTasks;
    list->clearSelection();
    for (int row = first; row < end; ++row)
        list->item(row)->setSelected(true);
    list->setCurrentRow(first, QItemSelectionModel::NoUpdate);
    list->scrollToItem(list->item(first));
}

bool frmMain::selectEntry(const QString &entry)
{
    ListBox *tasks = m_controls.lstTasks;
    for (int row = 0; row < tasks->count(); ++row) {
        if (tasks->item(row)->text() != entry)
            continue;
        // The entry alone is selected, as a click on it would leave it.
        tasks->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
        tasks->scrollToItem(tasks->item(row));
        return true;
    }
    return false;
}

QString frmMain::scriptText() const
{
    return m_controls.txtScript->scriptText();
}

void frmMain::clearScript()
{
    m_controls.txtScript->setScriptText({});
}

void frmMain::connectStateSignals()
{
    const FormControls &c = m_controls;
    QAbstractItemModel *tasks = c.lstTasks->model();
    const auto entries = [this] { emit entriesChanged(); };
    connect(tasks, &QAbstractItemModel::rowsInserted, this, entries);
    connect(tasks, &QAbstractItemModel::rowsRemoved, this, entries);
    connect(tasks, &QAbstractItemModel::rowsMoved, this, entries);
    connect(tasks, &QAbstractItemModel::modelReset, this, entries);
    connect(tasks, &QAbstractItemModel::dataChanged, this, entries);
    connect(c.lstTasks, &QListWidget::itemSelectionChanged, this, &frmMain::selectionChanged);
    connect(c.txtName->lineEdit(), &QLineEdit::textChanged, this, &frmMain::npcNameChanged);
    for (QCheckBox *box : {c.chkGlobal, c.chkEqual, c.chkLOS})
        connect(box, &QCheckBox::toggled, this, &frmMain::switchesChanged);
}

} // namespace hw
