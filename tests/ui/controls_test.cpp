// The window as created: every control's kind, caption, place, tab position
// and tooltip, the fixed properties, and the state after start-up.
#include "window_fixture.hpp"

#include "model/catalogue.hpp"
#include "platform/data_folder.hpp"
#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

using hw::frmMain;
using hw::test::ScriptedPrompts;
using hw::test::WindowTest;

struct ControlRow
{
    const char *name;
    const char *kind; // class the control must inherit
    const char *caption;
    QRect geometry;
    int tab; // -1: takes no focus
    const char *toolTip;
};

const char kNameTip[] = "Choose or type a name of your NPC.";
const char kTimeTip[] = "Specify the time for the task at hand.";
const char kTaskTip[] = "What should the NPC do in the specified time.";

const ControlRow kControls[] = {
    {"Label5", "QLabel", "NPC Name:", {8, 12, 61, 17}, -1, kNameTip},
    {"txtName", "QComboBox", "", {72, 8, 145, 21}, 0, kNameTip},
    {"Command1",
     "QPushButton",
     "Load",
     {220, 8, 81, 21},
     1,
     "Load NPC names from an ESM\\ESP file."},
    {"Label3", "QLabel", "Time:", {8, 36, 69, 17}, -1, kTimeTip},
    {"cmbTime", "QComboBox", "00:00", {52, 32, 165, 21}, 2, kTimeTip},
    {"chkLOS",
     "QCheckBox",
     "Check Visiblity",
     {220, 32, 85, 21},
     4,
     "Checking this will make certain actions, such as appearing and disappearing happen only "
     "if the player isn't looking."},
    {"Label4", "QLabel", "Action:", {8, 56, 69, 17}, -1, kTaskTip},
    {"cmbTask", "QComboBox", "Wander", {52, 56, 197, 21}, 3, kTaskTip},
    {"chkGlobal",
     "QCheckBox",
     "Global",
     {252, 56, 49, 21},
     5,
     "Removes the \"FPS guards,\" so you can write your own local central script, or use the "
     "template supplied with the program."},
    {"txtOption(0)", "QLineEdit", "", {72, 92, 81, 19}, 6, nullptr},
    {"txtOption(1)", "QLineEdit", "512", {216, 92, 81, 19}, 7, nullptr},
    {"txtOption(2)", "QLineEdit", "4", {100, 116, 41, 17}, 8, nullptr},
    {"txtOption(3)", "QLineEdit", "10", {100, 140, 41, 17}, 9, nullptr},
    {"txtOption(4)", "QLineEdit", "10", {100, 164, 41, 17}, 10, nullptr},
    {"txtOption(5)", "QLineEdit", "10", {100, 188, 41, 17}, 11, nullptr},
    {"txtOption(6)", "QLineEdit", "10", {100, 212, 41, 17}, 12, nullptr},
    {"txtOption(7)", "QLineEdit", "10", {236, 116, 41, 17}, 13, nullptr},
    {"txtOption(8)", "QLineEdit", "10", {236, 140, 41, 17}, 14, nullptr},
    {"txtOption(9)", "QLineEdit", "10", {236, 164, 41, 17}, 15, nullptr},
    {"txtOption(10)", "QLineEdit", "10", {236, 188, 41, 17}, 16, nullptr},
    {"txtOption(11)", "QLineEdit", "10", {236, 212, 41, 17}, 17, nullptr},
    {"lblOption(0)", "QLabel", "String_01", {20, 92, 65, 13}, -1, nullptr},
    {"lblOption(1)", "QLabel", "Range:", {160, 92, 73, 17}, -1, nullptr},
    {"lblOption(2)", "QLabel", "Duration(Hours):", {20, 116, 81, 17}, -1, nullptr},
    {"lblOption(3)", "QLabel", "Idle 1 Chance:", {20, 140, 85, 17}, -1, nullptr},
    {"lblOption(4)", "QLabel", "Idle 2 Chance:", {20, 164, 97, 17}, -1, nullptr},
    {"lblOption(5)", "QLabel", "Idle 3 Chance:", {20, 188, 89, 17}, -1, nullptr},
    {"lblOption(6)", "QLabel", "Idle 4 Chance:", {20, 212, 81, 17}, -1, nullptr},
    {"lblOption(7)", "QLabel", "Idle 5 Chance:", {160, 116, 73, 17}, -1, nullptr},
    {"lblOption(11)", "QLabel", "Idle 9 Chance:", {160, 212, 73, 17}, -1, nullptr},
    {"chkEqual",
     "QCheckBox",
     "Test for Complete Equality",
     {8, 244, 145, 21},
     18,
     "Checking this will make the program use a \"equal to\" check instead of the default "
     "\"equal or less than\"."},
    {"cmdAdd",
     "QPushButton",
     "Add Task",
     {220, 244, 77, 21},
     19,
     "Add the selected action\\time to the Tasks List."},
    {"cmdRemove",
     "QPushButton",
     "Remove Task",
     {220, 264, 77, 21},
     20,
     "Remove the selected actions from the Tasks List."},
    {"Label1", "QLabel", "Schedule:", {8, 268, 201, 17}, -1, ""},
    {"lstTasks",
     "QListWidget",
     "",
     {8, 288, 297, 199},
     21,
     "The list of all tasks in this NPC's schedule. Double-click an entry to remove it."},
    {"cmdGenerate(2)",
     "QPushButton",
     "Generate Central Script",
     {8, 492, 89, 33},
     22,
     "Generate a script template which would be \"\"local\"\", and call the rest of the scripts "
     "as \"globals\"."},
    {"cmdGenerate(0)",
     "QPushButton",
     "Generate",
     {100, 492, 113, 33},
     23,
     "Generate a script from the whole Tasks List."},
    {"cmdGenerate(1)",
     "QPushButton",
     "Generate From Selection",
     {216, 492, 89, 33},
     24,
     "Generate a script from only the selected items in the Tasks List."},
    {"Label2", "QLabel", "Script:", {312, 4, 261, 17}, -1, ""},
    {"txtScript", "QPlainTextEdit", "", {308, 20, 261, 501}, 25, "Where the script is generated."},
};

QString captionOf(QWidget *w)
{
    if (auto *label = qobject_cast<QLabel *>(w))
        return label->text();
    if (auto *button = qobject_cast<QAbstractButton *>(w))
        return button->text();
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->currentText();
    if (auto *edit = qobject_cast<QLineEdit *>(w))
        return edit->text();
    if (auto *text = qobject_cast<QPlainTextEdit *>(w))
        return text->toPlainText();
    return {};
}

// The controls that take the focus by Tab, in the order Tab visits them.
QList<QWidget *> tabChain(frmMain &window)
{
    QList<QWidget *> chain;
    QWidget *w = window.txtName;
    do {
        if (w->parentWidget() == &window && (w->focusPolicy() & Qt::TabFocus))
            chain.append(w);
        w = w->nextInFocusChain();
    } while (w != window.txtName);
    return chain;
}

TEST(ControlTable, everyControlHasItsKindCaptionPlaceTabPositionAndToolTip)
{
    ScriptedPrompts prompts;
    frmMain window(prompts); // not shown: the layout rule has not run yet
    const QList<QWidget *> chain = tabChain(window);
    ASSERT_EQ(chain.size(), 26);
    for (const ControlRow &row : kControls) {
        SCOPED_TRACE(row.name);
        auto *w = window.findChild<QWidget *>(QString::fromUtf8(row.name));
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->parentWidget(), &window);
        EXPECT_TRUE(w->inherits(row.kind));
        EXPECT_EQ(captionOf(w), QString::fromUtf8(row.caption));
        if (w == window.lstTasks) {
            // Reduced to whole rows: the largest such height up to 199.
            const QRect g = w->geometry();
            EXPECT_EQ(g.topLeft(), row.geometry.topLeft());
            EXPECT_EQ(g.width(), row.geometry.width());
            const int rows = window.lstTasks->rowHeight();
            const int inner = g.height() - 2 * window.lstTasks->frameWidth();
            EXPECT_EQ(inner % rows, 0);
            EXPECT_LE(g.height(), 199);
            EXPECT_GT(g.height() + rows, 199);
        } else {
            EXPECT_EQ(w->geometry(), row.geometry);
        }
        EXPECT_EQ(chain.indexOf(w), row.tab);
        if (row.toolTip) {
            EXPECT_EQ(w->toolTip(), QString::fromUtf8(row.toolTip));
        }
    }
}

TEST(ControlTable, optionFieldsAndTheirLabelsShareTheOptionToolTip)
{
    ScriptedPrompts prompts;
    frmMain window(prompts);
    const QString tip = QStringLiteral("Space for options that different functions require.");
    for (int n = 0; n < 12; ++n) {
        EXPECT_EQ(window.txtOption[n]->toolTip(), tip) << n;
        EXPECT_EQ(window.lblOption[n]->toolTip(), tip) << n;
    }
}

TEST(ControlTable, windowHasItsCaptionFixedClientAreaAndIcon)
{
    ScriptedPrompts prompts;
    frmMain window(prompts);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Hour Wright"));
    EXPECT_EQ(window.size(), QSize(577, 528));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    const QIcon icon = window.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.availableSizes().value(0), QSize(48, 48));
}

TEST(ControlTable, fixedPropertiesOfTheControls)
{
    ScriptedPrompts prompts;
    frmMain window(prompts);
    EXPECT_TRUE(window.txtName->isEditable());
    EXPECT_EQ(window.txtName->count(), 0);
    EXPECT_EQ(window.txtName->currentText(), QString());
    EXPECT_EQ(window.txtName->insertPolicy(), QComboBox::NoInsert);
    EXPECT_FALSE(window.cmbTime->isEditable());
    EXPECT_FALSE(window.cmbTask->isEditable());
    EXPECT_EQ(window.lstTasks->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(window.lstTasks->count(), 0);
    EXPECT_EQ(window.txtScript->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(window.txtScript->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window.txtScript->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(window.txtScript->isReadOnly());
    EXPECT_TRUE(window.txtScript->toPlainText().isEmpty());
    for (QCheckBox *box : {window.chkLOS, window.chkGlobal, window.chkEqual})
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        SCOPED_TRACE(button->objectName().toStdString());
        EXPECT_FALSE(button->isDefault());
        EXPECT_FALSE(button->autoDefault());
    }
    // No access keys: no caption holds an "&".
    for (QWidget *w : window.findChildren<QWidget *>())
        EXPECT_FALSE(captionOf(w).contains(QLatin1Char('&'))) << w->objectName().toStdString();
}

TEST(ControlTable, textBoxesCoverTheLabelsThatReachUnderThem)
{
    ScriptedPrompts prompts;
    frmMain window(prompts);
    const struct
    {
        int label;
        QPoint overlap;
    } cases[] = {{0, {80, 95}}, {1, {220, 95}}, {2, {100, 120}}, {4, {110, 168}}, {5, {105, 190}}};
    for (const auto &c : cases) {
        const QLineEdit *box = window.txtOption[c.label];
        ASSERT_TRUE(window.lblOption[c.label]->geometry().contains(c.overlap));
        ASSERT_TRUE(box->geometry().contains(c.overlap));
        EXPECT_EQ(window.childAt(c.overlap), box) << c.label;
    }
}

TEST(ControlTable, threeNestedOutlinesFrameTheOptionFields)
{
    ScriptedPrompts prompts;
    frmMain window(prompts);
    const QImage image = window.grab().toImage();
    const auto colours = window.shapeColours();
    const auto rects = frmMain::shapeRects();
    for (std::size_t i = 0; i < 3; ++i) {
        const QRect r = rects[i];
        SCOPED_TRACE(i);
        // One sample on each side, away from the controls inside.
        for (QPoint p : {QPoint(r.left(), 150), QPoint(r.right(), 150), QPoint(14, r.top()),
                         QPoint(14, r.bottom())})
            EXPECT_EQ(image.pixelColor(p).rgb(), colours[i].rgb()) << p.x() << "," << p.y();
    }
    EXPECT_NE(colours[0], colours[1]);
    EXPECT_EQ(image.pixelColor(10, 150).rgb(), window.palette().color(QPalette::Window).rgb());
}

TEST_F(WindowTest, startUpFillsTheListsAndLaysOutWander)
{
    ASSERT_EQ(window.cmbTime->count(), 24);
    EXPECT_EQ(window.cmbTime->currentText(), QStringLiteral("00:00"));
    EXPECT_EQ(window.cmbTime->currentIndex(), 0);
    EXPECT_EQ(window.cmbTime->itemText(9), QStringLiteral("09:00"));
    EXPECT_EQ(window.cmbTime->itemText(23), QStringLiteral("23:00"));

    // The action box shows the catalogue's names in caseless alphabetical order.
    ASSERT_EQ(window.cmbTask->count(), static_cast<int>(hw::actionCatalogue().size()));
    for (int i = 1; i < window.cmbTask->count(); ++i)
        EXPECT_LT(window.cmbTask->itemText(i - 1).compare(window.cmbTask->itemText(i),
                                                          Qt::CaseInsensitive),
                  0);
    EXPECT_EQ(window.cmbTask->findText(QStringLiteral("Position")) + 1,
              window.cmbTask->findText(QStringLiteral("Position in Cell")));
    EXPECT_EQ(window.cmbTask->currentText(), QStringLiteral("Wander"));

    EXPECT_FALSE(field(0).isEnabled());
    EXPECT_TRUE(field(0).text().isEmpty());
    EXPECT_FALSE(window.lblOption[0]->isVisible());
    EXPECT_EQ(field(1).text(), QStringLiteral("512"));
    EXPECT_EQ(field(2).text(), QStringLiteral("4"));
    for (int n = 3; n < 12; ++n) {
        EXPECT_TRUE(field(n).isEnabled()) << n;
        EXPECT_EQ(field(n).text(), QStringLiteral("10")) << n;
        EXPECT_TRUE(window.lblOption[n]->isVisible()) << n;
    }
    EXPECT_FALSE(window.option1Text());
    EXPECT_FALSE(window.yesToAll());
    EXPECT_TRUE(prompts.asked.empty());

    // The open-file dialog's folder is looked up once, silently.
    EXPECT_FALSE(window.dataFolder().empty());
    EXPECT_EQ(window.dataFolder(), hw::findDataFolder());
}

} // namespace
