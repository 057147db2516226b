#include "model/caseless.hpp"

#include <gtest/gtest.h>

namespace {

struct CompareCase
{
    const char *a;
    const char *b;
    int sign;
};

void PrintTo(const CompareCase &c, std::ostream *os)
{
    *os << c.a << " <=> " << c.b;
}

class Caseless : public testing::TestWithParam<CompareCase>
{
};

TEST_P(Caseless, comparesFoldedCodePoints)
{
    const auto &c = GetParam();
    const int r = hw::caselessCompare(c.a, c.b);
    EXPECT_EQ((r > 0) - (r < 0), c.sign) << c.a << " vs " << c.b;
    const int back = hw::caselessCompare(c.b, c.a);
    EXPECT_EQ((back > 0) - (back < 0), -c.sign) << "not antisymmetric";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Caseless,
    testing::Values(CompareCase {"abc", "ABC", 0}, CompareCase {"", "", 0},
                    CompareCase {"a", "", 1}, CompareCase {"Position", "Position in Cell", -1},
                    CompareCase {"Activate", "add item", -1},
                    // Letters fold down, so "_" (0x5F) stands before every letter.
                    CompareCase {"_MQE", "abc", -1}, CompareCase {"_MQE", "ABC", -1},
                    CompareCase {"Z", "[", 1}, CompareCase {"10:00", "23:00", -1},
                    CompareCase {"\xC3\x84rger", "\xC3\xA4RGER", 0}, // Ärger / äRGER
                    CompareCase {"\xC5\xA0"
                                 "ar",
                                 "\xC5\xA1"
                                 "AR",
                                 0}, // Šar / šAR
                    CompareCase {"\xC5\xB8", "\xC3\xBF", 0}, // Ÿ / ÿ
                    CompareCase {"\xD0\x91\xD0\xBE\xD0\xB1", "\xD0\xB1\xD0\x9E\xD0\x91", 0}, // Боб
                    CompareCase {"\xD0\x81", "\xD1\x91", 0}, // Ё / ё
                    CompareCase {"z", "\xC3\xA0", -1}, // z before à
                    CompareCase {"a\xFF", "a\xFF", 0}, // invalid UTF-8 is itself
                    CompareCase {"a\xFF", "A\xFE", 1}, CompareCase {"\xC3", "\xC3\x84", 1}));

TEST(Caseless, startsWithTakesEveryOtherCharacterAsItself)
{
    EXPECT_TRUE(hw::caselessStartsWith("abc", "AB"));
    EXPECT_TRUE(hw::caselessStartsWith("abc", ""));
    EXPECT_TRUE(hw::caselessStartsWith("ABC", "abc"));
    EXPECT_FALSE(hw::caselessStartsWith("ab", "abc"));
    EXPECT_FALSE(hw::caselessStartsWith("abc", "?"));
    EXPECT_FALSE(hw::caselessStartsWith("abc", "*"));
    EXPECT_FALSE(hw::caselessStartsWith("abc", "[a]"));
    EXPECT_TRUE(hw::caselessStartsWith("#1 guard", "#1"));
    EXPECT_TRUE(hw::caselessStartsWith("\xC3\x84rger", "\xC3\xA4r"));
}

TEST(Caseless, lowerCaseKeepsWhatItCannotLower)
{
    EXPECT_EQ(hw::lowerCase("Town Guard_01"), "town guard_01");
    EXPECT_EQ(hw::lowerCase("\xC3\x84RGER \xD0\x96"), "\xC3\xA4rger \xD0\xB6"); // ÄRGER Ж
    EXPECT_EQ(hw::lowerCase("\xC5\xB8"), "\xC3\xBF"); // Ÿ U+0178 to ÿ U+00FF
    // Bytes that are not UTF-8 (here Windows-1252 "Ä" and a cut sequence) stay as they are.
    EXPECT_EQ(hw::lowerCase("A\xC4\xE2\x82"), "a\xC4\xE2\x82");
    EXPECT_EQ(hw::lowerCase("\xF0\x9F\x98\x80X"), "\xF0\x9F\x98\x80x");
}

} // namespace
