#include "model/caseless.hpp"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

int signOf(int n)
{
    return (n > 0) - (n < 0);
}

TEST(Caseless, comparesFoldedCodePointsBothWays)
{
    const std::tuple<const char *, const char *, int> cases[] = {
        // a, b, sign of a - b
        {"abc", "ABC", 0},
        {"a", "", 1},
        {"Position", "Position in Cell", -1},
        {"_MQE", "ABC", -1}, // letters fold down, so "_" (0x5F) stands before every letter
        {"\xC3\x84rger", "\xC3\xA4RGER", 0}, // Ärger / äRGER
        {"\xC5\xA0r", "\xC5\xA1R", 0}, // Šr / šR
        {"\xC5\xB8", "\xC3\xBF", 0}, // Ÿ / ÿ
        {"\xD0\x91\xD0\xBE\xD0\xB1", "\xD0\xB1\xD0\x9E\xD0\x91", 0}, // Боб
        {"\xD0\x81", "\xD1\x91", 0}, // Ё / ё
        {"\xCE\x86\xCE\xA9", "\xCE\xAC\xCF\x89", 0}, // ΆΩ / άω
        {"a\xFF", "a\xFF", 0}, // invalid UTF-8 is itself
        {"a\xFF", "A\xFE", 1},
        {"\xC3", "\xC3\x84", 1},
    };
    for (const auto &[a, b, sign] : cases) {
        EXPECT_EQ(signOf(hw::caselessCompare(a, b)), sign) << a << " vs " << b;
        EXPECT_EQ(signOf(hw::caselessCompare(b, a)), -sign) << b << " vs " << a;
    }
}

// Only letter case is ignored: "#", "?" and "[" are no wildcards.
TEST(Caseless, startsWithTakesEveryOtherCharacterAsItself)
{
    const std::tuple<const char *, const char *, bool> cases[] = {
        {"abc", "AB", true},      {"abc", "", true},    {"\xC3\x84rger", "\xC3\xA4r", true},
        {"#1 guard", "#1", true}, {"ab", "abc", false}, {"abc", "?", false},
        {"abc", "[a]", false}};
    for (const auto &[text, prefix, starts] : cases)
        EXPECT_EQ(hw::caselessStartsWith(text, prefix), starts) << text << " / " << prefix;
}

// The game's fold: A to Z pair with a to z, and every other byte is itself,
// in the order of bytes. The word-wise comparison against a byte by byte one,
// on texts of up to 20 bytes around the letters' edges ('@' before 'A', '['
// after 'Z', ...) and beyond ASCII, so that they differ, or do not, at every place.
TEST(AsciiCaseless, foldsOnlyAsciiLettersAndComparesAsByteByByte)
{
    const std::string alphabet = "@AMZ[`amz{0\x80\xC1\xDA\xE1\xFA\xFF_";
    const auto bytewise = [](std::string_view a, std::string_view b) {
        const auto fold = [](char c) {
            return static_cast<unsigned char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        };
        for (std::size_t at = 0; at < std::min(a.size(), b.size()); ++at)
            if (fold(a[at]) != fold(b[at]))
                return fold(a[at]) < fold(b[at]) ? -1 : 1;
        return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
    };
    std::mt19937 random(11);
    for (int n = 0; n < 20000; ++n) {
        std::string a(random() % 21, ' ');
        for (char &c : a)
            c = alphabet[random() % alphabet.size()];
        // Mostly the same text in other letter case, changed at one place or cut.
        std::string b = n % 2 ? hw::asciiLowerCase(a) : a;
        if (!b.empty() && random() % 3 == 0)
            b[random() % b.size()] = alphabet[random() % alphabet.size()];
        if (random() % 4 == 0)
            b.resize(random() % (b.size() + 1));
        const int sign = bytewise(a, b);
        const std::string trace = testing::PrintToString(a) + " / " + testing::PrintToString(b);
        ASSERT_EQ(signOf(hw::asciiCaselessCompare(a, b)), sign) << trace;
        ASSERT_EQ(hw::asciiCaselessEqual(a, b), sign == 0) << trace;
        ASSERT_EQ(hw::asciiCaselessStartsWith(a, b),
                  a.size() >= b.size() && bytewise(a.substr(0, b.size()), b) == 0)
            << trace;
    }
    EXPECT_EQ(hw::asciiLowerCase("\xC3\x80RVS \xD0\x96"), "\xC3\x80rvs \xD0\x96"); // ÀRVS Ж
}

TEST(Caseless, lowerCaseKeepsWhatItCannotLower)
{
    EXPECT_EQ(hw::lowerCase("\xC3\x84RGER \xD0\x96"), "\xC3\xA4rger \xD0\xB6"); // ÄRGER Ж
    EXPECT_EQ(hw::lowerCase("\xC5\xB8"), "\xC3\xBF"); // Ÿ U+0178 to ÿ U+00FF
    // Bytes that are not UTF-8 (here Windows-1252 "Ä" and a cut sequence) stay as they are.
    EXPECT_EQ(hw::lowerCase("A\xC4\xE2\x82"), "a\xC4\xE2\x82");
    EXPECT_EQ(hw::lowerCase("\xF0\x9F\x98\x80X"), "\xF0\x9F\x98\x80x");
}

// Keys compared as bytes order random texts as the comparison does: UTF-8 of
// every length, folded letters, neighbours of invalid bytes' stand-ins, bytes.
TEST(Caseless, keysOrderTextsAsTheComparisonDoes)
{
    // clang-format off
    static const char *const pieces[] = {"a", "A", "_", "\xC3\x84", "\xC3\xA4", "\xC5\xB8",
        "\xC3\xBF", "\xD0\x81", "\xD1\x91", "\xCE\x86", "\xED\x9F\xBF", "\xEE\x80\x80", "\xE2\x82",
        "\xED\xB2\x80", "\xF0\x9F\x98\x80"};
    // clang-format on
    std::mt19937 random(11);
    const auto text = [&] {
        std::string s;
        for (auto n = random() % 6; n > 0; --n)
            s += random() % 3 ? std::string(pieces[random() % std::size(pieces)])
                              : std::string(1, static_cast<char>(random()));
        return s;
    };
    for (int round = 0; round < 20000; ++round) {
        const std::string a = text(), b = random() % 2 ? a + text() : text();
        ASSERT_EQ(signOf(hw::caselessKey(a).compare(hw::caselessKey(b))),
                  signOf(hw::caselessCompare(a, b)))
            << testing::PrintToString(a) << " vs " << testing::PrintToString(b);
    }
}

} // namespace
