#pragma once

// The two picture files that Qt's image writers cannot make: Qt writes a BMP of 32-bit pixels
// with 24 bits a pixel, and an icon with 32-bit pixels and no palette.

#include <QByteArray>
#include <QImage>

namespace kaleno {

/// A BMP of 32 bits a pixel, uncompressed, rows bottom-up. The fourth byte of every pixel is 255,
/// whatever the image's alpha: readers ignore it, and one that takes it for alpha still shows
/// the picture opaque.
QByteArray trueColourBmp(const QImage &image);

/// The image's colours in an 8-bit palette, as Qt reduces them: an image of at most 256 colours
/// keeps them, any other gets Qt's 6 x 6 x 6 colour cube with error diffusion. Alpha is dropped.
QImage paletteColours(const QImage &image);

/// An icon file holding this one picture: its palette colours, and a 1-bit mask that makes the
/// pixels less than half opaque transparent. At most 256 pixels wide and high.
QByteArray paletteIcon(const QImage &image);

} // namespace kaleno
