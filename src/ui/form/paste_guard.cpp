#include "ui/form/paste_guard.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>

namespace hw {

bool holdsData(const QMimeData *source)
{
    return source && !source->formats().isEmpty();
}

bool pastesNothing(const QEvent &event)
{
    return event.type() == QEvent::KeyPress &&
        static_cast<const QKeyEvent &>(event).matches(QKeySequence::Paste) &&
        QGuiApplication::clipboard()->text().isEmpty();
}

} // namespace hw
