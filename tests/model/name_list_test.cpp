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

// Batches of names merged into the list give the order of adding them one by
// one (caseless, equal names in the order added), and a binary search finds
// what a linear pass over the list finds.
TEST(NameList, mergesLikeAddingOneByOneAndFindsPrefixesLikeALinearPass)
{
    std::mt19937 random(5);
    for (int round = 0; round < 200; ++round) {
        List merged, oneByOne;
        for (int load = 0; load < 3; ++load) {
            List batch;
            for (std::size_t n = random() % 30; n > 0; --n)
                batch.push_back(randomName(random, 4));
            for (const std::string &name : batch)
                hw::insertSorted(oneByOne, name);
            hw::sortNames(batch);
            const std::size_t tail = merged.size();
            merged.insert(merged.end(), batch.begin(), batch.end());
            hw::mergeTail(merged, tail);
            ASSERT_EQ(merged, oneByOne) << "round " << round << ", load " << load;
        }
        for (int probe = 0; probe < 20; ++probe) {
            const std::string prefix = randomName(random, 3);
            std::size_t linear = 0;
            while (linear < merged.size() && !hw::caselessStartsWith(merged[linear], prefix))
                ++linear;
            ASSERT_EQ(hw::firstStartingWith(merged, prefix), linear)
                << "prefix \"" << prefix << "\" in round " << round;
        }
    }
}

// A list sorted at once on folded keys is in the order of adding its
// entries one by one: caseless, equal entries in the order added. Half of the
// long names share their first 24 bytes, which the sort keeps apart.
TEST(SortEntries, givesTheOrderOfAddingOneByOne)
{
    std::mt19937 random(9);
    for (const std::size_t maxLength : {3, 40}) {
        List added, oneByOne;
        for (int i = 0; i < 3000; ++i) {
            const std::string prefix(random() % 2 ? 24 : 0, 'x');
            added.push_back(prefix + randomName(random, maxLength));
            hw::insertSorted(oneByOne, added.back());
        }
        hw::sortEntries(added);
        EXPECT_EQ(added, oneByOne) << "names of up to " << maxLength << " pieces";
    }
    List zeros = {std::string("a\0", 2), "a"}; // alike in their padded first bytes
    hw::sortEntries(zeros);
    EXPECT_EQ(zeros, (List {"a", std::string("a\0", 2)}));
}

} // namespace
