// The option fields: their reset and layout when the action changes, the
// selection on focus and the key filter that keeps numeric fields numeric.
#include "ui/frm_main.hpp"

#include "model/catalogue.hpp"
#include "ui/prompts.hpp"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace hw {

namespace {

const QString kOptionToolTip =
    QStringLiteral("Space for options that different functions require.");

// A key that types a character, as opposed to an editing key (arrows,
// Delete), which types none. Ctrl shortcuts type their control character
// (Ctrl+V is 22), so a numeric field drops them like any other character it
// does not take; the context menu still pastes.
bool isTypedCharacter(const QKeyEvent &event)
{
    return !event.text().isEmpty() && event.key() != Qt::Key_Delete;
}

} // namespace

void frmMain::ResetOptions()
{
    for (int n = 0; n < static_cast<int>(lblOption.size()); ++n) {
        lblOption[n]->setVisible(false);
        txtOption[n]->setEnabled(false);
        txtOption[n]->clear();
        lblOption[n]->setToolTip(kOptionToolTip);
        txtOption[n]->setToolTip(kOptionToolTip);
    }
    blnOption1Text = false;
}

void frmMain::cmbTask_Click()
{
    ResetOptions();
    const Action *action = findAction(cmbTask->currentText().toStdString());
    if (!action) {
        tell(kApplicationTitle, QStringLiteral("Command arguments not found!"));
        // Choosing "Wander" raises this handler again, which lays it out.
        cmbTask->setCurrentIndex(cmbTask->findText(QStringLiteral("Wander")));
        return;
    }
    for (const OptionSpec &spec : action->options) {
        txtOption[spec.field]->setEnabled(true);
        lblOption[spec.field]->setVisible(true);
        lblOption[spec.field]->setText(QString::fromUtf8(spec.caption));
        txtOption[spec.field]->setText(QString::fromUtf8(spec.defaultText));
    }
    blnOption1Text = action->textFlag;
}

void frmMain::txtOption_GotFocus(int Index)
{
    // The next typed character replaces the whole content.
    txtOption[Index]->selectAll();
}

bool frmMain::txtOption_KeyPress(int Index, QKeyEvent *event)
{
    if (isTextField(Index, blnOption1Text) || !isTypedCharacter(*event))
        return false;
    QLineEdit *box = txtOption[Index];
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
        box->setText(text);
        box->setCursorPosition(static_cast<int>(text.size()));
        return true;
    }
    const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
    return !(digit || c == QLatin1Char('\b'));
}

} // namespace hw
