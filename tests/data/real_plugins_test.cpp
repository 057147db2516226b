#include "data/game_index_builder.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string contents(const fs::path &file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

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

// Every real plugin gives exactly the ids of each kind and the counts of
// placed NPCs that its expected index lists.
TEST(GameIndexOfOneFile, givesTheExpectedIndexOfEveryRealPlugin)
{
    const fs::path expected = HW_TEST_INDEX;
    if (!fs::is_directory(expected))
        GTEST_SKIP() << "no expected index at " << expected;
    std::set<fs::path> done;
    for (const fs::path folder : {HW_TEST_PLUGINS, HW_EXTRA_TEST_PLUGINS}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; ++it) {
            const fs::path &file = it->path();
            const fs::path tsv = expected / (file.filename().string() + ".index.tsv");
            if (!fs::exists(tsv) || !done.insert(file.filename()).second)
                continue;
            SCOPED_TRACE(file.string());
            const auto index = hw::buildGameIndex(std::span(&file, 1));
            ASSERT_TRUE(index);
            EXPECT_TRUE(index->files()[0].outcome.complete());
            EXPECT_EQ(indexLines(*index), contents(tsv));
            EXPECT_EQ(placedLines(*index),
                      contents(expected / (file.filename().string() + ".placed.tsv")));
        }
    }
    EXPECT_GE(done.size(), 10u);
}

} // namespace
