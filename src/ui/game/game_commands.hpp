#pragma once

#include "data/load_order.hpp"
#include "ui/base/game_data.hpp"

#include <QObject>
#include <QPointer>

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QMainWindow;
class QMenu;
class QProgressDialog;
class QToolButton;

namespace hw {

class GameDataLoader;
struct GameLoadJob;
struct GameLoadResult;
class NotesPanel;
class Prompts;
class frmMain;

/// The items of the window's menu that GameCommands keeps up to date; any may
/// be null.
struct GameMenuItems
{
    /// Shows the tip of Load Game Data when it opens.
    QMenu *file = nullptr;
    QAction *loadNames = nullptr;
    QAction *loadGameData = nullptr;
};

/// What the window does with the game's data: File › Load Game Data, the
/// index that the Load button adds its files to, completion in the option
/// fields (through the form), and the notes on each generated schedule in
/// the status bar and the notes panel.
///
/// The data is read on a worker thread. While a load runs, the commands that
/// start another load are disabled, and a window-modal progress dialog with a
/// Cancel button appears once the load has taken about half a second; the
/// data in use stays untouched until the new data replaces it whole, and a
/// cancelled load changes nothing.
class GameCommands : public QObject
{
    Q_OBJECT
public:
    /// Adds its parts to `window`: the status bar's notes button and loaded
    /// files, the notes panel under the form (closed) and the F8 key.
    GameCommands(QMainWindow &window, frmMain &form, Prompts &prompts, GameMenuItems menu);

    /// The data loaded, or null before the first load.
    const GameData *data() const { return m_data.get(); }

    /// The loader, a child of this object: destroyed with the window, it
    /// ends a running load first.
    GameDataLoader &loader() const { return *m_loader; }
    NotesPanel &notesPanel() const { return *m_notes; }
    /// The status bar's notes count, which opens and closes the panel.
    QToolButton &notesButton() const { return *m_notesButton; }
    /// The status bar's count of what is loaded.
    QLabel &loadedLabel() const { return *m_loaded; }
    /// The running load's progress dialog; null when no load runs.
    QProgressDialog *progressDialog() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public slots:
    /// File › Load Game Data.
    void loadGameData();
    /// Opens the notes panel and puts the keyboard focus in its list (F8).
    void showNotes();
    /// Opens the notes panel, or closes it when it is open.
    void toggleNotes();
    /// Empties the notes panel and the status bar's count, as at start.
    void forgetNotes();

private:
    // What a running load was started for.
    struct Pending
    {
        bool wholeGame = false;
        bool clearNames = false;
        bool faultTold = false; ///< the Load button has told of its file's fault
        std::size_t files = 0;
        std::vector<LoadOrderProblem> problems;
    };

    void updateLoadTip();
    void indexFile(const std::filesystem::path &file, bool faultTold);
    void start(GameLoadJob job, Pending pending);
    void finished(const std::shared_ptr<const GameLoadResult> &result);
    void ended();
    void tellProblems(const GameLoadResult &result);
    void check(const GeneratedSchedule &schedule);
    void showSummary(const QString &summary);
    void selectEntry(const QString &entry);
    void keepOnScreen();

    QMainWindow &m_window;
    frmMain &m_form;
    Prompts &m_prompts;
    GameMenuItems m_menu;
    GameDataLoader *m_loader;
    std::shared_ptr<const GameData> m_data;
    NotesPanel *m_notes;
    QToolButton *m_notesButton;
    QLabel *m_loaded;
    QPointer<QProgressDialog> m_progress;
    Pending m_pending;
};

} // namespace hw
