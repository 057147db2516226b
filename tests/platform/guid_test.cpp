#include "platform/guid.hpp"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
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

// A fresh GUID names the central script by Data1, Data3 and the last byte of
// Data4, each in upper-case hexadecimal without leading zeros.
TEST(Guid, namesTheCentralScriptByThreeOfItsFields)
{
    for (int i = 0; i < 100; ++i) {
        const hw::Guid g = hw::newGuid();
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, "%X%X%X", static_cast<unsigned>(g.data1),
                      static_cast<unsigned>(g.data3), static_cast<unsigned>(g.data4[7]));
        EXPECT_EQ(hw::centralScriptName(g), std::string("hrw_central_") + suffix);
    }
}

} // namespace
