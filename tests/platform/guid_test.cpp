#include "platform/guid.hpp"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

namespace {

TEST(Guid, isAFreshVersion4Guid)
{
    using Key =
        std::tuple<std::uint32_t, std::uint16_t, std::uint16_t, std::array<std::uint8_t, 8>>;
    std::set<Key> seen;
    for (int i = 0; i < 1000; ++i) {
        const hw::Guid g = hw::newGuid();
        EXPECT_EQ(g.data3 >> 12, 4);
        EXPECT_EQ(g.data4[0] >> 6, 2);
        EXPECT_TRUE(seen.insert({g.data1, g.data2, g.data3, g.data4}).second) << "repeated";
    }
}

// The central script's name uses only part of the GUID; two fresh ones must
// still differ there.
TEST(Guid, givesTwoCentralTemplatesDifferentNames)
{
    EXPECT_NE(hw::centralScript(hw::newGuid()), hw::centralScript(hw::newGuid()));
}

} // namespace
