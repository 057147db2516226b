#include "ui/document/task_list_document.hpp"

#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"
#include "ui/document/recent_files.hpp"
#include "ui/document/task_list_io.hpp"
#include "ui/form/edit_history.hpp"
#include "ui/form/frm_main.hpp"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>
#include <QUndoStack>

namespace hw {

namespace {

const char kFilter[] = "HourWright task lists (*.hwtasks);;All files (*)";
const char kFolderKey[] = "taskListFolder";
const char kSaveQuestion[] = "Save changes to the task list?";

// A file name made of the NPC id: characters that some system does not allow
// in names become "_".
QString fileStem(const QString &npcId)
{
    QString stem = npcId.trimmed();
    for (QChar &c : stem)
        if (!c.isLetterOrNumber() && c != QLatin1Char(' ') && c != QLatin1Char('-') &&
            c != QLatin1Char('_'))
            c = QLatin1Char('_');
    return stem.isEmpty() ? QStringLiteral("tasks") : stem;
}

// A plugin's path as the document keeps it: absolute, without "." or "..".
QString pluginPath(const QString &path)
{
    return path.isEmpty() ? path : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// How the recent menu shows a path: the home folder as "~" where that is the custom.
QString shownPath(const QString &path)
{
#ifndef _WIN32
    const QString home = QDir::homePath() + QLatin1Char('/');
    if (path.startsWith(home))
        return QStringLiteral("~/") + path.mid(home.size());
#endif
    return QDir::toNativeSeparators(path);
}

} // namespace

TaskListDocument::TaskListDocument(QWidget &window, frmMain &form, Prompts &prompts,
                                   QMenu &recentMenu)
    : QObject(&window)
    , m_window(window)
    , m_form(form)
    , m_prompts(prompts)
    , m_recentMenu(recentMenu)
    , m_saved(form.taskList())
{
    const auto changed = [this] { updateModified(); };
    connect(&form, &frmMain::entriesChanged, this, changed);
    connect(&form, &frmMain::npcNameChanged, this, changed);
    connect(&form, &frmMain::switchesChanged, this, changed);
    updateTitle();
    updateRecentMenu();
}

bool TaskListDocument::modified() const
{
    return !m_form.holds(m_saved) || m_plugin != m_savedPlugin;
}

void TaskListDocument::updateModified()
{
    m_window.setWindowModified(modified());
}

TaskListFile TaskListDocument::taskList() const
{
    return m_form.taskList();
}

void TaskListDocument::setPlugin(const QString &plugin)
{
    m_plugin = pluginPath(plugin);
    updateModified();
}

void TaskListDocument::updateTitle()
{
    QString title = QStringLiteral("Hour Wright");
    if (!m_path.isEmpty()) {
        // A literal "[*]" in a name would be taken for the unsaved mark's place.
        const QString name =
            QFileInfo(m_path).fileName().replace(QLatin1String("[*]"), QLatin1String("[*][*]"));
        title += QStringLiteral(" — ") + name;
    }
    m_window.setWindowTitle(title + QLatin1String("[*]"));
}

void TaskListDocument::tell(const QString &text)
{
    m_prompts.tell(&m_window, QString::fromUtf8(kApplicationTitle), text);
}

QString TaskListDocument::folder() const
{
    if (!m_path.isEmpty())
        return QFileInfo(m_path).absolutePath();
    return rememberedFolder(kFolderKey);
}

QString TaskListDocument::proposedPath() const
{
    if (!m_path.isEmpty())
        return m_path;
    return QDir(folder()).filePath(fileStem(m_form.npcName()) + QLatin1String(".hwtasks"));
}

bool TaskListDocument::maybeSave()
{
    if (!modified())
        return true;
    switch (m_prompts.ask(&m_window, QString::fromUtf8(kApplicationTitle),
                          QString::fromUtf8(kSaveQuestion), PromptButtons::SaveDiscardCancel,
                          PromptAnswer::Save)) {
    case PromptAnswer::Save:
        return save();
    case PromptAnswer::Discard:
        return true;
    default:
        return false;
    }
}

void TaskListDocument::took(const QString &path, TaskListFile list)
{
    m_form.history().stack().setClean();
    m_path = QFileInfo(path).absoluteFilePath();
    m_saved = std::move(list);
    m_savedPlugin = m_plugin;
    updateModified();
    updateTitle();
    QSettings().setValue(QLatin1String(kFolderKey), QFileInfo(m_path).absolutePath());
    RecentFiles::add(m_path);
    updateRecentMenu();
}

void TaskListDocument::newList()
{
    if (!maybeSave())
        return;
    m_form.showTaskList({});
    m_form.history().clear();
    m_path.clear();
    m_plugin.clear();
    m_savedPlugin.clear();
    m_saved = m_form.taskList();
    updateModified();
    updateTitle();
    emit listReplaced();
}

void TaskListDocument::open()
{
    const QString chosen = m_prompts.openFile(&m_window, folder(), QString::fromUtf8(kFilter));
    if (!chosen.isEmpty())
        openFile(chosen);
}

bool TaskListDocument::openFile(const QString &path)
{
    // Read before the question: a file that cannot be opened costs no decision.
    OpenedTaskList opened = readTaskListFile(path);
    const int saves = m_saves;
    if (opened.ok()) {
        if (!maybeSave())
            return false;
        // Saved just now, perhaps to this very file: what it holds now counts.
        if (m_saves != saves)
            opened = readTaskListFile(path);
    }
    if (!opened.ok()) {
        tell(QStringLiteral("Cannot open the task list %1.\n\n")
                 .arg(quotedPath(QFileInfo(path).absoluteFilePath())) +
             opened.problem);
        return false;
    }
    m_form.showTaskList(opened.list);
    // Undo never reaches back into the list before.
    m_form.history().clear();
    m_plugin = pluginPath(fromFilesystemPath(
        listPlugin(opened.list, toFilesystemPath(QFileInfo(path).absoluteFilePath()))));
    took(path, m_form.taskList());
    emit listReplaced();
    return true;
}

void TaskListDocument::openRecent(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        RecentFiles::remove(path);
        updateRecentMenu();
        tell(QStringLiteral("The task list %1 is no longer there; it was taken off the recent "
                            "files.")
                 .arg(quotedPath(path)));
        return;
    }
    openFile(path);
}

bool TaskListDocument::save()
{
    return m_path.isEmpty() ? saveAs() : writeTo(m_path);
}

bool TaskListDocument::saveAs()
{
    // What cannot be written is said before a file is chosen.
    if (const TaskListText text = writeTaskList(m_form.taskList()); !text.ok()) {
        tellUnwritable(text);
        return false;
    }
    const QString filter = QString::fromUtf8(kFilter);
    QString type = filter.section(QLatin1String(";;"), 0, 0);
    const QString chosen = m_prompts.saveFile(&m_window, proposedPath(), filter, type);
    return !chosen.isEmpty() && writeTo(chosen);
}

void TaskListDocument::tellUnwritable(const TaskListText &text)
{
    tell(QStringLiteral("Cannot save the task list.\n\n") + QString::fromStdString(text.problem));
}

bool TaskListDocument::writeTo(const QString &path)
{
    TaskListFile list = m_form.taskList();
    if (!m_plugin.isEmpty())
        list.plugin = pluginReference(toFilesystemPath(m_plugin), toFilesystemPath(path));
    const TaskListText text = writeTaskList(list);
    if (!text.ok()) {
        tellUnwritable(text);
        return false;
    }
    const QString reason = writeWhole(path, QByteArray::fromStdString(text.text));
    if (!reason.isEmpty()) {
        tell(QStringLiteral("Cannot save the task list %1.\n\n").arg(quotedPath(path)) + reason);
        return false;
    }
    ++m_saves;
    took(path, std::move(list));
    return true;
}

void TaskListDocument::updateRecentMenu()
{
    // Later, not now: the action that opened a file which is gone is still
    // sending its signal.
    for (QAction *old : m_recentMenu.actions()) {
        m_recentMenu.removeAction(old);
        old->deleteLater();
    }
    const QStringList paths = RecentFiles::paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        QString shown = shownPath(paths[i]);
        QAction *action = m_recentMenu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            shown.replace(QLatin1Char('&'), QLatin1String("&&"))));
        action->setObjectName(QStringLiteral("actRecent%1").arg(i + 1));
        connect(action, &QAction::triggered, this, [this, path = paths[i]] { openRecent(path); });
    }
    m_recentMenu.menuAction()->setEnabled(!paths.isEmpty());
}

} // namespace hw
