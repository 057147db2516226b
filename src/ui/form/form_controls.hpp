#pragma once

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace hw {

class ListBox;
class ScriptBox;
class WrapButton;

/// The controls of the schedule form. Only the form and its own helpers (the
/// undo history, the option fields' completion) hold them; every other part
/// of the window goes through the form's functions and signals. Each control
/// keeps the name that tests and tools find it by as its objectName, given in
/// the comment where the member's name differs.
struct FormControls
{
    QLabel *nameCaption; ///< Label5, "NPC Name:"
    QLabel *timeCaption; ///< Label3, "Time:"
    QLabel *actionCaption; ///< Label4, "Action:"
    QLabel *scheduleCaption; ///< Label1, "Schedule:"
    QLabel *scriptCaption; ///< Label2, "Script:"
    QComboBox *txtName;
    QPushButton *loadButton; ///< Command1
    QComboBox *cmbTime;
    QComboBox *cmbTask;
    QCheckBox *chkLOS; ///< Check Visibility
    QCheckBox *chkGlobal;
    QCheckBox *chkEqual; ///< Test for Complete Equality
    std::array<QLabel *, 12> optionCaptions; ///< lblOption(0) to lblOption(11)
    std::array<QLineEdit *, 12> optionFields; ///< txtOption(0) to txtOption(11)
    QPushButton *cmdAdd;
    QPushButton *cmdRemove;
    ListBox *lstTasks;
    WrapButton *generateButton; ///< cmdGenerate(0), "Generate"
    WrapButton *selectionButton; ///< cmdGenerate(1), "Generate From Selection"
    WrapButton *centralScriptButton; ///< cmdGenerate(2), "Generate Central Script"
    ScriptBox *txtScript;

    /// The three Generate buttons in the order of their index.
    std::array<WrapButton *, 3> generateButtons() const
    {
        return {generateButton, selectionButton, centralScriptButton};
    }
};

} // namespace hw
