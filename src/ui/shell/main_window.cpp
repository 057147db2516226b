#include "ui/shell/main_window.hpp"

#include "ui/base/accessibility.hpp"
#include "ui/base/prompts.hpp"
#include "ui/day/day_strip.hpp"
#include "ui/day/day_view.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/form/frm_main.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/shell/menu_keys.hpp"
#include "ui/shell/window_placement.hpp"
#include "version.hpp"

#include <QAction>
#include <QApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>

namespace hw {

MainWindow::MainWindow(Prompts &prompts, QWidget *parent)
    : QMainWindow(parent)
    , m_prompts(prompts)
    , m_form(new frmMain(prompts))
    , m_formArea(new QScrollArea(this))
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QString::fromUtf8(kProgramTitle));
    // The form fills the room between the bars, and scrolls where that is
    // less than its least size. Without a frame of its own, the form stands
    // where it would stand without the scroll area.
    m_formArea->setObjectName(QStringLiteral("scrForm"));
    m_formArea->setFrameShape(QFrame::NoFrame);
    // Tab walks the form's controls, as before; the area scrolls to each.
    m_formArea->setFocusPolicy(Qt::NoFocus);
    m_formArea->setWidgetResizable(true);
    m_formArea->setWidget(m_form);
    // The day view runs under the form, over the window's whole width: the
    // form keeps its size and its controls their places, and the window is
    // taller by the strip.
    auto *central = new QWidget(this);
    // Made after the form has its place, the strip follows it in the tab
    // order: the window still starts in the NPC name box.
    m_dayStrip = new DayStrip(central);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_formArea, 1);
    column->addWidget(m_dayStrip);
    setCentralWidget(central);
    m_dayView = new DayView(*m_form, *m_dayStrip);
    m_menu = buildMainMenu(*menuBar());
    statusBar()->setSizeGripEnabled(false);
    // A message in the status bar is read out as it appears.
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString &message) {
        statusBar()->setAccessibleName(message);
        if (!message.isEmpty())
            announce(statusBar());
    });
    m_game = new GameCommands(*this, *m_form, prompts,
                              {m_menu.file, m_menu.loadNames, m_menu.loadGameData});
    connectMenu();
    // The frame is not known before the window manager has framed the window:
    // a title bar as the style draws one stands for it.
    if (const QScreen *screen = this->screen())
        fitInto(screen->availableGeometry(),
                QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0));
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
    connect(m_menu.loadNames, &QAction::triggered, m_form, &frmMain::loadButton_Click);
    connect(m_menu.loadGameData, &QAction::triggered, m_game, &GameCommands::loadGameData);
    connect(m_menu.quit, &QAction::triggered, this, &QWidget::close);
    connect(m_menu.about, &QAction::triggered, this, &MainWindow::about);
    connectFileMenu();
    connectEditMenu();
    // Keys that a text box would take for itself: Ctrl+E is Write to Plugin's
    // wherever the focus is; in the name box, whose text is part of the list,
    // Undo and Redo are the menu's (the option fields keep their own undo).
    auto *keys = new MenuKeys(*this);
    keys->claim(*m_menu.writeToPlugin);
    const auto nameBox = [this](const QWidget &control) { return m_form->isNameBox(control); };
    keys->claim(*m_menu.undo, nameBox);
    keys->claim(*m_menu.redo, nameBox);
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

void MainWindow::fitInto(const QRect &room, QMargins frame)
{
    const QSize least = m_form->minimumSize();
    m_formArea->setMinimumSize(least);
    // The window's size wanted is measured with the form area at the form's
    // least size, not at the size an earlier fit left it: the layouts would
    // otherwise answer from what they kept of that fit.
    centralWidget()->layout()->activate();
    layout()->invalidate();
    const QSize full = layout()->totalSizeHint();
    QSize wanted = full;
    // Short of room one way, the form scrolls that way, and the scroll bar
    // takes room from the other way, which the window gets back where it can.
    const QSize fits = placeWindow(wanted, frame, room).size();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_formArea);
    if (fits.height() < full.height())
        wanted.rwidth() += bar;
    if (fits.width() < full.width())
        wanted.rheight() += bar;
    const QRect placed = placeWindow(wanted, frame, room);
    m_shrunk = placed.size() != wanted;
    m_formArea->setMinimumSize(least.boundedTo(placed.size() - (full - least)));
    // The window's least size follows at once, so that it does not hold the
    // window at the size it had; the form's column first, which holds it.
    centralWidget()->layout()->activate();
    layout()->activate();
    resize(placed.size());
    move(placed.topLeft() - QPoint(frame.left(), frame.top()));
}

void MainWindow::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    // The window manager has framed the window when its frame differs from
    // its client area. A window that then reaches beyond its screen (its frame
    // larger than the guess), or that was made smaller for a frame it does not
    // have, is fitted again with the frame it has.
    const Qt::WindowStates placedByTheSystem =
        Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
    if (!m_frameGuessed || frameGeometry() == geometry() || (windowState() & placedByTheSystem))
        return;
    m_frameGuessed = false;
    const QScreen *screen = this->screen();
    if (screen && (m_shrunk || !screen->availableGeometry().contains(frameGeometry()))) {
        const QRect outer = frameGeometry(), inner = geometry();
        fitInto(screen->availableGeometry(),
                QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom()));
    }
}

} // namespace hw
