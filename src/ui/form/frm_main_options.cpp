// The option fields: their reset and layout when the action changes, the
// selection on focus and the key filter that keeps numeric fields numeric.
#include "ui/form/frm_main.hpp"

#include "model/catalogue.hpp"
#include "ui/base/accessibility.hpp"
#include "ui/base/prompts.hpp"
#include "ui/form/option_completion.hpp"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>

namespace hw {

namespace {

const QString kOptionToolTip =
    QStringLiteral("Space for options that different functions require.");

// Whether `event` types a character into a line edit, by the rule of Qt's own
// line edit: shortcuts (Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+Z) and editing
// keys (arrows, Backspace, Delete, Enter) type none and never reach the key
// filter. Ctrl with Alt is AltGr on Windows, which types characters.
bool typesCharacter(const QKeyEvent &event)
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    const QChar c = text.front();
    if (c.category() == QChar::Other_Format)
        return true;
    const Qt::KeyboardModifiers held = event.modifiers();
    if (held == Qt::ControlModifier || held == (Qt::ControlModifier | Qt::ShiftModifier))
        return false;
    return c.isPrint() || c.category() == QChar::Other_PrivateUse || c.isHighSurrogate();
}

// Replaces the whole text of `box` in one step that Undo takes back whole, and
// puts the caret at `caret`.
void replaceText(QLineEdit *box, const QString &text, int caret)
{
    if (text != box->text()) {
        box->selectAll();
        box->insert(text);
    }
    box->setCursorPosition(caret);
}

} // namespace

void frmMain::ResetOptions()
{
    FormControls &c = m_controls;
    for (int n = 0; n < static_cast<int>(c.optionCaptions.size()); ++n) {
        c.optionCaptions[n]->setVisible(false);
        c.optionFields[n]->setEnabled(false);
        c.optionFields[n]->clear();
        c.optionCaptions[n]->setToolTip(kOptionToolTip);
        c.optionFields[n]->setToolTip(kOptionToolTip);
        // A hidden label is no field's caption, to screen readers either.
        c.optionCaptions[n]->setBuddy(nullptr);
        c.optionFields[n]->setAccessibleName(QStringLiteral("Option %1, not used").arg(n + 1));
        c.optionFields[n]->setAccessibleDescription(kOptionToolTip);
    }
    blnOption1Text = false;
}

void frmMain::cmbTask_Click()
{
    FormControls &c = m_controls;
    ResetOptions();
    const Action *action = findAction(c.cmbTask->currentText().toStdString());
    if (!action) {
        tell(kApplicationTitle, QStringLiteral("Command arguments not found!"));
        // Choosing "Wander" raises this handler again, which lays it out.
        c.cmbTask->setCurrentIndex(c.cmbTask->findText(QStringLiteral("Wander")));
        return;
    }
    for (const OptionSpec &spec : action->options) {
        c.optionFields[spec.field]->setEnabled(true);
        c.optionCaptions[spec.field]->setVisible(true);
        c.optionCaptions[spec.field]->setText(QString::fromUtf8(spec.caption));
        nameAfter(c.optionFields[spec.field], c.optionCaptions[spec.field]);
        c.optionFields[spec.field]->setAccessibleDescription(
            QString::fromStdString(optionDescription(spec)));
        c.optionFields[spec.field]->setText(QString::fromUtf8(spec.defaultText));
    }
    blnOption1Text = action->textFlag;
}

void frmMain::txtOption_GotFocus(int Index)
{
    // The next typed character replaces the whole content.
    m_controls.optionFields[Index]->selectAll();
}

bool frmMain::txtOption_KeyPress(int Index, QKeyEvent *event)
{
    if (isTextField(Index, blnOption1Text) || !typesCharacter(*event))
        return false;
    QLineEdit *box = m_controls.optionFields[Index];
    const QString typed = event->text();
    if (typed.size() != 1)
        return true;
    const QChar c = typed.front();
    if (c == QLatin1Char('.'))
        // Looks at the whole text, also when the point would replace a selection.
        return box->text().contains(QLatin1Char('.'));
    if (c == QLatin1Char('-')) {
        // The sign key toggles a leading minus wherever the caret is; it never
        // inserts one. A minus inside pasted text is left alone.
        if (box->hasSelectedText())
            box->del();
        QString text = box->text();
        if (text.startsWith(QLatin1Char('-')))
            text.remove(0, 1);
        else
            text.prepend(QLatin1Char('-'));
        replaceText(box, text, static_cast<int>(text.size()));
        return true;
    }
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    return !digit;
}

void frmMain::txtOption_Paste(int Index, const QString &pasted)
{
    // As typing the characters one by one would: digits go in at the caret,
    // blanks, commas and letters drop, a minus before the first digit toggles
    // the sign. A second point, or a minus after a digit, would start another
    // number: the paste ends there, so that "-12.5.3" gives -12.5, never -12.53.
    QLineEdit *box = m_controls.optionFields[static_cast<std::size_t>(Index)];
    QString text = box->text();
    int caret = box->cursorPosition();
    if (box->hasSelectedText()) {
        caret = box->selectionStart();
        text.remove(caret, box->selectionLength());
    }
    bool digits = false;
    for (const QChar c : pasted) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            text.insert(caret++, c);
            digits = true;
        } else if (c == QLatin1Char('.')) {
            if (text.contains(c))
                break;
            text.insert(caret++, c);
        } else if (c == QLatin1Char('-')) {
            if (digits)
                break;
            if (text.startsWith(c)) {
                text.remove(0, 1);
                caret = std::max(0, caret - 1);
            } else {
                text.prepend(c);
                ++caret;
            }
        }
    }
    replaceText(box, text, caret);
}

} // namespace hw
