#include "plugin/code_page.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using hw::CodePage;

constexpr CodePage kPages[] = {CodePage::Windows1252, CodePage::Windows1251, CodePage::Windows1250};

TEST(ToUtf8, convertsEachByteToItsCharacter)
{
    struct Case
    {
        CodePage page;
        std::string bytes;
        std::string utf8;
    };
    // ASCII and NUL stay as they are; bytes a page leaves undefined become the
    // C1 control of their number.
    const Case cases[] = {
        {CodePage::Windows1252,
         std::string("a Z\0~\x80\x8A\x9F\xA0\xE9\xFF\x81\x8D\x8F\x90\x9D", 16),
         std::string("a Z\0~", 5) +
             "\u20AC\u0160\u0178\u00A0\u00E9\u00FF"
             "\u0081\u008D\u008F\u0090\u009D"},
        {CodePage::Windows1251, std::string("a\0\x80\x88\xA8\xB9\xC0\xFF\x98", 9),
         std::string("a\0", 2) + "\u0402\u20AC\u0401\u2116\u0410\u044F\u0098"},
        {CodePage::Windows1250, "\x8A\xA3\xA5\xC8\xF8\xFF\x81\x83\x88\x90\x98",
         "\u0160\u0141\u0104\u010C\u0159\u02D9\u0081\u0083\u0088\u0090\u0098"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hw::toUtf8(c.bytes, c.page), c.utf8) << hw::codePageName(c.page);
}

// Catches a table entry typed twice: no two bytes may give the same character.
TEST(ToUtf8, givesEveryByteACharacterOfItsOwn)
{
    for (const auto page : kPages) {
        std::set<std::string> seen;
        for (int byte = 0; byte < 256; ++byte)
            seen.insert(hw::toUtf8(std::string(1, static_cast<char>(byte)), page));
        EXPECT_EQ(seen.size(), 256u) << hw::codePageName(page);
    }
}

TEST(CodePageFromName, knowsTheThreePagesInAnyCase)
{
    for (const auto page : kPages)
        EXPECT_EQ(hw::codePageFromName(hw::codePageName(page)), page);
    EXPECT_EQ(hw::codePageFromName("windows-1252"), CodePage::Windows1252);
    EXPECT_EQ(hw::codePageFromName("WINDOWS-1250"), CodePage::Windows1250);
    EXPECT_EQ(hw::codePageFromName("cp1252"), std::nullopt);
    EXPECT_EQ(hw::codePageFromName(""), std::nullopt);
}

} // namespace
