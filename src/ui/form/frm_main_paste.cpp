// Pasting task-list text into the task list, so that lists move between
// windows, files and the command line by the clipboard too.
#include "ui/form/frm_main.hpp"

#include "model/task_list_file.hpp"
#include "ui/base/prompts.hpp"
#include "ui/base/task_list_problem.hpp"
#include "ui/form/edit_history.hpp"
#include "ui/form/list_box.hpp"

#include <QClipboard>
#include <QGuiApplication>

namespace hw {

void frmMain::lstTasks_Paste()
{
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    // Read as a file is: header and comment lines are passed over, and one
    // refused line keeps the whole text out of the list.
    const TaskListRead read = readTaskList(text.toStdString());
    if (!read.ok()) {
        tell(kApplicationTitle,
             QStringLiteral("The pasted text was not added to the task list.\n\n") +
                 readProblem(read));
        return;
    }
    QStringList entries;
    for (const std::string &entry : read.list.entries)
        entries.append(QString::fromStdString(entry));
    m_history->changeTasks(QStringLiteral("Paste"),
                           sortedEdit(m_controls.lstTasks->texts(), {}, entries));
}

} // namespace hw
