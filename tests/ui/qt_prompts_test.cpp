// The program's real message boxes (caption, text, buttons, default button,
// no icon) and open-file dialog, each read and then answered by the test.
#include "window_fixture.hpp"

#include <QAbstractItemView>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

// Once the next modal message box is open, describes it into `seen` and presses
// `press` on it. QMessageBox's button values, in hex: Ok 400, Yes 4000, No
// 10000, Cancel 400000.
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
    whenBoxOpens(seen, QMessageBox::Ok);
    prompts.tell(nullptr, QStringLiteral("HourWright"),
                 QStringLiteral("Required field not filled!"));
    EXPECT_EQ(seen, "HourWright|Required field not filled!|buttons 400|default 400|icon 0");
}

// The names the open-file dialog lists in its folder, in its order.
QStringList listed(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QAbstractItemView *>(QStringLiteral("listView"));
    if (!view)
        return {QStringLiteral("no list")};
    QStringList names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row)
        names.append(view->model()->index(row, 0, root).data().toString());
    return names;
}

TEST(RealOpenDialog, offersTheTwoFileTypesAndMatchesTheirPatternsWhateverTheCase)
{
    QTemporaryDir folder;
    for (const char *name : {"Morrowind.esm", "Tribunal.ESM", "a.EsP", "b.esp", "notes.txt"}) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("Data Files")));
    const QString filter =
        QStringLiteral("Elder Scrolls Master File (*.ESM);;Elder Scrolls Plugin File (*.ESP)");
    QStringList seen;
    std::function<void()> whenOpen = [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return QTimer::singleShot(0, whenOpen);
        const QStringList masters = {"Data Files", "Morrowind.esm", "Tribunal.ESM"};
        // The folder is read in the background.
        if (!QTest::qWaitFor([&] { return listed(*dialog) == masters; }))
            seen.append(QStringLiteral("timed out"));
        seen.append(dialog->nameFilters().join(';') + '|' + dialog->selectedNameFilter());
        seen.append(listed(*dialog).join(','));
        dialog->selectNameFilter(dialog->nameFilters().value(1));
        const QStringList plugins = {"Data Files", "a.EsP", "b.esp"};
        if (!QTest::qWaitFor([&] { return listed(*dialog) == plugins; }))
            seen.append(QStringLiteral("timed out"));
        seen.append(listed(*dialog).join(','));
        // The author types the name and presses Enter.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        if (!name)
            return dialog->reject();
        QTest::keyClicks(name, QStringLiteral("a.EsP"));
        QTest::keyClick(name, Qt::Key_Return);
    };
    QTimer::singleShot(0, whenOpen);
    hw::QtPrompts prompts;
    EXPECT_EQ(prompts.openFile(nullptr, folder.path(), filter), folder.filePath("a.EsP"));
    EXPECT_EQ(seen,
              (QStringList {"Elder Scrolls Master File (*.ESM);Elder Scrolls Plugin File "
                            "(*.ESP)|Elder Scrolls Master File (*.ESM)",
                            "Data Files,Morrowind.esm,Tribunal.ESM", "Data Files,a.EsP,b.esp"}));
}

} // namespace
