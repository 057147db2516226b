#pragma once

#include "model/task_list_file.hpp"

#include <QObject>
#include <QString>

class QMenu;
class QWidget;

namespace hw {

class Prompts;
class frmMain;

/// The window's task list as a document: the file it was last opened from or
/// saved to, whether the list, the NPC name or a switch has changed since (the
/// window's unsaved mark), and the File menu's commands on it.
class TaskListDocument : public QObject
{
    Q_OBJECT
public:
    /// Keeps the task list of `form`. `window` shows the file's name and the
    /// unsaved mark in its title; `recentMenu` lists the recent files.
    TaskListDocument(QWidget &window, frmMain &form, Prompts &prompts, QMenu &recentMenu);

    /// The file last opened or saved; empty for a list never saved.
    const QString &path() const { return m_path; }

    /// The task list as the window holds it now, saved or not, without its plugin.
    TaskListFile taskList() const;
    /// The plugin the list was last written to, as an absolute path; empty for none.
    const QString &plugin() const { return m_plugin; }
    /// Keeps `plugin` as the list's plugin; another plugin than before is a
    /// change of the list, which the next Save writes into its header (a path
    /// from the list's folder). Not an undo step: the plugin has been written.
    void setPlugin(const QString &plugin);

    /// Asks "Save changes to the task list?" (Save, Discard, Cancel) when the
    /// window differs from what was last opened or saved, or, for a new list,
    /// from an empty window. Returns whether the command that asks may go on:
    /// after a save that succeeded, after Discard, or when nothing changed.
    bool maybeSave();

    /// Reads the task-list file at `path` whole and, if it could be read, asks
    /// about unsaved changes, then puts the list into the window. A file that
    /// cannot be read is named with the reason (and the line at fault), and the
    /// window keeps all it held. Returns whether the list was opened.
    bool openFile(const QString &path);

public slots:
    /// Empties the task list, the NPC name and the switches, after the question.
    void newList();
    /// Shows the open-file dialog and opens the file chosen.
    void open();
    /// Opens a file of the recent list; one that is gone is taken off the list.
    void openRecent(const QString &path);
    /// Saves to the current file, or as Save As does when there is none.
    bool save();
    /// Shows the save-file dialog and saves to the file chosen.
    bool saveAs();
    /// Fills the Open Recent menu from the recent list.
    void updateRecentMenu();

signals:
    /// New or an open has put another list in the window: what was made from
    /// the one before (its script, its notes) belongs to it no more.
    void listReplaced();

private:
    bool writeTo(const QString &path);
    void tellUnwritable(const TaskListText &text);
    void took(const QString &path, TaskListFile list);
    bool modified() const;
    void updateModified();
    void updateTitle();
    QString folder() const;
    QString proposedPath() const;
    void tell(const QString &text);

    QWidget &m_window;
    frmMain &m_form;
    Prompts &m_prompts;
    QMenu &m_recentMenu;
    QString m_path;
    TaskListFile m_saved; // as the window showed it when last opened or saved
    QString m_plugin, m_savedPlugin; // absolute paths
    int m_saves = 0;
};

} // namespace hw
