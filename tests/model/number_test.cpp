#include "model/number.hpp"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <string>

namespace {

struct NumberCase
{
    std::string text;
    const char *stored; // nullptr: refused as out of range
};

void PrintTo(const NumberCase &c, std::ostream *os)
{
    *os << '"' << c.text << '"';
}

class Normalise : public testing::TestWithParam<NumberCase>
{
};

TEST_P(Normalise, storesTheReadValueInItsShortForm)
{
    const auto &c = GetParam();
    const auto stored = hw::normaliseNumber(c.text);
    if (c.stored == nullptr) {
        EXPECT_FALSE(stored.has_value()) << *stored;
    } else {
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(*stored, c.stored);
    }
}

INSTANTIATE_TEST_SUITE_P(AuthorsExamples, Normalise,
                         testing::Values(NumberCase {"", "0"}, NumberCase {"007", "7"},
                                         NumberCase {"1.50", "1.5"}, NumberCase {".5", "0.5"},
                                         NumberCase {"12abc", "12"}, NumberCase {"-", "0"},
                                         NumberCase {"-12", "-12"}, NumberCase {"512", "512"},
                                         NumberCase {"0", "0"}, NumberCase {"10.5", "10.5"},
                                         NumberCase {"-20", "-20"}));

INSTANTIATE_TEST_SUITE_P(
    ReadingRule, Normalise,
    testing::Values(
        // blanks, tabs and line feeds are ignored anywhere; other characters stop
        NumberCase {" 1 2 ", "12"}, NumberCase {"\t-\n3", "-3"}, NumberCase {"1 e 3", "1000"},
        NumberCase {"\r5", "0"}, NumberCase {"1,5", "1"}, NumberCase {"12-3", "12"},
        // sign
        NumberCase {"+5", "5"}, NumberCase {"--5", "0"}, NumberCase {"-0", "0"},
        NumberCase {"-.5", "-0.5"}, NumberCase {"+", "0"},
        // point
        NumberCase {"1.2.3", "1.2"}, NumberCase {"5.", "5"}, NumberCase {".", "0"},
        NumberCase {"0.000", "0"}, NumberCase {"-.", "0"},
        // exponent with E or D, only when digits follow
        NumberCase {"1e3", "1000"}, NumberCase {"1D2", "100"}, NumberCase {"2.5E-1", "0.25"},
        NumberCase {"1e", "1"}, NumberCase {"1e+", "1"}, NumberCase {"1ex", "1"},
        NumberCase {"e5", "0"}, NumberCase {"1E+02", "100"}, NumberCase {"1e-999", "0"},
        NumberCase {"1E999", nullptr}, NumberCase {"-1E999", nullptr},
        NumberCase {"1e99999999999999999999999", nullptr},
        NumberCase {"0e99999999999999999999999", "0"},
        // hexadecimal and octal whole numbers
        NumberCase {"&H1F", "31"}, NumberCase {"&hff", "255"}, NumberCase {"&O17", "15"},
        NumberCase {"&o8", "0"}, NumberCase {"&H", "0"}, NumberCase {"&", "0"},
        NumberCase {"& H 1 0", "16"}, NumberCase {"&HFFFFFFFF", "4294967295"},
        NumberCase {"&Q1", "0"}, NumberCase {"-&H10", "0"},
        NumberCase {"&H" + std::string(300, 'F'), nullptr},
        // letters and signs alone read as 0
        NumberCase {"abc", "0"}, NumberCase {"inf", "0"}, NumberCase {"nan", "0"},
        NumberCase {"$5", "0"}));

INSTANTIATE_TEST_SUITE_P(WritingRule, Normalise,
                         testing::Values(NumberCase {"0.30000000000000004", "0.3"},
                                         NumberCase {"9.9999999999999999", "10"},
                                         NumberCase {"123456789012345", "123456789012345"},
                                         NumberCase {"123456789012345678", "123456789012346000"},
                                         NumberCase {"0.1234567890123456789", "0.123456789012346"},
                                         NumberCase {"0.000001", "0.000001"},
                                         NumberCase {"1e-20", "0.00000000000000000001"},
                                         NumberCase {"1e20", "100000000000000000000"},
                                         NumberCase {"-1.25e-3", "-0.00125"},
                                         NumberCase {"100.000", "100"},
                                         NumberCase {"1000000", "1000000"},
                                         NumberCase {"0.5", "0.5"},
                                         NumberCase {std::string(400, '9'), nullptr},
                                         NumberCase {"0." + std::string(5000, '0') + "1", "0"}));

TEST(WriteNumber, writesExtremeMagnitudesWithoutExponent)
{
    const std::string big = hw::writeNumber(1.7976931348623157e308);
    EXPECT_EQ(big.size(), 309u);
    EXPECT_EQ(big.substr(0, 15), "179769313486232");
    EXPECT_EQ(big.find_first_not_of("0123456789"), std::string::npos);
    const std::string tiny = hw::writeNumber(4.9406564584124654e-324);
    EXPECT_EQ(tiny.substr(0, 2), "0.");
    EXPECT_TRUE(tiny.ends_with("494065645841247")) << tiny;
    EXPECT_EQ(tiny.size(), 2u + 323u + 15u);
}

TEST(WriteNumber, refusesValuesThatAreNotFinite)
{
    EXPECT_THROW(hw::writeNumber(std::numeric_limits<double>::infinity()), std::invalid_argument);
    EXPECT_THROW(hw::writeNumber(std::numeric_limits<double>::quiet_NaN()), std::invalid_argument);
}

// Makes a locale with a decimal comma the C locale (and the global C++ locale
// where the standard library can name it); made with localedef when the
// system has none. Returns its name, or "" when there is none.
std::string useCommaLocale()
{
#ifdef _WIN32
    for (const char *name : {"de-DE", "German_Germany.1252", "German"})
        if (std::setlocale(LC_ALL, name) != nullptr)
            return name;
    return "";
#else
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"})
        if (std::setlocale(LC_ALL, name) != nullptr)
            return name;
    const auto dir = std::filesystem::temp_directory_path() / "hourwright-locale";
    std::filesystem::create_directories(dir);
    const std::string command =
        "localedef -i de_DE -f UTF-8 '" + (dir / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0)
        return "";
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr ? "de_DE.UTF-8" : "";
#endif
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
    EXPECT_EQ(hw::normaliseNumber("-2.5e-1"), "-0.25");
    EXPECT_EQ(hw::normaliseNumber("1,5"), "1");
    EXPECT_EQ(hw::writeNumber(1234.5), "1234.5");
    std::locale::global(std::locale::classic());
    std::setlocale(LC_ALL, "C");
}

} // namespace
