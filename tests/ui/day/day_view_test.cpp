// The day view under the form: it shows the list's day as its script runs it,
// follows the list and the switches without Generate, and leads to the entries.
#include "window_fixture.hpp"

#include "ui/day/day_strip.hpp"
#include "ui/day/day_view.hpp"
#include "ui/shell/main_window.hpp"

#include <QAbstractButton>

namespace {

using namespace hw::test;

class DayViewTest : public ::testing::Test
{
protected:
    DayViewTest()
    {
        showActive(main);
        for (const char *entry :
             {"06:00 > Start Running", "06:00 > Travel > 100/200/0",
              "12:00 > Say > \"vo\\hello.mp3\"/\"Good day\"", "20:00 > Disappear"})
            controls(form).lstTasks->addSorted(QString::fromUtf8(entry));
        QCoreApplication::processEvents();
    }

    // The accessible name of each hour that `hours` lists, one a line.
    QString names(std::initializer_list<int> hours) const
    {
        QStringList lines;
        for (const int hour : hours)
            lines.append(strip.hourButton(hour)->accessibleName());
        return lines.join('\n');
    }

    QStringList selected() const
    {
        QStringList texts;
        for (const QListWidgetItem *item : controls(form).lstTasks->selectedItems())
            texts.append(item->text());
        return texts;
    }

    std::vector<int> marked() const
    {
        std::vector<int> hours;
        for (int hour = 0; hour < 24; ++hour)
            if (strip.marked(hour))
                hours.push_back(hour);
        return hours;
    }

    ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    hw::frmMain &form = main.form();
    hw::DayStrip &strip = main.dayStrip();
};

TEST_F(DayViewTest, followsTheListAndTheSwitchesWithoutGenerate)
{
    const QString before = names({0, 6, 7, 13, 20});
    EXPECT_EQ(before,
              "00:00: Start Running, Travel, the 06:00 group, runs once\n"
              "06:00: Start Running, Travel, the 06:00 group, runs once\n"
              "07:00: Say, the 12:00 group, runs once\n"
              "13:00: nothing runs; the NPC keeps what it was last told\n"
              "20:00: Disappear, the 20:00 group, runs once");
    controls(form).chkEqual->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(names({0, 6, 7}),
              "00:00: nothing runs; the NPC keeps what it was last told\n"
              "06:00: Start Running, Travel, the 06:00 group, runs once\n"
              "07:00: nothing runs; the NPC keeps what it was last told");
    // A Global script, started once an hour, runs the same hours.
    controls(form).chkEqual->setChecked(false);
    controls(form).chkGlobal->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(names({0, 6, 7, 13, 20}), before);
    delete controls(form).lstTasks->takeItem(2);
    controls(form).lstTasks->addSorted("09:00 > Appear");
    QCoreApplication::processEvents();
    EXPECT_EQ(names({7, 9}),
              "07:00: nothing runs; the NPC keeps what it was last told\n"
              "09:00: Appear, the 09:00 group, runs once");
    EXPECT_TRUE(controls(form).txtScript->scriptText().isEmpty());
}

TEST_F(DayViewTest, anHourSelectsItsEntriesAndTheSelectionMarksItsHours)
{
    QTest::mouseClick(strip.hourButton(3), Qt::LeftButton);
    EXPECT_EQ(selected(), QStringList({"06:00 > Start Running", "06:00 > Travel > 100/200/0"}));
    EXPECT_EQ(marked(), (std::vector<int> {0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(controls(form).lstTasks->currentRow(), 0);
    // An hour in which nothing runs leaves the selection alone.
    QTest::mouseClick(strip.hourButton(15), Qt::LeftButton);
    EXPECT_EQ(selected().size(), 2);
    controls(form).lstTasks->clearSelection();
    controls(form).lstTasks->item(3)->setSelected(true);
    EXPECT_EQ(marked(), std::vector<int> {20});

    // The keyboard: the window starts in the name box; the strip is one stop after the
    // script box; the arrows, Home and End move along the hours, Enter and Space choose one.
    hw::MainWindow fresh(prompts);
    showActive(fresh);
    EXPECT_TRUE(controls(fresh.form()).txtName->isAncestorOf(QApplication::focusWidget()));
    showActive(main);
    controls(form).txtScript->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), strip.hourButton(15));
    for (const auto key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right})
        QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(QApplication::focusWidget(), strip.hourButton(3));
    controls(form).lstTasks->clearSelection();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(selected().size(), 2);
    for (const auto key : {Qt::Key_End, Qt::Key_Left, Qt::Key_Left, Qt::Key_Left, Qt::Key_Space})
        QTest::keyClick(QApplication::focusWidget(), key);
    EXPECT_EQ(selected(), QStringList {"20:00 > Disappear"});
    EXPECT_EQ(strip.hourButton(20)->toolTip(), "20:00: Disappear, the 20:00 group, runs once");
}

} // namespace
