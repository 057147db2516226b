// Add Task, Remove Task and the double-click, driven through the window.
#include "window_fixture.hpp"

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::WindowTest;

const QString kEquipQuestion = QStringLiteral(
    "\"Equip\" is a Tribunal function. Do you still want to add it?\r\nCancel is \"Yes to All\"");

TEST_F(WindowTest, addTaskWritesTheEntryAndLeavesTheChoicesAsTheyWere)
{
    addTask("05:00", "Stop Sneaking");
    addTask("12:00", "Say", {"vo\\hello.mp3", "Good day, friend"});
    EXPECT_EQ(tasks(),
              (QStringList {"05:00 > Stop Sneaking",
                            "12:00 > Say > \"vo\\hello.mp3\"/\"Good day, friend\""}));
    EXPECT_EQ(field(0).text(), QStringLiteral("vo\\hello.mp3"));
    EXPECT_EQ(window.cmbTime->currentText(), QStringLiteral("12:00"));
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(WindowTest, numberFieldsAreNormalisedInTheEntry)
{
    chooseAction("Travel");
    field(2).setText(QStringLiteral("007"));
    field(3).setText(QStringLiteral(".5"));
    field(4).clear();
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(tasks(), QStringList {"00:00 > Travel > 7/0.5/0"});
}

struct TribunalCase
{
    PromptAnswer answer;
    bool added;
    bool yesToAll;
};

void PrintTo(const TribunalCase &c, std::ostream *os)
{
    *os << "answer " << static_cast<int>(c.answer);
}

class TribunalQuestion : public WindowTest, public ::testing::WithParamInterface<TribunalCase>
{
};

TEST_P(TribunalQuestion, answerDecidesWhetherTheTaskIsAddedAndTheQuestionAskedAgain)
{
    const TribunalCase c = GetParam();
    prompts.answers = {c.answer};
    addTask("08:00", "Equip", {"iron_sword"});
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].caption, QStringLiteral("Hour Wright"));
    EXPECT_EQ(prompts.asked[0].text, kEquipQuestion);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(tasks().size(), c.added ? 1 : 0);
    EXPECT_EQ(window.yesToAll(), c.yesToAll);

    // Another Tribunal action asks again unless Cancel meant "Yes to all".
    prompts.answers = {PromptAnswer::Yes};
    addTask("09:00", "Start Running");
    EXPECT_EQ(prompts.asked.size(), c.yesToAll ? 1u : 2u);
    EXPECT_EQ(tasks().last(), QStringLiteral("09:00 > Start Running"));
}

INSTANTIATE_TEST_SUITE_P(Answers, TribunalQuestion,
                         ::testing::Values(TribunalCase {PromptAnswer::Yes, true, false},
                                           TribunalCase {PromptAnswer::No, false, false},
                                           TribunalCase {PromptAnswer::Cancel, true, true}));

TEST_F(WindowTest, cancelWithAnEmptyRequiredFieldStillSilencesLaterQuestions)
{
    prompts.answers = {PromptAnswer::Cancel};
    addTask("08:00", "Equip");
    EXPECT_EQ(prompts.texts(),
              (QStringList {kEquipQuestion, QStringLiteral("Required field not filled!")}));
    EXPECT_EQ(prompts.asked[1].caption, QStringLiteral("HourWright"));
    EXPECT_EQ(prompts.asked[1].buttons, PromptButtons::Ok);
    EXPECT_TRUE(tasks().isEmpty());
    EXPECT_TRUE(window.yesToAll());
    addTask("08:00", "Equip", {"iron_sword"});
    EXPECT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(tasks(), QStringList {"08:00 > Equip > \"iron_sword\""});
}

struct RefusalCase
{
    const char *action;
    std::vector<std::pair<int, const char *>> fields;
    const char *message;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.action << ": " << c.message;
}

class AddTaskRefusal : public WindowTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(AddTaskRefusal, showsTheReasonAndAddsNothing)
{
    const RefusalCase &c = GetParam();
    chooseAction(c.action);
    for (const auto &[n, text] : c.fields)
        field(n).setText(QString::fromUtf8(text));
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].caption, QStringLiteral("HourWright"));
    EXPECT_EQ(prompts.asked[0].text, QString::fromUtf8(c.message));
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(tasks().isEmpty());
    for (const auto &[n, text] : c.fields)
        EXPECT_EQ(field(n).text(), QString::fromUtf8(text)) << "fields stay as typed";
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AddTaskRefusal,
    ::testing::Values(
        RefusalCase {"Add Item", {{0, ""}, {2, "5"}}, "Required field not filled!"},
        RefusalCase {"Say", {{0, "a.mp3"}, {1, ""}}, "Required field not filled!"},
        RefusalCase {"Attack", {{0, "say \"hi\""}}, "Text fields cannot contain double quotes!"},
        RefusalCase {"Travel", {{2, "1e999"}}, "Number out of range!"}));

TEST_F(WindowTest, entriesFileThemselvesInCaselessOrderAndDuplicatesStay)
{
    addTask("23:00", "Appear");
    addTask("10:00", "Wander");
    addTask("10:00", "Activate", {"door"});
    addTask("11:00", "Say", {"b.mp3", "B"});
    addTask("11:00", "Say", {"a.mp3", "a"});
    addTask("11:00", "Say", {"A.mp3", "a"});
    addTask("10:00", "Activate", {"door"});
    EXPECT_EQ(tasks(),
              (QStringList {"10:00 > Activate > \"door\"", "10:00 > Activate > \"door\"",
                            "10:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10",
                            "11:00 > Say > \"a.mp3\"/\"a\"", "11:00 > Say > \"A.mp3\"/\"a\"",
                            "11:00 > Say > \"b.mp3\"/\"B\"", "23:00 > Appear"}));
}

class TaskListEditing : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char *time : {"01:00", "02:00", "03:00", "04:00", "05:00"})
            addTask(time, "Appear");
        ASSERT_EQ(tasks().size(), 5);
    }

    void click(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect r = window.lstTasks->visualItemRect(window.lstTasks->item(row));
        QTest::mouseClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, r.center());
    }

    // The first click of a double-click, then the second that the system
    // reports as a double-click.
    void doubleClick(int row, Qt::KeyboardModifiers modifiers = {})
    {
        const QRect r = window.lstTasks->visualItemRect(window.lstTasks->item(row));
        QTest::mouseClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, r.center());
        QTest::mouseDClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, r.center());
    }

    QStringList hours() const
    {
        QStringList list;
        for (const QString &t : tasks())
            list.append(t.left(2));
        return list;
    }
};

TEST_F(TaskListEditing, removeTaskTakesEverySelectedEntry)
{
    click(0);
    click(1, Qt::ControlModifier);
    click(3, Qt::ControlModifier);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_EQ(hours(), (QStringList {"03", "05"}));
}

TEST_F(TaskListEditing, shiftClickSelectsARangeForRemoval)
{
    click(1);
    click(3, Qt::ShiftModifier);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_EQ(hours(), (QStringList {"01", "05"}));
}

TEST_F(TaskListEditing, removeTaskWithNothingSelectedChangesNothing)
{
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_EQ(tasks().size(), 5);
}

TEST_F(TaskListEditing, doubleClickRemovesOnlyTheLineClicked)
{
    click(0);
    click(2, Qt::ControlModifier);
    click(4, Qt::ControlModifier);
    doubleClick(2, Qt::ControlModifier);
    EXPECT_EQ(hours(), (QStringList {"01", "02", "04", "05"}));
    doubleClick(0);
    EXPECT_EQ(hours(), (QStringList {"02", "04", "05"}));
}

TEST_F(WindowTest, removeAndDoubleClickOnAnEmptyListDoNothing)
{
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    QTest::mouseDClick(window.lstTasks->viewport(), Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_TRUE(tasks().isEmpty());
    EXPECT_TRUE(prompts.asked.empty());
}

} // namespace
