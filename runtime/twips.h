#pragma once

#include <QPoint>
#include <QRect>

#include <cmath>

namespace kaleno {

/// Layouts are given in twips, 1/1440 inch: 15 twips are one pixel at 96 dpi. Qt's logical
/// pixels are 96-dpi pixels that Qt scales as a whole on denser screens, so a twip is a
/// fifteenth of a logical pixel everywhere.
constexpr int TwipsPerPixel = 15;

/// The nearest logical pixel.
inline int twipsToPixels(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixel));
}

/// A control's outer rectangle from its Left, Top, Width and Height in twips.
inline QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(
        twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

inline QPoint twipsPoint(double x, double y)
{
    return QPoint(twipsToPixels(x), twipsToPixels(y));
}

} // namespace kaleno
