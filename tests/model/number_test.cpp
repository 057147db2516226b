#include "model/number.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <locale>
#include <optional>
#include <string>

namespace {

TEST(Normalise, storesTheReadValueInItsShortForm)
{
    // clang-format off
    const std::pair<std::string, std::optional<std::string>> cases[] = {
        // The authors' examples.
        {"", "0"}, {"007", "7"}, {"1.50", "1.5"}, {".5", "0.5"}, {"12abc", "12"}, {"-", "0"},
        // Blanks, tabs and line feeds are ignored anywhere; other characters stop.
        {"\t-\n3", "-3"}, {"1 e 3", "1000"}, {"\r5", "0"}, {"1,5", "1"},
        // Sign and point.
        {"+5", "5"}, {"--5", "0"}, {"-0", "0"}, {"-.5", "-0.5"}, {"1.2.3", "1.2"}, {"5.", "5"},
        {".", "0"},
        // An exponent with E or D, only when digits follow; nullopt when out of range.
        {"1e3", "1000"}, {"1D2", "100"}, {"2.5E-1", "0.25"}, {"1e+", "1"}, {"1ex", "1"},
        {"e5", "0"}, {"1e-999", "0"}, {"1E999", std::nullopt}, {"-1E999", std::nullopt},
        {"1e99999999999999999999999", std::nullopt}, {"0e99999999999999999999999", "0"},
        // Hexadecimal and octal whole numbers, without sign.
        {"&H1F", "31"}, {"&hff", "255"}, {"&O17", "15"}, {"&o8", "0"}, {"& H 1 0", "16"},
        {"&HFFFFFFFF", "4294967295"}, {"&Q1", "0"}, {"-&H10", "0"},
        {"&H" + std::string(300, 'F'), std::nullopt},
        // What the C library would read as special values.
        {"inf", "0"}, {"nan", "0"},
        // At most 15 significant digits, never an exponent, even at the extremes.
        {"0.30000000000000004", "0.3"}, {"9.9999999999999999", "10"},
        {"123456789012345", "123456789012345"}, {"123456789012345678", "123456789012346000"},
        {"0.1234567890123456789", "0.123456789012346"}, {"1e-20", "0.00000000000000000001"},
        {"1e20", "100000000000000000000"}, {"-1.25e-3", "-0.00125"}, {"100.000", "100"},
        {std::string(400, '9'), std::nullopt}, {"0." + std::string(5000, '0') + "1", "0"},
        {"1.7976931348623157e308", "179769313486232" + std::string(294, '0')},
        {"4.9406564584124654e-324", "0." + std::string(323, '0') + "494065645841247"}};
    // clang-format on
    for (const auto &[text, stored] : cases)
        EXPECT_EQ(hw::normaliseNumber(text), stored) << '"' << text.substr(0, 40) << '"';
    EXPECT_THROW(hw::writeNumber(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(hw::writeNumber(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
}

// Sets a decimal-comma C locale (made with localedef if the system has none)
// and returns its name, or "" when there is none.
std::string useCommaLocale()
{
    for (const char *name :
         {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de-DE", "German_Germany.1252", "German"})
        if (std::setlocale(LC_ALL, name) != nullptr)
            return name;
#ifndef _WIN32
    const auto dir = std::filesystem::temp_directory_path() / "hourwright-locale";
    std::filesystem::create_directories(dir);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0 && setenv("LOCPATH", dir.c_str(), 1) == 0 &&
        std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr)
        return "de_DE.UTF-8";
#endif
    return "";
}

TEST(Normalise, ignoresACommaDecimalLocale)
{
    const std::string name = useCommaLocale();
    ASSERT_FALSE(name.empty()) << "no comma-decimal locale could be made";
    try {
        std::locale::global(std::locale(name));
    } catch (const std::runtime_error &) {
        // MinGW's standard library names only the "C" locale; the C locale is set.
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(hw::normaliseNumber("1.50"), "1.5");
    EXPECT_EQ(hw::normaliseNumber("1,5"), "1");
    EXPECT_EQ(hw::writeNumber(1234.5), "1234.5");
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
}

} // namespace
