#pragma once

class QApplication;
class QFont;
class QIcon;

namespace hw {

/// The font the window is laid out for: 11 pixels of Liberation Sans (Arial's
/// metrics; Arial itself where Liberation is missing), whose captions fit the
/// fixed control sizes.
QFont windowFont();

/// The program's icon, 48 × 48.
QIcon programIcon();

/// Gives the application its name, font and icon; call before creating the window.
void setUpApplication(QApplication &app);

} // namespace hw
