// The routing of keys, focus and pastes from the text controls to their
// handlers, and the select-all key of the script box.
#include "ui/form/frm_main.hpp"

#include "model/catalogue.hpp"
#include "ui/form/paste_guard.hpp"
#include "ui/form/script_box.hpp"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>

namespace hw {

bool frmMain::isNameBox(const QWidget &control) const
{
    return &control == m_controls.txtName || &control == m_controls.txtName->lineEdit();
}

bool frmMain::txtScript_KeyDown(QKeyEvent *event)
{
    if (event->key() != Qt::Key_A || !(event->modifiers() & Qt::ControlModifier))
        return false;
    m_controls.txtScript->selectAll();
    return true;
}

void frmMain::keyPressEvent(QKeyEvent *event)
{
    // Enter that no control took for itself (the lists and the script box
    // take it; a drop-down or a completion list that is open takes it) adds
    // the task, as the default button of a dialog.
    const bool plain =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier;
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        m_controls.cmdAdd->isEnabled()) {
        m_controls.cmdAdd->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    FormControls &c = m_controls;
    const auto field = std::find(c.optionFields.begin(), c.optionFields.end(), watched);
    const int Index = static_cast<int>(field - c.optionFields.begin());
    const bool nameBox = watched == c.txtName || watched == c.txtName->lineEdit();
    if (field == c.optionFields.end() && !nameBox && watched != c.txtScript)
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Tab and Shift+Tab walk the tab order; no key filter ever sees them.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        // A paste of nothing would only delete the selected text.
        if (watched != c.txtScript && pastesNothing(*event))
            return true;
        if (nameBox) {
            txtName_KeyDown(key);
            return false;
        }
        if (watched == c.txtScript)
            return txtScript_KeyDown(key);
        if (key->matches(QKeySequence::Paste) && takesNumber(Index)) {
            txtOption_Paste(Index, QGuiApplication::clipboard()->text());
            return true;
        }
        return txtOption_KeyPress(Index, key);
    }
    if (field == c.optionFields.end())
        return false;
    if (takesNumber(Index) && numberPasteEvent(Index, event))
        return true;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        // Coming back from another window or a context menu is not a new visit
        // to the field: the caret stays where the author left it.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return false;
        m_focusedByMouse = reason == Qt::MouseFocusReason ? Index : -1;
        txtOption_GotFocus(Index);
        return false;
    }
    case QEvent::MouseButtonPress:
        // The press that gave the focus would put the caret at the mouse and
        // lose the selection the focus just made.
        if (m_focusedByMouse == Index) {
            m_focusedByMouse = -1;
            return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
        }
        return false;
    case QEvent::FocusOut:
        m_focusedByMouse = -1;
        return false;
    default:
        return false;
    }
}

bool frmMain::takesNumber(int Index) const
{
    return !isTextField(Index, blnOption1Text);
}

// Every other way text is pasted or dropped into a numeric field goes through
// txtOption_Paste as the paste key does; returns true when `event` is taken.
bool frmMain::numberPasteEvent(int Index, QEvent *event)
{
    QLineEdit *box = m_controls.optionFields[static_cast<std::size_t>(Index)];
    switch (event->type()) {
    case QEvent::ContextMenu: {
        // The line edit's own menu, its Paste rerouted.
        QMenu *menu = box->createStandardContextMenu();
        for (QAction *action : menu->actions())
            if (QObject::disconnect(action, SIGNAL(triggered()), box, SLOT(paste())))
                connect(action, &QAction::triggered, this, [this, Index] {
                    txtOption_Paste(Index, QGuiApplication::clipboard()->text());
                });
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    case QEvent::MouseButtonRelease: {
        // The middle button pastes the X selection where the press put the caret.
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (static_cast<QMouseEvent *>(event)->button() != Qt::MiddleButton ||
            !clipboard->supportsSelection())
            return false;
        box->deselect();
        txtOption_Paste(Index, clipboard->text(QClipboard::Selection));
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        // The line edit stops showing where the text would go, as after a drag
        // that left it; the text is then pasted at the drop point.
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(box, &leave);
        box->setCursorPosition(box->cursorPositionAt(drop->position().toPoint()));
        txtOption_Paste(Index, drop->mimeData()->text());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
    }
    default:
        return false;
    }
}

} // namespace hw
