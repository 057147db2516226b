// Add Task, Remove Task and the double-click, driven through the window.
#include "window_fixture.hpp"

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;
using hw::test::WindowTest;

const QString kEquipQuestion =
    QStringLiteral("Hour Wright|\"Equip\" is a Tribunal function. Do you still want to add it?\r\n"
                   "Cancel is \"Yes to All\"");
const QString kRequired = QStringLiteral("HourWright|Required field not filled!");

class TribunalQuestion : public WindowTest, public ::testing::WithParamInterface<PromptAnswer>
{
};

TEST_P(TribunalQuestion, yesAddsNoDropsCancelAddsAndSilencesLaterQuestions)
{
    const PromptAnswer answer = GetParam();
    prompts.answers = {answer};
    addTask("08:00", "Equip", {"iron_sword"});
    EXPECT_EQ(message(0), kEquipQuestion);
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(tasks().size(), answer == PromptAnswer::No ? 0 : 1);
    EXPECT_EQ(window.yesToAll(), answer == PromptAnswer::Cancel);
    addTask("09:00", "Start Running"); // a default Yes if asked
    EXPECT_EQ(prompts.asked.size(), answer == PromptAnswer::Cancel ? 1u : 2u);
    EXPECT_EQ(tasks().last(), QStringLiteral("09:00 > Start Running"));
}

INSTANTIATE_TEST_SUITE_P(Answers, TribunalQuestion,
                         ::testing::Values(PromptAnswer::Yes, PromptAnswer::No,
                                           PromptAnswer::Cancel));

TEST_F(WindowTest, theFieldCheckFollowsTheTribunalQuestionAndCancelStaysSet)
{
    prompts.answers = {PromptAnswer::Cancel};
    addTask("08:00", "Equip");
    EXPECT_EQ(message(0), kEquipQuestion);
    EXPECT_EQ(message(1), kRequired);
    EXPECT_TRUE(tasks().isEmpty());
    EXPECT_TRUE(window.yesToAll());
}

struct RefusalCase
{
    const char *action;
    std::vector<const char *> texts; // for the enabled fields, from the first
    const char *message;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.action << ": " << c.message;
}

class AddTaskRefusal : public WindowTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(AddTaskRefusal, showsTheReasonAndChangesNothing)
{
    const RefusalCase &c = GetParam();
    chooseAction(c.action);
    QStringList typed;
    for (int n = 0; typed.size() < static_cast<qsizetype>(c.texts.size()); ++n) {
        if (field(n).isEnabled()) {
            field(n).setText(QString::fromUtf8(c.texts[static_cast<std::size_t>(typed.size())]));
            typed.append(field(n).text());
        }
    }
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(message(0), QStringLiteral("HourWright|") + QString::fromUtf8(c.message));
    EXPECT_EQ(prompts.asked[0].buttons, PromptButtons::Ok);
    EXPECT_TRUE(tasks().isEmpty());
    QStringList after; // the fields stay as typed
    for (int n = 0; after.size() < typed.size(); ++n)
        if (field(n).isEnabled())
            after.append(field(n).text());
    EXPECT_EQ(after, typed);
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, AddTaskRefusal,
    ::testing::Values(RefusalCase {"Add Item", {"", "5"}, "Required field not filled!"},
                      RefusalCase {"Say", {"a.mp3", ""}, "Required field not filled!"},
                      RefusalCase {
                          "Attack", {"say \"hi\""}, "Text fields cannot contain double quotes!"},
                      RefusalCase {"Wander", {"1e999"}, "Number out of range!"}));

TEST_F(WindowTest, entriesFileThemselvesInCaselessOrderAndDuplicatesStay)
{
    addTask("23:00", "Appear");
    addTask("10:00", "Wander", {"512.50", "007"});
    addTask("10:00", "Activate", {"door"});
    addTask("11:00", "Say", {"b.mp3", "B"});
    addTask("11:00", "Say", {"a.mp3", "a"});
    addTask("10:00", "Activate", {"door"});
    EXPECT_EQ(tasks(),
              (QStringList {"10:00 > Activate > \"door\"", "10:00 > Activate > \"door\"",
                            "10:00 > Wander > 512.5/7/10/10/10/10/10/10/10/10/10",
                            "11:00 > Say > \"a.mp3\"/\"a\"", "11:00 > Say > \"b.mp3\"/\"B\"",
                            "23:00 > Appear"}));
    EXPECT_EQ(field(0).text(), QStringLiteral("door")) << "adding leaves the choices as they were";
    EXPECT_TRUE(prompts.asked.empty());
}

class TaskListEditing : public WindowTest
{
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        for (const char *time : {"01:00", "02:00", "03:00", "04:00", "05:00"})
            addTask(time, "Appear");
    }

    void click(int row, Qt::KeyboardModifiers modifiers = {}, bool twice = false)
    {
        const QPoint at = window.lstTasks->visualItemRect(window.lstTasks->item(row)).center();
        QTest::mouseClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, at);
        if (twice) // the second click of a double-click comes as a double-click
            QTest::mouseDClick(window.lstTasks->viewport(), Qt::LeftButton, modifiers, at);
    }

    QString hours() const
    {
        QString list;
        for (const QString &t : tasks())
            list += t.at(1);
        return list;
    }
};

TEST_F(TaskListEditing, removeTaskTakesEverySelectedEntry)
{
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton); // nothing selected: no change
    EXPECT_EQ(hours(), QStringLiteral("12345"));
    click(0);
    click(1, Qt::ControlModifier);
    click(3, Qt::ControlModifier);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_EQ(hours(), QStringLiteral("35"));
    click(0);
    click(1, Qt::ShiftModifier);
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
    EXPECT_TRUE(tasks().isEmpty());
    QTest::mouseClick(window.cmdRemove, Qt::LeftButton);
}

TEST_F(TaskListEditing, doubleClickRemovesOnlyTheLineClicked)
{
    click(0);
    click(2, Qt::ControlModifier);
    click(4, Qt::ControlModifier, true);
    EXPECT_EQ(hours(), QStringLiteral("1234"));
    click(1, {}, true);
    EXPECT_EQ(hours(), QStringLiteral("134"));
}

} // namespace
