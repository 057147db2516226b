// The three Generate buttons through the window: checks, the overwrite
// question, messages for unknown actions and the text read back.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"
#include "ui/wrap_button.hpp"

#include <QCheckBox>
#include <QSignalSpy>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::WindowTest;

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
    press(1);
    const QString text = script();
    EXPECT_TRUE(
        text.contains("If ( hrw_hour == 6 )\r\n       \"Town Guard\"-> AITravel 100, 200, 0\r\n"
                      "ElseIf ( hrw_hour == 20 )\r\n"));
    EXPECT_FALSE(text.contains("ForceRun") || text.contains("Say") || text.contains("hrw_last"));
    EXPECT_TRUE(text.endsWith("StopScript town_guard_sched_sc_01\r\n\r\nEnd"));
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
                      CheckCase {"", false, 1, "NPC Name not specified!"}, // the name comes first
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
