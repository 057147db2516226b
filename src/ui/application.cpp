#include "ui/application.hpp"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>

namespace hw {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    // Pixels, not points: the control sizes are pixels, whatever the screen's
    // DPI. At 10 pixels the widest captions ("Duration(Hours):", "Check
    // Visiblity") end clear of the controls beside them.
    font.setPixelSize(10);
    return font;
}

QFont scriptFont()
{
    // Fixed width, so that the counted indents of a script line up; as tall as
    // the window's other text.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(windowFont().pixelSize());
    return font;
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/hourwright.png"));
}

void setUpApplication(QApplication &app)
{
    // Both names place the settings (the recent files, the last folders).
    QApplication::setOrganizationName(QStringLiteral("HourWright"));
    QApplication::setApplicationName(QStringLiteral("HourWright"));
    QApplication::setFont(windowFont());
    app.setWindowIcon(programIcon());
}

} // namespace hw
