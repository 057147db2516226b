// Starts as the window program does (application set-up, window, show) and
// prints the milliseconds from LAUNCH_NS, the wall-clock time in nanoseconds
// taken just before this process was started, to the end of the window's
// first paint. Usage: startup_probe LAUNCH_NS
#include "ui/base/application.hpp"
#include "ui/base/prompts.hpp"
#include "ui/shell/main_window.hpp"

#include <QApplication>
#include <QEvent>
#include <QMetaObject>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(long long launchNs)
        : m_launchNs(launchNs)
    { }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so that the time is taken after the paint has been flushed.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                         std::chrono::system_clock::now().time_since_epoch())
                                         .count();
                    std::printf("%.1f\n", static_cast<double>(now - m_launchNs) / 1e6);
                    QApplication::quit();
                },
                Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    long long m_launchNs;
    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fputs("usage: startup_probe LAUNCH_NS\n", stderr);
        return 2;
    }
    const long long launchNs = std::atoll(argv[1]);
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    hw::setUpApplication(app);
    hw::QtPrompts prompts;
    hw::MainWindow window(prompts);
    FirstPaint probe(launchNs);
    window.installEventFilter(&probe);
    window.show();
    return app.exec();
}
