#include "data/game_index_builder.hpp"
#include "data/nearest_ids.hpp"
#include "data/record_combiner.hpp"

#include "plugin_writer.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace hw::test;
using hw::test::fileBytes;
using Strings = std::vector<std::string>;

const std::string kInn = "Seyda Neen, Arrille's Tradehouse";

std::string inn(const std::string &references)
{
    return record("CELL", cellHead(kInn, 1) + references);
}

// A master and two plugins that change it as a load order does.
struct LoadOrder
{
    std::string master = headerRecord({}) + idRecord("NPC_", "Arrille", {}, 0x400) +
        idRecord("NPC_", "Fargoth") + idRecord("CREA", "mudcrab") + idRecord("MISC", "gold_001") +
        idRecord("DOOR", "door_01") + idRecord("SPEL", "fireball") +
        idRecord("REGN", "bitter coast region", textSubrecord("FNAM", "Bitter Coast Region")) +
        inn(placed(1, "Arrille") + placed(2, "Fargoth") + placed(3, "mudcrab") +
            placed(4, "door_01")) +
        record("CELL",
               cellHead("Seyda Neen", 0, -2, -9, "bitter coast region") + placed(5, "fargoth")) +
        record("CELL", cellHead("", 0, -3, -9, "bitter coast region") + placed(6, "mudcrab"));
    // Overrides an NPC (case aside), deletes an item, adds an NPC, and
    // changes the master's reference 2 to place another NPC.
    std::string first = headerRecord({"M.esm"}) + idRecord("NPC_", "FARGOTH", {}, 0x400) +
        record("MISC", textSubrecord("NAME", "gold_001") + subrecord("DELE", le32(0))) +
        idRecord("NPC_", "Hrisskar") + inn(placed(0x01000002, "Arrille") + placed(1, "Hrisskar"));
    // Deletes the master's reference 1, moves the first plugin's reference
    // 1 outside, renames a region and deletes a creature.
    std::string second = headerRecord({"M.esm", "P1.esp"}) +
        idRecord("REGN", "bitter coast region", textSubrecord("FNAM", "Bitter Coast")) +
        record("CREA", textSubrecord("NAME", "mudcrab") + subrecord("DELE", le32(0))) +
        inn(placed(0x01000001, "Arrille", true) + subrecord("MVRF", le32(0x02000001)) +
            subrecord("CNDT",
                      le32(static_cast<std::uint32_t>(-3)) + le32(static_cast<std::uint32_t>(-9))) +
            placed(0x02000001, "Hrisskar"));

    hw::GameIndex upTo(std::size_t files) const
    {
        const std::pair<const std::string *, const char *> all[] = {
            {&master, "M.esm"}, {&first, "P1.esp"}, {&second, "P2.esp"}};
        hw::GameIndexBuilder builder;
        for (std::size_t n = 0; n < files; ++n) {
            hw::MemorySource source(*all[n].first);
            builder.addSource(source, all[n].second);
        }
        return builder.finish();
    }
};

Strings placesOf(const hw::GameIndex &index, std::string_view actor)
{
    const auto facts = index.actor(actor);
    return facts ? facts->cells : Strings {"(no such actor)"};
}

// The ids of a list of the index as strings.
template<class Ids> Strings all(const Ids &ids)
{
    Strings strings;
    for (std::size_t n = 0; n < ids.size(); ++n)
        strings.emplace_back(ids[n]);
    return strings;
}

hw::GameIndex indexOf(const std::string &plugin)
{
    hw::MemorySource source(plugin);
    hw::GameIndexBuilder builder;
    builder.addSource(source, "M.esm");
    return builder.finish();
}

// Everything the index answers, written down.
std::string describe(const hw::GameIndex &index)
{
    std::string out;
    for (const auto kind : hw::kRecordKinds)
        for (const auto id : index.inOrder(kind)) {
            out.append(id) += ' ' + std::to_string(static_cast<int>(kind));
            if (const auto actor = kind == hw::RecordKind::Npc || kind == hw::RecordKind::Creature
                    ? index.actor(id)
                    : std::nullopt) {
                out += ' ' + actor->id + ' ' + std::to_string(actor->flags);
                for (const auto &cell : actor->cells)
                    out += " | " + cell;
            }
            out += '\n';
        }
    for (std::size_t n = 0; n < hw::kIdGroupCount; ++n)
        for (const auto &id : all(index.sorted(static_cast<hw::IdGroup>(n))))
            out += std::to_string(n) + ' ' + id + '\n';
    for (const auto &file : index.files())
        out += file.path.string() + ' ' + std::to_string(static_cast<int>(file.outcome.fault)) +
            ' ' + std::to_string(file.outcome.offset) + ' ' + std::to_string(file.outcome.idCount) +
            '\n';
    for (const auto &script : index.scripts())
        out.append(script.id) += ' ' + std::to_string(script.file) + '\n';
    return out;
}

using Files = std::vector<std::pair<std::string, std::string>>; // bytes, name

hw::GameIndex buildOf(const Files &files, std::uint64_t splitFrom)
{
    hw::GameIndexBuilder builder;
    builder.splitFilesFrom(splitFrom);
    for (const auto &[bytes, name] : files) {
        hw::MemorySource source(bytes);
        builder.addSource(source, name);
    }
    return builder.finish();
}

// Files read with the references of their cells walked on a second thread
// give the index the one-thread read gives, whatever they hold; where only
// the one-thread read takes a file exactly, the two-thread read says so and
// the builder reads the file again.
TEST(GameIndexBuilder, readsTheCellsOfLargeFilesOnASecondThreadIntoTheSameIndex)
{
    const LoadOrder order;
    Files real;
    for (const auto &entry : std::filesystem::directory_iterator(HW_TEST_PLUGINS))
        if (entry.path().extension() != ".ids" && entry.path().extension() != ".md")
            real.emplace_back(fileBytes(entry.path()), entry.path().filename().string());
    std::sort(real.begin(), real.end(),
              [](const auto &a, const auto &b) { return a.second < b.second; });
    const std::string actors = headerRecord({}) + npcRecord("Ienas") + idRecord("CREA", "rat");
    // Enough cells that the reader walks some itself while it waits.
    std::string many = actors;
    for (std::uint32_t n = 1; n <= 400; ++n)
        many += record("CELL",
                       cellHead("Hall " + std::to_string(n % 7), 1) +
                           placed(2 * n, n % 3 ? "chair" : "Ienas") +
                           placed(2 * n + 1, n % 5 ? "rat" : "table"));
    const std::optional<bool> either;
    const std::tuple<const char *, Files, std::optional<bool>> cases[] = {
        // what, files, whether the two-thread read of the last one is given up
        {"every real test plugin", real, false},
        {"a master", {{order.master, "M.esm"}}, false},
        {"a plugin changing a master's references",
         {{order.master, "M.esm"}, {order.first, "P1.esp"}},
         false},
        {"a moved reference",
         {{order.master, "M.esm"}, {order.first, "P1.esp"}, {order.second, "P2.esp"}},
         true},
        {"a cell's reference numbers given again in another record of it",
         {{actors + inn(placed(1, "Ienas") + placed(2, "rat")) +
               inn(placed(1, "chair") + placed(2, "rat", true)),
           "M.esm"}},
         false},
        {"actors that come, go and come back after cells",
         {{headerRecord({}) + inn(placed(1, "Ienas")) + npcRecord("Ienas") +
               inn(placed(2, "Ienas")) +
               record("NPC_", textSubrecord("NAME", "ienas") + subrecord("DELE", le32(0))) +
               inn(placed(3, "IENAS")) + npcRecord("IENAS") + inn(placed(4, "Ienas")),
           "M.esm"}},
         false},
        {"a file that names itself as its master",
         {{headerRecord({"Self.esp"}) + npcRecord("Ienas") +
               inn(placed(0x01000003, "Ienas") + placed(3, "chair")),
           "Self.esp"}},
         false},
        {"a cell whose last sub-record runs past it",
         {{actors + inn(placed(1, "Ienas")) +
               record("CELL",
                      cellHead("Balmora", 1) + placed(2, "rat") + "XSCL" + le32(40) + "ab") +
               npcRecord("Unread"),
           "M.esm"}},
         true},
        {"a file read twice", {{order.master, "M.esm"}, {order.master, "m.esm"}}, false},
        {"many cells", {{many, "M.esm"}}, false},
        {"many cells, the last giving an earlier one's number again",
         {{many + record("CELL", cellHead("Hall 3", 1) + placed(6, "chair")), "M.esm"}},
         either},
        {"many cells, an actor, then a number of the last cells again",
         {{many + npcRecord("Late") + record("CELL", cellHead("Hall 0", 1) + placed(798, "chair")),
           "M.esm"}},
         false},
    };
    for (const auto &[what, files, redo] : cases) {
        const auto serial = buildOf(files, std::numeric_limits<std::uint64_t>::max());
        EXPECT_EQ(describe(buildOf(files, 0)), describe(serial)) << what;
        // The last file alone, read on two threads after the others.
        auto before = buildOf(Files(files.begin(), files.end() - 1),
                              std::numeric_limits<std::uint64_t>::max());
        hw::RecordCombiner combiner(std::move(before));
        combiner.beginFile(files.back().second);
        if (combiner.ownReadBefore())
            continue;
        hw::MemorySource source(files.back().first);
        const auto split = hw::readRecordsSplit(source, combiner);
        EXPECT_EQ(split.redo, redo.value_or(split.redo)) << what;
    }
}

TEST(GameIndex, placesActorsAsTheFilesCombine)
{
    const std::string seydaNeen = "Seyda Neen (-2, -9)";
    const std::tuple<std::size_t, const char *, Strings> cases[] = {
        // files read, actor, cells
        {1, "fargoth", {kInn, seydaNeen}},
        {1, "MUDCRAB", {kInn, "Bitter Coast Region (-3, -9)"}},
        // The first plugin changes reference 2 instead of adding one.
        {2, "Fargoth", {seydaNeen}},
        {2, "Arrille", {kInn, kInn}},
        {2, "Hrisskar", {kInn}},
        // The second deletes reference 1 and moves the first plugin's own.
        {3, "Arrille", {kInn}},
        {3, "Hrisskar", {"Bitter Coast (-3, -9)"}},
        {3, "mudcrab", {"(no such actor)"}},
    };
    const LoadOrder order;
    for (const auto &[files, actor, cells] : cases)
        EXPECT_EQ(placesOf(order.upTo(files), actor), cells) << files << " files, " << actor;
}

TEST(GameIndex, keepsEachIdOnceWithItsFirstSpellingAndLastRecordInSortedLists)
{
    const auto index = LoadOrder().upTo(3);
    const auto ids = [&](hw::RecordKind kind) { return all(index.inOrder(kind)); };
    using enum hw::RecordKind;
    EXPECT_EQ(ids(Npc), (Strings {"Arrille", "Fargoth", "Hrisskar"}));
    EXPECT_EQ(ids(Creature), Strings {});
    EXPECT_EQ(ids(Item), Strings {});
    EXPECT_EQ(ids(Spell), Strings {"fireball"});
    EXPECT_EQ(ids(Object), Strings {"door_01"});
    EXPECT_EQ(ids(Cell), (Strings {kInn, "Seyda Neen"}));
    EXPECT_EQ(ids(Region), Strings {"Bitter Coast"});
    EXPECT_TRUE(index.actor("fargoth")->persists());
    EXPECT_EQ(hw::describeCounts(index), "3 files, 3 NPCs, 8 ids");

    // Completion's sorted lists of each field.
    const auto list = [&](hw::IdGroup group) { return all(index.sorted(group)); };
    using G = hw::IdGroup;
    EXPECT_EQ(list(G::Actor), (Strings {"Arrille", "Fargoth", "Hrisskar"}));
    EXPECT_EQ(list(G::CastTarget), (Strings {"Arrille", "Fargoth", "Hrisskar", "player"}));
    EXPECT_EQ(list(G::ActivateTarget), (Strings {"Arrille", "door_01", "Fargoth", "Hrisskar"}));
    EXPECT_EQ(list(G::Place), (Strings {"Bitter Coast", "Seyda Neen", kInn}));
    const auto places = index.sorted(G::Place);
    EXPECT_EQ(hw::firstStartingWith(places, "SEYDA NEEN,"), 2u);
    EXPECT_EQ(hw::firstStartingWith(places, "seyda"), 1u);
    EXPECT_EQ(hw::firstStartingWith(places, "vivec"), places.size());
    EXPECT_TRUE(index.knows(G::Place, "bitter COAST"));
    EXPECT_FALSE(index.knows(G::Place, "bitter coast region"));
}

// The game folds ASCII letters only: "Àrvs" and "àrvs" (Windows-1252 C0, E0)
// are two NPCs, each placed by its own references; "Irvs" and "IRVS" are one.
TEST(GameIndex, foldsOnlyAsciiLettersAsTheGameDoes)
{
    const std::string master = headerRecord({}) + npcRecord("\xC0rvs") + npcRecord("\xE0rvs") +
        npcRecord("Irvs") + npcRecord("IRVS") + idRecord("MISC", "ring_of_power_001B") +
        idRecord("MISC", "RING_OF_POWER_001ab") + idRecord("MISC", "ring_of_power_001") +
        idRecord("MISC", "ring_of_power_001a") + idRecord("MISC", "Ring_Of_Power_001A") +
        idRecord("MISC", "ring_of_power_00") +
        record("CELL",
               cellHead("Hall", 1) + placed(1, "\xC0RVS") + placed(2, "\xE0rvs") +
                   placed(3, "\xE0RVS") + placed(4, "irvs"));
    const auto index = indexOf(master);
    const std::string upper = "\xC3\x80rvs", lower = "\xC3\xA0rvs"; // UTF-8
    const auto npcs = index.sorted(hw::IdGroup::Npc);
    EXPECT_EQ(all(npcs), (Strings {"Irvs", upper, lower}));
    EXPECT_EQ(placesOf(index, "\xC3\x80RVS"), Strings {"Hall"});
    EXPECT_EQ(placesOf(index, lower), (Strings {"Hall", "Hall"}));
    EXPECT_EQ(index.actor("\xC3\xA0RVS")->id, lower);
    EXPECT_EQ(hw::firstStartingWith(npcs, "\xC3\xA0"), 2u);
    EXPECT_EQ(hw::nearestIds(npcs, "\xC3\xA0RVS"), (Strings {upper, "Irvs"}));
    // Ids that differ only after their first sixteen bytes, each once.
    EXPECT_EQ(all(index.sorted(hw::IdGroup::Item)),
              (Strings {"ring_of_power_00", "ring_of_power_001", "ring_of_power_001a",
                        "RING_OF_POWER_001ab", "ring_of_power_001B"}));
}

// More actors than the tables start with, each placed once under its id in
// other letter case: every reference is found however often they grew.
TEST(GameIndex, placesEachOfManyActors)
{
    std::string plugin = headerRecord({});
    std::string references;
    for (std::uint32_t n = 0; n < 1000; ++n) {
        const std::string id = "Actor " + std::to_string(n);
        plugin += idRecord(n % 3 ? "NPC_" : "CREA", id);
        references += placed(n + 1, "aCTOR " + std::to_string(n));
    }
    const auto index = indexOf(plugin + inn(references));
    for (std::uint32_t n = 0; n < 1000; n += 7)
        EXPECT_EQ(index.actor("actor " + std::to_string(n))->cells, Strings {kInn}) << n;
}

// A file added again replaces its references instead of counting them twice;
// one cut short keeps what came before the fault; a missing one stops nothing.
TEST(GameIndexBuilder, goesOnFromAnIndexAndPastFilesItCannotReadWhole)
{
    const LoadOrder order;
    hw::GameIndexBuilder builder(order.upTo(1));
    hw::MemorySource again(order.master);
    ASSERT_TRUE(builder.addSource(again, "m.ESM"));
    const std::string cut = headerRecord({}) + npcRecord("Vedam Dren") + record("CELL", "ab", 90);
    hw::MemorySource source(cut);
    builder.addSource(source, "cut.esp");
    builder.addFile("no such folder/missing.esp");
    const auto index = builder.finish();
    ASSERT_EQ(index.files().size(), 4u);
    EXPECT_EQ(placesOf(index, "Fargoth").size(), 2u);
    EXPECT_EQ(index.files()[2].outcome.fault, hw::ScanFault::DataCutShort);
    EXPECT_EQ(index.files()[2].outcome.idCount, 1u);
    EXPECT_EQ(index.files()[3].outcome.fault, hw::ScanFault::CannotOpen);
    EXPECT_TRUE(index.knows(hw::IdGroup::Npc, "vedam dren"));
}

// An index built without placements has the same ids, cells and verdict on
// each file: the references are walked to the end of their cell all the
// same, only never looked up.
TEST(GameIndexBuilder, leavesOutPlacementsWithTheSameIdsAndVerdicts)
{
    const LoadOrder order;
    // A reference moved to a cell no file has, then a cell whose last
    // sub-record runs past it, and an id after it that is never read.
    const std::string odd = headerRecord({"M.esm"}) +
        inn(subrecord("MVRF", le32(0x01000005)) + textSubrecord("CNAM", "Nowhere") +
            placed(0x01000005, "Fargoth")) +
        record("CELL", cellHead("Balmora", 1) + placed(7, "Fargoth") + "XSCL" + le32(40) + "ab") +
        idRecord("NPC_", "Unread");
    const std::pair<const std::string *, const char *> files[] = {{&order.master, "M.esm"},
                                                                  {&order.first, "P1.esp"},
                                                                  {&order.second, "P2.esp"},
                                                                  {&odd, "O.esp"}};
    const auto build = [&](bool placements) {
        hw::GameIndexBuilder builder;
        if (!placements)
            builder.leaveOutPlacements();
        for (const auto &[bytes, name] : files) {
            hw::MemorySource source(*bytes);
            builder.addSource(source, name);
        }
        return builder.finish();
    };
    const auto full = build(true);
    const auto bare = build(false);
    for (const auto kind : hw::kRecordKinds)
        EXPECT_EQ(all(bare.inOrder(kind)), all(full.inOrder(kind))) << static_cast<int>(kind);
    for (std::size_t n = 0; n < hw::kIdGroupCount; ++n) {
        const auto group = static_cast<hw::IdGroup>(n);
        EXPECT_EQ(all(bare.sorted(group)), all(full.sorted(group))) << n;
    }
    ASSERT_EQ(bare.files().size(), std::size(files));
    for (std::size_t n = 0; n < std::size(files); ++n) {
        const auto &got = bare.files()[n].outcome;
        const auto &want = full.files()[n].outcome;
        EXPECT_EQ(std::tuple(got.fault, got.offset, got.idCount),
                  std::tuple(want.fault, want.offset, want.idCount))
            << files[n].second;
    }
    EXPECT_EQ(full.files()[3].outcome.fault, hw::ScanFault::SubrecordCutShort);
    EXPECT_EQ(placesOf(full, "Fargoth"), (Strings {"Seyda Neen (-2, -9)", "Nowhere", "Balmora"}));
    EXPECT_EQ(placesOf(bare, "Fargoth"), Strings {});
}

// A plugin of 4 MiB reports progress several times, in order, to its whole
// size, and stops when cancelled in its middle.
TEST(GameIndexBuilder, reportsProgressAndStopsWhenCancelled)
{
    const LoadOrder order;
    std::string big = order.first;
    for (int n = 0; n < 40; ++n)
        big += record("LAND", std::string(100000, 'x'));
    std::vector<hw::BuildProgress> reports;
    std::size_t cancelAfter = 0; // reports; 0 for never
    hw::GameIndexBuilder builder(hw::CodePage::Windows1252,
                                 {[&] { return cancelAfter > 0 && reports.size() > cancelAfter; },
                                  [&](const hw::BuildProgress &p) { reports.push_back(p); }});
    hw::MemorySource master(order.master);
    hw::MemorySource first(big);
    ASSERT_TRUE(builder.addSource(master, "M.esm"));
    ASSERT_TRUE(builder.addSource(first, "P1.esp"));
    EXPECT_GE(reports.size(), 5u);
    EXPECT_TRUE(std::is_sorted(reports.begin(), reports.end(), [](const auto &a, const auto &b) {
        return std::pair(a.fileIndex, a.bytesDone) < std::pair(b.fileIndex, b.bytesDone);
    }));
    EXPECT_EQ(reports.back().fileIndex, 1u);
    EXPECT_EQ(reports.back().file, "P1.esp");
    EXPECT_EQ(reports.back().bytesDone, big.size());
    EXPECT_EQ(reports.back().fileBytes, big.size());
    cancelAfter = reports.size() + 2;
    EXPECT_FALSE(builder.addSource(first, "P1.esp"));
    EXPECT_EQ(reports.size(), cancelAfter + 1);
    EXPECT_FALSE(
        hw::buildGameIndex(std::vector<std::filesystem::path> {HW_TEST_PLUGINS "/flin.ESP"},
                           hw::CodePage::Windows1252, {[] { return true; }, {}}));
}

} // namespace
