#pragma once

#include "scripted_prompts.hpp"
#include "ui/frm_main.hpp"
#include "ui/list_box.hpp"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace hw::test {

/// A fresh window with scripted prompts, shown and active as after start-up.
class WindowTest : public ::testing::Test
{
protected:
    ScriptedPrompts prompts;
    frmMain window {prompts};

    void SetUp() override { showAndActivate(); }

    void showAndActivate()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }

    /// Picks an action as the author does: by changing the action box's selection.
    void chooseAction(const char *name)
    {
        const int row = window.cmbTask->findText(QString::fromUtf8(name));
        ASSERT_GE(row, 0) << name;
        window.cmbTask->setCurrentIndex(row);
    }

    void chooseTime(const char *time)
    {
        window.cmbTime->setCurrentIndex(window.cmbTime->findText(QString::fromUtf8(time)));
    }

    QLineEdit &field(int n) { return *window.txtOption[static_cast<std::size_t>(n)]; }

    QStringList tasks() const { return window.lstTasks->texts(); }

    /// Adds a task through the Add Task button.
    void addTask(const char *time, const char *action,
                 std::initializer_list<const char *> texts = {})
    {
        chooseTime(time);
        chooseAction(action);
        int n = 0;
        for (const char *text : texts) {
            while (n < 12 && !field(n).isEnabled())
                ++n;
            ASSERT_LT(n, 12) << "more texts than enabled fields for " << action;
            field(n++).setText(QString::fromUtf8(text));
        }
        QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    }
};

} // namespace hw::test
