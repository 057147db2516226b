// What reaches the window from outside and leaves it besides a task list: dropped files,
// pasted lists, Save Script As, and the command line reading a saved list.
#include "files_fixture.hpp"

#include "plugin/code_page.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/game/notes_panel.hpp"

#include <QAction>
#include <QClipboard>
#include <QListWidget>
#include <QMimeData>
#include <QProcess>
#include <QUrl>

namespace {

using hw::PromptAnswer;
using namespace hw::test;

// Drops anywhere on the window, the script box too (which would take a file's name as text).
TEST_F(Files, takesADroppedTaskListOrPluginsAndRefusesOtherFilesQuietly)
{
    const QString list = write("b.HWTASKS", "; NPC: b\n07:00 > Appear\n");
    const QString first = write("a.esp", QByteArray::fromStdString(npcs({"fargoth"})));
    const QString second = write("b.OmwAddon", QByteArray::fromStdString(npcs({"vivec"})));
    const QString third = write("c.omwgame", QByteArray::fromStdString(npcs({"almalexia"})));
    const QString other = write("notes.txt", "07:00 > Appear\n");
    controls(form).txtScript->setScriptText("x");
    const auto drop = [&](const QStringList &paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls.append(QUrl::fromLocalFile(path));
        data.setUrls(urls);
        QWidget *target = controls(form).txtScript->viewport();
        QDragEnterEvent enter({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (enter.isAccepted()) {
            QDropEvent dropped({5, 5}, Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(target, &dropped);
            QTest::qWait(1); // the commands run after the drop
        }
        return enter.isAccepted();
    };
    for (const QStringList &refused :
         {QStringList {other}, QStringList {list, first}, QStringList {list, list}}) {
        EXPECT_FALSE(drop(refused)) << refused.join(',').toStdString();
        EXPECT_EQ(state(), "Hour Wright[*]\n-\n\n--V\n");
    }
    controls(form).lstTasks->addSorted("05:00 > Appear");
    prompts.answers = {PromptAnswer::Discard};
    EXPECT_TRUE(drop({list}));
    EXPECT_EQ(prompts.asked, QStringList {kSaveQuestion});
    EXPECT_EQ(state(), "Hour Wright — b.HWTASKS[*]\n-\nb\n--V\n07:00 > Appear");
    // The script of the list before goes with it.
    EXPECT_EQ(controls(form).txtScript->scriptText(), "");
    controls(form).txtScript->setScriptText("x");
    prompts.asked.clear();
    EXPECT_TRUE(drop({first, second, third}));
    EXPECT_TRUE(prompts.asked.isEmpty()); // an empty NPC list, nothing to clear
    EXPECT_EQ(controls(form).txtName->count(), 3);
    EXPECT_EQ(controls(form).txtScript->scriptText(), "x"); // plugins leave the list and its script
}

TEST_F(Files, ctrlVAddsThePastedEntriesOrNoneAndNamesTheLineRefused)
{
    fill("09:00 > Appear", "npc", false, false);
    const std::pair<QString, QString> pastes[] = {
        // clipboard, entries or message
        {"", "09:00 > Appear"},
        {"; HourWright task list\r\n; NPC: other\r\n; Global: yes\r\n10:00 > appear\r\n\r\n"
         "; a comment\r\n06:00 > Travel > 1/2/3",
         "06:00 > Travel > 1/2/3|09:00 > Appear|10:00 > Appear"},
        {"05:00 > Appear\n; x\n07:00 > Fly\n",
         "HourWright|The pasted text was not added to the task list.\n\n"
         "Line 3: unknown action \"Fly\""},
    };
    for (const auto &[text, outcome] : pastes) {
        prompts.asked.clear();
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(controls(form).lstTasks, Qt::Key_V, Qt::ControlModifier);
        if (outcome.startsWith("HourWright"))
            EXPECT_EQ(prompts.asked, QStringList {outcome});
        else
            EXPECT_EQ(controls(form).lstTasks->texts().join('|'), outcome);
    }
    EXPECT_EQ(state(),
              "Hour Wright[*]\n*\nnpc\n--V\n"
              "06:00 > Travel > 1/2/3|09:00 > Appear|10:00 > Appear");
}

TEST_F(Files, saveScriptAsWritesTheBoxInTheCodePageChosenOrNothing)
{
    main.menu().saveScriptAs->trigger();
    EXPECT_EQ(prompts.asked, QStringList {"HourWright|There is no script to save."});
    EXPECT_TRUE(prompts.saveDialogs.isEmpty());

    const QString western = "Morrowind script, Western European (Windows-1252) (*.txt)",
                  cyrillic = "Morrowind script, Cyrillic (Windows-1251) (*.txt)";
    fill("06:00 > Appear", "\xD0\x91\xD0\xBE\xD0\xB1 \xC3\x84", false, false); // Боб Ä
    QTest::mouseClick(controls(form).cmdGenerate[0], Qt::LeftButton);
    prompts.asked.clear();
    prompts.savePaths = {path("s.txt")};
    prompts.saveTypes = {cyrillic};
    main.menu().saveScriptAs->trigger();
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_TRUE(prompts.saveDialogs[0].endsWith(
        "/\xD0\xB1\xD0\xBE\xD0\xB1_\xC3\xA4_sched_sc_01.txt|" + western + ";;" + cyrillic +
        ";;Morrowind script, Central European (Windows-1250) (*.txt)|" + western))
        << prompts.saveDialogs[0].toStdString();
    EXPECT_EQ(prompts.asked,
              QStringList {"HourWright|The script cannot be saved in Cyrillic (Windows-1251).\n\n"
                           "Line 1: \"\xC3\xA4\" (U+00E4) is not in windows-1251\n\n"
                           "Nothing was written."});
    EXPECT_EQ(read("s.txt"), "(none)");

    controls(form).txtName->setEditText("\xD0\x91\xD0\xBE\xD0\xB1"); // Боб
    prompts.answers = {PromptAnswer::Yes}; // overwrite the script box
    QTest::mouseClick(controls(form).cmdGenerate[0], Qt::LeftButton);
    prompts.savePaths = {path("s.txt")};
    main.menu().saveScriptAs->trigger(); // in the code page chosen last
    EXPECT_TRUE(prompts.saveDialogs.value(1).endsWith('|' + cyrillic));
    const std::string script = controls(form).txtScript->scriptText().toStdString();
    EXPECT_EQ(read("s.txt").toStdString(), hw::fromUtf8(script, hw::CodePage::Windows1251).bytes);
    EXPECT_TRUE(script.ends_with("\r\nEnd"));
}

// hourwright-cli schedule prints, byte for byte, the window's script for a saved list, and the
// notes of the window's panel.
TEST_F(Files, theCommandLineWritesTheWindowsScriptForASavedList)
{
    for (const bool global : {false, true}) {
        fill(kEntries + "|20:00 > Disappear", " Town Guard", global, !global);
        prompts.savePaths = {path("guards.hwtasks")};
        main.menu().saveAs->trigger();
        prompts.answers = {PromptAnswer::Yes};
        QTest::mouseClick(controls(form).cmdGenerate[0], Qt::LeftButton);
        QProcess cli;
        cli.start(QString::fromUtf8(HOURWRIGHT_CLI), {"schedule", path("guards.hwtasks")});
        ASSERT_TRUE(cli.waitForFinished(30000));
        QString notes;
        const QListWidget *panel = main.game().notesPanel().list();
        for (int row = 0; row < panel->count(); ++row)
            notes += "hourwright-cli schedule: note: " + panel->item(row)->text() + "\n";
        EXPECT_FALSE(notes.isEmpty());
        EXPECT_EQ(QString::fromUtf8(cli.readAllStandardError()), notes);
        EXPECT_EQ(cli.readAllStandardOutput(), controls(form).txtScript->scriptText().toUtf8());
        EXPECT_TRUE(controls(form).txtScript->scriptText().contains("StopScript") == global);
    }
}

} // namespace
