#include "ui/task_list_io.hpp"

#include "data/text_file.hpp"
#include "model/task_list.hpp"
#include "ui/file_path.hpp"
#include "ui/frm_main.hpp"
#include "ui/list_box.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSaveFile>
#include <QSignalBlocker>

namespace hw {

namespace {

QString capitalised(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

} // namespace

TaskListFile taskListOf(const frmMain &form)
{
    TaskListFile list;
    list.npcId = form.txtName->currentText().toStdString();
    list.global = form.chkGlobal->isChecked();
    list.equality = form.chkEqual->isChecked();
    list.entries.reserve(static_cast<std::size_t>(form.lstTasks->count()));
    for (int row = 0; row < form.lstTasks->count(); ++row)
        list.entries.push_back(form.lstTasks->item(row)->text().toStdString());
    return list;
}

bool formHolds(const frmMain &form, const TaskListFile &list)
{
    if (form.chkGlobal->isChecked() != list.global ||
        form.chkEqual->isChecked() != list.equality ||
        static_cast<std::size_t>(form.lstTasks->count()) != list.entries.size() ||
        form.txtName->currentText().toStdString() != list.npcId)
        return false;
    for (int row = 0; row < form.lstTasks->count(); ++row)
        if (form.lstTasks->item(row)->text().toStdString() !=
            list.entries[static_cast<std::size_t>(row)])
            return false;
    return true;
}

void showTaskList(frmMain &form, const TaskListFile &list)
{
    // A hand-made file may hold its entries in any order; the list keeps its own.
    std::vector<std::string> entries = list.entries;
    sortEntries(entries);
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (const std::string &entry : entries)
        rows.append(QString::fromStdString(entry));
    form.lstTasks->clear();
    form.lstTasks->addItems(rows);
    {
        // The id is the file's, not the start of a name to complete.
        const QSignalBlocker block(form.txtName->lineEdit());
        form.txtName->setEditText(QString::fromStdString(list.npcId));
    }
    form.chkGlobal->setChecked(list.global);
    form.chkEqual->setChecked(list.equality);
}

OpenedTaskList readTaskListFile(const QString &path)
{
    const TextFile file = readTextFile(toFilesystemPath(path), kTaskListFileLimit);
    if (file.status == TextFile::Status::Missing)
        return {{}, QStringLiteral("It does not exist.")};
    if (file.status == TextFile::Status::Refused)
        return {{}, QStringLiteral("It ") + QString::fromStdString(file.problem)};
    TaskListRead read = readTaskList(file.text);
    if (!read.ok())
        return {{}, readProblem(read)};
    return {std::move(read.list), {}};
}

QString readProblem(const TaskListRead &read)
{
    const QString problem = QString::fromStdString(read.problem);
    return read.line == 0 ? capitalised(problem)
                          : QStringLiteral("Line %1: %2").arg(read.line).arg(problem);
}

QString writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

} // namespace hw
