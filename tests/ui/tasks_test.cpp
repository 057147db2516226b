// Add Task, Remove Task and the double-click, driven through the window.
#include "window_fixture.hpp"

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

} // namespace
