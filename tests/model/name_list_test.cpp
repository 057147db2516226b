#include "model/name_list.hpp"

#include "model/caseless.hpp"
#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

struct PrefixCase
{
    List names; // sorted
    std::string prefix;
    std::size_t expected; // names.size(): none
};

class FirstStartingWith : public ::testing::TestWithParam<PrefixCase>
{
};

TEST_P(FirstStartingWith, findsTheFirstNameThatBeginsWithThePrefix)
{
    const PrefixCase &c = GetParam();
    EXPECT_EQ(hw::firstStartingWith(c.names, c.prefix), c.expected) << c.prefix;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, FirstStartingWith, ::testing::Values(
    PrefixCase {{}, "a", 0},
    PrefixCase {{"ab", "ac", "xa", "xb", "xc"}, "a", 0},
    PrefixCase {{"ab", "ac", "xa", "xb", "xc"}, "X", 2},
    PrefixCase {{"ab", "ac", "xa", "xb", "xc"}, "xc", 4},
    PrefixCase {{"ab", "ac", "xa", "xb", "xc"}, "b", 5},
    PrefixCase {{"ab", "ac", "xa", "xb", "xc"}, "xd", 5},
    // Any first letter searches the whole list.
    PrefixCase {{"pa", "qa", "xa", "xb", "xc"}, "p", 0},
    PrefixCase {{"pa", "qa", "xa", "xb", "xc"}, "Q", 1},
    PrefixCase {{"abc"}, "AB", 0},
    PrefixCase {{"abc"}, "abcd", 1},
    PrefixCase {{"Abc", "aBc", "abcd"}, "ABC", 0},
    PrefixCase {{"a", "a b", "a_b", "ab"}, "a ", 1},
    // Wildcards and brackets are plain characters.
    PrefixCase {{"#x", "*x", "?x", "[x", "ax"}, "?", 2},
    PrefixCase {{"#x", "*x", "?x", "[x", "ax"}, "*", 1},
    PrefixCase {{"#x", "*x", "?x", "[x", "ax"}, "[", 3},
    PrefixCase {{"#x", "*x", "?x", "[x", "ax"}, "#", 0},
    PrefixCase {{"ax", "bx"}, "?", 2},
    PrefixCase {{"ax", "bx"}, "[a]", 2},
    // Letters beyond ASCII fold too.
    PrefixCase {{"dres", "\xC3\xA9lan", "\xC3\x89lise"}, "\xC3\x89L", 1},
    PrefixCase {{"\xD0\xB1\xD0\xBE\xD1\x80"}, "\xD0\x91\xD0\x9E", 0}));
// clang-format on

// Names drawn from few characters, so that prefixes, case variants and
// duplicates are common.
std::string randomName(std::mt19937 &random, std::size_t maxLength)
{
    static const std::vector<std::string> pieces = {"a", "A", "b",        "B",        "_", " ",
                                                    "?", "[", "\xC3\xA9", "\xC3\x89", "z"};
    std::string name;
    const std::size_t length = random() % (maxLength + 1);
    for (std::size_t i = 0; i < length; ++i)
        name += pieces[random() % pieces.size()];
    return name;
}

TEST(NameList, binarySearchAgreesWithALinearPassOverEveryEntry)
{
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        List names;
        const std::size_t count = random() % 40;
        for (std::size_t i = 0; i < count; ++i)
            names.push_back(randomName(random, 4));
        hw::sortNames(names);
        for (int probe = 0; probe < 20; ++probe) {
            const std::string prefix = randomName(random, 3);
            std::size_t linear = 0;
            while (linear < names.size() && !hw::caselessStartsWith(names[linear], prefix))
                ++linear;
            ASSERT_EQ(hw::firstStartingWith(names, prefix), linear)
                << "prefix \"" << prefix << "\" in round " << round;
        }
    }
}

TEST(NameList, mergingABatchGivesTheOrderOfAddingOneByOne)
{
    std::mt19937 random(5);
    for (int round = 0; round < 100; ++round) {
        List merged, oneByOne;
        for (int load = 0; load < 3; ++load) {
            List batch;
            const std::size_t count = random() % 30;
            for (std::size_t i = 0; i < count; ++i)
                batch.push_back(randomName(random, 3));
            for (const std::string &name : batch)
                hw::insertSorted(oneByOne, name);
            hw::sortNames(batch);
            const std::size_t tail = merged.size();
            merged.insert(merged.end(), batch.begin(), batch.end());
            hw::mergeTail(merged, tail);
            ASSERT_EQ(merged, oneByOne) << "round " << round << ", load " << load;
        }
    }
}

TEST(NameList, equalNamesKeepTheOrderOfAddingOldBeforeNew)
{
    List names = {"ab", "Ab"};
    List batch = {"x", "AB", "aB", "a"};
    hw::sortNames(batch);
    EXPECT_EQ(batch, (List {"a", "AB", "aB", "x"}));
    names.insert(names.end(), batch.begin(), batch.end());
    hw::mergeTail(names, 2);
    EXPECT_EQ(names, (List {"a", "ab", "Ab", "AB", "aB", "x"}));
}

} // namespace
