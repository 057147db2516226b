// The program's real message boxes: caption, text, buttons, default button
// and no icon; each box is read and then answered by the test.
#include "window_fixture.hpp"

#include <QMessageBox>
#include <QTimer>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

// QMessageBox's button values, in hex: Ok 400, Yes 4000, No 10000, Cancel 400000.

// Once the next modal message box is open, describes it into `seen` and
// presses `press` on it.
void whenBoxOpens(QString &seen, QMessageBox::StandardButton press)
{
    QTimer::singleShot(0, [&seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return whenBoxOpens(seen, press);
        seen = QStringLiteral("%1|%2|buttons %3|default %4|icon %5")
                   .arg(box->windowTitle(), box->text())
                   .arg(box->standardButtons().toInt(), 0, 16)
                   .arg(box->standardButton(box->defaultButton()), 0, 16)
                   .arg(box->icon());
        QTest::mouseClick(box->button(press), Qt::LeftButton);
    });
}

TEST(RealMessageBox, showsCaptionPlainTextButtonsAndDefaultWithoutIcon)
{
    hw::QtPrompts prompts;
    const QString text = QStringLiteral("Line one?\r\nCancel is \"Yes to All\" <b>");
    QString seen;
    whenBoxOpens(seen, QMessageBox::Cancel);
    EXPECT_EQ(prompts.ask(nullptr, QStringLiteral("Hour Wright"), text, PromptButtons::YesNoCancel,
                          PromptAnswer::Yes),
              PromptAnswer::Cancel);
    EXPECT_EQ(seen,
              QStringLiteral("Hour Wright|Line one?\nCancel is \"Yes to All\" <b>|"
                             "buttons 414000|default 4000|icon 0"));
    whenBoxOpens(seen, QMessageBox::No);
    EXPECT_EQ(prompts.ask(nullptr, QStringLiteral("HourWright"), QStringLiteral("Clear?"),
                          PromptButtons::YesNo, PromptAnswer::Yes),
              PromptAnswer::No);
    EXPECT_EQ(seen, QStringLiteral("HourWright|Clear?|buttons 14000|default 4000|icon 0"));
}

TEST(RealMessageBox, theWindowsRefusalReachesTheAuthorInARealBox)
{
    hw::QtPrompts prompts;
    hw::frmMain window(prompts);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.cmbTask->setCurrentIndex(window.cmbTask->findText(QStringLiteral("Attack")));
    QString seen;
    whenBoxOpens(seen, QMessageBox::Ok);
    QTest::mouseClick(window.cmdAdd, Qt::LeftButton);
    EXPECT_EQ(
        seen,
        QStringLiteral("HourWright|Required field not filled!|buttons 400|default 400|icon 0"));
}

} // namespace
