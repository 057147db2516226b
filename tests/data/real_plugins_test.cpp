#include "data/game_index_builder.hpp"
#include "plugin/es_read.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

using hw::test::fileBytes;

// The index of one file as FILE.index.tsv and FILE.placed.tsv write it.
std::string indexLines(const hw::GameIndex &index)
{
    std::string lines;
    for (const auto kind : hw::kRecordKinds)
        for (const auto id : index.inOrder(kind))
            lines.append(hw::recordKindName(kind)).append(1, '\t').append(id).append(1, '\n');
    return lines;
}

std::string placedLines(const hw::GameIndex &index)
{
    std::string lines;
    for (const auto id : index.inOrder(hw::RecordKind::Npc))
        lines.append(id).append(1, '\t') += std::to_string(index.actor(id)->cells.size()) + '\n';
    return lines;
}

// Every real plugin gives the reader exactly the NPC ids of its FILE.ids, and
// the index the ids and placed counts of its expected FILE.index/placed.tsv.
TEST(RealPlugins, giveTheirListedIdsAndIndex)
{
    const fs::path expected = HW_TEST_INDEX;
    std::set<fs::path> done;
    std::size_t indexed = 0;
    for (const fs::path folder : {HW_TEST_PLUGINS, HW_EXTRA_TEST_PLUGINS}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; ++it) {
            const fs::path &file = it->path();
            if (file.extension() == ".ids" || file.extension() == ".md" ||
                !done.insert(file.filename()).second)
                continue;
            SCOPED_TRACE(file.string());
            hw::ESRead reader;
            const auto outcome = reader.ReadNPCNames(file);
            EXPECT_TRUE(outcome.complete()) << hw::scanMessage(file, outcome).text();
            std::string ids;
            for (std::size_t i = 0; i < outcome.idCount; ++i)
                ids += reader.NPCNames[i] + '\n';
            EXPECT_EQ(ids, fileBytes(fs::path(file) += ".ids"));

            const std::string name = file.filename().string();
            if (!fs::exists(expected / (name + ".index.tsv")))
                continue;
            const auto index = hw::buildGameIndex(std::span(&file, 1));
            ASSERT_TRUE(index);
            EXPECT_TRUE(index->files()[0].outcome.complete());
            EXPECT_EQ(indexLines(*index), fileBytes(expected / (name + ".index.tsv")));
            EXPECT_EQ(placedLines(*index), fileBytes(expected / (name + ".placed.tsv")));
            ++indexed;
        }
    }
    EXPECT_GE(done.size(), 10u);
    // The expected index lies beside the repository and may be missing.
    EXPECT_TRUE(indexed >= 10 || !fs::is_directory(expected)) << indexed;
}

} // namespace
