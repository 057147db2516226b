// The script box gives the generator's CR LF text back exactly, to the program
// and to the clipboard, and Ctrl+A selects all of it.
#include "window_fixture.hpp"

#include "ui/script_box.hpp"

#include <QClipboard>

namespace {

using hw::test::WindowTest;

TEST(ScriptBox, givesBackTheTextItWasGivenCharacterForCharacterAndCopiesItWithCrLf)
{
    hw::ScriptBox box;
    for (const QString &text :
         {QStringLiteral("Begin a\r\n\r\nShort hrw_hour\r\n       Return\r\nEnd"),
          QStringLiteral("If ( \"Town\u00a0Guard\"-> GetHealth <= 0 ) \r\nEnd"), // no-break space
          QStringLiteral("x\r\n\r\n"), QString()}) {
        box.setScriptText(text);
        EXPECT_EQ(box.scriptText(), text) << text.toStdString();
    }
    box.setScriptText(QStringLiteral("Begin a\r\n\r\n       Set"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n\r\n "));
    // Lines ended otherwise, or by the author's Enter, come back with CR LF too.
    box.setScriptText(QStringLiteral("a\nb\rc"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.scriptText(), QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST_F(WindowTest, ctrlAWithShiftOrAltSelectsTheWholeScriptAndPlainATypes)
{
    for (const Qt::KeyboardModifiers modifiers :
         {Qt::ControlModifier | Qt::NoModifier, Qt::ControlModifier | Qt::ShiftModifier,
          Qt::ControlModifier | Qt::AltModifier, Qt::KeyboardModifiers()}) {
        for (const QString &text : {QStringLiteral("Begin x\r\nEnd"), QString()}) {
            window.txtScript->setScriptText(text);
            window.txtScript->moveCursor(QTextCursor::Start);
            QTest::keyClick(window.txtScript, Qt::Key_A, modifiers);
            const QTextCursor cursor = window.txtScript->textCursor();
            if (modifiers == Qt::NoModifier) {
                EXPECT_EQ(window.txtScript->scriptText(), 'a' + text);
                continue;
            }
            EXPECT_EQ(window.txtScript->scriptText(), text);
            EXPECT_EQ(cursor.selectionStart(), 0);
            EXPECT_EQ(cursor.selectionEnd(), text.isEmpty() ? 0 : 11) << modifiers.toInt();
        }
    }
}

} // namespace
