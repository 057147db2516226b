#include "model/utf8.hpp"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(Utf16, becomesUtf8WithEachUnpairedSurrogateReplaced)
{
    const std::pair<std::u16string, std::string> cases[] = {
        {u"", ""},
        {u"a\u00e9\u20ac", "a\xC3\xA9\xE2\x82\xAC"},
        {u"\U0001F600", "\xF0\x9F\x98\x80"}, // a pair is one code point
        {u"\xD83D"
         u"x",
         "\xEF\xBF\xBDx"}, // a high surrogate without its low one
        {u"x\xDE00", "x\xEF\xBF\xBD"}, // a low surrogate alone
        {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // the pair in the wrong order
        {u"\xD83D\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"}, // two high ones
    };
    for (const auto &[utf16, utf8] : cases) {
        EXPECT_EQ(hw::utf8FromUtf16(utf16), utf8);
        std::string appended = "<";
        hw::appendUtf16AsUtf8(appended, utf16);
        EXPECT_EQ(appended, "<" + utf8);
    }
}

} // namespace

// Every length around the eight bytes read at once, with one byte of 0x80 or
// more at every place, and none.
TEST(Ascii, isFoundWhereverABytePast0x7FStands)
{
    for (std::size_t size = 0; size < 20; ++size) {
        const std::string plain(size, '\x7F');
        EXPECT_TRUE(hw::isAscii(plain)) << size;
        for (std::size_t at = 0; at < size; ++at)
            for (const char high : {'\x80', '\xFF'}) {
                std::string text = plain;
                text[at] = high;
                EXPECT_FALSE(hw::isAscii(text)) << "size " << size << ", at " << at;
            }
    }
}
