// The program's real message boxes: caption, text, buttons, default button
// and no icon; each box is read and then closed by the test.
#include "ui/frm_main.hpp"
#include "ui/prompts.hpp"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

struct SeenBox
{
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::Information;
    bool seen = false;
};

// Reads the next modal message box once it is open, then presses `press` on it.
void whenBoxOpens(SeenBox &seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return whenBoxOpens(seen, press);
        seen = {box->windowTitle(),
                box->text(),
                box->standardButtons(),
                box->defaultButton() ? box->standardButton(box->defaultButton())
                                     : QMessageBox::NoButton,
                box->icon(),
                true};
        QTest::mouseClick(box->button(press), Qt::LeftButton);
    });
}

struct BoxCase
{
    PromptButtons buttons;
    PromptAnswer defaultAnswer;
    QMessageBox::StandardButton press;
    QMessageBox::StandardButtons expectButtons;
    QMessageBox::StandardButton expectDefault;
    PromptAnswer expectAnswer;
};

void PrintTo(const BoxCase &c, std::ostream *os)
{
    *os << "buttons " << static_cast<int>(c.buttons);
}

class RealMessageBox : public ::testing::TestWithParam<BoxCase>
{
};

TEST_P(RealMessageBox, showsCaptionTextButtonsAndDefaultWithoutIcon)
{
    const BoxCase c = GetParam();
    hw::QtPrompts prompts;
    SeenBox seen;
    whenBoxOpens(seen, c.press);
    const PromptAnswer answer = prompts.ask(
        nullptr, QStringLiteral("Hour Wright"),
        QStringLiteral("Line one?\r\nCancel is \"Yes to All\" <b>"), c.buttons, c.defaultAnswer);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, QStringLiteral("Hour Wright"));
    // Shown as two lines, and as plain text.
    EXPECT_EQ(seen.text, QStringLiteral("Line one?\nCancel is \"Yes to All\" <b>"));
    EXPECT_EQ(seen.buttons, c.expectButtons);
    EXPECT_EQ(seen.defaultButton, c.expectDefault);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(answer, c.expectAnswer);
}

INSTANTIATE_TEST_SUITE_P(
    Buttons, RealMessageBox,
    ::testing::Values(BoxCase {PromptButtons::Ok, PromptAnswer::Ok, QMessageBox::Ok,
                               QMessageBox::Ok, QMessageBox::Ok, PromptAnswer::Ok},
                      BoxCase {PromptButtons::YesNo, PromptAnswer::Yes, QMessageBox::No,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                               PromptAnswer::No},
                      BoxCase {PromptButtons::YesNoCancel, PromptAnswer::Yes, QMessageBox::Cancel,
                               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                               QMessageBox::Yes, PromptAnswer::Cancel}));

TEST(RealMessageBox, escapeAnswersNoToAYesNoQuestion)
{
    hw::QtPrompts prompts;
    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_EQ(prompts.ask(nullptr, QStringLiteral("Hour Wright"), QStringLiteral("?"),
                          PromptButtons::YesNo, PromptAnswer::Yes),
              PromptAnswer::No);
}

TEST(RealMessageBox, theWindowsRefusalReachesTheAuthorInARealBox)
{
    hw::QtPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.cmbTask->setCurrentIndex(window.cmbTask->findText(QStringLiteral("Attack")));
    SeenBox seen;
    whenBoxOpens(seen, QMessageBox::Ok);
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, QStringLiteral("HourWright"));
    EXPECT_EQ(seen.text, QStringLiteral("Required field not filled!"));
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

} // namespace
