// The script box keeps the generator's CR LF text exactly, for the program
// and for the clipboard.
#include "ui/script_box.hpp"

#include <QClipboard>
#include <QGuiApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using hw::ScriptBox;

TEST(ScriptBox, givesBackTheTextItWasGivenByteForByte)
{
    ScriptBox box;
    const QString cases[] = {
        QStringLiteral("Begin a\r\n\r\nShort hrw_hour\r\n       Return\r\nEnd"),
        QStringLiteral("If ( \"Town\u00a0Guard\"-> GetHealth <= 0 ) \r\nEnd"), // no-break space
        QStringLiteral("x\r\n\r\n\r\n"),
        QString(),
    };
    for (const QString &text : cases) {
        box.setScriptText(text);
        EXPECT_EQ(box.scriptText(), text) << text.toStdString();
    }
}

TEST(ScriptBox, lineEndsTypedOrPastedComeBackAsCrLf)
{
    ScriptBox box;
    box.setScriptText(QStringLiteral("a\nb\rc"));
    EXPECT_EQ(box.scriptText(), QStringLiteral("a\r\nb\r\nc"));
    box.moveCursor(QTextCursor::End);
    QTest::keyClick(&box, Qt::Key_Return);
    QTest::keyClicks(&box, QStringLiteral("End"));
    EXPECT_EQ(box.scriptText(), QStringLiteral("a\r\nb\r\nc\r\nEnd"));
}

TEST(ScriptBox, copyPutsCrLfTextOnTheClipboard)
{
    ScriptBox box;
    const QString text = QStringLiteral("Begin a\r\n\r\n       Set hrw_last to 6\r\nEnd");
    box.setScriptText(text);
    box.selectAll();
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), text);

    // A part of a line and a line end within the selection.
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);
    box.copy();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\n\r\n "));
}

} // namespace
