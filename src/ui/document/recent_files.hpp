#pragma once

#include <QStringList>

namespace hw {

/// The task-list files opened or saved last, newest first, kept in the
/// program's settings (QSettings) so that they outlast the window.
class RecentFiles
{
public:
    /// The most files the list keeps.
    static constexpr qsizetype kLimit = 8;

    /// The files, newest first.
    static QStringList paths();
    /// Puts `path` at the front, once, and keeps the newest kLimit files.
    static void add(const QString &path);
    /// Takes `path` off the list.
    static void remove(const QString &path);
};

} // namespace hw
