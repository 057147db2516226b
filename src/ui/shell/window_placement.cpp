#include "ui/shell/window_placement.hpp"

#include <algorithm>

namespace hw {

QRect placeWindow(QSize wanted, QMargins frame, const QRect &room)
{
    const QSize framing(frame.left() + frame.right(), frame.top() + frame.bottom());
    const QSize client = wanted.boundedTo(room.size() - framing).expandedTo(QSize(1, 1));
    const QSize outer = client + framing;
    const QPoint corner = room.topLeft() +
        QPoint(std::max(0, (room.width() - outer.width()) / 2),
               std::max(0, (room.height() - outer.height()) / 2));
    return {corner + QPoint(frame.left(), frame.top()), client};
}

} // namespace hw
