#include "ui/document/task_list_io.hpp"

#include "data/text_file.hpp"
#include "model/task_list.hpp"
#include "ui/base/file_path.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/form/list_box.hpp"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSaveFile>
#include <QSettings>
#include <QSignalBlocker>
#include <QStandardPaths>

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
    list.visibility = form.chkLOS->isChecked();
    list.entries.reserve(static_cast<std::size_t>(form.lstTasks->count()));
    for (int row = 0; row < form.lstTasks->count(); ++row)
        list.entries.push_back(form.lstTasks->item(row)->text().toStdString());
    return list;
}

bool formHolds(const frmMain &form, const TaskListFile &list)
{
    if (form.chkGlobal->isChecked() != list.global || form.chkEqual->isChecked() != list.equality ||
        form.chkLOS->isChecked() != list.visibility ||
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
    form.chkLOS->setChecked(list.visibility);
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
    // The new file would take the place of a pipe or a device (/dev/full,
    // say) under its name, and a folder is no file to replace.
    const QFileInfo target(path);
    if (target.exists() && !target.isFile())
        return target.isDir() ? QStringLiteral("It is a folder, not a file.")
                              : QStringLiteral("It is not a plain file (a pipe or a device, say), "
                                               "so it is not replaced.");
    QSaveFile file(path);
    // Unbuffered: a buffered QSaveFile loses the failure of its last flush and
    // puts a cut file in place of the old one (a full disk, Qt 6.4). Written
    // straight through, every failed write is seen, and commit() refuses.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    // A short write says nothing; the write of the rest gives the reason.
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += written;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}

QString rememberedFolder(const char *key)
{
    const QString remembered = QSettings().value(QLatin1String(key)).toString();
    if (!remembered.isEmpty() && QFileInfo(remembered).isDir())
        return remembered;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // The documents folder may be named and not exist; a dialog would then
    // offer its name as the file's.
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

} // namespace hw
