#pragma once

#include <QPlainTextEdit>

namespace hw {

/// The multi-line box that shows a generated script. Scripts end their lines
/// with CR LF; the box keeps lines as paragraphs and gives CR LF back, both to
/// the program and to the clipboard, because the game's script editor on
/// Windows wants CR LF. A paste of nothing (an empty clipboard) changes nothing.
class ScriptBox : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit ScriptBox(QWidget *parent = nullptr);

    /// Replaces the whole text in one step; CR LF, LF and a lone CR each end a line.
    void setScriptText(const QString &text);

    /// The whole text with every line break written as CR LF.
    QString scriptText() const;

    /// `text` with each paragraph break (U+2029, as the document reports line
    /// ends) written as CR LF.
    static QString withCrLf(QString text);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
};

} // namespace hw
