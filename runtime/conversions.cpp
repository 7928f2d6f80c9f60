#include "conversions.h"

#include "runtime_error.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <system_error>

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

std::string withoutBlanks(std::string_view text)
{
    std::string kept;
    kept.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c))
            kept.push_back(c);
    }
    return kept;
}

// The readers below take what they read off the front of `rest`, and leave it as it is when
// they find nothing.

// Whether `rest` starts with a '-' rather than a '+' or no sign.
bool takeSign(std::string_view &rest)
{
    if (rest.empty() || (rest[0] != '+' && rest[0] != '-'))
        return false;
    const bool negative = rest[0] == '-';
    rest.remove_prefix(1);
    return negative;
}

std::string_view takeDigits(std::string_view &rest)
{
    std::size_t length = 0;
    while (length < rest.size() && isDigit(rest[length]))
        ++length;
    const std::string_view digits = rest.substr(0, length);
    rest.remove_prefix(length);
    return digits;
}

// digits [. [digits]] | . digits, or empty: "5." is a number, "." alone is not.
std::string_view takeMantissa(std::string_view &rest)
{
    const std::string_view start = rest;
    const std::string_view intDigits = takeDigits(rest);
    if (!rest.empty() && rest[0] == '.') {
        std::string_view afterPoint = rest.substr(1);
        const std::string_view fraction = takeDigits(afterPoint);
        if (!intDigits.empty() || !fraction.empty())
            rest = afterPoint;
    }
    return start.substr(0, start.size() - rest.size());
}

// (e|E|d|D) [+|-] digits: the exponent belongs to the number only when a digit follows its
// letter.
std::optional<long long> takeExponent(std::string_view &rest)
{
    if (rest.empty() || std::string_view("eEdD").find(rest[0]) == std::string_view::npos)
        return std::nullopt;
    std::string_view afterLetter = rest.substr(1);
    const bool negative = takeSign(afterLetter);
    const std::string_view digits = takeDigits(afterLetter);
    if (digits.empty())
        return std::nullopt;
    rest = afterLetter;
    long long exponent = 0;
    for (char c : digits) {
        // Saturate far beyond any mantissa that fits in memory: the exponent must still make up
        // for a mantissa of a million digits before it can be left out.
        exponent = std::min(exponent * 10 + (c - '0'), 1000000000000000LL);
    }
    return negative ? -exponent : exponent;
}

// mantissa × 10^exponent, the nearest double: an infinity beyond the largest, 0 below the
// smallest.
double decimalValue(std::string_view mantissa, std::optional<long long> exponent)
{
    // std::from_chars does not depend on the C locale, unlike strtod.
    std::string normal(mantissa);
    if (exponent)
        normal += 'e' + std::to_string(*exponent);
    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        return magnitude(mantissa, exponent.value_or(0)) > 0
            ? std::numeric_limits<double>::infinity()
            : 0.0;
    return result.ec == std::errc() ? value : 0.0;
}

} // namespace

double numberFromText(std::string_view text)
{
    // Most cells hold nothing or one digit.
    if (text.empty())
        return 0.0;
    if (text.size() == 1 && isDigit(text[0]))
        return text[0] - '0';

    const std::string compact = withoutBlanks(text);
    std::string_view rest = compact;
    const bool negative = takeSign(rest);
    const std::string_view mantissa = takeMantissa(rest);
    if (mantissa.empty())
        return 0.0;
    const double value = decimalValue(mantissa, takeExponent(rest));
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
