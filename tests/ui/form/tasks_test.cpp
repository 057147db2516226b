// Add Task, Remove Task, Delete and copying in the task list; the Generate buttons
// and the script box that shows their result.
#include "window_fixture.hpp"

#include "generator/schedule_script.hpp"

#include <QAbstractItemView>
#include <QClipboard>
#include <QSignalSpy>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using namespace hw::test;
using enum PromptAnswer;

TEST(AddTask, asksTheTribunalQuestionFirstThenFilesTheEntryOrRefusesAndLeavesTheFields)
{
    // Action, texts of its enabled fields, answer to the Tribunal question, the entry at 08:00
    // or the message. The model judges the texts; here, a refusal is told and keeps the fields.
    // clang-format off
    const std::tuple<const char *, std::vector<const char *>, PromptAnswer, const char *> cases[] = {
        {"Equip", {"iron_sword"}, Yes, "08:00 > Equip > \"iron_sword\""},
        {"Equip", {"iron_sword"}, No, ""},
        {"Equip", {"iron_sword"}, YesToAll, "08:00 > Equip > \"iron_sword\""},
        {"Equip", {""}, YesToAll, "Required field not filled!"},
        {"Travel", {"007", " 1.50", ""}, Yes, "08:00 > Travel > 7/1.5/0"},
        {"Add Item", {"", "5"}, Yes, "Required field not filled!"},
        {"Attack", {"a\tb"}, Yes, "Text fields cannot contain line breaks or control characters!"},
    };
    // clang-format on
    for (const auto &[action, texts, answer, outcome] : cases) {
        SCOPED_TRACE(std::string(action) + " answer " + std::to_string(int(answer)) + ' ' +
                     outcome);
        Window w;
        w.prompts.answers = {answer};
        w.addTask("08:00", action, texts);
        const bool asks = QByteArray(action) == "Equip",
                   added = QByteArray(outcome).startsWith("08");
        const bool refused = *outcome && !added, silenced = asks && answer == YesToAll;
        QStringList asked;
        if (asks)
            asked.append(
                "Hour Wright|\"Equip\" is a Tribunal function. Do you still want to add it?");
        if (refused)
            asked.append("HourWright|" + QString(outcome));
        EXPECT_EQ(w.prompts.asked, asked);
        EXPECT_TRUE(!refused || w.prompts.buttons.back() == PromptButtons::Ok);
        EXPECT_TRUE(!asks || w.prompts.buttons.front() == PromptButtons::YesYesToAllNo);
        EXPECT_EQ(w.tasks(), added ? outcome : "");
        EXPECT_EQ(w.optionTexts(), QStringList(texts.begin(), texts.end()).join('/')); // as typed
        // After Yes to All no Tribunal action asks again.
        EXPECT_EQ(w.window.yesToAll(), silenced);
        w.prompts.asked.clear();
        w.addTask("09:00", "Start Running"); // a default Yes if asked
        EXPECT_EQ(w.prompts.asked.size(), silenced ? 0 : 1);
        EXPECT_TRUE(w.tasks().endsWith("09:00 > Start Running"));
    }
}

TEST_F(WindowTest, theListFilesEntriesCaselesslyAndCopiesAndRemovesSelectedOnes)
{
    // Equal but for case, a later entry goes after the earlier ones.
    for (const char *entry : {"03:00 B", "01:00 a", "03:00 a", "03:00 A", "02:00 x", "03:00 b"})
        addTask(QByteArray(entry).left(5).constData(), "Attack", {entry + 6});
    hw::ListBox *list = controls(window).lstTasks;
    auto click = [list](int row, Qt::KeyboardModifiers modifiers, bool twice = false) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, at);
        if (twice) // the second click of a double-click comes as a double-click
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, modifiers, at);
    };
    auto entries = [this] { return tasks().remove(" > Attack > ").remove('"').replace('\n', ' '); };
    QTest::mouseClick(controls(window).cmdRemove, Qt::LeftButton); // nothing selected
    EXPECT_EQ(entries(), QStringLiteral("01:00a 02:00x 03:00a 03:00A 03:00B 03:00b"));
    click(5, {});
    click(0, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier); // in list order
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("01:00 > Attack > \"a\"\n03:00 > Attack > \"b\"\n"));
    click(0, {});
    QTest::mouseClick(controls(window).cmdRemove, Qt::LeftButton);
    click(1, {});
    click(2, Qt::ShiftModifier);
    click(4, Qt::ControlModifier);
    QTest::mouseClick(controls(window).cmdRemove, Qt::LeftButton);
    EXPECT_EQ(entries(), QStringLiteral("02:00x 03:00B"));
    click(1, {}, true); // a double-click takes nothing away
    EXPECT_EQ(entries(), QStringLiteral("02:00x 03:00B"));
    click(0, Qt::ControlModifier);
    QTest::keyClick(list, Qt::Key_Delete); // as Remove Task
    EXPECT_TRUE(tasks().isEmpty());
    QTest::mouseClick(controls(window).cmdRemove, Qt::LeftButton); // an empty list stays empty
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_TRUE(tasks().isEmpty());
}

// Enter adds the task wherever in the form it has no meaning of its own: a focused button
// presses itself, the task list and the script box keep theirs, an open drop-down takes it.
TEST_F(WindowTest, enterAddsTheTaskUnlessTheControlWithTheFocusHasAMeaningForIt)
{
    addTask("01:00", "Appear");
    pick(controls(window).cmbTask, "Travel");
    const auto enter = [this](QWidget *control, Qt::KeyboardModifiers modifiers = {}) {
        control->setFocus();
        const qsizetype before = tasks().count('\n');
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, modifiers);
        return tasks().count('\n') - before;
    };
    const Controls c = controls(window);
    for (QWidget *control : std::initializer_list<QWidget *> {&field(2), c.txtName, c.cmbTime,
                                                              c.cmbTask, c.chkLOS, c.cmdAdd})
        EXPECT_EQ(enter(control), 1) << control->objectName().toStdString();
    EXPECT_EQ(enter(&field(2), Qt::ShiftModifier), 0);
    EXPECT_EQ(enter(c.lstTasks), 0);
    EXPECT_EQ(enter(c.txtScript), 0);
    EXPECT_EQ(c.txtScript->scriptText(), QStringLiteral("\r\n"));
    c.lstTasks->setCurrentRow(0);
    EXPECT_EQ(enter(c.cmdRemove), -1);
    c.cmbTime->setFocus();
    c.cmbTime->showPopup();
    QTest::keyClick(c.cmbTime->view(), Qt::Key_Down);
    EXPECT_EQ(enter(c.cmbTime->view()), 0);
    EXPECT_EQ(c.cmbTime->currentText(), QStringLiteral("02:00"));
}

struct Scheduler : Window
{
    void press(int index, const char *npcId = "Town Guard")
    {
        controls(window).txtName->setEditText(QString::fromUtf8(npcId));
        QTest::mouseClick(controls(window).cmdGenerate[index], Qt::LeftButton);
    }
    QString script() const { return controls(window).txtScript->scriptText(); }

    void addWorkedExample() // backwards, so that the list's order is its own
    {
        prompts.answers = {Yes}; // Start Running needs Tribunal
        addTask("20:00", "Disappear");
        addTask("12:00", "Say", {"vo\\hello.mp3", "Good day"});
        addTask("06:00", "Travel", {"100", "200", "0"});
        addTask("06:00", "Start Running");
        prompts.asked.clear();
        prompts.buttons.clear();
    }
};

class Generate : public ::testing::Test, public Scheduler
{
};

// The script's text is the generator's (tested with it); the window hands over the name, the
// entries in the list's order (or the selected ones) and the switches, and sets the box once.
TEST_F(Generate, givesTheGeneratorTheNameTheEntriesAndTheSwitches)
{
    addWorkedExample();
    QSignalSpy changes(controls(window).txtScript, &QPlainTextEdit::textChanged);
    press(0);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(changes.count(), 1);
    const std::vector<std::string> all = {"06:00 > Start Running", "06:00 > Travel > 100/200/0",
                                          "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"",
                                          "20:00 > Disappear"};
    EXPECT_EQ(script().toStdString(), hw::generateSchedule("Town Guard", all, {}).text);
    controls(window).lstTasks->item(1)->setSelected(true);
    controls(window).lstTasks->item(3)->setSelected(true);
    controls(window).chkEqual->setChecked(true);
    press(1);
    EXPECT_EQ(script().toStdString(),
              hw::generateSchedule("Town Guard", std::vector {all[1], all[3]},
                                   {.global = false, .equality = true})
                  .text);
    // Check Visibility starts ticked.
    controls(window).chkGlobal->setChecked(true);
    controls(window).chkEqual->setChecked(false);
    controls(window).chkLOS->setChecked(false);
    press(0);
    EXPECT_EQ(script().toStdString(),
              hw::generateSchedule("Town Guard", all, {true, false, false}).text);
}

TEST(GenerateQuestion, aFilledScriptBoxIsReplacedOnlyAfterYesAndNeverAfterAFailedCheck)
{
    // Button, NPC id, tasks (0: none; 1: the worked example; 2: with its first
    // entry selected), the answer and the message after "Hour Wright|".
    const char *const overwrite = "Overwrite existing text?";
    // clang-format off
    const std::tuple<int, const char *, int, PromptAnswer, const char *> cases[] = {
        {0, "", 0, Yes, "NPC Name not specified!"}, // before the missing tasks
        {0, "abc\ndef", 1, Yes, "NPC Name cannot contain line breaks or control characters!"},
        {0, "Town Guard", 0, Yes, "No tasks specified!"},
        {1, "Town Guard", 1, Yes, "No tasks specified!"}, // none selected
        {0, "Town Guard", 2, Yes, overwrite}, {0, "Town Guard", 2, No, overwrite},
        {1, "Town Guard", 2, Yes, overwrite}, {1, "Town Guard", 2, No, overwrite},
        {2, "", 0, Yes, overwrite}, {2, "", 0, No, overwrite}, // neither name nor tasks needed
    };
    // clang-format on
    for (const auto &[index, npcId, tasks, answer, message] : cases) {
        SCOPED_TRACE(std::to_string(index) + ' ' + message);
        struct : Generate
        {
            void TestBody() override { }
        } w;
        if (tasks > 0)
            w.addWorkedExample();
        if (tasks > 1)
            controls(w.window).lstTasks->item(0)->setSelected(true);
        controls(w.window).txtScript->setScriptText("\r\n"); // a line break is text too
        w.prompts.answers = {answer};
        w.press(index, npcId);
        const bool asked = message == overwrite;
        EXPECT_EQ(w.prompts.asked, QStringList {QStringLiteral("Hour Wright|") + message});
        EXPECT_EQ(w.prompts.buttons.at(0), asked ? PromptButtons::YesNo : PromptButtons::Ok);
        EXPECT_TRUE(asked && answer == Yes ? w.script().startsWith("Begin ")
                                           : w.script() == QStringLiteral("\r\n"))
            << w.script().toStdString();
    }
}

TEST_F(Generate, unknownActionsAreReportedOnceEachAndTheCentralScriptIsNamedAfresh)
{
    // Add Task writes only known actions; these entries stand for damaged ones.
    controls(window).lstTasks->addSorted(QStringLiteral("07:00 > Dance > \"slow\""));
    controls(window).lstTasks->addSorted(QStringLiteral("08:00 > Fly"));
    addTask("09:00", "Appear");
    press(0);
    EXPECT_EQ(prompts.asked, QStringList(2, QStringLiteral("HourWright|Command data not found!")));
    EXPECT_EQ(script().count("\r\n       ;Some error occured here!\r\n"), 2);
    EXPECT_TRUE(script().contains("-> Enable\r\n"));
    press(2, ""); // Yes to the overwrite question by default
    const QString first = script().section("\r\n", 0, 0);
    EXPECT_TRUE(first.startsWith("Begin hrw_central_")) << first.toStdString();
    EXPECT_TRUE(script().endsWith("\r\nEnd"));
    press(2, "");
    EXPECT_NE(script().section("\r\n", 0, 0), first);
}

TEST_F(WindowTest, theScriptBoxGivesItsTextBackExactlyAndCtrlAWithShiftOrAltSelectsAll)
{
    hw::ScriptBox &box = *controls(window).txtScript;
    for (const QString &text :
         {QStringLiteral("If ( \"Town\u00a0Guard\"-> GetHealth <= 0 ) \r\n\r\nEnd"),
          QStringLiteral("x\r\n\r\n"), QString()}) {
        box.setScriptText(text);
        EXPECT_EQ(box.scriptText(), text) << text.toStdString();
    }
    const QString text = QStringLiteral("Begin a\r\n\r\n       Set");
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::ControlModifier), Qt::ControlModifier | Qt::ShiftModifier,
          Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers()}) {
        const bool all = modifiers != Qt::NoModifier; // else plain A types
        box.setScriptText(text);
        box.moveCursor(QTextCursor::Start);
        QTest::keyClick(&box, Qt::Key_A, modifiers);
        QGuiApplication::clipboard()->clear();
        box.copy(); // with CR LF, as the game's editor wants
        EXPECT_EQ(QGuiApplication::clipboard()->text(), all ? text : QString());
        EXPECT_EQ(box.scriptText(), all ? text : 'a' + text);
    }
    // Lines ended otherwise, or by the author's Enter, come back with CR LF too.
    box.setScriptText(QStringLiteral("a\nb\rc"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.scriptText(), QStringLiteral("a\r\nb\r\nc\r\n"));
}

} // namespace
