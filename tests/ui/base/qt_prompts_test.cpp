// The program's real message boxes (caption, text, buttons, default button,
// no icon) and file dialogs, each read and then answered by the test.
#include "window_fixture.hpp"

#include <QAbstractItemView>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>

#include <map>

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
    using A = PromptAnswer;
    using Box = QMessageBox;
    // What a box shows of each set of buttons: QMessageBox's button values in hex (Ok 400, Save
    // 800, Yes 4000, YesToAll 8000, No 10000, Cancel 400000, Discard 800000) and captions.
    const std::map<PromptButtons, const char *> sets = {
        {YesYesToAllNo, "buttons 1c000|&Yes,Yes to &All,&No"},
        {YesNo, "buttons 14000|&Yes,&No"},
        {Ok, "buttons 400|OK"},
        {SaveDiscardCancel, "buttons c00800|&Save,&Discard,&Cancel"},
        {WriteCancel, "buttons 400400|&Write,&Cancel"},
        {WriteAnywayCancel, "buttons 400400|Write &Anyway,&Cancel"}};
    // Caption, text, buttons, the default and the default the box shows, the button pressed
    // (NoButton: the Escape key) and the answer.
    // clang-format off
    const std::tuple<const char *, const char *, PromptButtons, PromptAnswer, int, Box::StandardButton, PromptAnswer> cases[] = {
        {"Hour Wright", "Line one?\r\n<b>", YesYesToAllNo, A::Yes, 0x4000, Box::YesToAll, A::YesToAll},
        {"Hour Wright", "Add?", YesYesToAllNo, A::Yes, 0x4000, Box::NoButton, A::No},
        {"HourWright", "Clear?", YesNo, A::Yes, 0x4000, Box::No, A::No},
        {"HourWright", "Required field not filled!", Ok, A::Ok, 0x400, Box::Ok, A::Ok},
        {"HourWright", "Save changes?", SaveDiscardCancel, A::Save, 0x800, Box::Discard, A::Discard},
        {"HourWright", "Save changes?", SaveDiscardCancel, A::Save, 0x800, Box::NoButton, A::Cancel},
        {"HourWright", "Write?", WriteCancel, A::Write, 0x400, Box::Ok, A::Write},
        {"HourWright", "Write?", WriteCancel, A::Write, 0x400, Box::NoButton, A::Cancel},
        {"HourWright", "Unknown NPC", WriteAnywayCancel, A::Cancel, 0x400000, Box::Ok, A::Write},
    };
    // clang-format on
    hw::QtPrompts prompts;
    for (const auto &[caption, text, buttons, defaultButton, defaultShown, press, answer] : cases) {
        SCOPED_TRACE(std::string(caption) + ' ' + text + ' ' + std::to_string(press));
        QString seen;
        whenOpen<Box>([&seen, press](Box &box) {
            QStringList texts;
            for (const Box::StandardButton button :
                 {Box::Ok, Box::Save, Box::Yes, Box::YesToAll, Box::No, Box::Discard, Box::Cancel})
                if (box.button(button))
                    texts.append(box.button(button)->text());
            seen = QStringLiteral("%1|%2|buttons %3|%4|default %5|icon %6")
                       .arg(box.windowTitle(), box.text())
                       .arg(box.standardButtons().toInt(), 0, 16)
                       .arg(texts.join(','))
                       .arg(box.standardButton(box.defaultButton()), 0, 16)
                       .arg(box.icon());
            if (press == Box::NoButton)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                QTest::mouseClick(box.button(press), Qt::LeftButton);
        });
        EXPECT_EQ(prompts.ask(nullptr, caption, text, buttons, defaultButton), answer);
        EXPECT_EQ(seen,
                  QStringLiteral("%1|%2|%3|default %4|icon 0")
                      .arg(caption, QString(text).replace("\r\n", "\n"), sets.at(buttons))
                      .arg(defaultShown, 0, 16));
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
// A plugin is written into, not replaced: an existing one is taken without a question.
TEST(RealSaveDialog, proposesTheNameAddsTheTypesExtensionAndTakesAPluginWithoutAsking)
{
    QTemporaryDir folder;
    QFile existing(folder.filePath("mod.esp"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    QString seen;
    const auto answer = [&seen](const QString &typed) {
        whenOpen<QFileDialog>([&seen, typed](QFileDialog &dialog) {
            auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            seen = (name ? name->text() : QString()) + '|' + dialog.selectedNameFilter();
            QTimer::singleShot(0, [&seen] { // should the dialog ask, the question is refused
                if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                    seen += "|asked " + box->text();
                    box->reject();
                }
            });
            typeName(dialog, typed);
            if (dialog.isVisible()) { // as a test that fails, not one that waits
                seen += QStringLiteral("|still open");
                dialog.reject();
            }
        });
    };
    hw::QtPrompts prompts;
    QString type = "Cyrillic (*.txt)";
    answer("s");
    EXPECT_EQ(prompts.saveFile(nullptr, folder.filePath("guards.txt"),
                               "Western (*.txt);;Cyrillic (*.txt);;Task lists (*.hwtasks)", type),
              folder.filePath("s.txt"));
    EXPECT_EQ(seen, "guards.txt|Cyrillic (*.txt)");
    EXPECT_EQ(type, "Cyrillic (*.txt)");
    type = "Morrowind plugins (*.esp)";
    answer("mod.esp");
    EXPECT_EQ(prompts.writeIntoFile(nullptr, folder.filePath("new.esp"),
                                    "OpenMW content (*.omwaddon);;Morrowind plugins (*.esp)", type),
              folder.filePath("mod.esp"));
    EXPECT_EQ(seen, "new.esp|Morrowind plugins (*.esp)");
}

} // namespace
