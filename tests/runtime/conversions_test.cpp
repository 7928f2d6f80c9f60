#include "conversions.h"
#include "errors.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <utility>

namespace kaleno {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

struct Reading
{
    std::string text;
    double value;
};

// Some texts run to 150000 characters: show their start only.
std::ostream &operator<<(std::ostream &out, const Reading &r)
{
    return out << '"' << r.text.substr(0, 24) << (r.text.size() > 24 ? "...\"" : "\"");
}

class NumberFromText : public ::testing::TestWithParam<Reading>
{
};

TEST_P(NumberFromText, ReadsLongestNumericPrefixIgnoringBlanks)
{
    EXPECT_EQ(numberFromText(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, NumberFromText,
    ::testing::Values(Reading {"", 0}, Reading {"7", 7}, Reading {"-3", -3}, Reading {"+4", 4},
        Reading {"-.5", -0.5},
        // blanks are ignored wherever they stand
        Reading {" 7 ", 7}, Reading {"1 2", 12}, Reading {"\t3\r\n", 3}, Reading {"- 1 . 5", -1.5},
        Reading {"   ", 0},
        // the decimal point, and exponents with e or d only when digits follow
        Reading {"1.e2", 100}, Reading {"5.", 5}, Reading {".", 0}, Reading {"1.2.3", 1.2},
        Reading {"8,5", 8}, Reading {"1E5", 1e5}, Reading {"1d2", 100}, Reading {"1D-2", 0.01},
        Reading {"2e+1", 20}, Reading {"1e+", 1}, Reading {"1ex", 1}, Reading {"1e2e3", 100},
        // no number at the start
        Reading {"abc", 0}, Reading {"&H5", 0}, Reading {"\xef\xbc\x95", 0}, Reading {"+-5", 0},
        Reading {"e5", 0}, Reading {"12abc", 12},
        // beyond a double, and mantissas longer than any exponent cap allows for (from fuzzing)
        Reading {"-1e400", -Infinity}, Reading {"9e99999999999999999999", Infinity},
        Reading {"1" + std::string(400, '0'), Infinity}, Reading {"1e-400", 0},
        Reading {"0e999999", 0}, Reading {"0." + std::string(400, '0') + "1e405", 1e4},
        Reading {"1" + std::string(150000, '0') + "e-150000", 1},
        Reading {"0." + std::string(150000, '0') + "1e150010", 1e9},
        Reading {"1" + std::string(100000, '0') + "e-100001", 0.1},
        Reading {"1e-99999999999999999999", 0}));

constexpr int Fails = -99999; // the conversion must fail with error 6

class ToInt16 : public ::testing::TestWithParam<std::pair<double, int>>
{
};

TEST_P(ToInt16, RoundsHalfToEvenAndRejectsWhatDoesNotFit)
{
    const auto [value, expected] = GetParam();
    if (expected == Fails)
        EXPECT_EQ(testing::runtimeErrorOf([v = value] { toInt16(v); }), 6);
    else
        EXPECT_EQ(toInt16(value), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, ToInt16,
    ::testing::Values(std::pair(0.3, 0), std::pair(0.5, 0), std::pair(1.5, 2), std::pair(2.5, 2),
        std::pair(3.5, 4), std::pair(-0.5, 0), std::pair(-2.5, -2), std::pair(-3.5, -4),
        std::pair(2.6, 3), std::pair(-2.4, -2), std::pair(9.6, 10), std::pair(32767.4, 32767),
        std::pair(32767.5, Fails), std::pair(-32768.5, -32768), std::pair(-32768.6, Fails),
        std::pair(40000.0, Fails), std::pair(Infinity, Fails), std::pair(-Infinity, Fails),
        std::pair(std::numeric_limits<double>::quiet_NaN(), Fails), std::pair(1e300, Fails)));

} // namespace
} // namespace kaleno
