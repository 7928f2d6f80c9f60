#pragma once

#include <algorithm>
#include <cstdint>

namespace kaleno {

/// A 24-bit colour laid out as 0x00BBGGRR: red in the low byte, blue in the high one.
using Colour = std::uint32_t;

/// red + 256 × green + 65536 × blue, each channel clamped to 0..255.
constexpr Colour colourFromRgb(int red, int green, int blue)
{
    auto channel = [](int value) { return static_cast<Colour>(std::clamp(value, 0, 255)); };
    return channel(red) + 256 * channel(green) + 65536 * channel(blue);
}

constexpr Colour GivenCellColour = 0x0080FF; ///< orange: red 255, green 128
constexpr Colour ClearedCellColour = 0xFFFFFF; ///< white

} // namespace kaleno
