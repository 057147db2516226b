// File › Load Game Data from an openmw.cfg (or one chosen by hand) naming real, missing and
// damaged plugins; Cancel; the Load button adding its file to the index.
#include "game_fixture.hpp"

#include "model/caseless.hpp"
#include "model/name_list.hpp"
#include "plugin/es_read.hpp"
#include "ui/form/name_list_model.hpp"

#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

namespace fs = std::filesystem;
using hw::PromptAnswer;
using namespace hw::test;

// The NPC ids of the plugins `names` (their .ids files) and `more`, caselessly once, sorted.
QString gameIds(const std::vector<std::string> &names, std::vector<std::string> more = {})
{
    for (const auto &name : names) {
        std::ifstream ids(fs::path(HW_TEST_PLUGINS) / (name + ".ids"));
        for (std::string id; std::getline(ids, id);)
            more.push_back(id);
    }
    hw::sortNames(more);
    more.erase(std::unique(more.begin(), more.end(), hw::caselessEqual), more.end());
    QStringList all;
    for (const auto &id : more)
        all.append(QString::fromStdString(id));
    return all.join(',');
}

// Clicks Load, chooses `file` and answers No.
void loadButton(GameWindow &w, const fs::path &file)
{
    w.prompts.files = {hw::fromFilesystemPath(file)};
    w.prompts.answers = {PromptAnswer::No};
    QTest::mouseClick(controls(w.form).Command1, Qt::LeftButton);
    w.waitForLoad();
}

TEST(LoadGameData, readsTheConfiguredFilesTellsWhatItCouldNotReadAndAddsEachIdOnce)
{
    // The answer; the ids the list held before (from the Load button); whether the game loads
    // twice; the ids the list holds after besides the game's.
    const std::tuple<PromptAnswer, std::vector<std::string>, bool, std::vector<std::string>>
        cases[] = {
            {PromptAnswer::Yes, {"Own_Guard"}, false, {}},
            // An id the list holds in any spelling is not added again.
            {PromptAnswer::No, {"Own_Guard", "FM_MARA"}, false, {"Own_Guard", "FM_MARA"}},
            {PromptAnswer::No, {}, true, {}},
        };
    for (const auto &[answer, before, twice, kept] : cases) {
        SCOPED_TRACE(before.size());
        GameWindow w;
        // Damaged: cut inside its records, after some of its NPCs.
        fs::copy_file(fs::path(HW_TEST_PLUGINS) / "MQE_MainQuestEnhancers.esp",
                      w.dataFolder / "Damaged.esp");
        fs::resize_file(w.dataFolder / "Damaged.esp", 70000);
        hw::ESRead damaged;
        damaged.ReadNPCNames(w.dataFolder / "Damaged.esp");
        ASSERT_GT(damaged.NPCNames.size(), 3u);
        w.configure({"firemoth.esm", "all_types.esp", "Missing.esp", "Damaged.esp",
                     "TheWanderer.omwaddon"});
        std::ofstream(w.home.filePath("own.esp").toStdString(), std::ios::binary) << npcs(before);
        if (!before.empty())
            loadButton(w, w.home.filePath("own.esp").toStdString());
        w.loadGameData(answer);
        if (twice)
            w.loadGameData(answer);

        auto expected = kept;
        expected.insert(expected.end(), damaged.NPCNames.begin(), damaged.NPCNames.end());
        EXPECT_EQ(w.names(),
                  gameIds({"firemoth.esm", "all_types.esp", "TheWanderer.omwaddon"}, expected));
        // The game's files alone: the Load button's file is not combined with them.
        EXPECT_TRUE(w.game.loadedLabel().text().startsWith("4 files, "))
            << w.game.loadedLabel().text().toStdString();
        // The question comes only when the list holds names to clear.
        const QString told = w.prompts.asked.value(before.empty() ? 0 : 1);
        EXPECT_TRUE(told.startsWith("HourWright|The game data was loaded, except for what "
                                    "follows:\n\n• "))
            << told.toStdString();
        EXPECT_TRUE(told.contains("\"Missing.esp\""));
        EXPECT_TRUE(told.contains(QString::fromStdString(
            "Damaged.esp\" ends in the middle of a record. " +
            std::to_string(damaged.NPCNames.size()) +
            " NPC ids were found before it. Its records before that point were taken.")));
        EXPECT_EQ(w.prompts.asked.count(kClear), (before.empty() ? 0 : 1) + (twice ? 1 : 0));
        EXPECT_EQ(w.prompts.asked.size(), (before.empty() ? 1 : 2) + (twice ? 2 : 0));
    }
}

// A configuration chosen by hand is read, and remembered for later starts while it is there
// if it names something to load: one that names nothing would stand in the way of every load.
TEST(LoadGameData, withoutAConfigurationSaysWhereItLookedAndReadsOneChosenByHandForLaterStarts)
{
    // The answer to "choose one?"; the file chosen (none: a cancel); its text; the ids loaded.
    const std::tuple<PromptAnswer, const char *, const char *, QString> cases[] = {
        {PromptAnswer::No, "", "", ""},
        {PromptAnswer::Yes, "", "", ""},
        {PromptAnswer::Yes, "empty.cfg", "# nothing to load\n", ""},
        {PromptAnswer::Yes, "Jeu é/Morrowind.ini", "[Game Files]\r\nGameFile0=firemoth.esm\r\n",
         gameIds({"firemoth.esm"})},
        // A file chosen by hand is OpenMW's whatever its name, unless an .ini.
        {PromptAnswer::Yes, "mine.cfg", "content=all_types.esp\ndata=\"Jeu é/Data Files\"\n",
         gameIds({"all_types.esp"})},
    };
    for (const auto &[answer, chosen, text, ids] : cases) {
        SCOPED_TRACE(chosen);
        GameWindow w;
        // Written, and removed again: only its plugins stay in the data folder.
        w.configure({"firemoth.esm", "all_types.esp"});
        fs::remove(hw::toFilesystemPath(w.home.filePath("config/openmw/openmw.cfg")));
        const QString file = w.home.filePath(chosen);
        if (*chosen)
            std::ofstream(hw::toFilesystemPath(file)) << text;
        QAction *load = w.window.menu().loadGameData;
        const QString lookedFor = load->toolTip();
        w.prompts.files = {*chosen ? file : QString()};
        w.prompts.answers = {answer};
        load->trigger();
        w.waitForLoad();
        const QString where = w.prompts.asked.value(0);
        EXPECT_TRUE(where.startsWith("HourWright|HourWright found neither OpenMW's "
                                     "configuration (" +
                                     w.home.filePath("config/openmw/openmw.cfg") + ")"))
            << where.toStdString();
        EXPECT_TRUE(where.endsWith(
            ".\n\nDo you want to choose an openmw.cfg or a Morrowind.ini yourself?"));
        EXPECT_EQ(w.prompts.dialogs.size(), answer == PromptAnswer::Yes ? 1 : 0);
        // An empty NPC list is not to be cleared; a file that names nothing is told of.
        EXPECT_EQ(w.prompts.asked.mid(1),
                  *chosen && ids.isEmpty()
                      ? QStringList {"HourWright|The load order of \"" + file +
                                     "\" names no content file that could be found. Nothing "
                                     "was loaded."}
                      : QStringList());
        EXPECT_EQ(w.names(), ids);
        EXPECT_EQ(w.game.data() != nullptr, !ids.isEmpty());
        const bool kept = !ids.isEmpty();
        EXPECT_TRUE(kept ? load->toolTip().contains(QDir::toNativeSeparators(file))
                         : load->toolTip() == lookedFor);
        EXPECT_EQ(load->statusTip(), load->toolTip());
        {
            // The next start reads it without a question, and says so before.
            ScriptedPrompts prompts;
            hw::MainWindow next {prompts};
            EXPECT_EQ(next.menu().loadGameData->toolTip(), load->toolTip());
            next.menu().loadGameData->trigger();
            EXPECT_TRUE(QTest::qWaitFor([&] { return !next.game().loader().busy(); }, 30000));
            EXPECT_EQ(prompts.asked.isEmpty(), kept);
            EXPECT_EQ(Window::namesOf(next.form()), ids);
        }
        // Once it is gone, the game's configuration is looked for again.
        QFile::remove(file);
        w.prompts.asked.clear();
        w.prompts.answers = {PromptAnswer::No};
        load->trigger();
        EXPECT_TRUE(w.prompts.asked.value(0).startsWith("HourWright|HourWright found neither"));
        EXPECT_EQ(load->toolTip(), lookedFor);
    }
}

TEST(LoadGameData, namesTheFirstProblemsOfALongListAndHowManyMore)
{
    // Whether one file of the fifteen is there; the message's first line.
    for (const bool oneThere : {true, false}) {
        GameWindow w;
        std::vector<std::string> content;
        for (int n = 0; n < 14; ++n)
            content.push_back("Missing " + std::to_string(n) + ".esp");
        content.push_back(oneThere ? "firemoth.esm" : "Missing 14.esp");
        w.configure(content);
        w.loadGameData();
        const QString told = w.prompts.asked.value(0);
        EXPECT_TRUE(told.startsWith(oneThere ? "HourWright|The game data was loaded, except"
                                             : "HourWright|The load order of \""))
            << told.toStdString();
        EXPECT_EQ(told.count("\n• "), 13);
        EXPECT_TRUE(told.endsWith("Missing 11.esp\" is in none of the data folders\n• …and " +
                                  QString(oneThere ? "2 more problems." : "3 more problems.")))
            << told.toStdString();
        EXPECT_EQ(w.names(), oneThere ? gameIds({"firemoth.esm"}) : "");
    }
}

TEST(LoadGameData, cancelledLeavesTheNamesTheIndexAndTheStatusAsTheyWere)
{
    // Cancelled while the files are read, and once read (the result on its way to the window).
    for (const bool read : {false, true}) {
        SCOPED_TRACE(read);
        GameWindow w;
        w.configure({"firemoth.esm"});
        w.loadGameData();
        const hw::GameData *before = w.game.data();
        const QString names = w.names(), status = w.game.loadedLabel().text();

        w.configure({"Welcome_to_the_Arena_v6.7.esp"});
        w.prompts.answers = {PromptAnswer::Yes};
        // Set on the worker thread as its result goes into the queue.
        std::atomic<bool> built = false;
        QObject::connect(
            &w.game.loader(), &hw::GameDataLoader::built, &w.game.loader(),
            [&built] { built = true; }, Qt::DirectConnection);
        QAction *command = w.window.menu().loadGameData;
        command->trigger();
        // Nothing starts a second load meanwhile, nor the Load button's.
        EXPECT_FALSE(command->isEnabled());
        EXPECT_FALSE(w.window.menu().loadNames->isEnabled());
        EXPECT_FALSE(controls(w.form).Command1->isEnabled());
        w.game.loadGameData();
        if (read) { // no event is handled meanwhile: the result waits in the queue
            for (int waited = 0; !built && waited < 30000; ++waited)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ASSERT_TRUE(built);
        }
        ASSERT_NE(w.game.progressDialog(), nullptr);
        w.game.progressDialog()->findChild<QPushButton *>()->click();
        w.waitForLoad();

        EXPECT_EQ(w.game.data(), before);
        EXPECT_EQ(w.names(), names);
        EXPECT_EQ(w.game.loadedLabel().text(), status);
        EXPECT_EQ(w.prompts.asked, QStringList({kClear})); // the first load had none to clear
        EXPECT_TRUE(command->isEnabled() && controls(w.form).Command1->isEnabled());
        EXPECT_EQ(w.game.progressDialog(), nullptr);

        // Closed in the middle of a load, the window ends the load first.
        command->trigger();
        EXPECT_TRUE(w.game.loader().busy());
    }
}

TEST(LoadGameData, aQuickLoadsMessageFindsItsProgressDialogGone)
{
    // A dialog left behind would come up over the message once its delay ran out, and take
    // the input the message waits for.
    GameWindow w;
    w.configure({"firemoth.esm", "Missing.esp"});
    qsizetype dialogs = -1;
    w.prompts.whileShown = [&] { dialogs = w.window.findChildren<QProgressDialog *>().size(); };
    w.loadGameData();
    ASSERT_TRUE(w.prompts.asked.last().contains("Missing.esp")); // the last thing shown
    EXPECT_EQ(dialogs, 0);
}

TEST(LoadButton, addsTheChosenFileToTheIndexAfterTheGameAndTellsOfAFaultOnce)
{
    GameWindow w;
    w.configure({"firemoth.esm"});
    w.loadGameData();
    loadButton(w, fs::path(HW_TEST_PLUGINS) / "all_types.esp");
    EXPECT_TRUE(w.game.loadedLabel().text().startsWith("2 files, 8 NPCs, "));
    EXPECT_TRUE(w.game.data()->index.knows(hw::IdGroup::Item, "test_misc"));

    // The Load button has told of the cut; the index says nothing more.
    const std::string whole = npcs({"cut_a", "cut_b", "cut_c"});
    std::ofstream(w.dataFolder / "Cut.esp", std::ios::binary) << whole.substr(0, whole.size() - 9);
    w.prompts.asked.clear();
    loadButton(w, w.dataFolder / "Cut.esp");
    EXPECT_EQ(w.prompts.asked.size(), 2);
    EXPECT_TRUE(w.game.loadedLabel().text().startsWith("3 files, 10 NPCs, "));
}

// The game's ids join the list as the game tells ids apart: "Àrvs" and
// "àrvs" are two, though the list sorts them as equals.
TEST(NameListModel, knowsAnIdAsTheGameComparesIds)
{
    hw::NameListModel names;
    names.add({"\xC3\xA0rvs", "b", "\xC3\x80RVS"}); // àrvs, ÀRVS
    const std::pair<const char *, bool> cases[] = {
        {"\xC3\x80rvs", true}, {"\xC3\xA0RVS", true}, {"B", true}, {"\xC3\x81rvs", false}};
    for (const auto &[id, known] : cases)
        EXPECT_EQ(names.contains(id), known) << id;
    hw::NameListModel upper;
    upper.add({"\xC3\x80rvs"});
    EXPECT_FALSE(upper.contains("\xC3\xA0rvs"));
}

} // namespace
