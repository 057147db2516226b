#include "ui/script_box.hpp"

#include <QMimeData>
#include <QTextBlock>

namespace hw {

ScriptBox::ScriptBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void ScriptBox::setScriptText(const QString &text)
{
    setPlainText(text);
}

QString ScriptBox::withCrLf(QString text)
{
    return text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
}

QString ScriptBox::scriptText() const
{
    // toPlainText() would turn a no-break space (an NPC id may hold one) into a
    // blank; the raw text keeps every character and marks line ends as U+2029.
    return withCrLf(document()->toRawText());
}

QMimeData *ScriptBox::createMimeDataFromSelection() const
{
    auto *mime = new QMimeData;
    mime->setText(withCrLf(textCursor().selectedText()));
    return mime;
}

} // namespace hw
