#include "ui/shell/menu_keys.hpp"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace hw {

MenuKeys::MenuKeys(QWidget &window)
    : QObject(&window)
    , m_window(window)
{
    // On the application, not on each control: a control made later, such as
    // the line edit of an editable box, is covered too.
    qApp->installEventFilter(this);
}

void MenuKeys::claim(QAction &action, std::function<bool(const QWidget &)> where)
{
    m_claims.push_back({&action, std::move(where)});
}

bool MenuKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != &m_window)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    const bool claimed = std::any_of(m_claims.begin(), m_claims.end(), [&](const Claim &claim) {
        return claim.action->shortcuts().contains(pressed) &&
            (!claim.where || claim.where(*widget));
    });
    if (!claimed)
        return false;
    // An ignored override lets the menu's shortcut have the key; a press that
    // still arrives (the command is off) is dropped.
    event->ignore();
    return true;
}

} // namespace hw
