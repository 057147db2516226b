#include "platform/wine_registry.hpp"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>
#include <sstream>

namespace {

using namespace std::literals;

// A registry file: Wine's first lines, then `body`.
std::string systemReg(std::string_view body)
{
    return "WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n" + std::string(body);
}

constexpr std::array<hw::RegistryQuery, 1> kQuery = {{{"Software\\Game", "Path"}}};

hw::RegistryValue readOne(std::string_view body)
{
    return hw::readRegistry(systemReg(body), kQuery).at(0);
}

TEST(RegistryFile, decodesEachFormOfDataAsWineDoes)
{
    // the data after "Path"= (and perhaps more lines), its type, its text with the NUL
    const std::tuple<const char *, std::uint32_t, std::u16string> cases[] = {
        {R"("C:\\G \"hi\" \t\n\q")", hw::kRegSz, u"C:\\G \"hi\" \t\nq\0"s},
        {R"("\x00e9t\xe9\x00411\xZ")", hw::kRegSz, u"\u00e9t\u00e9A1xZ\0"s},
        {R"("a\0b\1012")", hw::kRegSz, u"a\0bA2\0"s},
        {"\"\xC3\xA9\xFF\xF0\x9F\x98\x80\"", hw::kRegSz, u"\u00e9\U0001F600\0"s}, // 0xFF dropped
        // An encoded surrogate, a cut sequence and an overlong one are dropped byte by byte.
        {"\"a\xED\xA0\x80"
         "b\xE2\x82\xC0\x80\"",
         hw::kRegSz, u"ab\0"s},
        {R"(str:"a")", hw::kRegSz, u"a\0"s},
        {R"(str(2):"%ProgramFiles%")", hw::kRegExpandSz, u"%ProgramFiles%\0"s},
        {R"(str(7):"a\0b\0")", hw::kRegMultiSz, u"a\0b\0\0"s},
        {"dword:00000001", hw::kRegDword, u""s},
        {"hex:01,02", hw::kRegBinary, u""s},
        {"hex(1):41,00,42,00,00,00", hw::kRegSz, u"AB\0"s},
        {"hex(2):41,00,\\\n  42,00,43", hw::kRegExpandSz, u"AB"s}, // the odd byte is no unit
        // The last of repeated values counts, also in a later section.
        {"\"a\"\n[Software\\\\Game]\n\"Path\"=\"b\"", hw::kRegSz, u"b\0"s},
        {"\"a\"\n\"Path\"=\"b", hw::kRegNone, u""s},
        // Data that cannot be read leaves the value empty and untyped.
        {R"("no end)", hw::kRegNone, u""s},
        {"hex(1):4x", hw::kRegNone, u""s},
        {"hex(1):100", hw::kRegNone, u""s},
        {"hex(1):41,\\", hw::kRegNone, u""s}, // the file ends in a continuation
        {"hex(1", hw::kRegNone, u""s},
        {"text", hw::kRegNone, u""s},
    };
    for (const auto &[data, type, text] : cases) {
        const auto value = readOne("[Software\\\\Game] 1700000000\n\"Path\"="s + data + "\n");
        EXPECT_EQ(std::tuple(value.valueFound, value.type, value.text, value.length),
                  std::tuple(true, type, text, text.size()))
            << data;
    }
}

TEST(RegistryFile, matchesSectionsAndNamesWithoutRegardToCaseAfterTheFirstLine)
{
    // A damaged section line ends the section before it and opens none.
    const std::array<hw::RegistryQuery, 3> queries = {
        {{"Software\\Game", "Path"}, {"Software\\Game", ""}, {"Software\\Other", "Path"}}};
    const auto values = hw::readRegistry(
        systemReg("[Software\\\\Game\\\\Sub]\n\"Path\"=\"sub\"\n[SOFTWARE\\\\game] 1\r\n#time=1\r\n"
                  ";\"Path\"=\"comment\"\r\n  \"pATH\" = \"mine\"\r\n@=\"default\"\r\n"
                  "[Software\\\\Other\n\"Path\"=\"damaged section\"\n"),
        queries);
    EXPECT_EQ(values[0].text, u"mine\0"s);
    EXPECT_EQ(values[1].text, u"default\0"s);
    EXPECT_FALSE(values[2].keyFound);
    // Without Wine's first line as it stands, a file holds nothing.
    for (const char *first :
         {"", "WINE REGISTRY Version 1\n", "\xEF\xBB\xBFWINE REGISTRY Version 2\n"})
        EXPECT_FALSE(
            hw::readRegistry(first + "[Software\\\\Game]\n\"Path\"=\"a\"\n"s, kQuery)[0].keyFound);
}

TEST(RegistryFile, countsLongValuesButKeepsTheirStartOnly)
{
    const auto value = readOne("[Software\\\\Game]\n\"Path\"=\"" + std::string(3000, 'a') + "\"\n");
    EXPECT_EQ(value.length, 3001u);
    EXPECT_EQ(value.text, std::u16string(hw::kRegistryKeptUnits, u'a'));

    // A line too long to keep: the value is too long, and reading goes on.
    const auto huge = hw::readRegistry(
        systemReg("[Software\\\\Game]\n\"Path\"=\"" + std::string(hw::kRegistryLineLimit, 'a') +
                  "\"\n[Software\\\\Next]\n\"Path\"=hex(1):" +
                  std::string(hw::kRegistryLineLimit, '0') + "\n[Software\\\\Game\\\\x]\n"),
        std::array<hw::RegistryQuery, 2> {
            {{"Software\\Game", "Path"}, {"Software\\Next", "Path"}}});
    EXPECT_EQ(huge[0].length, std::numeric_limits<std::size_t>::max());
    EXPECT_EQ(huge[1].length, std::numeric_limits<std::size_t>::max());
}

TEST(RegistryFile, readsAStreamLikeTheWholeText)
{
    // A comment line whose length moves the value across the stream's 64 KiB
    // pieces; the last comment is longer than a line may be.
    for (std::size_t n = 64 * 1024 - 81; n <= 64 * 1024; n += 3) {
        const std::string text = "WINE REGISTRY Version 2\n" +
            std::string(n == 64 * 1024 ? 3 * n : n, ';') +
            "\n[Software\\\\Game]\n\"Path\"=hex(1):43,00,\\\n  3a,00\n";
        std::istringstream in(text);
        EXPECT_EQ(hw::readRegistry(in, kQuery).at(0).text, u"C:"s) << n;
        EXPECT_EQ(hw::readRegistry(text, kQuery).at(0).text, u"C:"s) << n;
    }
}

// Every cut of the file, then random bytes put in at random places.
TEST(RegistryFile, survivesDamagedFiles)
{
    const std::string good =
        systemReg("[Software\\\\Game] 1\n#time=1\n\"Path\"=\"C:\\\\x\\x00e9\"\n"
                  "\"Path\"=hex(2):43,00,\\\n  3a,00\n@=str(7):\"a\\0\"\n");
    std::mt19937 random(5);
    for (std::size_t n = 0; n <= good.size() + 2000; ++n) {
        std::string text = good.substr(0, n);
        for (int k = 0; n > good.size() && k < 4; ++k)
            text[random() % text.size()] = static_cast<char>(random() % 256);
        EXPECT_LE(hw::readRegistry(text, kQuery).at(0).text.size(), hw::kRegistryKeptUnits);
    }
}

} // namespace
