#pragma once

#include <QMargins>
#include <QRect>

namespace hw {

/// Where a window opens in `room`, the part of a screen that panels and docks
/// leave free: its client area `wanted` big with `frame` (title bar and
/// borders) around it, centred. A window too large for the room shrinks to fit,
/// its frame's top-left corner at the room's, so that its title bar stays on
/// the screen. Returns the client area's geometry.
QRect placeWindow(QSize wanted, QMargins frame, const QRect &room);

} // namespace hw
