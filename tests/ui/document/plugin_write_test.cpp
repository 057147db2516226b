// File › Write to Plugin…: the plugin chosen, the question that shows what changes, the write
// read back by the project's own reader, refusals that leave the files as they were, the plugin
// kept by the task list, and the word about the original engine.
#include "files_fixture.hpp"

#include "plugin_files.hpp"
#include "ui/game/game_commands.hpp"
#include "ui/game/game_data_loader.hpp"

#include <QAction>
#include <QStatusBar>

#include <map>

namespace {

using hw::PromptAnswer;
using hw::PromptButtons;

const QString kFilter = "OpenMW content (*.omwaddon);;Morrowind plugins (*.esp)";
const QString kEngine = "HourWright|OpenMW compiles a script's text when it loads the plugin";
const std::string kModEsp = hw::test::headerRecord() + hw::test::npcRecord("other_npc");
const char *const kRun = "06:00 > Start Running";

class PluginWrite : public ::testing::Test, public hw::test::FilesWindow
{
protected:
    std::vector<PromptButtons> shown;

    PluginWrite()
    {
        QSettings().clear();
        QDir().mkpath(path("lists"));
        QDir().mkpath(path("Data Files"));
        schedule("Town Guard", {kRun});
    }
    void schedule(const QString &npc, const QStringList &entries)
    {
        hw::TaskListFile list;
        list.npcId = npc.toStdString();
        for (const QString &entry : entries)
            list.entries.push_back(entry.toStdString());
        form.showTaskList(list);
    }
    void put(const QString &name, const std::string &bytes) const
    {
        write(name, QByteArray::fromStdString(bytes));
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
    QString preview(const QString &name, const QString &changes, bool gameData = false)
    {
        return "HourWright|Write to the plugin \"" + path(name) + "\"?\n\nIt " + changes + "." +
            (gameData ? ""
                      : "\n\nWithout game data the plugin names no new masters: the game must "
                        "load it after the files that define its NPCs.");
    }
    QString status() const { return main.statusBar()->currentMessage(); }
    /// Every file of the data folder and its bytes.
    std::map<QString, QByteArray> dataFiles() const
    {
        std::map<QString, QByteArray> files;
        for (const QString &name : QDir(path("Data Files")).entryList(QDir::Files))
            files[name] = read("Data Files/" + name);
        return files;
    }
};

// Writes one after the other into one window: a new plugin, one that holds other records, and
// the first again with a longer schedule.
TEST_F(PluginWrite, writesThePluginWithTheScriptGenerateShowsKeepingOtherRecordsAndTheOldFile)
{
    put("Data Files/Mod.esp", kModEsp);
    const QString adds = "adds script town_guard_sched_sc_01 and a start script";
    // The plugin; the list's entries; what the question says changes; the records after; whether
    // the old file is kept.
    // clang-format off
    const std::tuple<QString, QStringList, QString, const char *, bool> rows[] = {
        {"Guards.omwaddon", {kRun}, adds + "; no masters", "SCPT SSCR", false},
        {"Mod.esp", {kRun}, adds + "; corrects the record count in the header; keeps the old file as Mod.esp.bak", "NPC_ SCPT SSCR", true},
        {"Guards.omwaddon", {kRun, "18:00 > Stop Running"}, "replaces script town_guard_sched_sc_01", "SCPT SSCR", false},
    };
    // clang-format on
    QStringList told;
    for (const auto &[file, entries, changes, tags, backup] : rows) {
        SCOPED_TRACE(file.toStdString());
        schedule("Town Guard", entries);
        const QString name = "Data Files/" + file;
        const QByteArray before = read(name);
        const QStringList asked = writeTo(name);
        told += asked;
        ASSERT_FALSE(asked.isEmpty());
        EXPECT_EQ(asked[0], preview(name, changes));
        EXPECT_EQ(shown[0], PromptButtons::WriteCancel);
        EXPECT_EQ(status(), "Wrote " + file + ": " + changes + ".");
        EXPECT_EQ(read(name + ".bak"), backup ? before : "(none)");
        const auto plugin = hw::test::readPlugin(read(name).toStdString());
        ASSERT_EQ(plugin.tags(), tags);
        if (backup) { // the NPC it held comes first, as it was
            EXPECT_EQ(plugin.records[0], hw::test::npcRecord("other_npc"));
        }
        const hw::ScriptRecordData script = hw::test::scriptOf(plugin.records.end()[-2]);
        EXPECT_EQ(script.name, "town_guard_sched_sc_01");
        form.clearScript();
        QTest::mouseClick(hw::test::controls(form).cmdGenerate[0], Qt::LeftButton);
        EXPECT_EQ(QString::fromStdString(std::string(script.text)), form.scriptText());
    }
    // The dialog first proposed a new plugin; the original engine is told of once only.
    EXPECT_TRUE(prompts.saveDialogs.value(0).endsWith("/Schedules.omwaddon|" + kFilter +
                                                      "|OpenMW content (*.omwaddon)"))
        << prompts.saveDialogs.value(0).toStdString();
    EXPECT_EQ(told.filter(kEngine).size(), 1) << told.join('\n').toStdString();
    EXPECT_TRUE(told.value(1).startsWith(kEngine));
}

// Cancelled, refused or failed: no file of the data folder changes, no status, no plugin kept.
TEST_F(PluginWrite, aWriteCancelledRefusedOrFailedChangesNoFileAndRemembersNoPlugin)
{
    put("Data Files/Mod.esp", kModEsp);
    put("Data Files/Text.esp", "not a plugin at all");
    using B = PromptButtons;
    const auto Cancel = PromptAnswer::Cancel, Write = PromptAnswer::Write;
    const QString question = "HourWright|Write to the plugin…",
                  full = "HourWright|Cannot write the plugin \"" + path("Data Files/Mod.esp") +
        "\". File too large. The file is as it was.";
    struct Row
    {
        const char *what, *npc, *entry, *name; // no entry: an empty list; none: a cancel
        PromptAnswer answer;
        QStringList told; // in order; one ending in "…" is the start of the text
        std::vector<PromptButtons> buttons;
        bool dialog = true;
        rlim_t sizeLimit = RLIM_INFINITY;
    };
    // clang-format off
    const Row rows[] = {
        {"new, cancelled", "Guard", kRun, "Data Files/New.omwaddon", Cancel, {question}, {B::WriteCancel}},
        {"existing, cancelled", "Guard", kRun, "Data Files/Mod.esp", Cancel, {question}, {B::WriteCancel}},
        {"not a plugin", "Guard", kRun, "Data Files/Text.esp", Write, {"HourWright|The file…"}, {B::Ok}},
        {"a folder", "Guard", kRun, "Data Files", Write, {"HourWright|…"}, {B::Ok}},
        {"dialog cancelled", "Guard", kRun, nullptr, Write, {}, {}},
        {"a full disk", "Guard", kRun, "Data Files/Mod.esp", Write, {question, full}, {B::WriteCancel, B::Ok}, true, 64},
        {"no name", "", kRun, "Data Files/Mod.esp", Write, {"Hour Wright|NPC Name not specified!"}, {B::Ok}, false},
        {"no task", "Guard", nullptr, "Data Files/Mod.esp", Write, {"Hour Wright|No tasks specified!"}, {B::Ok}, false},
    };
    // clang-format on
    const auto before = dataFiles();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        schedule(row.npc, row.entry ? QStringList {row.entry} : QStringList());
        const auto dialogs = prompts.saveDialogs.size();
        QStringList asked;
        hw::test::withFileSizeLimit(
            row.sizeLimit, [&] { asked = writeTo(row.name ? row.name : "", {row.answer}); });
        ASSERT_EQ(asked.size(), row.told.size()) << asked.join('\n').toStdString();
        for (qsizetype i = 0; i < asked.size(); ++i) {
            const QString &expected = row.told[i];
            EXPECT_TRUE(expected.endsWith("…") ? asked[i].startsWith(expected.chopped(1))
                                               : asked[i] == expected)
                << asked[i].toStdString();
        }
        EXPECT_EQ(shown, row.buttons);
        EXPECT_EQ(prompts.saveDialogs.size() - dialogs, row.dialog ? 1 : 0);
        EXPECT_EQ(status(), "");
        EXPECT_EQ(main.document().plugin(), "");
        EXPECT_EQ(dataFiles(), before);
    }
}

// Written before the list is saved, after it is opened again, and into another plugin.
TEST_F(PluginWrite, theListKeepsItsPluginThroughSaveAndOpen)
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

    // The same plugin again: proposed, unchanged, and the list stays as saved.
    prompts.answers = {PromptAnswer::Discard}; // Smith's list
    ASSERT_TRUE(main.document().openFile(path("lists/guard.hwtasks")));
    EXPECT_EQ(writeTo("Data Files/Guards.omwaddon"),
              QStringList({"HourWright|\"" + path("Data Files/Guards.omwaddon") +
                           "\" is unchanged: it holds this schedule already."}));
    EXPECT_TRUE(prompts.saveDialogs.last().startsWith(path("Data Files/Guards.omwaddon") + '|'));
    EXPECT_FALSE(main.isWindowModified());
    // Another plugin is a change of the list that Save keeps; its kind is the type offered next.
    writeTo("Other.esp");
    EXPECT_TRUE(main.isWindowModified());
    main.menu().save->trigger();
    EXPECT_TRUE(read("lists/guard.hwtasks").contains("\n; Plugin: ../Other.esp\n"));
    writeTo("");
    EXPECT_TRUE(prompts.saveDialogs.last().startsWith(path("Other.esp") + '|' + kFilter +
                                                      "|Morrowind plugins (*.esp)"))
        << prompts.saveDialogs.last().toStdString();
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
                      "adds script town_guard_sched_sc_01 and a start script; 1 master", true));
    EXPECT_EQ(hw::test::readPlugin(read("Data Files/Guards.omwaddon").toStdString()).header.masters,
              std::vector<hw::MasterFile>({{"Guards.esm", master.size()}}));

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
