#pragma once

#include <QString>

/// Where the embedded pictures are, in Qt's resource system.
namespace kaleno::pictures {

/// The program icon: 32 × 32 pixels, 256 colours and a transparency mask.
inline QString programIcon()
{
    return QStringLiteral(":/pictures/kaleno.ico");
}

/// The success picture: 70 × 70 pixels, opaque.
inline QString success()
{
    return QStringLiteral(":/pictures/success.bmp");
}

/// The About window's space picture: 250 × 250 pixels, 256 colours.
inline QString space()
{
    return QStringLiteral(":/pictures/space.bmp");
}

} // namespace kaleno::pictures
