#include "ui/form/script_box.hpp"

#include "ui/form/paste_guard.hpp"

#include <QMimeData>
#include <QTextBlock>

namespace hw {

ScriptBox::ScriptBox(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the next control, as everywhere else in the window: a
    // script's indents are blanks, never tabs.
    setTabChangesFocus(true);
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

// Qt 6.4's text control reads the first format of pasted data without looking
// whether there is one; data without any is not pasted at all.
bool ScriptBox::canInsertFromMimeData(const QMimeData *source) const
{
    return holdsData(source) && QPlainTextEdit::canInsertFromMimeData(source);
}

void ScriptBox::insertFromMimeData(const QMimeData *source)
{
    if (holdsData(source))
        QPlainTextEdit::insertFromMimeData(source);
}

} // namespace hw
