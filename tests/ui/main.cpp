// GoogleTest main for the window's tests: one QApplication set up as the program's,
// headless unless a platform is chosen, on a machine of its own.
#include "ui/base/application.hpp"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Whoever runs the tests keeps their desktop's scaling, style and theme to
    // themselves: the tests measure pixels of the program's own look.
    for (const char *name :
         {"QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_FONT_DPI", "QT_ENABLE_HIGHDPI_SCALING",
          "QT_USE_PHYSICAL_DPI", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE"})
        qunsetenv(name);
    // A home of their own, set before anything reads it: the settings (recent
    // files, last folders), OpenMW's folders and the Wine prefix that the data
    // folder's look-up reads all start empty, whoever runs the tests.
    const QTemporaryDir home;
    if (!home.isValid()) {
        std::fprintf(stderr, "ui_tests: no temporary folder for a home: %s\n",
                     qPrintable(home.errorString()));
        return 1;
    }
    const QDir dir(home.path());
    qputenv("HOME", QFile::encodeName(dir.path()));
    for (const auto &[name, folder] : {std::pair {"XDG_CONFIG_HOME", ".config"},
                                       {"XDG_DATA_HOME", ".local/share"},
                                       {"XDG_CACHE_HOME", ".cache"},
                                       {"XDG_STATE_HOME", ".local/state"},
                                       {"XDG_RUNTIME_DIR", "runtime"},
                                       {"WINEPREFIX", ".wine"}})
        qputenv(name, QFile::encodeName(dir.filePath(QLatin1String(folder))));
    // The runtime folder must exist and be the user's alone; the others are
    // made when something writes there.
    dir.mkdir(QStringLiteral("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QApplication app(argc, argv);
    hw::setUpApplication(app);
    return RUN_ALL_TESTS();
}
