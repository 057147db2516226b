#include "generator/central_script.hpp"

#include "script_text.hpp"

#include <gtest/gtest.h>

namespace {

using hw::Guid;

TEST(CentralScript, namesAfterData1Data3AndTheLastByte)
{
    struct Case
    {
        Guid guid;
        const char *name;
    };
    const Case cases[] = {
        {{0x0000ABCD, 0x1234, 0x4E21, {0x8A, 1, 2, 3, 4, 5, 6, 0x07}}, "hrw_central_ABCD4E217"},
        {{0x9F000001, 0, 0x4000, {0, 0, 0, 0, 0, 0, 0, 0xFF}}, "hrw_central_9F0000014000FF"},
        {{0x0A1B2C3D, 0x1111, 0x4A6B, {0x8C, 0x7D, 0, 0, 0, 0, 0, 0x0F}},
         "hrw_central_A1B2C3D4A6BF"},
        {{}, "hrw_central_000"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hw::centralScriptName(c.guid), c.name);
}

TEST(CentralScript, writesTheTemplate)
{
    const Guid guid {0x0000ABCD, 0, 0x4E21, {0, 0, 0, 0, 0, 0, 0, 0x07}};
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
