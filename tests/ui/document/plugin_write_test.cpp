// File › Write to Plugin…: the plugin chosen, the question that shows what changes, the write
// read back by the project's own reader, refusals that leave the file as it was, the plugin kept
// by the task list, and the word about the original engine.
#include "form_controls.hpp"
#include "window_fixture.hpp"

#include "plugin_files.hpp"
#include "ui/document/task_list_document.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/game/game_data_loader.hpp"
#include "ui/shell/main_window.hpp"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QSettings>
#include <QStatusBar>

#include <csignal>

#include <sys/resource.h>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

const QString kFilter = "OpenMW content (*.omwaddon);;Morrowind plugins (*.esp)";
const QString kNoGameData = "Without game data the plugin names no new masters: the game must "
                            "load it after the files that define its NPCs.";

class PluginWrite : public ::testing::Test
{
protected:
    hw::test::ScriptedPrompts prompts;
    hw::MainWindow main {prompts};
    hw::frmMain &form = main.form();
    QTemporaryDir folder;
    QString dir = folder.filePath(QStringLiteral("Données Мод"));

    PluginWrite()
    {
        QSettings().clear();
        QDir().mkpath(dir + "/lists");
        QDir().mkpath(dir + "/Data Files");
        hw::test::showActive(main);
        schedule("Town Guard", {"06:00 > Start Running"});
    }
    QString path(const QString &name) const { return dir + '/' + name; }
    void schedule(const QString &npc, const QStringList &entries)
    {
        hw::TaskListFile list;
        list.npcId = npc.toStdString();
        for (const QString &entry : entries)
            list.entries.push_back(entry.toStdString());
        form.showTaskList(list);
    }
    QByteArray read(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : "(none)";
    }
    void put(const QString &name, const std::string &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    /// Write to Plugin…, choosing `name` (none: cancel), answering the questions with
    /// `answers`; returns what it asked and told, and keeps the buttons of each in `shown`.
    QStringList writeTo(const QString &name, QList<PromptAnswer> answers = {})
    {
        const qsizetype before = prompts.asked.size();
        prompts.savePaths = {name.isEmpty() ? QString() : path(name)};
        prompts.answers = answers;
        main.menu().writeToPlugin->trigger();
        prompts.answers.clear();
        shown.assign(prompts.buttons.begin() + before, prompts.buttons.end());
        return prompts.asked.mid(before);
    }
    std::vector<PromptButtons> shown;
    QString preview(const QString &name, const QString &changes, const QString &notes = kNoGameData)
    {
        return "HourWright|Write to the plugin \"" + path(name) + "\"?\n\nIt " + changes + "." +
            (notes.isEmpty() ? "" : "\n\n" + notes);
    }
    QString status() const { return main.statusBar()->currentMessage(); }
    QString generated()
    {
        form.clearScript();
        QTest::mouseClick(hw::test::controls(form).cmdGenerate[0], Qt::LeftButton);
        return form.scriptText();
    }
};

const QString kEngine = "HourWright|OpenMW compiles a script's text when it loads the plugin";

TEST_F(PluginWrite, writesANewPluginWhoseScriptIsTheOneGenerateShows)
{
    const QStringList asked = writeTo("Data Files/Guards.omwaddon");
    ASSERT_EQ(prompts.saveDialogs.size(), 1);
    EXPECT_TRUE(prompts.saveDialogs[0].endsWith("/Schedules.omwaddon|" + kFilter +
                                                "|OpenMW content (*.omwaddon)"))
        << prompts.saveDialogs[0].toStdString();
    ASSERT_EQ(asked.size(), 2) << asked.join('\n').toStdString();
    EXPECT_EQ(asked[0],
              preview("Data Files/Guards.omwaddon",
                      "adds script town_guard_sched_sc_01 and a start script; no masters"));
    EXPECT_EQ(shown[0], PromptButtons::WriteCancel);
    EXPECT_TRUE(asked[1].startsWith(kEngine)) << asked[1].toStdString();
    EXPECT_EQ(status(),
              "Wrote Guards.omwaddon: adds script town_guard_sched_sc_01 and a start "
              "script; no masters.");

    const hw::test::ReadPlugin plugin =
        hw::test::readPlugin(read("Data Files/Guards.omwaddon").toStdString());
    ASSERT_EQ(plugin.tags(), "SCPT SSCR");
    const hw::ScriptRecordData script = hw::test::scriptOf(plugin.records[0]);
    EXPECT_EQ(script.name, "town_guard_sched_sc_01");
    EXPECT_EQ(QString::fromStdString(std::string(script.text)), generated());
}

TEST_F(PluginWrite, ctrlEOpensTheDialogFromTheNameBox)
{
    form.focusNpcName();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(prompts.saveDialogs.size(), 1);
}

TEST_F(PluginWrite, mergesIntoAPluginAndKeepsItsOtherRecords)
{
    const std::string npc = hw::test::npcRecord("other_npc");
    put("Data Files/Mod.esp", hw::test::headerRecord() + npc);
    writeTo("Data Files/Mod.esp");
    const hw::test::ReadPlugin plugin =
        hw::test::readPlugin(read("Data Files/Mod.esp").toStdString());
    ASSERT_EQ(plugin.tags(), "NPC_ SCPT SSCR");
    EXPECT_EQ(plugin.records[0], npc);
    EXPECT_EQ(read("Data Files/Mod.esp.bak").toStdString(), hw::test::headerRecord() + npc);
    EXPECT_TRUE(status().endsWith("The old file is kept as Mod.esp.bak."))
        << status().toStdString();
}

TEST_F(PluginWrite, cancelledOrRefusedWritesNothingAndRemembersNoPlugin)
{
    const std::string plugin = hw::test::headerRecord() + hw::test::npcRecord("other_npc");
    put("Data Files/Mod.esp", plugin);
    put("Data Files/Text.esp", "not a plugin at all");
    // The plugin chosen (none: the dialog cancelled), the answer to a question, the start of
    // the one question or message, and its buttons.
    // clang-format off
    const std::tuple<const char *, PromptAnswer, const char *, PromptButtons> cases[] = {
        {"Data Files/New.omwaddon", PromptAnswer::Cancel, "HourWright|Write to the plugin", PromptButtons::WriteCancel},
        {"Data Files/Mod.esp", PromptAnswer::Cancel, "HourWright|Write to the plugin", PromptButtons::WriteCancel},
        {"Data Files/Text.esp", PromptAnswer::Write, "HourWright|The file", PromptButtons::Ok},
        {"Data Files", PromptAnswer::Write, "HourWright|", PromptButtons::Ok},
        {"", PromptAnswer::Write, nullptr, PromptButtons::Ok},
    };
    // clang-format on
    for (const auto &[name, answer, message, buttons] : cases) {
        SCOPED_TRACE(name);
        const QStringList asked = writeTo(name, {answer});
        if (message) {
            ASSERT_EQ(asked.size(), 1) << asked.join('\n').toStdString();
            EXPECT_TRUE(asked[0].startsWith(message)) << asked[0].toStdString();
            EXPECT_EQ(shown[0], buttons);
        } else {
            EXPECT_EQ(asked, QStringList());
        }
        EXPECT_EQ(status(), "");
        EXPECT_EQ(main.document().plugin(), "");
    }
    EXPECT_FALSE(QFile::exists(path("Data Files/New.omwaddon")));
    EXPECT_EQ(read("Data Files/Mod.esp").toStdString(), plugin);
    EXPECT_EQ(read("Data Files/Text.esp"), "not a plugin at all");
    EXPECT_FALSE(QFile::exists(path("Data Files/Mod.esp.bak")));
}

TEST_F(PluginWrite, aWriteThatFailsIsOneMessageAndLeavesThePluginAsItWas)
{
    const std::string plugin = hw::test::headerRecord() + hw::test::npcRecord("other_npc");
    put("Data Files/Mod.esp", plugin);
    // Writes past 64 bytes fail, as on a full disk.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit {};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small {64, limit.rlim_max};
    setrlimit(RLIMIT_FSIZE, &small);
    const QStringList asked = writeTo("Data Files/Mod.esp", {PromptAnswer::Write});
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_EQ(asked.size(), 2) << asked.join('\n').toStdString();
    EXPECT_EQ(asked[1],
              "HourWright|Cannot write the plugin \"" + path("Data Files/Mod.esp") +
                  "\". File too large. The file is as it was.");
    EXPECT_EQ(read("Data Files/Mod.esp").toStdString(), plugin);
    EXPECT_EQ(status(), "");
    EXPECT_EQ(main.document().plugin(), "");
}

TEST_F(PluginWrite, aListThatGenerateRefusesIsRefusedBeforeAPluginIsChosen)
{
    schedule("Town Guard", {});
    EXPECT_EQ(writeTo("Data Files/Guards.omwaddon"),
              QStringList({"Hour Wright|No tasks specified!"}));
    schedule("", {"06:00 > Start Running"});
    EXPECT_EQ(writeTo("Data Files/Guards.omwaddon"),
              QStringList({"Hour Wright|NPC Name not specified!"}));
    EXPECT_EQ(prompts.saveDialogs, QStringList());
}

TEST_F(PluginWrite, theListKeepsItsPluginThroughSaveAndOpen)
{
    prompts.savePaths = {path("lists/guard.hwtasks")};
    main.menu().saveAs->trigger();
    ASSERT_FALSE(main.isWindowModified());

    writeTo("Data Files/Guards.omwaddon");
    EXPECT_TRUE(main.isWindowModified());
    main.menu().save->trigger();
    EXPECT_TRUE(read("lists/guard.hwtasks").contains("\n; Plugin: ../Data Files/Guards.omwaddon\n"))
        << read("lists/guard.hwtasks").toStdString();

    main.menu().newList->trigger();
    ASSERT_TRUE(main.document().openFile(path("lists/guard.hwtasks")));
    // The same plugin again: proposed, unchanged, and the list stays as saved.
    EXPECT_EQ(writeTo("Data Files/Guards.omwaddon"),
              QStringList({"HourWright|\"" + path("Data Files/Guards.omwaddon") +
                           "\" is unchanged: it holds this schedule already."}));
    EXPECT_TRUE(prompts.saveDialogs.last().startsWith(path("Data Files/Guards.omwaddon") + '|'))
        << prompts.saveDialogs.last().toStdString();
    EXPECT_FALSE(main.isWindowModified());
    // Another plugin is a change of the list; its kind is the type offered next.
    writeTo("Other.esp");
    EXPECT_TRUE(main.isWindowModified());
    writeTo("");
    EXPECT_TRUE(prompts.saveDialogs.last().startsWith(path("Other.esp") + '|' + kFilter +
                                                      "|Morrowind plugins (*.esp)"))
        << prompts.saveDialogs.last().toStdString();
}

TEST_F(PluginWrite, anUnsavedListNamesItsPluginFromWhereItIsSaved)
{
    writeTo("Data Files/Guards.omwaddon");
    prompts.savePaths = {path("lists/guard.hwtasks")};
    main.menu().saveAs->trigger();
    EXPECT_TRUE(read("lists/guard.hwtasks").contains("\n; Plugin: ../Data Files/Guards.omwaddon\n"))
        << read("lists/guard.hwtasks").toStdString();
    // A new list names no plugin: the dialog proposes one in the folder of the last.
    main.menu().newList->trigger();
    schedule("Smith", {"06:00 > Start Running"});
    writeTo("");
    EXPECT_TRUE(prompts.saveDialogs.last().startsWith(path("Data Files/Schedules.omwaddon|")))
        << prompts.saveDialogs.last().toStdString();
}

TEST_F(PluginWrite, tellsOfTheOriginalEngineAfterTheFirstWriteOnly)
{
    QStringList asked = writeTo("Data Files/Guards.omwaddon");
    schedule("Town Guard", {"06:00 > Start Running", "18:00 > Stop Running"});
    asked += writeTo("Data Files/Guards.omwaddon");
    EXPECT_TRUE(status().startsWith("Wrote Guards.omwaddon: replaces script"))
        << status().toStdString();
    schedule("Smith", {"06:00 > Start Running"});
    asked += writeTo("Data Files/Other.omwaddon");
    EXPECT_EQ(asked.filter(kEngine).size(), 1) << asked.join('\n').toStdString();
}

TEST_F(PluginWrite, namesTheLoadedGameDataAsMastersAndWritesAnUnknownNpcOnlyWhenAsked)
{
    const std::string master = hw::test::headerRecord({}) + hw::test::npcRecord("Town Guard");
    put("Data Files/Guards.esm", master);
    form.loadNpcNames({path("Data Files/Guards.esm")});
    ASSERT_TRUE(QTest::qWaitFor([this] { return !main.game().loader().busy(); }, 30000));
    ASSERT_TRUE(main.game().data());

    EXPECT_EQ(writeTo("Data Files/Guards.omwaddon")[0],
              preview("Data Files/Guards.omwaddon",
                      "adds script town_guard_sched_sc_01 and a start script; 1 master", ""));
    const auto header =
        hw::test::readPlugin(read("Data Files/Guards.omwaddon").toStdString()).header;
    EXPECT_EQ(header.masters, std::vector<hw::MasterFile>({{"Guards.esm", master.size()}}));

    schedule("Nobody", {"06:00 > Start Running"});
    QStringList asked = writeTo("Data Files/Other.omwaddon", {PromptAnswer::Cancel});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(
        asked[0].startsWith("HourWright|No file of the game data defines the NPC \"Nobody\"."))
        << asked[0].toStdString();
    EXPECT_EQ(shown[0], PromptButtons::WriteAnywayCancel);
    EXPECT_FALSE(QFile::exists(path("Data Files/Other.omwaddon")));

    asked = writeTo("Data Files/Other.omwaddon", {PromptAnswer::Write, PromptAnswer::Write});
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[1].contains("\n\nNo file of the game data defines the NPC \"Nobody\": "))
        << asked[1].toStdString();
    EXPECT_TRUE(QFile::exists(path("Data Files/Other.omwaddon")));
}

} // namespace
