#pragma once

#include "model/task_list_file.hpp"
#include "plugin/es_read.hpp"
#include "ui/form/form_controls.hpp"

#include <QColor>
#include <QRect>
#include <QWidget>

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QKeyEvent;

namespace hw {

class EditHistory;
struct GameData;
struct GeneratedSchedule;
class CandidatePopup;
class ListBox;
class NameListModel;
class OptionCompletion;
class Prompts;
class ScriptBox;
class WrapButton;

/// The schedule form. At its default size every control sits at a fixed pixel
/// position; a larger form gives the room to the script box and the task list
/// by its layout rule. The state of a schedule lives in the controls and in the
/// three flags below. The controls are its own: the rest of the window reads
/// and changes it through the functions and signals below. Handlers are named
/// after the control and its event.
///
/// The form's code is split by concern: frm_main.cpp (controls and layout),
/// frm_main_input.cpp (the routing of keys, focus and pastes),
/// frm_main_options.cpp (the option fields), frm_main_tasks.cpp (the task
/// list: adding, removing, loading an entry into the form and replacing it),
/// frm_main_paste.cpp (pasting task-list text into the list),
/// frm_main_generate.cpp (the Generate buttons), frm_main_names.cpp (loading
/// NPC ids and completing typed names), frm_main_startup.cpp (filling the
/// lists and finding the data folder), frm_main_state.cpp (the form as the
/// rest of the window sees it) and frm_main_game.cpp (what the form takes
/// from the game's data).
class frmMain : public QWidget
{
    Q_OBJECT
public:
    /// Creates the window with all controls and runs the start-up before the
    /// first showing. `prompts` shows every message, question and file dialog.
    explicit frmMain(Prompts &prompts, QWidget *parent = nullptr);
    ~frmMain() override;

    /// The folder the open-file dialog starts in: the game's "Data Files"
    /// folder, or the program's own folder when the game is not found.
    const std::filesystem::path &dataFolder() const { return m_dataFolder; }

    /// Whether the Tribunal question has been silenced by Yes to All.
    bool yesToAll() const { return blnYesToAll; }
    /// Whether option field 1 takes free text for the current action.
    bool option1Text() const { return blnOption1Text; }

    /// The three nested outlines around the option fields, outermost first,
    /// and their line colours.
    static constexpr std::array<QRect, 3> shapeRects()
    {
        return {QRect(7, 83, 295, 155), QRect(8, 84, 293, 153), QRect(9, 85, 291, 151)};
    }
    std::array<QColor, 3> shapeColours() const;

public slots:
    void loadButton_Click();
    void txtName_Change();
    void cmbTask_Click();
    void txtOption_GotFocus(int Index);
    void cmdAdd_Click();
    void cmdRemove_Click();
    /// A double-click on an entry, or Enter in the list: loads the current
    /// entry into the form (time, action, option fields) to be changed.
    void lstTasks_DblClick();
    /// Delete in the task list: every selected entry leaves it.
    void lstTasks_Delete();
    /// Edit › Replace Task: puts the form's entry, checked as Add Task checks
    /// it, in the place of the one selected entry.
    void replaceTask();
    void cmdGenerate_Click(int Index);
    /// Ctrl+V in the task list: adds the entries of the clipboard's task-list
    /// text, each line read as a file's line is, or none when one is refused.
    void lstTasks_Paste();

public:
    /// Loads the NPC ids of each of `files` as the Load button does after its
    /// dialog: the clear question once, then each file in turn.
    void loadNpcNames(const QStringList &files);

    /// Sees every key pressed in the name box before it takes effect: Backspace
    /// or Delete in a box with text switches off the next completion.
    void txtName_KeyDown(QKeyEvent *event);
    /// The key filter of the option fields, for one typed character; returns
    /// true when the keystroke is consumed. Keys that type no character
    /// (shortcuts, editing keys) pass unfiltered.
    bool txtOption_KeyPress(int Index, QKeyEvent *event);
    /// Pastes `pasted` into the numeric option field `Index` over its
    /// selection, keeping the characters that the field takes, as typing them
    /// would; the paste ends where a second number would begin.
    void txtOption_Paste(int Index, const QString &pasted);
    /// Ctrl+A (Shift and Alt may be held too) selects the whole script; returns
    /// true when the key is consumed.
    bool txtScript_KeyDown(QKeyEvent *event);

    /// The game data the option fields complete from; null for none.
    void setGameData(std::shared_ptr<const GameData> game);
    /// The steps of Edit › Undo and Redo.
    EditHistory &history() const { return *m_history; }
    /// Whether `control` is the NPC name box or its text field: the name is
    /// part of the task list, so its undo is Edit › Undo's, not the box's own.
    bool isNameBox(const QWidget &control) const;
    /// Whether Replace Task has an entry to replace: exactly one is selected.
    bool canReplaceTask() const;
    /// Puts `text` in the name box without completing it.
    void setNpcName(const QString &text);

    /// Asks the Load button's question when the NPC list holds any name: true
    /// when it is to be cleared before the new names are added.
    bool askClearNames();
    /// Adds the NPC ids of the game's data to the name box's list, after
    /// emptying it when `clearFirst`: each id that the list does not hold yet
    /// (letter case ignored), so that loading the game twice adds nothing.
    void addGameNames(std::vector<std::string> ids, bool clearFirst);

    /// The task list, the NPC name and the three switches: what a task-list
    /// file keeps of the form.
    TaskListFile taskList() const;
    /// Whether the form holds exactly `list`; quick when the numbers of entries differ.
    bool holds(const TaskListFile &list) const;
    /// Puts `list` into the form in place of what it held: the entries sorted
    /// as Add Task files them, the NPC name without completing it, the
    /// switches. The names the name box knows and the script box stay.
    void showTaskList(const TaskListFile &list);
    /// The text of the name box.
    QString npcName() const;
    /// Puts the keyboard focus in the name box, its text selected.
    void focusNpcName();
    /// Lets the Load button be pressed, or not while game data is loading.
    void setLoadEnabled(bool enabled);
    /// Whether the task list's entry at `row` is selected.
    bool isEntrySelected(int row) const;
    /// Selects the entries of the rows from `first` up to `end` alone, the
    /// first of them current and scrolled into view.
    void selectEntries(int first, int end);
    /// Selects the first entry whose text is `entry` alone, as a click on it
    /// would, and shows it; false when the list holds no such entry.
    bool selectEntry(const QString &entry);
    /// The script box's text, CR LF between its lines.
    QString scriptText() const;
    void clearScript();

signals:
    /// An entry of the task list came, went or changed.
    void entriesChanged();
    /// Global, Test for Complete Equality or Check Visibility was switched.
    void switchesChanged();
    /// The name box's text changed, by the author or the program.
    void npcNameChanged();
    /// The selection of the task list changed.
    void selectionChanged();
    /// Generate or Generate From Selection has written a schedule script.
    void scheduleGenerated(const hw::GeneratedSchedule &schedule);
    /// The Load button took NPC ids from `file`; `faultTold` when it has told
    /// the author that the file could not be read whole.
    void namesFileLoaded(const std::filesystem::path &file, bool faultTold);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void setToolTips();
    void setAccessibleNames();
    void setTabOrder();
    void connectHandlers();
    void connectStateSignals();
    void applyLayoutRule(QSize client);
    bool takesNumber(int Index) const;
    bool numberPasteEvent(int Index, QEvent *event);

    void Form_Load();
    void FillTimeList();
    void FillActionList();
    void ResetOptions();

    bool readNpcNames(const QString &file, bool clearFirst);
    void clearNames();
    void addNames(std::vector<std::string> ids);

    std::optional<QString> formEntry();
    void removeSelected(const QString &step);

    bool overwriteConfirmed();
    void tell(const char *caption, const QString &text);

    FormControls m_controls;
    Prompts &m_prompts;
    std::filesystem::path m_dataFolder;
    NameListModel *m_names = nullptr;
    // The ids that complete the name box's text, listed under it.
    CandidatePopup *m_namePopup = nullptr;
    bool m_completingName = false;
    OptionCompletion *m_completion = nullptr;
    EditHistory *m_history = nullptr;
    ESRead m_reader;
    // The option field that got the focus from a mouse press; its press must not
    // undo the selection that the focus made.
    int m_focusedByMouse = -1;

    bool blnOption1Text = false;
    bool blnYesToAll = false;
    bool blnNoComplete = false;
};

} // namespace hw
