// hourwright: the schedule window.
#include "ui/application.hpp"
#include "ui/frm_main.hpp"
#include "ui/prompts.hpp"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    hw::setUpApplication(app);
    hw::QtPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    return app.exec();
}
