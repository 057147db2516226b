#include "ui/shell/main_menu.hpp"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace hw {

namespace {

QAction *addItem(QMenu *menu, const QString &text, const QString &name, QKeySequence shortcut = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

} // namespace

MainMenu buildMainMenu(QMenuBar &bar)
{
    MainMenu menu;
    menu.file = bar.addMenu(QStringLiteral("&File"));
    menu.newList =
        addItem(menu.file, QStringLiteral("&New"), QStringLiteral("actNew"), QKeySequence::New);
    menu.open =
        addItem(menu.file, QStringLiteral("&Open…"), QStringLiteral("actOpen"), QKeySequence::Open);
    menu.openRecent = menu.file->addMenu(QStringLiteral("Open &Recent"));
    menu.openRecent->setObjectName(QStringLiteral("mnuOpenRecent"));
    menu.save =
        addItem(menu.file, QStringLiteral("&Save"), QStringLiteral("actSave"), QKeySequence::Save);
    // Some platform themes have no Save As key; Ctrl+Shift+S is the common one.
    const QKeySequence saveAs = QKeySequence(QKeySequence::SaveAs).isEmpty()
        ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)
        : QKeySequence(QKeySequence::SaveAs);
    menu.saveAs =
        addItem(menu.file, QStringLiteral("Save &As…"), QStringLiteral("actSaveAs"), saveAs);
    menu.saveScriptAs =
        addItem(menu.file, QStringLiteral("Save Scrip&t As…"), QStringLiteral("actSaveScriptAs"));
    menu.writeToPlugin =
        addItem(menu.file, QStringLiteral("&Write to Plugin…"), QStringLiteral("actWriteToPlugin"),
                QKeySequence(Qt::CTRL | Qt::Key_E));
    const QString writeTip = QStringLiteral(
        "Write the schedule into a plugin (.omwaddon or .esp) that the game loads as it is");
    menu.writeToPlugin->setToolTip(writeTip);
    menu.writeToPlugin->setStatusTip(writeTip);
    menu.file->addSeparator();
    menu.loadNames =
        addItem(menu.file, QStringLiteral("&Load NPC Names…"), QStringLiteral("actLoadNames"));
    menu.loadGameData =
        addItem(menu.file, QStringLiteral("Load &Game Data"), QStringLiteral("actLoadGameData"));
    menu.file->addSeparator();
    menu.quit =
        addItem(menu.file, QStringLiteral("&Quit"), QStringLiteral("actQuit"), QKeySequence::Quit);

    menu.edit = bar.addMenu(QStringLiteral("&Edit"));
    menu.undo = addItem(menu.edit, QStringLiteral("&Undo"), QStringLiteral("actUndo"),
                        QKeySequence(Qt::CTRL | Qt::Key_Z));
    menu.redo = addItem(menu.edit, QStringLiteral("&Redo"), QStringLiteral("actRedo"));
    // Both keys that the platforms use, on every platform.
    menu.redo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    menu.edit->addSeparator();
    menu.replaceTask =
        addItem(menu.edit, QStringLiteral("Re&place Task"), QStringLiteral("actReplaceTask"),
                QKeySequence(Qt::CTRL | Qt::Key_R));

    menu.help = bar.addMenu(QStringLiteral("&Help"));
    menu.about =
        addItem(menu.help, QStringLiteral("&About HourWright"), QStringLiteral("actAbout"));
    return menu;
}

} // namespace hw
