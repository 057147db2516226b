#include "plugin/code_page.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using hw::CodePage;

TEST(ToUtf8, convertsEachByteToItsCharacter)
{
    // ASCII and NUL stay as they are; bytes a page leaves undefined become the
    // C1 control of their number.
    const std::tuple<CodePage, std::string, std::string> cases[] = {
        // page, bytes, UTF-8
        {CodePage::Windows1252, std::string("a\0\x80\x8A\x9F\xA0\xE9\xFF\x81\x9D", 10),
         std::string("a\0", 2) + "\u20AC\u0160\u0178\u00A0\u00E9\u00FF\u0081\u009D"},
        {CodePage::Windows1251, "\x80\x88\xA8\xB9\xC0\xFF\x98",
         "\u0402\u20AC\u0401\u2116\u0410\u044F\u0098"},
        {CodePage::Windows1250, "\x8A\xA3\xA5\xC8\xF8\xFF\x81\x83",
         "\u0160\u0141\u0104\u010C\u0159\u02D9\u0081\u0083"},
    };
    for (const auto &[page, bytes, utf8] : cases) {
        EXPECT_EQ(hw::toUtf8(bytes, page), utf8) << hw::codePageName(page);
        EXPECT_EQ(hw::codePageFromName(hw::codePageName(page)), page);
        // Catches an entry typed twice: 256 distinct characters, each back to its byte.
        std::set<std::string> seen;
        for (int byte = 0; byte < 256; ++byte) {
            const std::string one(1, static_cast<char>(byte)), back = hw::toUtf8(one, page);
            seen.insert(back);
            EXPECT_EQ(hw::fromUtf8(back, page).bytes, one) << byte;
        }
        EXPECT_EQ(seen.size(), 256u) << hw::codePageName(page);
    }
}

TEST(FromUtf8, namesTheFirstCharacterThePageCannotHold)
{
    const auto cyrillic = hw::fromUtf8("ab\u0416c\u03A9", CodePage::Windows1252);
    EXPECT_EQ(cyrillic.bytes, "");
    EXPECT_EQ(cyrillic.at, 2u);
    EXPECT_EQ(cyrillic.problem, "\"\u0416\" (U+0416) is not in windows-1252");
    EXPECT_EQ(hw::fromUtf8("\U0001F600", CodePage::Windows1250).problem,
              "\"\U0001F600\" (U+1F600) is not in windows-1250");
    EXPECT_EQ(hw::fromUtf8("a\xE9", CodePage::Windows1251).problem, "the byte 0xE9 is not UTF-8");
}

} // namespace
