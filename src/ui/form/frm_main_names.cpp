// The NPC name box: the Load button, which fills its list from a plugin file,
// and the completion of typed names against that list.
#include "ui/form/frm_main.hpp"

#include "plugin/plugin_kinds.hpp"
#include "plugin/scan_outcome.hpp"
#include "ui/base/file_path.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/candidate_popup.hpp"
#include "ui/form/inline_completion.hpp"
#include "ui/form/name_list_model.hpp"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalBlocker>

namespace hw {

namespace {

QString fromView(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const char kClearQuestion[] = "Do you want to clear the NPC list before adding the new names?";

// One file type per kind of the game's files, masters first, then any file.
QString pluginFilter()
{
    QStringList types;
    for (const PluginKind &kind : pluginKinds())
        types.append(
            QStringLiteral("%1 (%2)").arg(fromView(kind.description), fromView(kind.pattern)));
    types.append(QStringLiteral("All files (*)"));
    return types.join(QLatin1String(";;"));
}

} // namespace

void frmMain::loadButton_Click()
{
    const QString chosen =
        m_prompts.openFile(this, fromFilesystemPath(m_dataFolder), pluginFilter());
    if (!chosen.isEmpty())
        loadNpcNames({chosen});
}

void frmMain::loadNpcNames(const QStringList &files)
{
    bool clearFirst = askClearNames();
    // The list is emptied once, before the first file that gives its ids.
    for (const QString &file : files)
        if (readNpcNames(file, clearFirst))
            clearFirst = false;
}

// Reads the ids of `chosen` into the list, emptied first when `clearFirst`;
// returns whether the list took the file's outcome (and was emptied then).
bool frmMain::readNpcNames(const QString &chosen, bool clearFirst)
{
    const std::filesystem::path file = toFilesystemPath(chosen);
    const ScanOutcome outcome = m_reader.ReadNPCNames(file);
    const ScanMessage message = scanMessage(file, outcome);
    // What the author is told: what went wrong, what became of the list, and
    // the technical detail as a paragraph of its own, so that a summary that
    // wraps in the message box does not run into it.
    const auto tellOutcome = [&](const char *listNote) {
        QString text =
            QString::fromStdString(message.summary) + QLatin1Char(' ') + QLatin1String(listNote);
        if (!message.detail.empty())
            text += QLatin1String("\n\n") + QString::fromStdString(message.detail);
        tell(kApplicationTitle, text);
    };
    const ScanStatus status = outcome.status();
    // The list is emptied only when the file gave ids, or was read whole, so a
    // damaged, unreadable or foreign file never costs the author the names they had.
    if (status == ScanStatus::Unreadable || status == ScanStatus::Malformed ||
        (status == ScanStatus::Truncated && outcome.idCount == 0)) {
        tellOutcome("The NPC list was left as it was.");
        return false;
    }

    if (clearFirst)
        clearNames();
    // Taken by count, not by the first id: a file whose first NPC has an empty
    // id still gives all its other ids.
    if (outcome.idCount > 0) {
        addNames(std::move(m_reader.NPCNames));
        m_reader.NPCNames.clear();
    }
    if (status == ScanStatus::Truncated)
        tellOutcome("The ids found were added to the NPC list.");
    emit namesFileLoaded(file, status == ScanStatus::Truncated);
    return true;
}

bool frmMain::askClearNames()
{
    // An empty list has nothing to clear; the question would only put the
    // typed NPC name at stake, which a Yes empties with the list.
    if (m_names->rowCount() == 0)
        return false;
    return m_prompts.ask(this, QString::fromUtf8(kApplicationTitle),
                         QString::fromUtf8(kClearQuestion), PromptButtons::YesNo,
                         PromptAnswer::Yes) == PromptAnswer::Yes;
}

void frmMain::clearNames()
{
    m_names->clear();
    // Emptying the list empties the text too; that change is a change of the
    // text like any other.
    m_controls.txtName->clearEditText();
}

void frmMain::addNames(std::vector<std::string> ids)
{
    FormControls &c = m_controls;
    // An empty id names no NPC and would only add an empty row.
    std::erase_if(ids, [](const std::string &id) { return id.empty(); });
    QLineEdit *edit = c.txtName->lineEdit();
    const bool hadCurrent = c.txtName->currentIndex() >= 0;
    const QString text = edit->text();
    const int cursor = edit->cursorPosition();
    const int selectionStart = edit->selectionStart();
    const int selectionLength = edit->selectionLength();

    // The first rows of an empty list would become the box's current entry and
    // its text; keep the box as the author left it, without reporting a change
    // that ends where it began.
    const QSignalBlocker blockBox(c.txtName);
    const QSignalBlocker blockEdit(edit);
    m_names->add(std::move(ids));
    if (!hadCurrent && c.txtName->currentIndex() >= 0)
        c.txtName->setCurrentIndex(-1);
    if (edit->text() != text) {
        edit->setText(text);
        if (selectionLength <= 0)
            edit->setCursorPosition(cursor);
        else if (cursor == selectionStart) // selected leftwards: the caret at the start
            edit->setSelection(selectionStart + selectionLength, -selectionLength);
        else
            edit->setSelection(selectionStart, selectionLength);
    }
}

void frmMain::txtName_KeyDown(QKeyEvent *event)
{
    // Backspace and Delete would otherwise get back at once the suggestion
    // they removed. Modifiers are not looked at.
    const int key = event->key();
    if ((key == Qt::Key_Backspace || key == Qt::Key_Delete) &&
        !m_controls.txtName->currentText().isEmpty())
        blnNoComplete = true;
}

void frmMain::txtName_Change()
{
    // The completion's own change of the text runs this once more inside the
    // run; that run would find the same entry and change nothing.
    if (m_namePopup->settingText() || m_completingName)
        return;
    QLineEdit *edit = m_controls.txtName->lineEdit();
    const QString typed = edit->text();
    if (typed.isEmpty() || blnNoComplete) {
        blnNoComplete = false;
        m_namePopup->hide();
        return;
    }
    const CompletionList list(m_names->names());
    const auto [first, count] = list.startingWith(typed.toStdString());
    if (count == 0) {
        m_namePopup->hide();
        return;
    }
    const QString entry = m_names->data(m_names->index(static_cast<int>(first))).toString();
    m_completingName = true;
    completeInline(*edit, typed, entry);
    m_completingName = false;
    m_namePopup->show(list, first, count, typed);
}

} // namespace hw
