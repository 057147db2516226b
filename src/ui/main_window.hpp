#pragma once

#include "ui/main_menu.hpp"

#include <QMainWindow>

namespace hw {

class GameCommands;
class Prompts;
class TaskListDocument;
class frmMain;

/// The program's window: the menu bar, the schedule form `frmMain` below it
/// with every control at its fixed place, and a status bar under the form.
/// The window has one size, the form's plus the two bars.
///
/// Its code is split by concern: main_window.cpp (the frame, the menu's
/// commands that need no file), main_window_files.cpp (the File menu's
/// commands on task lists and scripts, dropped files, closing) and the files
/// that add commands to it.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(Prompts &prompts, QWidget *parent = nullptr);
    ~MainWindow() override;

    frmMain &form() { return *m_form; }
    /// Load Game Data, the game data's status and the notes panel.
    GameCommands &game() { return *m_game; }
    const MainMenu &menu() const { return m_menu; }
    /// The task list as a file: its name, its unsaved mark, its commands.
    TaskListDocument &document() { return *m_document; }

public slots:
    void about();

protected:
    void changeEvent(QEvent *event) override;
    /// Closing asks about unsaved changes first; Cancel keeps the window open.
    void closeEvent(QCloseEvent *event) override;

private:
    void connectMenu();
    void connectFileMenu();

    Prompts &m_prompts;
    frmMain *m_form = nullptr;
    MainMenu m_menu;
    GameCommands *m_game = nullptr;
    TaskListDocument *m_document = nullptr;
};

} // namespace hw
