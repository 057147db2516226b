#include "ui/base/application.hpp"

#include "ui/base/accessibility.hpp"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QIcon>

namespace hw {

namespace {

// Whether every character a script line is likely to hold, printable ASCII and
// the Latin-1 letters and signs of the Western code page, takes the same room.
// Asked of the glyphs, not of the font's spacing flag: Noto Sans Mono is
// monospaced but does not say so, and a flag may claim what the glyphs break.
bool sameAdvanceForEvery(const QFont &font)
{
    const QFontMetrics metrics(font);
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
    for (char16_t c = 0x21; c <= 0xFF; ++c) {
        // Controls and the soft hyphen, which is drawn only at a line break.
        if ((c >= 0x7F && c < 0xA0) || c == 0xAD)
            continue;
        if (metrics.horizontalAdvance(QChar(c)) != blank)
            return false;
    }
    return blank > 0;
}

} // namespace

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    // Pixels, not points: the control sizes are pixels, whatever the screen's
    // DPI. At 10 pixels the widest captions ("Duration(Hours):", "Check
    // Visibility") end clear of the controls beside them.
    font.setPixelSize(10);
    return font;
}

QFont scriptFont()
{
    // Every character as wide as a blank, so that the counted indents of a
    // script line up; as tall as the window's other text. The monospaced
    // families Debian ships come first, since what the system calls its fixed
    // font need not be one; a family that is missing falls back to some other
    // font, which the check turns down unless it is monospaced too.
    const int pixels = windowFont().pixelSize();
    for (const char *family :
         {"DejaVu Sans Mono", "Liberation Mono", "Noto Mono", "Noto Sans Mono", "FreeMono"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(pixels);
        if (sameAdvanceForEvery(font))
            return font;
    }
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
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
    installAccessibleInterfaces();
}

} // namespace hw
