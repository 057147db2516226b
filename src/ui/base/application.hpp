#pragma once

class QApplication;
class QFont;
class QIcon;

namespace hw {

/// The font the window is laid out for: 10 pixels of Liberation Sans (Arial's
/// metrics; Arial itself where Liberation is missing), whose captions fit the
/// fixed control sizes.
QFont windowFont();

/// The font of the script box, as many pixels high as the window's font: the
/// first of the monospaced families Debian ships whose characters all take the
/// same room, else the system's fixed-width font.
QFont scriptFont();

/// The program's icon, 48 × 48.
QIcon programIcon();

/// Gives the application its name, font and icon; call before creating the window.
void setUpApplication(QApplication &app);

} // namespace hw
