#include "conversions.h"

#include "runtime_error.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kaleno {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The decimal exponent of the leading nonzero digit of `mantissa` once scaled by 10^exponent:
// enough to tell an overflow from an underflow when the exact conversion is out of range.
long long magnitude(std::string_view mantissa, long long exponent)
{
    const auto point = mantissa.find('.');
    const auto intDigits = mantissa.substr(0, point);
    const auto firstNonZero = intDigits.find_first_not_of('0');
    if (firstNonZero != std::string_view::npos)
        return static_cast<long long>(intDigits.size() - firstNonZero) - 1 + exponent;
    const auto fraction
        = point == std::string_view::npos ? std::string_view() : mantissa.substr(point + 1);
    return -static_cast<long long>(fraction.find_first_not_of('0')) - 1 + exponent;
}

} // namespace

double numberFromText(std::string_view text)
{
    // Most cells hold nothing or one digit.
    if (text.empty())
        return 0.0;
    if (text.size() == 1 && isDigit(text[0]))
        return text[0] - '0';

    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c))
            s.push_back(c);
    }

    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    const std::size_t mantissaStart = i;
    std::size_t intDigits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++intDigits;
    }
    std::size_t fracDigits = 0;
    if (i < s.size() && s[i] == '.') {
        std::size_t j = i + 1;
        while (j < s.size() && isDigit(s[j])) {
            ++j;
            ++fracDigits;
        }
        // "5." is a number, "." alone is not.
        if (intDigits > 0 || fracDigits > 0)
            i = j;
    }
    if (intDigits == 0 && fracDigits == 0)
        return 0.0;
    const std::string_view mantissa(s.data() + mantissaStart, i - mantissaStart);

    // The exponent belongs to the number only when at least one digit follows its letter.
    long long exponent = 0;
    bool exponentNegative = false;
    std::string_view exponentDigits;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            exponentNegative = s[j] == '-';
            ++j;
        }
        const std::size_t digitsStart = j;
        while (j < s.size() && isDigit(s[j]))
            ++j;
        if (j > digitsStart) {
            exponentDigits = std::string_view(s.data() + digitsStart, j - digitsStart);
            for (char c : exponentDigits) {
                // Saturate far beyond any mantissa that fits in memory: the exponent must still
                // make up for a mantissa of a million digits before it can be left out.
                exponent = std::min(exponent * 10 + (c - '0'), 1000000000000000LL);
            }
            if (exponentNegative)
                exponent = -exponent;
        }
    }

    // std::from_chars does not depend on the C locale, unlike strtod.
    std::string normal(mantissa);
    if (!exponentDigits.empty())
        normal += 'e' + std::to_string(exponent);
    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        value = magnitude(mantissa, exponent) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (result.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

std::int16_t toInt16(double value)
{
    // Outside this range the rounded value cannot fit: 32767.5 rounds to 32768 and -32768.5 to
    // -32768. The test is false for NaN as well.
    if (!(value >= -32768.5 && value < 32767.5))
        throw RuntimeError(ErrorNumber::Overflow);
    const double below = std::floor(value);
    const double fraction = value - below;
    auto rounded = static_cast<long>(below);
    if (fraction > 0.5 || (fraction == 0.5 && (rounded & 1) != 0))
        ++rounded;
    return static_cast<std::int16_t>(rounded);
}

double intFloor(double value)
{
    return std::floor(value);
}

std::string integerText(long value)
{
    return std::to_string(value);
}

} // namespace kaleno
