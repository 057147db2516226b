#include "ui/document/task_list_io.hpp"

#include "data/text_file.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/task_list_problem.hpp"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

namespace hw {

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
