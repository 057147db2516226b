#pragma once

#include <QObject>

#include <functional>
#include <vector>

class QAction;
class QWidget;

namespace hw {

/// The keys of menu commands that win over a text box's own binding of the
/// same key. A text box asks for some keys before any menu sees them: on
/// Linux Ctrl+E moves to the end of the line, and Ctrl+Z undoes the box's
/// own typing. Where a command claims its keys, they are the command's; when
/// the command is off, they do nothing there rather than the box's own thing.
class MenuKeys : public QObject
{
public:
    /// Keys pressed in `window` and the controls it holds.
    explicit MenuKeys(QWidget &window);

    /// `action`'s keys are its own in the controls for which `where` says yes,
    /// or everywhere in the window when `where` is empty.
    void claim(QAction &action, std::function<bool(const QWidget &)> where = {});

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Claim
    {
        QAction *action;
        std::function<bool(const QWidget &)> where;
    };

    QWidget &m_window;
    std::vector<Claim> m_claims;
};

} // namespace hw
