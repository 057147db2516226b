#include "model/name_list.hpp"

#include "model/caseless.hpp"
#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

// Names drawn from few characters, so that prefixes, case variants, duplicates,
// wildcard signs and letters beyond ASCII are common.
std::string randomName(std::mt19937 &random, std::size_t maxLength)
{
    static const char *const pieces[] = {"a", "A", "b", "B",        "_",
                                         " ", "?", "[", "\xC3\xA9", "\xC3\x89"};
    std::string name;
    for (std::size_t n = random() % (maxLength + 1); n > 0; --n)
        name += pieces[random() % std::size(pieces)];
    return name;
}

// Merged batches and a sort on folded keys (also of names sharing 24 bytes) give the
// order of adding one by one; the binary prefix searches agree with a linear pass.
TEST(NameList, sortsAndMergesLikeAddingOneByOneAndFindsPrefixesLikeALinearPass)
{
    std::mt19937 random(5);
    for (int round = 0; round < 400; ++round) {
        List merged, oneByOne, atOnce;
        for (int load = 0; load < 3; ++load) {
            List batch;
            for (std::size_t n = random() % 40; n > 0; --n)
                batch.push_back(round % 2 ? randomName(random, 4)
                                          : std::string(random() % 2 ? 24 : 0, 'x') +
                                        randomName(random, 40));
            for (const std::string &name : batch)
                hw::insertSorted(oneByOne, name);
            atOnce.insert(atOnce.end(), batch.begin(), batch.end());
            hw::sortNames(batch);
            const std::size_t tail = merged.size();
            merged.insert(merged.end(), batch.begin(), batch.end());
            hw::mergeTail(merged, tail);
            ASSERT_EQ(merged, oneByOne) << "round " << round << ", load " << load;
        }
        hw::sortEntries(atOnce);
        ASSERT_EQ(atOnce, oneByOne) << "round " << round;
        for (int probe = 0; probe < 20; ++probe) {
            const std::string prefix = randomName(random, 3);
            std::size_t linear = 0;
            while (linear < merged.size() && !hw::caselessStartsWith(merged[linear], prefix))
                ++linear;
            ASSERT_EQ(hw::firstStartingWith(merged, prefix), linear)
                << "prefix \"" << prefix << "\" in round " << round;
            std::size_t count = 0;
            while (linear + count < merged.size() &&
                   hw::caselessStartsWith(merged[linear + count], prefix))
                ++count;
            ASSERT_EQ(hw::countStartingWith(merged, linear, prefix), count)
                << "prefix \"" << prefix << "\" in round " << round;
        }
    }
    // ASCII lists in byte order, or in order already, and entries alike in their padded
    // first bytes.
    const std::pair<List, List> orders[] = {
        {{"aB", "a_"}, {"a_", "aB"}},
        {{"Zeta", "alpha"}, {"alpha", "Zeta"}},
        {{"a", "ab", "B"}, {"a", "ab", "B"}},
        {{std::string("a\0", 2), "a"}, {"a", std::string("a\0", 2)}},
    };
    for (auto [list, sorted] : orders) {
        hw::sortEntries(list);
        EXPECT_EQ(list, sorted);
    }
}

} // namespace
