// What a screen reader finds in the window: a name and a description for each control that
// takes the focus, option fields named after the captions of the chosen action, and the
// status bar's messages read out as they appear.
#include "window_fixture.hpp"

#include "ui/base/accessibility.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/shell/main_window.hpp"

#include <QAbstractButton>
#include <QAccessible>
#include <QStatusBar>

namespace {

using namespace hw::test;

// Every interface from `node` down, as a screen reader walks the tree.
void walk(QAccessibleInterface *node, std::vector<QAccessibleInterface *> &all)
{
    all.push_back(node);
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface *child = node->child(i))
            walk(child, all);
}

QString spoken(QObject *control, QAccessible::Text text = QAccessible::Name)
{
    return QAccessible::queryAccessibleInterface(control)->text(text);
}

// What was announced, as the names a screen reader reads for each source.
QStringList g_heard;
void hear(QWidget *source)
{
    g_heard.append(spoken(source));
}

TEST(ScreenReader, findsANameAndADescriptionForEveryControlThatTakesTheFocusAndHearsMessages)
{
    ScriptedPrompts prompts;
    hw::MainWindow main(prompts);
    showActive(main);
    main.game().showNotes();
    std::vector<QAccessibleInterface *> all;
    walk(QAccessible::queryAccessibleInterface(&main), all);
    QStringList seen, unnamed, undescribed;
    for (QAccessibleInterface *node : all) {
        const auto *control = qobject_cast<QWidget *>(node->object());
        if (!control || !node->state().focusable || node->state().invisible)
            continue;
        const QString who = control->objectName() + '(' + control->metaObject()->className() + ')';
        seen.append(who);
        if (node->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(who);
        if (node->text(QAccessible::Description).trimmed().isEmpty())
            undescribed.append(who);
    }
    // The form's 26 controls in the tab order, the name box's text box, the notes.
    EXPECT_GE(seen.size(), 28) << seen.join(' ').toStdString();
    EXPECT_EQ(unnamed, QStringList());
    EXPECT_EQ(undescribed, QStringList());
    // The drop-down lists are named by their labels, whatever they show.
    const hw::frmMain &form = main.form();
    const Controls c = controls(form);
    EXPECT_EQ(
        QStringList({spoken(c.cmbTime), spoken(c.cmbTime, QAccessible::Value), spoken(c.cmbTask),
                     spoken(c.cmbTask, QAccessible::Value), spoken(c.txtName), spoken(c.lstTasks),
                     spoken(c.txtScript), spoken(c.cmdGenerate[1])}),
        QStringList({"Time", "00:00", "Action", "Wander", "NPC Name", "Schedule", "Script",
                     "Generate From Selection"}));

    // The count of the notes, as the status bar shows it, then the status bar's message.
    Window::addTaskTo(main.form(), "06:00", "Appear", {});
    c.txtName->setEditText(QStringLiteral("Town Guard"));
    g_heard.clear();
    const auto previous = hw::setAnnouncementListener(hear);
    QTest::mouseClick(c.cmdGenerate[0], Qt::LeftButton);
    main.statusBar()->showMessage(QStringLiteral("Saved."));
    main.statusBar()->clearMessage();
    hw::setAnnouncementListener(previous);
    const auto *count = main.findChild<QAbstractButton *>(QStringLiteral("btnNotes"));
    ASSERT_NE(count, nullptr);
    EXPECT_FALSE(count->text().isEmpty());
    EXPECT_EQ(g_heard, QStringList({count->text(), "Saved."}));
}

TEST_F(WindowTest, namesAndDescribesTheOptionFieldsAfterTheCaptionsOfTheChosenAction)
{
    // The action, a field, its name and the label it is read with, and the start of its
    // description.
    // clang-format off
    const std::tuple<const char *, int, const char *, const char *> cases[] = {
        {"Wander", 1, "Range|Range:", "Range: a number."},
        {"Say", 0, "File|File:", "File: the path of a sound file under the Sound folder;"},
        {"Say", 1, "Subtitles|Subtitles:", "Subtitles: any text."},
        {"Follow", 0, "Target|Target:", "Target: the id of an NPC or creature;"},
        {"Follow", 1, "Option 2, not used|", "Space for options that different functions require."},
        {"Follow", 3, "Destination X|Destination X:", "Destination X: a number."},
        {"Activate", 0, "Target|Target:", "Target: the id of an object, item, NPC or creature;"},
        {"Play Animation", 0, "Group|Group:", "Group: an animation group;"},
    };
    // clang-format on
    for (const auto &[action, n, name, description] : cases) {
        SCOPED_TRACE(std::string(action) + ' ' + std::to_string(n));
        pick(controls(window).cmbTask, action);
        const auto labels =
            QAccessible::queryAccessibleInterface(&field(n))->relations(QAccessible::Label);
        EXPECT_EQ(spoken(&field(n)) + '|' +
                      (labels.isEmpty() ? QString() : labels[0].first->text(QAccessible::Name)),
                  QString::fromUtf8(name));
        EXPECT_TRUE(spoken(&field(n), QAccessible::Description).startsWith(description))
            << spoken(&field(n), QAccessible::Description).toStdString();
    }
}

} // namespace
