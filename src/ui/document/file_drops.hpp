#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

namespace hw {

/// The files a drag carries, sorted by what the window does with them.
struct DroppedFiles
{
    enum class Kind {
        NoFiles, ///< no files at all (dragged text, say): none of the window's business
        TaskList, ///< one task-list file (.hwtasks)
        Plugins, ///< one or more of the game's files, of any kind that pluginKinds() lists
        Refused, ///< files, but not one task list nor only plugins
    };
    Kind kind = Kind::NoFiles;
    QStringList paths;
};

/// Sorts the files of `data` by their extensions, letter case ignored.
DroppedFiles droppedFiles(const QMimeData *data);

/// Takes files dropped anywhere on `window`, on its controls too (whose own
/// handling would paste a file's name as text): a task list goes to
/// `openList`, plugins to `loadPlugins`, and any other file is refused
/// quietly. The commands run after the drop has ended, so that their
/// questions do not keep the program the files came from waiting.
class FileDrops : public QObject
{
    Q_OBJECT
public:
    FileDrops(QWidget &window, std::function<void(const QString &)> openList,
              std::function<void(const QStringList &)> loadPlugins);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    std::function<void(const QString &)> m_openList;
    std::function<void(const QStringList &)> m_loadPlugins;
};

} // namespace hw
