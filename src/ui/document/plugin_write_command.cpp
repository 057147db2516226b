#include "ui/document/plugin_write_command.hpp"

#include "data/plugin_write.hpp"
#include "generator/schedule_script.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/game_data.hpp"
#include "ui/base/prompts.hpp"
#include "ui/document/script_file.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/document/task_list_io.hpp"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QStatusBar>

namespace hw {

namespace {

// The two kinds of plugin, the same format; the first is offered first.
const char kFilter[] = "OpenMW content (*.omwaddon);;Morrowind plugins (*.esp)";
const char kFolderKey[] = "pluginFolder";
const char kTypeKey[] = "pluginType";
const char kEngineToldKey[] = "pluginEngineTold";
// Long enough to be read; the status bar's notes count is hidden meanwhile.
constexpr int kWrittenMessageMs = 15000;

const char kOriginalEngine[] =
    "OpenMW compiles a script's text when it loads the plugin, so the plugin runs there as "
    "written.\n\n"
    "The original engine runs only compiled scripts, which HourWright does not write. Before "
    "the plugin runs there, open it in the game's editor (the Construction Set), open each of "
    "its scripts and save it so that it compiles, then save the plugin.";

} // namespace

PluginWriteCommand::PluginWriteCommand(QMainWindow &window, QAction &action,
                                       TaskListDocument &document, Prompts &prompts,
                                       std::function<const GameData *()> gameData)
    : QObject(&window)
    , m_window(window)
    , m_document(document)
    , m_prompts(prompts)
    , m_gameData(std::move(gameData))
{
    connect(&action, &QAction::triggered, this, &PluginWriteCommand::write);
}

void PluginWriteCommand::tell(const QString &text)
{
    m_prompts.tell(&m_window, QString::fromUtf8(kApplicationTitle), text);
}

QString PluginWriteCommand::choosePlugin()
{
    const QString filter = QString::fromUtf8(kFilter);
    const QStringList types = filter.split(QLatin1String(";;"));
    QString start = m_document.plugin();
    QString type = QSettings().value(QLatin1String(kTypeKey)).toString();
    if (!start.isEmpty())
        type = types.value(start.endsWith(QLatin1String(".esp"), Qt::CaseInsensitive) ? 1 : 0);
    if (!types.contains(type))
        type = types.value(0);
    if (start.isEmpty())
        start = QDir(rememberedFolder(kFolderKey))
                    .filePath(QStringLiteral("Schedules.") +
                              (type == types.value(1) ? QStringLiteral("esp")
                                                      : QStringLiteral("omwaddon")));
    const QString chosen = m_prompts.writeIntoFile(&m_window, start, filter, type);
    if (!chosen.isEmpty()) {
        QSettings settings;
        settings.setValue(QLatin1String(kTypeKey), type);
        settings.setValue(QLatin1String(kFolderKey), QFileInfo(chosen).absolutePath());
    }
    return chosen;
}

void PluginWriteCommand::write()
{
    const QString caption = QString::fromUtf8(kApplicationTitle);
    const QString listPath = m_document.path();
    const ScheduleList list {listPath.isEmpty() ? std::string("The task list")
                                                : QFileInfo(listPath).fileName().toStdString(),
                             m_document.taskList()};
    // A list that Generate refuses is refused as Generate refuses it, before
    // a plugin is chosen.
    if (const auto problem = scheduleCheck(list.list.npcId, list.list.entries.size())) {
        m_prompts.tell(&m_window, QString::fromUtf8(kProgramTitle), fromUtf8(*problem));
        return;
    }
    const QString chosen = choosePlugin();
    if (chosen.isEmpty())
        return;

    PluginWriteRequest request {{toFilesystemPath(chosen), gameCodePage()}};
    // The game data as Load Game Data read it: no file is read again.
    if (const GameData *game = m_gameData())
        request.gameIndex = &game->index;
    PluginPlan plan = planPluginWrite({list}, request);
    if (plan.unknownNpcs) {
        const PromptAnswer answer = m_prompts.ask(
            &m_window, caption,
            fromUtf8(plan.problem) +
                QStringLiteral("\n\nCheck the id, or load the game data that defines it. Write "
                               "Anyway writes the schedule all the same, and the game must then "
                               "load the file that defines the NPC before the plugin."),
            PromptButtons::WriteAnywayCancel, PromptAnswer::Cancel);
        if (answer != PromptAnswer::Write)
            return;
        request.plugin.force = true;
        plan = planPluginWrite({list}, request);
    }
    if (!plan.ok()) {
        tell(fromUtf8(plan.problem) + QStringLiteral("\n\nNothing was written."));
        return;
    }
    if (plan.pieces.empty()) {
        m_document.setPlugin(chosen);
        tell(QStringLiteral("%1 is unchanged: it holds this schedule already.")
                 .arg(quotedPath(chosen)));
        return;
    }
    if (!confirmed(plan, chosen))
        return;
    const PluginWritten written = writePlugin(plan);
    if (!written.problem.empty()) {
        tell(fromUtf8(written.problem));
        return;
    }
    m_document.setPlugin(chosen);
    const QString done =
        QStringLiteral("Wrote %1: %2.")
            .arg(QFileInfo(chosen).fileName(), fromUtf8(describeChanges(plan.changes)));
    m_window.statusBar()->showMessage(done, kWrittenMessageMs);
    QSettings settings;
    if (!settings.value(QLatin1String(kEngineToldKey)).toBool()) {
        settings.setValue(QLatin1String(kEngineToldKey), true);
        tell(QString::fromUtf8(kOriginalEngine));
    }
}

bool PluginWriteCommand::confirmed(const PluginPlan &plan, const QString &plugin)
{
    // The preview's first line is what changes, each further line a note.
    QStringList lines = fromUtf8(previewPluginWrite(plan)).split(QLatin1Char('\n'));
    QString text = QStringLiteral("Write to the plugin %1?\n\nIt %2.")
                       .arg(quotedPath(plugin), lines.takeFirst());
    for (const QString &note : lines)
        text += QStringLiteral("\n\n") + note;
    return m_prompts.ask(&m_window, QString::fromUtf8(kApplicationTitle), text,
                         PromptButtons::WriteCancel, PromptAnswer::Write) == PromptAnswer::Write;
}

} // namespace hw
