// The window's size: where it opens, how the form follows when it grows or is
// maximised, and a screen too small for it.
#include "window_fixture.hpp"

#include "ui/day/day_strip.hpp"
#include "ui/form/script_box.hpp"
#include "ui/form/wrap_button.hpp"
#include "ui/shell/main_window.hpp"
#include "ui/shell/window_placement.hpp"

#include <QAbstractButton>
#include <QScrollArea>
#include <QScrollBar>

#include <map>
#include <tuple>

namespace {

using hw::test::controls;
using hw::test::ScriptedPrompts;

// Client area wanted, frame, room; the client area's place and size.
using PlacementCase = std::tuple<QSize, QMargins, QRect, QRect>;

TEST(WindowPlacement, centresTheFrameInTheRoomAndShrinksAWindowTooLargeBelowItsTop)
{
    const PlacementCase cases[] = {
        {{577, 569}, {1, 20, 1, 5}, {0, 0, 1280, 1024}, {351, 235, 577, 569}},
        // Panels at the top and the left: centred in what they leave.
        {{577, 569}, {1, 20, 1, 5}, {40, 30, 1240, 994}, {371, 250, 577, 569}},
        // A 1280 × 1024 screen at twice the scale: as tall as the room, the title bar in it.
        {{577, 569}, {1, 10, 1, 3}, {0, 0, 640, 512}, {31, 10, 577, 499}},
        {{577, 569}, {1, 20, 1, 5}, {0, 0, 400, 300}, {1, 20, 398, 275}},
        {{577, 569}, {}, {0, 0, 577, 569}, {0, 0, 577, 569}},
    };
    for (const auto &[wanted, frame, room, placed] : cases)
        EXPECT_EQ(hw::placeWindow(wanted, frame, room), placed)
            << room.width() << 'x' << room.height();
}

// The geometries of the form's controls that the layout rule leaves alone.
std::map<QString, QRect> fixedControls(const hw::frmMain &form)
{
    std::map<QString, QRect> map;
    for (const QWidget *w : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w != controls(form).txtScript && w != controls(form).lstTasks &&
            !w->inherits("hw::WrapButton"))
            map[w->objectName()] = w->geometry();
    return map;
}

// The form fills the room between the bars and gives it, by the layout rule, to
// the script box, the task list and the Generate buttons; the other controls
// stay where they are.
void expectFormFills(hw::MainWindow &main, const std::map<QString, QRect> &fixed)
{
    const hw::frmMain &form = main.form();
    const QSize room = main.formArea().viewport()->size();
    EXPECT_EQ(form.size(), room);
    EXPECT_EQ(controls(form).txtScript->geometry(),
              QRect(308, 20, room.width() - 316, room.height() - 24));
    EXPECT_EQ(controls(form).cmdGenerate[0]->y(), room.height() - 37);
    EXPECT_LE(controls(form).lstTasks->height(), room.height() - 320);
    EXPECT_GT(controls(form).lstTasks->height() + controls(form).lstTasks->rowHeight(),
              room.height() - 320);
    EXPECT_EQ(fixedControls(form), fixed);
}

// The program's window, shown and active as after start-up.
class WindowSize : public ::testing::Test
{
protected:
    ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    WindowSize() { hw::test::showActive(main); }
};

TEST_F(WindowSize, givesTheRoomOfALargerWindowToTheScriptBoxAndTheTaskList)
{
    const QSize start = main.size();
    const auto fixed = fixedControls(main.form());
    // Larger one way, the other, both; smaller than at the start: kept at the start size.
    for (const QSize size :
         {QSize(800, 569), QSize(577, 900), QSize(1200, 1000), QSize(300, 200), start}) {
        SCOPED_TRACE(std::to_string(size.width()) + 'x' + std::to_string(size.height()));
        main.resize(size);
        QCoreApplication::processEvents();
        EXPECT_EQ(main.size(), size.expandedTo(start));
        expectFormFills(main, fixed);
        EXPECT_FALSE(main.formArea().verticalScrollBar()->isVisible());
        EXPECT_FALSE(main.formArea().horizontalScrollBar()->isVisible());
    }
}

TEST_F(WindowSize, keepsAMaximisedWindowMaximised)
{
    const auto fixed = fixedControls(main.form());
    main.showMaximized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.isMaximized(); }));
    QTest::qWait(50); // what would undo it runs from the event loop
    EXPECT_TRUE(main.isMaximized());
    EXPECT_EQ(main.frameGeometry(), main.screen()->availableGeometry());
    expectFormFills(main, fixed);
}

TEST_F(WindowSize, opensWithinASmallScreenWhereTabReachesEveryControl)
{
    // A 1280 × 1024 screen at twice the scale, with a title bar of 10 pixels.
    const QRect room(0, 0, 640, 512);
    const QMargins frame(1, 10, 1, 3);
    // First with a frame guessed, then again once the window manager has
    // framed the window, as at every start.
    main.fitInto(room, QMargins(0, 20, 0, 0));
    main.fitInto(room, frame);
    QCoreApplication::processEvents();
    EXPECT_TRUE(room.contains(main.frameGeometry()));
    EXPECT_EQ(main.height() + frame.top() + frame.bottom(), room.height());
    EXPECT_EQ(main.size().expandedTo(main.minimumSize()), main.size());
    // The form keeps its size and scrolls up and down, the window being wider by the scroll bar.
    QScrollArea &area = main.formArea();
    EXPECT_EQ(main.form().size(), QSize(577, 528));
    EXPECT_TRUE(area.verticalScrollBar()->isVisible());
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible());

    hw::frmMain &form = main.form();
    controls(form).txtName->setFocus();
    for (int step = 0; step < 25; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        const QWidget *focused = QApplication::focusWidget();
        // The day view, after the script box, stands under the area, in the window.
        if (!area.isAncestorOf(focused)) {
            EXPECT_EQ(focused, main.dayStrip().hourButton(0));
            EXPECT_TRUE(
                main.rect().contains(QRect(focused->mapTo(&main, QPoint()), focused->size())));
            continue;
        }
        // Whole where it fits the area (the script box does not), else in part.
        const QRect at(focused->mapTo(area.viewport(), QPoint(0, 0)), focused->size());
        const QRect shown = area.viewport()->rect();
        EXPECT_TRUE(focused == controls(form).txtScript ? shown.intersects(at) : shown.contains(at))
            << focused->objectName().toStdString();
    }
}

} // namespace
