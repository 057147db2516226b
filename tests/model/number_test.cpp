#include "model/number.hpp"
#include "temp_folder.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
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

// A decimal-comma C locale for the life of the object: an installed one, else
// one that localedef makes in a folder of its own. `name` stays empty when there
// is none, and `why` says why.
class CommaLocale
{
public:
    CommaLocale()
    {
        for (const char *installed :
             {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "de-DE", "German_Germany.1252", "German"})
            if (std::setlocale(LC_ALL, installed) != nullptr) {
                name = installed;
                return;
            }
        why = "no decimal-comma locale is installed";
#ifndef _WIN32
        m_folder.emplace();
        const std::string command = "localedef -i de_DE -f UTF-8 '" +
            (m_folder->path() / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            why += ", and localedef could not make de_DE.UTF-8 (its sources are in the package "
                   "locales)";
            return;
        }
        if (const char *path = std::getenv("LOCPATH"))
            m_locPath = path;
        setenv("LOCPATH", m_folder->path().c_str(), 1);
        if (std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr)
            name = "de_DE.UTF-8";
        else
            why += ", and the one localedef made does not load";
#endif
    }
    ~CommaLocale()
    {
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, "C");
#ifndef _WIN32
        if (m_locPath)
            setenv("LOCPATH", m_locPath->c_str(), 1);
        else
            unsetenv("LOCPATH");
#endif
    }
    CommaLocale(const CommaLocale &) = delete;
    CommaLocale &operator=(const CommaLocale &) = delete;

    std::string name, why;

private:
    std::optional<hw::test::TempFolder> m_folder;
    std::optional<std::string> m_locPath;
};

TEST(Normalise, ignoresACommaDecimalLocale)
{
    const CommaLocale locale;
    if (locale.name.empty())
        GTEST_SKIP() << locale.why;
    try {
        std::locale::global(std::locale(locale.name));
    } catch (const std::runtime_error &) {
        // MinGW's standard library names only the "C" locale; the C locale is set.
    }
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(hw::normaliseNumber("1.50"), "1.5");
    EXPECT_EQ(hw::normaliseNumber("1,5"), "1");
    EXPECT_EQ(hw::writeNumber(1234.5), "1234.5");
}

} // namespace
