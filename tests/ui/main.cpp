// GoogleTest main for the window's tests: one QApplication for all cases,
// set up as the program sets itself up (font, icon).
#include "ui/application.hpp"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Headless unless a platform is chosen, so that listing and running the
    // tests needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hw::setUpApplication(app);
    return RUN_ALL_TESTS();
}
