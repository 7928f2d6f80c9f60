#pragma once

#include "colour_reduction.h"
#include "vector_picture.h"

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

/// A PNG of 8-bit red, green, blue and alpha, whatever the image's format.
bool writeRgbaPng(const QImage &image, const QString &path, QString *error);

/// The picture as an SVG 1.1 document whose view box is the picture's field, shown at `pixels` ×
/// `pixels` unless the reader asks for another size.
bool writeSvg(const VectorPicture &picture, int pixels, const QString &path, QString *error);

} // namespace kaleno
