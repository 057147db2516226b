#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

TEST(TaskList, sortsCaselesslyAndKeepsTheOrderOfAddingForEqualTexts)
{
    List list;
    for (const char *entry :
         {"23:00 > Appear", R"(06:00 > Say > "ab"/"x")",
          R"(06:00 > Position in Cell > "c"/0/0/0/0)", R"(06:00 > Say > "B"/"x")",
          R"(06:00 > Say > "AB"/"x")", "06:00 > Position > 0/0/0/0", R"(06:00 > Say > "Ab"/"x")",
          "00:00 > Appear"})
        hw::insertSorted(list, entry);
    EXPECT_EQ(list,
              (List {"00:00 > Appear", "06:00 > Position > 0/0/0/0",
                     R"(06:00 > Position in Cell > "c"/0/0/0/0)", R"(06:00 > Say > "ab"/"x")",
                     R"(06:00 > Say > "AB"/"x")", R"(06:00 > Say > "Ab"/"x")",
                     R"(06:00 > Say > "B"/"x")", "23:00 > Appear"}));
}

TEST(TaskList, insertPositionReadsTheListThroughAnAccessor)
{
    const List list = {"a", "b", "b", "d"};
    auto at = [&](std::size_t i) -> std::string_view { return list[i]; };
    EXPECT_EQ(hw::insertPosition(list.size(), at, "B"), 3u);
    EXPECT_EQ(hw::insertPosition(list.size(), at, "0"), 0u);
    EXPECT_EQ(hw::insertPosition(list.size(), at, "z"), 4u);
    EXPECT_EQ(hw::insertPosition(0, at, "z"), 0u);
}

} // namespace
