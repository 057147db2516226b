#include "ui/base/prompts.hpp"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSpacerItem>

#include <utility>

namespace hw {

namespace {

// Each answer and the message box's button that gives it.
constexpr std::pair<PromptAnswer, QMessageBox::StandardButton> kAnswerButtons[] = {
    {PromptAnswer::Ok, QMessageBox::Ok},
    {PromptAnswer::Yes, QMessageBox::Yes},
    {PromptAnswer::YesToAll, QMessageBox::YesToAll},
    {PromptAnswer::No, QMessageBox::No},
    {PromptAnswer::Cancel, QMessageBox::Cancel},
    {PromptAnswer::Save, QMessageBox::Save},
    {PromptAnswer::Discard, QMessageBox::Discard},
};

QMessageBox::StandardButton standardButton(PromptAnswer answer)
{
    for (const auto &[known, button] : kAnswerButtons)
        if (known == answer)
            return button;
    return QMessageBox::NoButton;
}

PromptAnswer answerOf(int button)
{
    for (const auto &[answer, known] : kAnswerButtons)
        if (known == button)
            return answer;
    return PromptAnswer::Ok;
}

void configureDialog(QFileDialog &dialog)
{
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // The game's files are named in any case ("Morrowind.esm", "Tribunal.ESM").
    // The dialogs of Windows and macOS match patterns without regard to case;
    // the GTK dialog that Qt shows on Linux desktops matches case, so Qt's own
    // dialog is used there, told to ignore case.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    // Names only: in the window's small font the detail columns come out too
    // narrow for sizes and dates.
    dialog.setViewMode(QFileDialog::List);
#endif
}

// The extension of a file type's first pattern: "txt" for "Script (*.txt)".
QString suffixOf(const QString &nameFilter)
{
    static const QRegularExpression firstPattern(QStringLiteral("\\(\\*\\.([^ )*]+)"));
    return firstPattern.match(nameFilter).captured(1);
}

// The save-file dialog; `confirmReplace`: an existing file is taken only after a question.
QString chooseFileToWrite(QWidget *parent, const QString &path, const QString &filter,
                          QString &selectedFilter, bool confirmReplace)
{
    QFileDialog dialog(parent, QString(), path, filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !confirmReplace);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    configureDialog(dialog);
    // The proposed name, selected in the name box, replaces the start folder's.
    dialog.selectFile(path);
    if (dialog.nameFilters().contains(selectedFilter))
        dialog.selectNameFilter(selectedFilter);
    dialog.setDefaultSuffix(suffixOf(dialog.selectedNameFilter()));
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog,
        [&dialog](const QString &chosen) { dialog.setDefaultSuffix(suffixOf(chosen)); });
    if (dialog.exec() != QDialog::Accepted)
        return {};
    selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
}

} // namespace

QString quotedPath(const QString &path)
{
    return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"');
}

PromptAnswer QtPrompts::ask(QWidget *parent, const QString &caption, const QString &text,
                            PromptButtons buttons, PromptAnswer defaultButton)
{
    QMessageBox box(parent);
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(caption);
    // Plain text, so that a typed id with "<" is never read as markup; the
    // label breaks lines at LF and would show a CR as a glyph.
    box.setTextFormat(Qt::PlainText);
    QString shown = text;
    box.setText(shown.replace(QLatin1String("\r\n"), QLatin1String("\n")));
    switch (buttons) {
    case PromptButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    case PromptButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case PromptButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case PromptButtons::YesYesToAllNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::YesToAll | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    case PromptButtons::SaveDiscardCancel:
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        // Access keys, as Yes and No have them.
        box.button(QMessageBox::Save)->setText(QStringLiteral("&Save"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("&Discard"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancel"));
        break;
    case PromptButtons::WriteCancel:
    case PromptButtons::WriteAnywayCancel:
        // Write is the box's accepting button, OK, under its own caption.
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        box.button(QMessageBox::Ok)
            ->setText(buttons == PromptButtons::WriteCancel ? QStringLiteral("&Write")
                                                            : QStringLiteral("Write &Anyway"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("&Cancel"));
        break;
    }
    const bool writes =
        buttons == PromptButtons::WriteCancel || buttons == PromptButtons::WriteAnywayCancel;
    box.setDefaultButton(standardButton(
        writes && defaultButton == PromptAnswer::Write ? PromptAnswer::Ok : defaultButton));
    // Plain buttons, as in the system's message boxes; some styles add icons.
    for (QAbstractButton *button : box.buttons())
        button->setIcon(QIcon());
    // A short message makes a box too narrow for its caption, which the title
    // bar then cuts to "H... t". Room for the caption, the window's icon and
    // its title-bar buttons keeps it readable.
    const int captionWidth = QFontMetrics(box.font()).horizontalAdvance(caption) * 3 / 2 + 140;
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout()))
        grid->addItem(new QSpacerItem(captionWidth, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    const PromptAnswer answer = answerOf(box.exec());
    return writes && answer == PromptAnswer::Ok ? PromptAnswer::Write : answer;
}

QString QtPrompts::openFile(QWidget *parent, const QString &folder, const QString &filter)
{
    // An empty caption leaves the dialog's own title on it.
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    configureDialog(dialog);
    // The first file type is the one in force when the dialog opens.
    dialog.selectNameFilter(dialog.nameFilters().value(0));
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

QString QtPrompts::saveFile(QWidget *parent, const QString &path, const QString &filter,
                            QString &selectedFilter)
{
    return chooseFileToWrite(parent, path, filter, selectedFilter, true);
}

QString QtPrompts::writeIntoFile(QWidget *parent, const QString &path, const QString &filter,
                                 QString &selectedFilter)
{
    return chooseFileToWrite(parent, path, filter, selectedFilter, false);
}

} // namespace hw
