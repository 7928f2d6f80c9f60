#pragma once

#include "runtime_error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kaleno {

/// The numeric reading of a text, as the grid reads its cells. Blanks (space, tab, CR, LF) are
/// ignored wherever they stand; then the longest prefix of the form
///     [+|-] (digits [. [digits]] | . digits) [(e|E|d|D) [+|-] digits]
/// with ASCII digits is read. No such prefix reads as 0. Never fails: a number too large for a
/// double reads as an infinity of its sign, one too small as 0.
double numberFromText(std::string_view text);

/// Rounds to the nearest integer, an exact half to the even neighbour, and checks that the result
/// fits a signed 16-bit integer. Throws RuntimeError 6 for NaN, infinities and results outside
/// -32768..32767.
std::int16_t toInt16(double value);

/// 16-bit integer arithmetic: the result must fit, else RuntimeError 6.
inline std::int16_t checkedInt16(long value)
{
    if (value < INT16_MIN || value > INT16_MAX) [[unlikely]]
        throw RuntimeError(ErrorNumber::Overflow);
    return static_cast<std::int16_t>(value);
}

/// Int: the greatest integer not above value.
double intFloor(double value);

/// Decimal digits, "-" first when negative, no leading blank.
std::string integerText(long value);

} // namespace kaleno
