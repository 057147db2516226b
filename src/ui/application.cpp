#include "ui/application.hpp"

#include <QApplication>
#include <QFont>
#include <QIcon>

namespace hw {

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    // Pixels, not points: the control sizes are pixels, whatever the screen's DPI.
    font.setPixelSize(11);
    return font;
}

QIcon programIcon()
{
    return QIcon(QStringLiteral(":/hourwright.png"));
}

void setUpApplication(QApplication &app)
{
    QApplication::setApplicationName(QStringLiteral("HourWright"));
    QApplication::setFont(windowFont());
    app.setWindowIcon(programIcon());
}

} // namespace hw
