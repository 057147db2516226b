#include "ui/main_window.hpp"

#include "ui/frm_main.hpp"
#include "ui/game_commands.hpp"
#include "ui/prompts.hpp"
#include "ui/task_list_document.hpp"
#include "version.hpp"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>

namespace hw {

MainWindow::MainWindow(Prompts &prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_form(new frmMain(prompts, this))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    // A fixed border with minimise and close: the controls have fixed places,
    // so a larger window would only show empty space, and no maximise button
    // is offered.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setCentralWidget(m_form);
    m_menu = buildMainMenu(*menuBar());
    statusBar()->setSizeGripEnabled(false);
    m_game = new GameCommands(*this, *m_form, prompts, m_menu);
    // The form keeps its size and its controls their places; the window grows
    // by the menu bar above and the status bar below.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    connectMenu();
    adjustSize();
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

MainWindow::~MainWindow()
{
    // The document watches the form's controls; as they are destroyed one by
    // one, the task list's model still reports changes, which would reach a
    // name box already gone. The document goes first.
    delete m_document;
}

void MainWindow::connectMenu()
{
    connect(m_menu.loadNames, &QAction::triggered, m_form, &frmMain::Command1_Click);
    connect(m_menu.loadGameData, &QAction::triggered, m_game, &GameCommands::loadGameData);
    connect(m_menu.quit, &QAction::triggered, this, &QWidget::close);
    connect(m_menu.about, &QAction::triggered, this, &MainWindow::about);
    connectFileMenu();
}

void MainWindow::about()
{
    m_prompts.tell(this, QStringLiteral("About HourWright"),
                   QStringLiteral("HourWright %1\n\n"
                                  "Writes NPC schedule scripts for The Elder Scrolls III: "
                                  "Morrowind, ready to paste into the game's script editor.\n\n"
                                  "Free software under the GNU General Public License, version 3 "
                                  "or later.")
                       .arg(QString::fromUtf8(kVersion)));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // The window has one size. A window manager asked to fill the screen would
    // leave the controls in a corner of a black screen: the request is undone.
    const Qt::WindowStates filling = Qt::WindowFullScreen | Qt::WindowMaximized;
    if (windowState() & filling)
        QMetaObject::invokeMethod(
            this, [this, filling] { setWindowState(windowState() & ~filling); },
            Qt::QueuedConnection);
}

} // namespace hw
