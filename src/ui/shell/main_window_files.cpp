// The File menu's commands on task lists and scripts, files dropped on the
// window, and the question before the window closes.
#include "ui/shell/main_window.hpp"

#include "ui/document/file_drops.hpp"
#include "ui/document/plugin_write_command.hpp"
#include "ui/document/script_file.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/game/game_commands.hpp"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>

namespace hw {

void MainWindow::connectFileMenu()
{
    m_document = new TaskListDocument(*this, *m_form, m_prompts, *m_menu.openRecent);
    connect(m_menu.newList, &QAction::triggered, m_document, &TaskListDocument::newList);
    connect(m_menu.open, &QAction::triggered, m_document, &TaskListDocument::open);
    connect(m_menu.save, &QAction::triggered, m_document, &TaskListDocument::save);
    connect(m_menu.saveAs, &QAction::triggered, m_document, &TaskListDocument::saveAs);
    // Nothing of the list before may be saved under the new one's name.
    connect(m_document, &TaskListDocument::listReplaced, this, [this] {
        m_form->clearScript();
        m_game->forgetNotes();
    });
    connect(m_menu.saveScriptAs, &QAction::triggered, this,
            [this] { saveScriptAs(this, m_prompts, m_form->scriptText()); });
    new PluginWriteCommand(*this, *m_menu.writeToPlugin, *m_document, m_prompts,
                           [this] { return m_game->data(); });
    // Another window may have changed the recent files since.
    connect(m_menu.file, &QMenu::aboutToShow, m_document, &TaskListDocument::updateRecentMenu);
    new FileDrops(
        *this, [this](const QString &path) { m_document->openFile(path); },
        [this](const QStringList &plugins) { m_form->loadNpcNames(plugins); });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_document->maybeSave())
        event->accept();
    else
        event->ignore();
}

} // namespace hw
