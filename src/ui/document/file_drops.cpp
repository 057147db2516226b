#include "ui/document/file_drops.hpp"

#include "plugin/plugin_kinds.hpp"

#include <QApplication>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace hw {

namespace {

bool isTaskList(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("hwtasks"), Qt::CaseInsensitive) == 0;
}

} // namespace

DroppedFiles droppedFiles(const QMimeData *data)
{
    using Kind = DroppedFiles::Kind;
    if (!data || !data->hasUrls())
        return {};
    DroppedFiles files {Kind::Refused, {}};
    bool plugins = true, taskLists = true;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return files;
        const QString path = url.toLocalFile();
        plugins = plugins && pluginKindOf(QFileInfo(path).fileName().toStdString());
        taskLists = taskLists && isTaskList(path);
        files.paths.append(path);
    }
    if (taskLists && files.paths.size() == 1)
        files.kind = Kind::TaskList;
    else if (plugins && !files.paths.isEmpty())
        files.kind = Kind::Plugins;
    return files;
}

FileDrops::FileDrops(QWidget &window, std::function<void(const QString &)> openList,
                     std::function<void(const QStringList &)> loadPlugins)
    : QObject(&window)
    , m_window(window)
    , m_openList(std::move(openList))
    , m_loadPlugins(std::move(loadPlugins))
{
    window.setAcceptDrops(true);
    // Every control of the window may be the one under the mouse.
    qApp->installEventFilter(this);
}

bool FileDrops::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const DroppedFiles files = droppedFiles(drop->mimeData());
    if (files.kind == DroppedFiles::Kind::NoFiles)
        return false;
    if (files.kind == DroppedFiles::Kind::Refused) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (type == QEvent::Drop) {
        QTimer::singleShot(0, this, [this, files] {
            if (files.kind == DroppedFiles::Kind::TaskList)
                m_openList(files.paths.front());
            else
                m_loadPlugins(files.paths);
        });
    }
    return true;
}

} // namespace hw
