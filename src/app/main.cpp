// hourwright: the schedule window.
#include "ui/base/application.hpp"
#include "ui/base/prompts.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/shell/main_window.hpp"
#include "ui/shell/start_arguments.hpp"
#include "version.hpp"

#include <QApplication>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Writes `text` to `stream`; returns `status`, or 1 when it could not be written.
int say(std::FILE *stream, const char *text, int status)
{
    if (std::fputs(text, stream) < 0 || std::fflush(stream) != 0) {
        std::fprintf(stderr, "hourwright: cannot write to %s: %s\n",
                     stream == stdout ? "standard output" : "standard error", std::strerror(errno));
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before QApplication exists, so that they need no display.
    if (argc > 1 && std::strcmp(argv[1], "--version") == 0)
        return say(stdout, (std::string("hourwright ") + hw::kVersion + "\n").c_str(), 0);
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return say(stdout,
                   (std::string(hw::kStartUsage) +
                    "\nOpens the HourWright window, with the task list FILE when one is given.\n")
                       .c_str(),
                   0);
    QApplication app(argc, argv);
    const hw::StartArguments arguments = hw::readStartArguments(app.arguments().mid(1));
    if (!arguments.error.isEmpty())
        return say(stderr,
                   ("hourwright: " + arguments.error.toStdString() + "\n" + hw::kStartUsage + "\n")
                       .c_str(),
                   2);
    hw::setUpApplication(app);
    hw::QtPrompts prompts;
    hw::MainWindow window(prompts);
    window.show();
    // Once the window shows, so that a file that cannot be opened is told over it.
    if (!arguments.file.isEmpty())
        QTimer::singleShot(0, &window,
                           [&window, file = arguments.file] { window.document().openFile(file); });
    return app.exec();
}
