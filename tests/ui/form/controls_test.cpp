// The window as created (controls, outlines, lists); captions that fit; the layout rule on
// changes of the client area; Tab, and pastes of nothing.
#include "window_fixture.hpp"

#include "ui/day/day_strip.hpp"
#include "ui/shell/main_window.hpp"

#include <QClipboard>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyleOptionButton>

#include <map>

namespace {

using hw::frmMain;
using namespace hw::test;

// The kind of each control is checked wherever a test finds it by its name.
struct ControlRow
{
    const char *name, *caption;
    QRect geometry;
    int tab;
    const char *toolTip;
};

const char kName[] = "Choose or type a name of your NPC.";
const char kTime[] = "Specify the time for the task at hand.";
const char kTask[] = "What should the NPC do in the specified time.";
const char kOption[] = "Space for options that different functions require.";

// Captions after start-up, in the "Wander" layout; of the option fields, one per column.
// A tab position of -1: takes no focus; a tooltip of nullptr: the option fields' own.
// clang-format off
const ControlRow kControls[] = {
    {"Label5", "NPC Name:", {8, 12, 61, 17}, -1, kName}, {"txtName", "", {72, 8, 145, 21}, 0, kName},
    {"Command1", "Load", {220, 8, 81, 21}, 1, "Load NPC names from an ESM\\ESP file."},
    {"Label3", "Time:", {8, 36, 69, 17}, -1, kTime}, {"cmbTime", "00:00", {52, 32, 165, 21}, 2, kTime},
    {"chkLOS", "Check Visibility", {220, 32, 85, 21}, 4, "Checking this will make certain actions, "
     "such as appearing and disappearing happen only if the player isn't looking."},
    {"Label4", "Action:", {8, 56, 69, 17}, -1, kTask}, {"cmbTask", "Wander", {52, 56, 197, 21}, 3, kTask},
    {"chkGlobal", "Global", {252, 56, 49, 21}, 5, "Removes the \"FPS guards,\" so you can write "
     "your own local central script, or use the template supplied with the program."},
    {"lblOption(0)", "String_01", {20, 92, 65, 13}, -1, nullptr}, {"txtOption(0)", "", {72, 92, 81, 19}, 6, nullptr},
    {"lblOption(1)", "Range:", {160, 92, 73, 17}, -1, nullptr}, {"txtOption(1)", "512", {216, 92, 81, 19}, 7, nullptr},
    {"lblOption(2)", "Duration(Hours):", {20, 116, 81, 17}, -1, nullptr},
    {"lblOption(4)", "Idle 2 Chance:", {20, 164, 97, 17}, -1, nullptr},
    {"txtOption(2)", "4", {100, 116, 41, 17}, 8, nullptr}, {"txtOption(6)", "10", {100, 212, 41, 17}, 12, nullptr},
    {"lblOption(7)", "Idle 5 Chance:", {160, 116, 73, 17}, -1, nullptr},
    {"txtOption(7)", "10", {236, 116, 41, 17}, 13, nullptr}, {"txtOption(11)", "10", {236, 212, 41, 17}, 17, nullptr},
    {"chkEqual", "Test for Complete Equality", {8, 244, 145, 21}, 18, "Checking this will make the "
     "program use a \"equal to\" check instead of the default \"equal or less than\"."},
    {"cmdAdd", "&Add Task", {220, 244, 77, 21}, 19, "Add the selected action\\time to the Tasks List."},
    {"cmdRemove", "&Remove Task", {220, 264, 77, 21}, 20, "Remove the selected actions from the Tasks List."},
    {"Label1", "Schedule:", {8, 268, 201, 17}, -1, ""}, {"Label2", "Script:", {312, 4, 261, 17}, -1, ""},
    {"lstTasks", "", {8, 288, 297, 199}, 21,
     "The list of all tasks in this NPC's schedule. Double-click an entry (or press Enter) to load it "
     "into the fields above; Edit \u203a Replace Task (Ctrl+R) puts it back changed."},
    {"cmdGenerate(2)", "Generate &Central Script", {8, 492, 89, 33}, 22, "Generate a script template "
     "which would be \"\"local\"\", and call the rest of the scripts as \"globals\"."},
    {"cmdGenerate(0)", "&Generate", {100, 492, 113, 33}, 23, "Generate a script from the whole Tasks List."},
    {"cmdGenerate(1)", "Generate From &Selection", {216, 492, 89, 33}, 24,
     "Generate a script from only the selected items in the Tasks List."},
    {"txtScript", "", {308, 20, 261, 501}, 25, "Where the script is generated."},
};
// clang-format on

// The task list's height for `room` pixels: whole rows only; with no room for one, its frame.
int listHeight(const frmMain &window, int room)
{
    const int frame = 2 * controls(window).lstTasks->frameWidth(),
              rows = controls(window).lstTasks->rowHeight();
    return frame + std::max(0, room - frame) / rows * rows;
}

// The text a control shows: its caption, current item or content.
QString captionOf(const QWidget *w)
{
    for (const char *property : {"text", "currentText", "plainText"})
        if (w->property(property).isValid())
            return w->property(property).toString();
    return {};
}

// `caption` as drawn: an access key's "&" is an underline, "&&" one "&".
QString shownText(QString caption)
{
    static const QRegularExpression mnemonic(QStringLiteral("&(.)"));
    return caption.replace(mnemonic, QStringLiteral("\\1"));
}

// The controls in tab order from the name box on; with `enabledOnly`, those Tab visits.
QList<QWidget *> tabChain(frmMain &window, bool enabledOnly)
{
    QList<QWidget *> chain;
    for (QWidget *w = controls(window).txtName; chain.isEmpty() || w != controls(window).txtName;
         w = w->nextInFocusChain())
        if (w->parentWidget() == &window && (w->focusPolicy() & Qt::TabFocus) &&
            (w->isEnabled() || !enabledOnly))
            chain.append(w);
    return chain;
}

TEST(Controls, startUpGivesEveryControlItsCaptionPlaceTabPositionAndToolTip)
{
    ScriptedPrompts prompts;
    frmMain window(prompts); // not shown: the layout rule has not run yet
    const Controls c = controls(window);
    const QList<QWidget *> chain = tabChain(window, false);
    ASSERT_EQ(chain.size(), 26);
    for (const ControlRow &row : kControls) {
        SCOPED_TRACE(row.name);
        auto *w = window.findChild<QWidget *>(QString::fromUtf8(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(captionOf(w), QString::fromUtf8(row.caption));
        EXPECT_EQ(chain.indexOf(w), row.tab);
        EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.toolTip ? row.toolTip : kOption));
        QRect expected = row.geometry;
        if (w == c.lstTasks)
            expected.setHeight(listHeight(window, 199));
        EXPECT_EQ(w->geometry(), expected);
    }
    // Where a label reaches under a text box, the box covers it.
    for (std::size_t n : {0, 1, 2, 4}) {
        const QPoint overlap = c.txtOption[n]->geometry().topLeft() + QPoint(0, 4);
        ASSERT_TRUE(c.lblOption[n]->geometry().contains(overlap)) << n;
        EXPECT_EQ(window.childAt(overlap), c.txtOption[n]) << n;
    }
    // Three nested outlines around the option fields, drawn on the surface.
    const QImage image = window.grab().toImage();
    for (std::size_t i = 0; i < 3; ++i) {
        const QRect r = frmMain::shapeRects()[i];
        for (QPoint p : {QPoint(r.left(), 150), QPoint(r.right(), 150), QPoint(14, r.top()),
                         QPoint(14, r.bottom())})
            EXPECT_EQ(image.pixelColor(p * image.devicePixelRatio()).rgb(),
                      window.shapeColours()[i].rgb())
                << i;
    }
    EXPECT_EQ(window.size(), QSize(577, 528));
    // Every character of a script takes the blank's room, so that counted
    // indents line up: asked of the glyphs, whatever the font says of itself.
    const QFontMetrics script(c.txtScript->font());
    QString characters = QStringLiteral("ÀÉÑÖàéñößÿ"), wider;
    for (char16_t ch = 0x21; ch < 0x7F; ++ch)
        characters += QChar(ch);
    for (const QChar ch : characters)
        if (script.horizontalAdvance(ch) != script.horizontalAdvance(' '))
            wider += ch;
    EXPECT_EQ(wider, QString()) << "measured with "
                                << c.txtScript->fontInfo().family().toStdString();
    EXPECT_TRUE(c.cmdAdd->isDefault());
    // The 24 hours and the 33 actions in caseless order; no question asked.
    ASSERT_EQ(c.cmbTime->count(), 24);
    EXPECT_EQ(c.cmbTime->itemText(9), QStringLiteral("09:00"));
    ASSERT_EQ(c.cmbTask->count(), 33);
    for (int i = 1; i < 33; ++i)
        EXPECT_LT(c.cmbTask->itemText(i - 1).compare(c.cmbTask->itemText(i), Qt::CaseInsensitive),
                  0);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_FALSE(window.dataFolder().empty());
}

TEST_F(WindowTest, everyCaptionFitsItsControlAndEndsClearOfTheNextInEveryLayout)
{
    // The control sizes are made for Liberation Sans (Arial's metrics); a
    // failure says what it measured with.
    SCOPED_TRACE("captions measured with " + QFontInfo(window.font()).family().toStdString());
    const auto siblings = window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (int action = 0; action < controls(window).cmbTask->count(); ++action) {
        controls(window).cmbTask->setCurrentIndex(action);
        for (const QWidget *w : siblings) {
            if (!w->isVisible() || !(w->inherits("QLabel") || w->inherits("QAbstractButton")))
                continue;
            const QString caption = shownText(captionOf(w));
            SCOPED_TRACE(controls(window).cmbTask->currentText().toStdString() + ": " +
                         caption.toStdString());
            // Where the control draws its caption, in its own coordinates.
            QStyleOptionButton option;
            option.initFrom(w);
            option.text = caption;
            const QRect room = w->inherits("QLabel")
                ? w->contentsRect()
                : w->style()->subElementRect(w->inherits("QCheckBox")
                                                 ? QStyle::SE_CheckBoxContents
                                                 : QStyle::SE_PushButtonContents,
                                             &option, w);
            const QFontMetrics metrics = w->fontMetrics();
            QSize needed(metrics.horizontalAdvance(caption), metrics.height());
            if (w->inherits("hw::WrapButton")) // the Generate buttons break their captions
                needed = metrics.boundingRect(room, Qt::TextWordWrap, caption).size();
            EXPECT_LE(needed.width(), room.width());
            EXPECT_LE(needed.height(), room.height());
            if (w->inherits("QPushButton")) // centred in the button
                continue;
            int next = window.width(); // the nearest control to the right on the same line
            for (const QWidget *n : siblings)
                if (n->isVisible() && n->x() > w->x() && n->y() <= w->geometry().bottom() &&
                    n->geometry().bottom() >= w->y())
                    next = std::min(next, n->x());
            EXPECT_LE(w->x() + room.left() + needed.width() + 2, next);
        }
    }
    EXPECT_LT(controls(window).lstTasks->geometry().bottom(), controls(window).cmdGenerate[0]->y());
}

std::map<QString, QRect> geometries(const hw::frmMain &window)
{
    std::map<QString, QRect> map;
    for (const QWidget *w : window.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        map[w->objectName()] = w->geometry();
    return map;
}

TEST(LayoutRule, movesOnlyTheScriptBoxTheListAndTheGenerateButtons)
{
    // Client width and height (0 by 0: minimised); whether the script box,
    // and whether the list and the Generate buttons, follow them.
    const std::tuple<int, int, bool, bool> cases[] = {
        {1280, 960, true, true}, {700, 309, true, true},   {700, 308, true, false},
        {345, 55, true, false},  {344, 600, false, false}, {600, 54, false, false},
        {0, 0, false, false},
    };
    for (const auto &[width, height, scriptFollows, listFollows] : cases) {
        SCOPED_TRACE(std::to_string(width) + 'x' + std::to_string(height));
        Window w;
        auto expected = geometries(w.window); // as laid out for the start size
        if (width == 0)
            w.window.showMinimized();
        else
            w.window.setFixedSize(width, height);
        QCoreApplication::processEvents();
        if (scriptFollows)
            expected["txtScript"] = QRect(308, 20, width - 316, height - 24);
        if (listFollows) {
            // Heights 309 to 320 would ask for a negative height.
            expected["lstTasks"].setHeight(listHeight(w.window, height - 320));
            for (const char *name : {"cmdGenerate(0)", "cmdGenerate(1)", "cmdGenerate(2)"})
                expected[QString::fromUtf8(name)].moveTop(height - 37);
        }
        EXPECT_EQ(geometries(w.window), expected);
    }
}

// The menu bar above the form, the day view under it, a status bar below; the menu's commands
// reach the form and the prompts. Alt and a letter press the button whose caption has it; no
// letter serves two controls of the window or menus of its menu bar.
TEST(MainWindow, holdsTheFormBelowTheMenuBarAndPressesButtonsByTheirAccessKeys)
{
    ScriptedPrompts prompts;
    hw::MainWindow main(prompts);
    showActive(main);
    const QRect form(main.form().mapTo(&main, QPoint(0, 0)), main.form().size());
    EXPECT_EQ(form, QRect(0, main.menuBar()->geometry().bottom() + 1, 577, 528));
    const QRect strip(main.dayStrip().mapTo(&main, QPoint(0, 0)), main.dayStrip().size());
    EXPECT_EQ(strip, QRect(0, form.bottom() + 1, 577, strip.height()));
    EXPECT_EQ(main.statusBar()->y(), strip.bottom() + 1);
    EXPECT_EQ(main.windowIcon().availableSizes().value(0), QSize(48, 48));
    main.menu().about->trigger();
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_TRUE(prompts.asked[0].startsWith("About HourWright|HourWright 0."))
        << prompts.asked[0].toStdString();
    main.menu().loadNames->trigger();
    EXPECT_EQ(prompts.dialogs.size(), 1);

    QStringList captions;
    for (const QAction *menu : main.menuBar()->actions())
        captions.append(menu->text());
    for (const auto *control : main.form().findChildren<QAbstractButton *>())
        captions.append(control->text());
    QString keys;
    for (const QString &caption : captions) {
        const auto key = QRegularExpression(QStringLiteral("&([^&])")).match(caption);
        if (key.hasMatch())
            keys.append(key.captured(1).toUpper());
    }
    for (const QChar key : keys)
        EXPECT_EQ(keys.count(key), 1) << key.toLatin1() << " in " << keys.toStdString();
    const Controls c = controls(main.form());
    const std::pair<QAbstractButton *, Qt::Key> buttons[] = {
        {c.cmdAdd, Qt::Key_A},         {c.cmdRemove, Qt::Key_R},      {c.cmdGenerate[0], Qt::Key_G},
        {c.cmdGenerate[1], Qt::Key_S}, {c.cmdGenerate[2], Qt::Key_C},
    };
    for (const auto &[button, key] : buttons) {
        QSignalSpy clicks(button, &QAbstractButton::clicked);
        c.txtName->setFocus();
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
        // A button's access key presses it as a click that shows: a tenth of a second later.
        EXPECT_TRUE(QTest::qWaitFor([&clicks] { return clicks.count() == 1; }))
            << button->objectName().toStdString();
    }
}

TEST_F(WindowTest, tabAndShiftTabWalkTheWholeTabOrderAndAPasteOfNothingChangesNothing)
{
    // An X clipboard that no program owns gives data without a single format.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    controls(window).txtName->setEditText("x");
    controls(window).txtScript->setScriptText("x");
    const QList<QWidget *> chain = tabChain(window, true); // "Wander": all but field 0
    ASSERT_EQ(chain.size(), 25);
    controls(window).txtName->setFocus();
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
        for (qsizetype step = 1; step <= chain.size(); ++step) {
            QWidget *from = QApplication::focusWidget();
            const QString text = captionOf(from);
            const auto *field = qobject_cast<QLineEdit *>(from); // selected by its focus
            EXPECT_EQ(field ? field->selectedText() : text, text);
            QTest::keyClick(from, Qt::Key_V, Qt::ControlModifier);
            QTest::keyClick(from, Qt::Key_Insert, Qt::ShiftModifier);
            EXPECT_EQ(captionOf(from), text) << from->objectName().toStdString();
            QTest::keyClick(from, key, key == Qt::Key_Tab ? Qt::NoModifier : Qt::ShiftModifier);
            const qsizetype next = key == Qt::Key_Tab ? step : chain.size() - step;
            EXPECT_EQ(QApplication::focusWidget(), chain[next % chain.size()])
                << key << " from " << from->objectName().toStdString();
        }
    }
}

} // namespace
