#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMainWindow;

namespace hw {

struct GameData;
class Prompts;
class TaskListDocument;
struct PluginPlan;

/// File › Write to Plugin…: writes the window's task list (its NPC, entries
/// and switches, saved or not) into a plugin the author chooses, through the
/// core's plugin writer, and has the list remember the plugin.
///
/// The steps: the file dialog, which starts at the list's plugin and takes an
/// existing plugin to merge into as readily as a new one; the plan, with the
/// masters from the game data loaded in the window; one question that shows
/// what the write will change, or one message with the reason it is refused;
/// the write; a word in the status bar. The first write ever also says what
/// the original engine needs before it runs the scripts.
class PluginWriteCommand : public QObject
{
    Q_OBJECT
public:
    /// Runs when `action` is triggered. `gameData` gives the game data loaded
    /// in the window, or null for none.
    PluginWriteCommand(QMainWindow &window, QAction &action, TaskListDocument &document,
                       Prompts &prompts, std::function<const GameData *()> gameData);

public slots:
    void write();

private:
    QString choosePlugin();
    bool confirmed(const PluginPlan &plan, const QString &plugin);
    void tell(const QString &text);

    QMainWindow &m_window;
    TaskListDocument &m_document;
    Prompts &m_prompts;
    std::function<const GameData *()> m_gameData;
};

} // namespace hw
