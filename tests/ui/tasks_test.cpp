// Add Task, Remove Task, the double-click and the three Generate buttons,
// driven through the window.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <QCheckBox>
#include <QSignalSpy>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::WindowTest;

const QString kEquipQuestion =
    QStringLiteral("Hour Wright|\"Equip\" is a Tribunal function. Do you still want to add it?\r\n"
                   "Cancel is \"Yes to All\"");

class TribunalQuestion : public WindowTest, public ::testing::WithParamInterface<PromptAnswer>
{
};

TEST_P(TribunalQuestion, yesAddsNoDropsCancelAddsAndSilencesLaterQuestions)
{
    const PromptAnswer answer = GetParam();
    prompts.answers = {answer};
    addTask("08:00", "Equip", {"iron_sword"});
    EXPECT_EQ(prompts.asked, QStringList {kEquipQuestion});
    EXPECT_EQ(prompts.buttons.at(0), PromptButtons::YesNoCancel);
    EXPECT_EQ(window.yesToAll(), answer == PromptAnswer::Cancel);
    addTask("09:00", "Start Running"); // a default Yes if asked
    EXPECT_EQ(prompts.asked.size(), answer == PromptAnswer::Cancel ? 1 : 2);
    EXPECT_EQ(tasks(),
              QString(answer == PromptAnswer::No ? "" : "08:00 > Equip > \"iron_sword\"\n") +
                  "09:00 > Start Running");
}

INSTANTIATE_TEST_SUITE_P(Answers, TribunalQuestion,
                         ::testing::Values(PromptAnswer::Yes, PromptAnswer::No,
                                           PromptAnswer::Cancel));

struct RefusalCase
{
    const char *action;
    std::vector<const char *> texts; // for the enabled fields, from the first
    const char *message;
};

class AddTaskRefusal : public WindowTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(AddTaskRefusal, showsTheReasonAfterAnyTribunalQuestionAndAddsNothing)
{
    const RefusalCase &c = GetParam();
    prompts.answers = {PromptAnswer::Cancel};
    addTask("08:00", c.action, c.texts);
    EXPECT_EQ(prompts.asked.last(), QStringLiteral("HourWright|") + QString::fromUtf8(c.message));
    EXPECT_EQ(prompts.buttons.back(), PromptButtons::Ok);
    EXPECT_TRUE(tasks().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AddTaskRefusal,
    ::testing::Values(RefusalCase {"Add Item", {"", "5"}, "Required field not filled!"},
                      RefusalCase {"Say", {"a.mp3", ""}, "Required field not filled!"},
                      RefusalCase {"Equip", {""}, "Required field not filled!"}, // after a Cancel
                      RefusalCase {
                          "Cast", {"say \"hi\"", "x"}, "Text fields cannot contain double quotes!"},
                      RefusalCase {"Travel", {"", "1e999"}, "Number out of range!"}));

TEST_F(WindowTest, entriesFileThemselvesInCaselessOrderAndDuplicatesStay)
{
    addTask("23:00", "Appear");
    addTask("10:00", "Wander", {"512.50", "007", ".5", ""});
    addTask("10:00", "Activate", {"door"});
    addTask("11:00", "Say", {"b.mp3", "B"});
    addTask("11:00", "Say", {"a.mp3", "a"});
    addTask("10:00", "Activate", {"door"});
    EXPECT_EQ(tasks(),
              QStringLiteral("10:00 > Activate > \"door\"\n10:00 > Activate > \"door\"\n"
                             "10:00 > Wander > 512.5/7/0.5/0/10/10/10/10/10/10/10\n"
                             "11:00 > Say > \"a.mp3\"/\"a\"\n11:00 > Say > \"b.mp3\"/\"B\"\n"
                             "23:00 > Appear"));
    EXPECT_EQ(field(0).text(), QStringLiteral("door")) << "adding leaves the choices as they were";
    EXPECT_TRUE(prompts.asked.isEmpty());
}

TEST_F(WindowTest, removeTaskTakesTheSelectedEntriesAndDoubleClickTheLineClicked)
{
    for (const char *time : {"01:00", "02:00", "03:00", "04:00", "05:00", "06:00"})
        addTask(time, "Appear");
    auto click = [this](int row, Qt::KeyboardModifiers modifiers, bool twice = false) {
        const QPoint at = window.lstTasks->visualItemRect(window.lstTasks->item(row)).center();
        QTest::mouseClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, at);
        if (twice) // the second click of a double-click comes as a double-click
            QTest::mouseDClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, at);
    };
    auto hours = [this] {
        return window.lstTasks->texts().replaceInStrings(" > Appear", "").join(' ');
    };
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton); // nothing selected
    EXPECT_EQ(hours(), QStringLiteral("01:00 02:00 03:00 04:00 05:00 06:00"));
    click(0, {});
    click(2, Qt::ShiftModifier);
    click(4, Qt::ControlModifier);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_EQ(hours(), QStringLiteral("04:00 06:00"));
    click(0, {});
    click(1, Qt::ControlModifier, true); // in a multiple selection only that line goes
    EXPECT_EQ(hours(), QStringLiteral("04:00"));
    click(0, {}, true);
    QTest::mouseDClick(window.lstTasks->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton); // an empty list stays empty
    EXPECT_TRUE(tasks().isEmpty());
}

class Generate : public WindowTest
{
protected:
    void press(int index, const char *npcId = "Town Guard")
    {
        window.txtName->setEditText(QString::fromUtf8(npcId));
        QTest::mouseClick(window.cmdGenerate[index], Qt::LeftButton);
    }
    QString script() const { return window.txtScript->scriptText(); }

    void addWorkedExample()
    {
        prompts.answers = {PromptAnswer::Yes}; // Start Running needs Tribunal
        addTask("06:00", "Start Running");
        addTask("06:00", "Travel", {"100", "200", "0"});
        addTask("12:00", "Say", {"vo\\hello.mp3", "Good day"});
        addTask("20:00", "Disappear");
        prompts.asked.clear();
        prompts.buttons.clear();
    }
};

TEST_F(Generate, theWorkedExampleReadsBackExactlyFromTheScriptBox)
{
    addWorkedExample();
    QSignalSpy changes(window.txtScript, &QPlainTextEdit::textChanged);
    press(0);
    EXPECT_TRUE(prompts.asked.isEmpty());
    EXPECT_EQ(changes.count(), 1) << "the whole text is set in one assignment";
    EXPECT_EQ(script(),
              QStringLiteral("Begin town_guard_sched_sc_01\r\n\r\n"
                             "Short hrw_hour\r\nShort hrw_last\r\n\r\n"
                             "If ( MenuMode )\r\n      Return\r\nEndIf\r\n\r\n"
                             "Set hrw_hour to GameHour\r\n"
                             "If ( hrw_last == hrw_hour )\r\n      Return\r\n"
                             "ElseIf ( \"Town Guard\"-> GetHealth <= 0 ) \r\n"
                             "       Return\r\nEndIf\r\n\r\n"
                             "If ( hrw_hour <= 6 )\r\n"
                             "       Set hrw_last to 6\r\n"
                             "       \"Town Guard\"-> ForceRun\r\n"
                             "       \"Town Guard\"-> AITravel 100, 200, 0\r\n"
                             "ElseIf ( hrw_hour <= 12 )\r\n"
                             "       Set hrw_last to 12\r\n"
                             "       \"Town Guard\"-> Say \"vo\\hello.mp3\", \"Good day\"\r\n"
                             "ElseIf ( hrw_hour == 20 )\r\n"
                             "       Set hrw_last to 20\r\n"
                             "       If ( \"Town Guard\"-> GetLOS Player != 1 )\r\n"
                             "       \"Town Guard\"-> Disable\r\n"
                             "       EndIf\r\n"
                             "EndIf\r\n\r\n\r\nEnd"));
}

TEST_F(Generate, fromSelectionWithTheSwitchesTakesOnlyTheSelectedEntries)
{
    addWorkedExample();
    window.lstTasks->item(1)->setSelected(true); // 06:00 Travel
    window.lstTasks->item(3)->setSelected(true); // 20:00 Disappear
    window.chkGlobal->setChecked(true);
    window.chkEqual->setChecked(true);
    press(1); // nothing comes between the lines of the two entries
    EXPECT_TRUE(script().contains("If ( hrw_hour == 6 )\r\n       \"Town Guard\"-> AITravel 100, "
                                  "200, 0\r\nElseIf ( hrw_hour == 20 )\r\n"));
    EXPECT_TRUE(script().endsWith("StopScript town_guard_sched_sc_01\r\n\r\nEnd"));
}

struct CheckCase
{
    const char *npcId;
    bool withTasks;
    int index;
    const char *message;
};

class GenerateCheck : public Generate, public ::testing::WithParamInterface<CheckCase>
{
};

TEST_P(GenerateCheck, showsOneMessageAndLeavesTheScriptBoxAlone)
{
    const CheckCase c = GetParam();
    if (c.withTasks)
        addWorkedExample();
    window.txtScript->setScriptText(QStringLiteral("mine"));
    press(c.index, c.npcId);
    EXPECT_EQ(prompts.asked, QStringList {QStringLiteral("Hour Wright|") + c.message});
    EXPECT_EQ(prompts.buttons.at(0), PromptButtons::Ok);
    EXPECT_EQ(script(), QStringLiteral("mine"));
}

INSTANTIATE_TEST_SUITE_P(
    Checks, GenerateCheck,
    ::testing::Values(CheckCase {"", true, 0, "NPC Name not specified!"},
                      CheckCase {"Ra\"vo", true, 0, "NPC Name cannot contain double quotes!"},
                      CheckCase {"Town Guard", false, 0, "No tasks specified!"},
                      CheckCase {"Town Guard", true, 1, "No tasks specified!"})); // none selected

class Overwrite : public Generate, public ::testing::WithParamInterface<std::tuple<int, bool>>
{
};

TEST_P(Overwrite, aFilledScriptBoxIsReplacedOnlyAfterYes)
{
    const auto [index, yes] = GetParam();
    addWorkedExample();
    window.lstTasks->item(0)->setSelected(true);
    window.txtScript->setScriptText(QStringLiteral("\r\n")); // a line break is text too
    prompts.answers = {yes ? PromptAnswer::Yes : PromptAnswer::No};
    press(index);
    EXPECT_EQ(prompts.asked, QStringList {"Hour Wright|Overwrite existing text?"});
    EXPECT_EQ(prompts.buttons.at(0), PromptButtons::YesNo);
    EXPECT_EQ(script().startsWith("Begin "), yes) << script().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Answers, Overwrite,
                         ::testing::Combine(::testing::Values(0, 1, 2), ::testing::Bool()));

TEST_F(Generate, eachUnknownActionIsReportedOnceAndTheScriptStillComes)
{
    // Add Task writes only known actions; these entries stand for damaged ones.
    window.lstTasks->addSorted(QStringLiteral("07:00 > Dance > \"slow\""));
    window.lstTasks->addSorted(QStringLiteral("08:00 > Fly"));
    addTask("09:00", "Appear");
    press(0);
    EXPECT_EQ(prompts.asked, QStringList(2, QStringLiteral("HourWright|Command data not found!")));
    EXPECT_EQ(script().count("\r\n       ;Some error occured here!\r\n"), 2);
    EXPECT_TRUE(script().contains("-> Enable\r\n"));
}

TEST_F(Generate, theCentralScriptNeedsNoNameNorTasksAndIsNamedAfreshEachTime)
{
    press(2, "");
    EXPECT_TRUE(prompts.asked.isEmpty());
    const QString first = script().section("\r\n", 0, 0);
    EXPECT_TRUE(first.startsWith("Begin hrw_central_")) << first.toStdString();
    EXPECT_TRUE(script().endsWith("\r\nEnd"));
    press(2, ""); // Yes to the overwrite question by default
    EXPECT_NE(script().section("\r\n", 0, 0), first);
}

} // namespace
