#pragma once

#include <QString>

#include <string_view>

class QWidget;

namespace hw {

/// The caption of the Tribunal question and of the schedule generator's messages.
inline constexpr char kProgramTitle[] = "Hour Wright";
/// The caption of the other messages ("Required field not filled!", ...).
inline constexpr char kApplicationTitle[] = "HourWright";

/// A text of the core (UTF-8), as the window shows it.
inline QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// `path` as messages name it: in double quotes, with the system's separators.
QString quotedPath(const QString &path);

/// WriteCancel and WriteAnywayCancel answer Write or Cancel.
enum class PromptButtons {
    Ok,
    YesNo,
    YesNoCancel,
    YesYesToAllNo,
    SaveDiscardCancel,
    WriteCancel,
    WriteAnywayCancel
};
enum class PromptAnswer { Ok, Yes, YesToAll, No, Cancel, Save, Discard, Write };

/// Everything modal the window shows: messages, questions and the file
/// dialogs. The program shows real dialogs; tests script the answers.
class Prompts
{
public:
    virtual ~Prompts() = default;

    /// Shows `text` under `caption` with `buttons` and no icon; `defaultButton`
    /// is the one Enter presses. Returns the button chosen; closing the box
    /// (or Escape) counts as No for Yes/No and Yes/Yes to All/No, and as
    /// Cancel for Yes/No/Cancel, Save/Discard/Cancel and the Write questions.
    virtual PromptAnswer ask(QWidget *parent, const QString &caption, const QString &text,
                             PromptButtons buttons, PromptAnswer defaultButton) = 0;

    /// Shows the open-file dialog for one existing file, starting in `folder`,
    /// with `filter` in Qt's "Description (*.ext);;..." form. Returns the path
    /// chosen, or an empty text when the author cancelled.
    virtual QString openFile(QWidget *parent, const QString &folder, const QString &filter) = 0;

    /// Shows the save-file dialog, which proposes `path` (a file name in its
    /// folder), with the file types of `filter`. `selectedFilter` is the type
    /// in force when the dialog opens, and afterwards the type chosen; a name
    /// typed without an extension gets that type's. Returns the path chosen, or
    /// an empty text when the author cancelled. Replacing a file is confirmed
    /// in the dialog.
    virtual QString saveFile(QWidget *parent, const QString &path, const QString &filter,
                             QString &selectedFilter) = 0;

    /// The save-file dialog (as saveFile) for a file that is written into
    /// rather than replaced: an existing file is taken without the question
    /// whether to replace it.
    virtual QString writeIntoFile(QWidget *parent, const QString &path, const QString &filter,
                                  QString &selectedFilter)
    {
        return saveFile(parent, path, filter, selectedFilter);
    }

    /// A message with only an OK button.
    void tell(QWidget *parent, const QString &caption, const QString &text)
    {
        ask(parent, caption, text, PromptButtons::Ok, PromptAnswer::Ok);
    }
};

/// The program's prompts: QMessageBox and QFileDialog. The open-file dialog
/// matches its patterns whatever the case of the file names.
class QtPrompts : public Prompts
{
public:
    PromptAnswer ask(QWidget *parent, const QString &caption, const QString &text,
                     PromptButtons buttons, PromptAnswer defaultButton) override;
    QString openFile(QWidget *parent, const QString &folder, const QString &filter) override;
    QString saveFile(QWidget *parent, const QString &path, const QString &filter,
                     QString &selectedFilter) override;
    QString writeIntoFile(QWidget *parent, const QString &path, const QString &filter,
                          QString &selectedFilter) override;
};

} // namespace hw
