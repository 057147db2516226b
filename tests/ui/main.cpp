// GoogleTest main for the window's tests: one QApplication for all cases, set
// up as the program sets itself up, headless unless a platform is chosen.
#include "ui/application.hpp"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    hw::setUpApplication(app);
    return RUN_ALL_TESTS();
}
