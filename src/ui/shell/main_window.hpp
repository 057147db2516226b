#pragma once

#include "ui/shell/main_menu.hpp"

#include <QMainWindow>
#include <QMargins>

class QScrollArea;

namespace hw {

class DayStrip;
class DayView;
class GameCommands;
class Prompts;
class TaskListDocument;
class frmMain;

/// The program's window: the menu bar, the schedule form `frmMain` below it,
/// the day view under the form and a status bar under that. It opens at the form's default size
/// plus the two bars, where the screen has room for that, and may grow: the form follows, by its
/// layout rule. On a screen too small for it the form scrolls.
///
/// Its code is split by concern: main_window.cpp (the frame, the menu's
/// commands that need no file), main_window_files.cpp (the File menu's
/// commands on task lists and scripts, dropped files, closing),
/// main_window_edit.cpp (the Edit menu) and the files that add commands to it.
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
    /// The scroll area that holds the form.
    QScrollArea &formArea() { return *m_formArea; }
    /// The strip of the day's 24 hours under the form, and what keeps it showing the form's day.
    DayStrip &dayStrip() { return *m_dayStrip; }
    DayView &dayView() { return *m_dayView; }

    /// Sizes the window for `room`, the free part of its screen, when the
    /// window manager puts `frame` around it, and centres it there: at the
    /// default size where that fits, else as large as the room allows, the
    /// form scrolling in what is left. Done for the screen before the first
    /// showing, and again once the frame is known if it then reaches beyond.
    void fitInto(const QRect &room, QMargins frame);
    /// The task list as a file: its name, its unsaved mark, its commands.
    TaskListDocument &document() { return *m_document; }

public slots:
    void about();

protected:
    void moveEvent(QMoveEvent *event) override;
    /// Closing asks about unsaved changes first; Cancel keeps the window open.
    void closeEvent(QCloseEvent *event) override;

private:
    void connectMenu();
    void connectFileMenu();
    void connectEditMenu();

    Prompts &m_prompts;
    frmMain *m_form = nullptr;
    QScrollArea *m_formArea = nullptr;
    DayStrip *m_dayStrip = nullptr;
    DayView *m_dayView = nullptr;
    // Until the window manager has framed the window, its frame is a guess.
    bool m_frameGuessed = true;
    // Whether the window was made smaller than its default size to fit.
    bool m_shrunk = false;
    MainMenu m_menu;
    GameCommands *m_game = nullptr;
    TaskListDocument *m_document = nullptr;
};

} // namespace hw
