// The script box gives the generator's CR LF text back exactly, to the
// program and to the clipboard.
#include "ui/script_box.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(ScriptBox, givesBackTheTextItWasGivenCharacterForCharacter)
{
    hw::ScriptBox box;
    for (const QString &text :
         {QStringLiteral("Begin a\r\n\r\nShort hrw_hour\r\n       Return\r\nEnd"),
          QStringLiteral("If ( \"Town\u00a0Guard\"-> GetHealth <= 0 ) \r\nEnd"), // no-break space
          QStringLiteral("x\r\n\r\n"), QString()}) {
        box.setScriptText(text);
        EXPECT_EQ(box.scriptText(), text) << text.toStdString();
    }
    // Lines ended otherwise, or by the author's Enter, come back with CR LF too.
    box.setScriptText(QStringLiteral("a\nb\rc"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_EQ(box.scriptText(), QStringLiteral("a\r\nb\r\nc\r\n"));
}

TEST(ScriptBox, copyPutsCrLfTextOnTheClipboard)
{
    hw::ScriptBox box;
    const QString text = QStringLiteral("Begin a\r\n\r\n       Set hrw_last to 6\r\nEnd");
    box.setScriptText(text);
    box.selectAll();
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n\r\n "));
}

} // namespace
