#include "model/task_list.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

List addAll(const List &entries)
{
    List list;
    for (const auto &e : entries)
        hw::insertSorted(list, e);
    return list;
}

TEST(TaskList, keepsHoursInOrderWhateverTheOrderOfAdding)
{
    EXPECT_EQ(addAll({"23:00 > Appear", "10:00 > Disappear"}),
              (List {"10:00 > Disappear", "23:00 > Appear"}));
    EXPECT_EQ(addAll({"06:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10",
                      "06:00 > Activate > \"door\"", "00:00 > Appear"}),
              (List {"00:00 > Appear", "06:00 > Activate > \"door\"",
                     "06:00 > Wander > 512/4/10/10/10/10/10/10/10/10/10"}));
}

TEST(TaskList, ignoresCaseAndKeepsTheOrderOfAddingForEqualTexts)
{
    const List list = addAll({"06:00 > Say > \"B\"/\"x\"", "06:00 > Say > \"a\"/\"x\"",
                              "06:00 > Say > \"A\"/\"x\"", "06:00 > Say > \"a\"/\"x\""});
    EXPECT_EQ(list,
              (List {"06:00 > Say > \"a\"/\"x\"", "06:00 > Say > \"A\"/\"x\"",
                     "06:00 > Say > \"a\"/\"x\"", "06:00 > Say > \"B\"/\"x\""}));
}

TEST(TaskList, placesANameBeforeItsLongerExtensions)
{
    EXPECT_EQ(addAll({"06:00 > Position in Cell > \"c\"/0/0/0/0", "06:00 > Position > 0/0/0/0"}),
              (List {"06:00 > Position > 0/0/0/0", "06:00 > Position in Cell > \"c\"/0/0/0/0"}));
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
