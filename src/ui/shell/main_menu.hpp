#pragma once

class QAction;
class QMenu;
class QMenuBar;

namespace hw {

/// The commands of the menu bar. Every item of the menu is built in one
/// place (buildMainMenu); the window connects the items to its commands.
struct MainMenu
{
    QMenu *file = nullptr;
    QAction *newList = nullptr;
    QAction *open = nullptr;
    QMenu *openRecent = nullptr;
    QAction *save = nullptr;
    QAction *saveAs = nullptr;
    QAction *saveScriptAs = nullptr;
    QAction *writeToPlugin = nullptr;
    QAction *loadNames = nullptr;
    QAction *loadGameData = nullptr;
    QAction *quit = nullptr;

    QMenu *edit = nullptr;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
    QAction *replaceTask = nullptr;

    QMenu *help = nullptr;
    QAction *about = nullptr;
};

/// Fills `bar` with the File, Edit and Help menus, with the platform's standard
/// shortcuts where there are any, and returns their items.
MainMenu buildMainMenu(QMenuBar &bar);

} // namespace hw
