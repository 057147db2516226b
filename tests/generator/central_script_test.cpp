#include "generator/central_script.hpp"

#include "script_text.hpp"

#include <gtest/gtest.h>

namespace {

// The name drops leading zeros and leaves Data2 and the first bytes of Data4 out.
TEST(CentralScript, writesTheTemplateUnderANameFromTheGuid)
{
    EXPECT_EQ(hw::centralScriptName({}), "hrw_central_000");
    const hw::Guid guid {0x0000ABCD, 0x1234, 0x4E21, {0x8A, 0, 0, 0, 0, 0, 0, 0x07}};
    EXPECT_EQ(hw::centralScript(guid),
              hw::test::joinLines({
                  "Begin hrw_central_ABCD4E217",
                  "",
                  "Short hrw_hour",
                  "Short hrw_last",
                  "",
                  "If ( MenuMode )",
                  "      Return",
                  "EndIf",
                  "",
                  "Set hrw_hour to GameHour",
                  "If ( hrw_last != hrw_hour )",
                  "       ;Put your scripts names here like this(without the semicolon):",
                  "       ;StartScript MyScriptName",
                  R"(       ;The script name is what you see after "Begin")",
                  "       Set hrw_last to hrw_hour",
                  "EndIf",
                  "",
                  "End",
              }));
}

} // namespace
