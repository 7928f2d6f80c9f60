#include "colour.h"
#include "conversions.h"
#include "errors.h"
#include "runtime_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace kaleno {
namespace {

constexpr double Infinity = std::numeric_limits<double>::infinity();

struct Reading
{
    std::string text;
    double value;
};

std::ostream &operator<<(std::ostream &out, const Reading &r)
{
    const bool longText = r.text.size() > 24;
    return out << '"' << r.text.substr(0, 24) << (longText ? "...\"" : "\"");
}

class NumberFromText : public ::testing::TestWithParam<Reading>
{
};

TEST_P(NumberFromText, ReadsLongestNumericPrefixIgnoringBlanks)
{
    EXPECT_EQ(numberFromText(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Table, NumberFromText,
    ::testing::Values(
        // plain numbers and signs
        Reading {"", 0}, Reading {"7", 7}, Reading {"-3", -3}, Reading {"+4", 4},
        Reading {"40000", 40000}, Reading {"007", 7}, Reading {"2.5", 2.5}, Reading {"0.3", 0.3},
        Reading {"-.5", -0.5},
        // blanks are ignored wherever they stand
        Reading {" 7 ", 7}, Reading {"1 2", 12}, Reading {"\t3\r\n", 3}, Reading {"- 5", -5},
        Reading {"1 . 5", 1.5}, Reading {"1 e 2", 100}, Reading {"   ", 0},
        // the decimal point
        Reading {"1.e2", 100}, Reading {".5", 0.5}, Reading {"5.", 5}, Reading {".", 0},
        Reading {"-.", 0}, Reading {"1.2.3", 1.2}, Reading {"8,5", 8},
        // exponents, with e or d, only when digits follow
        Reading {"1e5", 1e5}, Reading {"1E5", 1e5}, Reading {"1d2", 100}, Reading {"1D-2", 0.01},
        Reading {"2e+1", 20}, Reading {"1e", 1}, Reading {"1e+", 1}, Reading {"1ex", 1},
        Reading {"1e2e3", 100},
        // no number at the start
        Reading {"abc", 0}, Reading {"&H5", 0}, Reading {"\xd9\xa3", 0},
        Reading {"\xef\xbc\x95", 0}, Reading {"--5", 0}, Reading {"+-5", 0}, Reading {"e5", 0},
        Reading {"12abc", 12},
        // beyond a double
        Reading {"1e400", Infinity}, Reading {"-1e400", -Infinity},
        Reading {"9e99999999999999999999", Infinity},
        Reading {"1" + std::string(400, '0'), Infinity}, Reading {"1e-400", 0},
        Reading {"0e999999", 0}, Reading {"0." + std::string(400, '0') + "1e405", 1e4},
        // Mantissas of more digits than any exponent cap would allow for (found by fuzzing).
        Reading {"1" + std::string(150000, '0') + "e-150000", 1},
        Reading {"0." + std::string(150000, '0') + "1e150010", 1e9},
        Reading {"1" + std::string(100000, '0') + "e-100001", 0.1},
        Reading {"1e-99999999999999999999", 0}, Reading {"-1e99999999999999999999", -Infinity}));

struct Rounding
{
    double value;
    int expected; // -99999 when the conversion must fail with error 6
};

constexpr int Fails = -99999;

std::ostream &operator<<(std::ostream &out, const Rounding &r)
{
    return out << r.value;
}

class ToInt16 : public ::testing::TestWithParam<Rounding>
{
};

TEST_P(ToInt16, RoundsHalfToEvenAndRejectsWhatDoesNotFit)
{
    const double value = GetParam().value;
    if (GetParam().expected == Fails)
        EXPECT_EQ(testing::runtimeErrorOf([value] { toInt16(value); }), 6) << value;
    else
        EXPECT_EQ(toInt16(value), GetParam().expected) << value;
}

INSTANTIATE_TEST_SUITE_P(Table, ToInt16,
    ::testing::Values(Rounding {0.3, 0}, Rounding {0.5, 0}, Rounding {1.5, 2}, Rounding {2.5, 2},
        Rounding {3.5, 4}, Rounding {-0.5, 0}, Rounding {-2.5, -2}, Rounding {-3.5, -4},
        Rounding {2.6, 3}, Rounding {-2.4, -2}, Rounding {9.6, 10}, Rounding {32767.4, 32767},
        Rounding {32767.5, Fails}, Rounding {-32768.5, -32768}, Rounding {-32768.6, Fails},
        Rounding {40000, Fails}, Rounding {Infinity, Fails}, Rounding {-Infinity, Fails},
        Rounding {std::numeric_limits<double>::quiet_NaN(), Fails}, Rounding {1e300, Fails}));

TEST(CheckedInt16, FailsWithOverflowOutsideTheRange)
{
    EXPECT_EQ(checkedInt16(32767), 32767);
    EXPECT_EQ(checkedInt16(-32768), -32768);
    EXPECT_EQ(testing::runtimeErrorOf([] { checkedInt16(32768); }), 6);
    EXPECT_EQ(testing::runtimeErrorOf([] { checkedInt16(-32769); }), 6);
}

TEST(IntFloor, TakesTheGreatestIntegerNotAbove)
{
    EXPECT_EQ(intFloor(2.7), 2);
    EXPECT_EQ(intFloor(-2.2), -3);
    EXPECT_EQ(intFloor(-3.0), -3);
}

TEST(IntegerText, HasNoLeadingBlank)
{
    EXPECT_EQ(integerText(7), "7");
    EXPECT_EQ(integerText(-12), "-12");
    EXPECT_EQ(integerText(0), "0");
}

TEST(ColourFromRgb, PutsRedInTheLowByte)
{
    EXPECT_EQ(colourFromRgb(255, 128, 0), GivenCellColour);
    EXPECT_EQ(colourFromRgb(244, 243, 238), 0xEEF3F4u);
    EXPECT_EQ(colourFromRgb(300, -5, 255), 0xFF00FFu);
}

TEST(RuntimeError, CarriesItsNumber)
{
    EXPECT_EQ(RuntimeError(ErrorNumber::Overflow).number(), 6);
    EXPECT_EQ(RuntimeError(ErrorNumber::SubscriptOutOfRange).number(), 9);
}

} // namespace
} // namespace kaleno
