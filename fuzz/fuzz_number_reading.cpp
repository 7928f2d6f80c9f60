// Reading a number from a cell's text, and rounding it to 16 bits.
//
// numberFromText must never throw nor give NaN, and must agree with the C library's strtod
// on the longest prefix that its grammar accepts. toInt16 must round to the nearest integer,
// an exact half to the even neighbour, and throw RuntimeError 6 exactly when that integer
// does not fit 16 bits or the value is not finite.

#include "conversions.h"
#include "fuzz_check.h"
#include "runtime_error.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

using kaleno::fuzz::fail;
using kaleno::fuzz::quoted;
using kaleno::fuzz::require;

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The reading by another route: the longest prefix of the grammar, blanks dropped, handed to
// strtod with its exponent letter made an 'e'. strtod is correctly rounded, as is the
// from_chars that numberFromText uses, so both must give the same double.
double readingByStrtod(std::string_view text)
{
    std::string s;
    for (const char c : text) {
        if (!isBlank(c))
            s += c;
    }
    std::size_t at = 0;
    bool negative = false;
    if (at < s.size() && (s[at] == '+' || s[at] == '-')) {
        negative = s[at] == '-';
        ++at;
    }
    std::string number;
    std::size_t digits = 0;
    for (; at < s.size() && isDigit(s[at]); ++at, ++digits)
        number += s[at];
    if (at < s.size() && s[at] == '.') {
        std::size_t end = at + 1;
        while (end < s.size() && isDigit(s[end]))
            ++end;
        if (digits + (end - at - 1) > 0) {
            digits += end - at - 1;
            number.append(s, at, end - at);
            at = end;
        }
    }
    if (digits == 0)
        return 0.0;
    if (at < s.size() && (s[at] == 'e' || s[at] == 'E' || s[at] == 'd' || s[at] == 'D')) {
        std::string exponent = "e";
        std::size_t end = at + 1;
        if (end < s.size() && (s[end] == '+' || s[end] == '-'))
            exponent += s[end++];
        const std::size_t firstDigit = end;
        for (; end < s.size() && isDigit(s[end]); ++end)
            exponent += s[end];
        if (end > firstDigit)
            number += exponent;
    }
    const double value = std::strtod(number.c_str(), nullptr);
    return negative ? -value : value;
}

std::string describe(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g (%a)", value, value);
    return text;
}

void checkReading(std::string_view text, double reading)
{
    if (std::isnan(reading))
        fail("numberFromText(" + quoted(text) + ") is NaN");
    const double expected = readingByStrtod(text);
    if (reading == expected)
        return;
    // Below the normal range strtod may keep a subnormal value where "too small reads as 0"
    // allows a zero.
    if (std::fabs(expected) < DBL_MIN && reading == 0.0)
        return;
    fail("numberFromText(" + quoted(text) + ") = " + describe(reading) + ", strtod reads "
        + describe(expected));
}

void checkToInt16(double value)
{
    // The default rounding mode rounds a half to even, as toInt16 must.
    const double nearest = std::nearbyint(value);
    const bool fits = std::isfinite(value) && nearest >= -32768.0 && nearest <= 32767.0;
    std::int16_t result = 0;
    try {
        result = kaleno::toInt16(value);
    } catch (const kaleno::RuntimeError &error) {
        if (error.number() != 6)
            fail("toInt16(" + describe(value) + ") threw error " + std::to_string(error.number()));
        if (fits)
            fail("toInt16(" + describe(value) + ") threw although it rounds to "
                + describe(nearest));
        return;
    } catch (...) {
        fail("toInt16(" + describe(value) + ") threw something other than a RuntimeError");
    }
    if (!fits)
        fail("toInt16(" + describe(value) + ") returned " + std::to_string(result)
            + " instead of throwing error 6");
    if (!(std::fabs(result - value) <= 0.5) || result != nearest)
        fail("toInt16(" + describe(value) + ") returned " + std::to_string(result)
            + ", not the nearest integer (half to even) " + describe(nearest));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    double reading = 0.0;
    try {
        reading = kaleno::numberFromText(text);
    } catch (...) {
        fail("numberFromText(" + quoted(text) + ") threw");
    }
    checkReading(text, reading);
    checkToInt16(reading);

    // The same bytes as a double as well: NaNs, infinities, subnormals and values that no text
    // of a few bytes reads as.
    if (size >= sizeof(double)) {
        double value;
        std::memcpy(&value, data, sizeof value);
        checkToInt16(value);
    }
    return 0;
}
