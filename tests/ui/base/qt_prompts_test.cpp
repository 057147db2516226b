// The program's real message boxes (caption, text, buttons, default button,
// no icon) and file dialogs, each read and then answered by the test.
#include "window_fixture.hpp"

#include <QAbstractItemView>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

// Once the next modal window of type T is open, hands it to `act`.
template<typename T> void whenOpen(const std::function<void(T &)> &act)
{
    QTimer::singleShot(0, [act] {
        if (auto *modal = qobject_cast<T *>(QApplication::activeModalWidget()))
            act(*modal);
        else
            whenOpen<T>(act);
    });
}

// Types `name` into the dialog's file name box and presses Enter.
void typeName(QFileDialog &dialog, const QString &name)
{
    auto *edit = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return dialog.reject();
    edit->clear();
    QTest::keyClicks(edit, name);
    QTest::keyClick(edit, Qt::Key_Return);
}

TEST(RealMessageBox, showsCaptionPlainTextButtonsAndDefaultWithoutIcon)
{
    using enum PromptButtons;
    // Caption, text, buttons, the default, the button pressed (NoButton: the Escape key), the
    // answer, and what the box showed after its caption and text. QMessageBox's button values,
    // in hex: Ok 400, Save 800, Yes 4000, YesToAll 8000, No 10000, Cancel 400000, Discard 800000.
    // clang-format off
    const std::tuple<const char *, const char *, PromptButtons, PromptAnswer, QMessageBox::StandardButton,
                     PromptAnswer, const char *> cases[] = {
        {"Hour Wright", "Line one?\r\n<b>", YesYesToAllNo, PromptAnswer::Yes, QMessageBox::YesToAll,
         PromptAnswer::YesToAll, "buttons 1c000|default 4000|icon 0|&Yes,Yes to &All,&No"},
        {"Hour Wright", "Add?", YesYesToAllNo, PromptAnswer::Yes, QMessageBox::NoButton, PromptAnswer::No,
         "buttons 1c000|default 4000|icon 0|&Yes,Yes to &All,&No"},
        {"HourWright", "Clear?", YesNo, PromptAnswer::Yes, QMessageBox::No, PromptAnswer::No,
         "buttons 14000|default 4000|icon 0|&Yes,&No"},
        {"HourWright", "Required field not filled!", Ok, PromptAnswer::Ok, QMessageBox::Ok, PromptAnswer::Ok,
         "buttons 400|default 400|icon 0|OK"},
        {"HourWright", "Save changes?", SaveDiscardCancel, PromptAnswer::Save, QMessageBox::Discard,
         PromptAnswer::Discard, "buttons c00800|default 800|icon 0|&Save,&Discard,&Cancel"},
        {"HourWright", "Save changes?", SaveDiscardCancel, PromptAnswer::Save, QMessageBox::NoButton,
         PromptAnswer::Cancel, "buttons c00800|default 800|icon 0|&Save,&Discard,&Cancel"},
        {"HourWright", "Write?", WriteCancel, PromptAnswer::Write, QMessageBox::Ok, PromptAnswer::Write,
         "buttons 400400|default 400|icon 0|&Write,&Cancel"},
        {"HourWright", "Write?", WriteCancel, PromptAnswer::Write, QMessageBox::NoButton,
         PromptAnswer::Cancel, "buttons 400400|default 400|icon 0|&Write,&Cancel"},
        {"HourWright", "Unknown NPC", WriteAnywayCancel, PromptAnswer::Cancel, QMessageBox::Ok,
         PromptAnswer::Write, "buttons 400400|default 400000|icon 0|Write &Anyway,&Cancel"},
    };
    // clang-format on
    hw::QtPrompts prompts;
    for (const auto &[caption, text, buttons, defaultButton, press, answer, shown] : cases) {
        QString seen;
        whenOpen<QMessageBox>([&seen, press](QMessageBox &box) {
            QStringList texts;
            for (const int button :
                 {QMessageBox::Ok, QMessageBox::Save, QMessageBox::Yes, QMessageBox::YesToAll,
                  QMessageBox::No, QMessageBox::Discard, QMessageBox::Cancel})
                if (box.button(QMessageBox::StandardButton(button)))
                    texts.append(box.button(QMessageBox::StandardButton(button))->text());
            seen = QStringLiteral("%1|%2|buttons %3|default %4|icon %5|%6")
                       .arg(box.windowTitle(), box.text())
                       .arg(box.standardButtons().toInt(), 0, 16)
                       .arg(box.standardButton(box.defaultButton()), 0, 16)
                       .arg(box.icon())
                       .arg(texts.join(','));
            if (press == QMessageBox::NoButton)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                QTest::mouseClick(box.button(press), Qt::LeftButton);
        });
        EXPECT_EQ(prompts.ask(nullptr, caption, text, buttons, defaultButton), answer);
        EXPECT_EQ(seen, QString(caption) + '|' + QString(text).replace("\r\n", "\n") + '|' + shown);
    }
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

// Plugin names in any case: the file system's case must not hide them.
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
    whenOpen<QFileDialog>([&](QFileDialog &dialog) {
        seen.append(dialog.selectedNameFilter());
        const auto show = [&](const QStringList &expected) { // read in the background
            const bool read = QTest::qWaitFor([&] { return listed(dialog) == expected; });
            seen.append(read ? expected.join(',') : listed(dialog).join(','));
        };
        show({"Data Files", "Morrowind.esm", "Tribunal.ESM"});
        dialog.selectNameFilter(dialog.nameFilters().value(1));
        show({"Data Files", "a.EsP", "b.esp"});
        typeName(dialog, QStringLiteral("a.EsP"));
    });
    hw::QtPrompts prompts;
    EXPECT_EQ(prompts.openFile(nullptr, folder.path(), filter), folder.filePath("a.EsP"));
    EXPECT_EQ(seen,
              (QStringList {"Elder Scrolls Master File (*.ESM)",
                            "Data Files,Morrowind.esm,Tribunal.ESM", "Data Files,a.EsP,b.esp"}));
}

// The save dialog proposes the name, keeps the type asked for, and adds that type's extension.
TEST(RealSaveDialog, proposesTheNameAndGivesATypedNameTheTypesExtension)
{
    QTemporaryDir folder;
    const QString filter = "Western (*.txt);;Cyrillic (*.txt);;Task lists (*.hwtasks)";
    QString seen;
    whenOpen<QFileDialog>([&](QFileDialog &dialog) {
        auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        seen = (name ? name->text() : QString()) + '|' + dialog.selectedNameFilter();
        typeName(dialog, QStringLiteral("s"));
        if (dialog.isVisible()) { // as a test that fails, not one that waits
            seen += QStringLiteral("|still open");
            dialog.reject();
        }
    });
    hw::QtPrompts prompts;
    QString type = "Cyrillic (*.txt)";
    EXPECT_EQ(prompts.saveFile(nullptr, folder.filePath("guards.txt"), filter, type),
              folder.filePath("s.txt"));
    EXPECT_EQ(seen, "guards.txt|Cyrillic (*.txt)");
    EXPECT_EQ(type, "Cyrillic (*.txt)");
}

// A plugin is written into, not replaced: an existing one is taken without a question.
TEST(RealSaveDialog, takesAFileToWriteIntoWithoutAskingToReplaceIt)
{
    QTemporaryDir folder;
    QFile existing(folder.filePath("mod.esp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString asked;
    whenOpen<QFileDialog>([&](QFileDialog &dialog) {
        // Should the dialog ask, the question is noted and refused.
        QTimer::singleShot(0, [&asked] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = box->text();
                box->reject();
            }
        });
        typeName(dialog, QStringLiteral("mod.esp"));
        if (dialog.isVisible())
            dialog.reject();
    });
    hw::QtPrompts prompts;
    QString type = "Morrowind plugins (*.esp)";
    EXPECT_EQ(prompts.writeIntoFile(nullptr, folder.filePath("new.esp"),
                                    "OpenMW content (*.omwaddon);;Morrowind plugins (*.esp)", type),
              folder.filePath("mod.esp"));
    EXPECT_EQ(asked, "");
}

} // namespace
