#pragma once

#include "colour_reduction.h"

#include <QImage>
#include <QString>

namespace kaleno {

/// A BMP of 32 bits a pixel, uncompressed, rows bottom-up. The image's alpha is dropped.
bool writeTrueColourBmp(const QImage &image, const QString &path, QString *error);

/// A BMP of 8 bits a pixel with a 256-entry palette, uncompressed, rows bottom-up.
bool writePaletteBmp(const IndexedPicture &picture, const QString &path, QString *error);

/// An icon file holding this one picture: 8-bit palette colours plus the 1-bit mask of its
/// transparent pixels.
bool writePaletteIcon(const IndexedPicture &picture, const QString &path, QString *error);

} // namespace kaleno
