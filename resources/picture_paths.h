#pragma once

#include <QString>

/// Where the embedded pictures are, in Qt's resource system.
namespace kaleno::pictures {

/// The program icon: 32 × 32 pixels, 256 colours and a transparency mask. QIcon adds its
/// 64 × 64 render, kaleno@2x.ico, by itself when the screens are of double density.
inline QString programIcon()
{
    return QStringLiteral(":/pictures/kaleno.ico");
}

/// The picture `name`, or its render of twice the pixels each way where one logical pixel spans
/// more than one device pixel (`devicePixelRatio`, a widget's): scaled down, that render stays
/// sharper than the other one scaled up. Loading gives it a device pixel ratio of 2, read from
/// its "@2x", so both show at the same logical size.
inline QString forDensity(const QString &name, qreal devicePixelRatio)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return devicePixelRatio > 1 ? QString(name).insert(dot, QLatin1String("@2x")) : name;
}

/// The success picture: 70 × 70 logical pixels, opaque.
inline QString success(qreal devicePixelRatio)
{
    return forDensity(QStringLiteral(":/pictures/success.bmp"), devicePixelRatio);
}

/// The About window's space picture: 250 × 250 logical pixels, 256 colours.
inline QString space(qreal devicePixelRatio)
{
    return forDensity(QStringLiteral(":/pictures/space.bmp"), devicePixelRatio);
}

} // namespace kaleno::pictures
