#pragma once

#include "model/task_list_file.hpp"

#include <QString>

class QByteArray;

namespace hw {

/// A task-list file read whole, or why it cannot be opened.
struct OpenedTaskList
{
    TaskListFile list;
    /// What stopped it, in words for the author ("Line 7: unknown action
    /// "Fly"", "It is a folder, not a file"); empty when it was read.
    QString problem;

    bool ok() const { return problem.isEmpty(); }
};

/// Reads the task-list file at `path`: only a regular file of at most
/// kTaskListFileLimit bytes (a pipe or a device is never waited on), taken
/// whole by readTaskList or not at all.
OpenedTaskList readTaskListFile(const QString &path);

/// Writes `bytes` to `path` in one piece: into a new file beside it that then
/// takes its name (QSaveFile), so that a failure at any point leaves the file
/// as it was. Only a plain file is replaced (a folder, a pipe or a device
/// never). Returns the reason for a failure, or an empty text.
QString writeWhole(const QString &path, const QByteArray &bytes);

/// The folder a file dialog starts in: the one the settings keep under `key`
/// while it exists, else the user's documents folder if it exists, else the
/// home folder.
QString rememberedFolder(const char *key);

} // namespace hw
