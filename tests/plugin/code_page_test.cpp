#include "plugin/code_page.hpp"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

using hw::CodePage;

struct ConversionCase
{
    CodePage page;
    std::string bytes;
    std::string utf8;
};

class ToUtf8 : public testing::TestWithParam<ConversionCase>
{
};

void PrintTo(const ConversionCase &c, std::ostream *out)
{
    *out << hw::codePageName(c.page) << " " << testing::PrintToString(c.bytes);
}

TEST_P(ToUtf8, convertsEachByteToItsCharacter)
{
    const auto &c = GetParam();
    EXPECT_EQ(hw::toUtf8(c.bytes, c.page), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(ThreePages, ToUtf8,
                         testing::Values(
                             // ASCII and NUL are the same in every page.
                             ConversionCase {CodePage::Windows1252, std::string("a Z_\0~", 6),
                                             std::string("a Z_\0~", 6)},
                             ConversionCase {CodePage::Windows1251, std::string("a\0", 2),
                                             std::string("a\0", 2)},
                             ConversionCase {CodePage::Windows1252, "\x80\x8A\x9F\xA0\xE9\xFF",
                                             "\u20AC\u0160\u0178\u00A0\u00E9\u00FF"},
                             ConversionCase {CodePage::Windows1251, "\x80\x88\xA8\xB9\xC0\xFF",
                                             "\u0402\u20AC\u0401\u2116\u0410\u044F"},
                             ConversionCase {CodePage::Windows1250, "\x8A\xA3\xA5\xC8\xF8\xFF",
                                             "\u0160\u0141\u0104\u010C\u0159\u02D9"},
                             // Bytes a page leaves undefined become the C1 control of their number.
                             ConversionCase {CodePage::Windows1252, "\x81\x8D\x8F\x90\x9D",
                                             "\u0081\u008D\u008F\u0090\u009D"},
                             ConversionCase {CodePage::Windows1251, "\x98", "\u0098"},
                             ConversionCase {CodePage::Windows1250, "\x81\x83\x88\x90\x98",
                                             "\u0081\u0083\u0088\u0090\u0098"}),
                         [](const auto &p) {
                             std::string name(hw::codePageName(p.param.page));
                             name[name.find('-')] = '_';
                             return name + "_" + std::to_string(p.index);
                         });

// Decodes one UTF-8 sequence of up to three bytes, or returns -1.
long decodeOne(const std::string &utf8)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    if (utf8.size() == 1 && b(0) < 0x80)
        return b(0);
    if (utf8.size() == 2 && (b(0) & 0xE0) == 0xC0 && (b(1) & 0xC0) == 0x80 && b(0) >= 0xC2)
        return (b(0) & 0x1F) << 6 | (b(1) & 0x3F);
    if (utf8.size() == 3 && (b(0) & 0xF0) == 0xE0 && (b(1) & 0xC0) == 0x80 &&
        (b(2) & 0xC0) == 0x80) {
        const long c = (b(0) & 0x0F) << 12 | (b(1) & 0x3F) << 6 | (b(2) & 0x3F);
        return c >= 0x800 && (c < 0xD800 || c > 0xDFFF) ? c : -1;
    }
    return -1;
}

TEST(ToUtf8, givesEveryByteOneCharacterOfItsOwn)
{
    for (const auto page : {CodePage::Windows1252, CodePage::Windows1251, CodePage::Windows1250}) {
        std::set<long> seen;
        for (int byte = 0; byte < 256; ++byte) {
            const auto c = decodeOne(hw::toUtf8(std::string(1, static_cast<char>(byte)), page));
            EXPECT_GE(c, 0) << hw::codePageName(page) << " byte " << byte;
            EXPECT_TRUE(seen.insert(c).second) << hw::codePageName(page) << " byte " << byte;
            if (byte >= 0xA0 && page == CodePage::Windows1252) {
                EXPECT_EQ(c, byte) << "Windows-1252 is Latin-1 from 0xA0 on";
            }
        }
    }
}

TEST(CodePageFromName, knowsTheThreePagesInAnyCase)
{
    EXPECT_EQ(hw::codePageFromName("windows-1252"), CodePage::Windows1252);
    EXPECT_EQ(hw::codePageFromName("Windows-1251"), CodePage::Windows1251);
    EXPECT_EQ(hw::codePageFromName("WINDOWS-1250"), CodePage::Windows1250);
    EXPECT_EQ(hw::codePageFromName("cp1252"), std::nullopt);
    EXPECT_EQ(hw::codePageFromName(""), std::nullopt);
}

} // namespace
