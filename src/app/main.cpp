// hourwright: the schedule window.
#include "ui/application.hpp"
#include "ui/main_window.hpp"
#include "ui/prompts.hpp"
#include "version.hpp"

#include <QApplication>

#include <cerrno>
#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    // Answered before QApplication exists, so that it needs no display.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0) {
        if (std::printf("hourwright %s\n", hw::kVersion) < 0 || std::fflush(stdout) != 0) {
            std::fprintf(stderr, "hourwright: cannot write the version: %s\n",
                         std::strerror(errno));
            return 1;
        }
        return 0;
    }
    QApplication app(argc, argv);
    hw::setUpApplication(app);
    hw::QtPrompts prompts;
    hw::MainWindow window(prompts);
    window.show();
    return app.exec();
}
