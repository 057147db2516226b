#include "platform/guid.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

// The central script's name uses only part of the GUID (the naming itself is
// tested with the generator); fresh GUIDs must still differ there.
TEST(Guid, isAFreshVersion4GuidThatNamesADifferentCentralScript)
{
    std::set<std::string> names;
    for (int i = 0; i < 1000; ++i) {
        const hw::Guid g = hw::newGuid();
        EXPECT_EQ(g.data3 >> 12, 4);
        EXPECT_EQ(g.data4[0] >> 6, 2);
        EXPECT_TRUE(names.insert(hw::centralScriptName(g)).second) << "repeated";
    }
}

} // namespace
