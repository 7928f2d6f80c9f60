#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <algorithm>

namespace kaleno {

/// Where a window goes whose frame measures `frame`: centred on `owner`, then moved as little
/// as needed to lie wholly inside `available` (the screen's area that panels leave free). A
/// frame larger than `available` has its top-left corner in the corner of `available`. The
/// result is the frame's top-left corner; all in the screens' logical pixels.
inline QPoint centredInside(const QRect &owner, const QSize &frame, const QRect &available)
{
    const QPoint centred = owner.center() - QPoint(frame.width() / 2, frame.height() / 2);
    auto inside = [](int position, int length, int first, int span) {
        return std::max(first, std::min(position, first + span - length));
    };
    return QPoint(inside(centred.x(), frame.width(), available.x(), available.width()),
        inside(centred.y(), frame.height(), available.y(), available.height()));
}

} // namespace kaleno
