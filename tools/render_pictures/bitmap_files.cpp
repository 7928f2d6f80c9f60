#include "bitmap_files.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>

namespace kaleno {

namespace {

constexpr quint32 FileHeaderBytes = 14;
constexpr quint32 InfoHeaderBytes = 40;
constexpr int PaletteEntries = 256;

// Every row of a bitmap, colours or mask, is padded to a multiple of 4 bytes.
quint32 rowBytes(int width, int bitsPerPixel)
{
    return static_cast<quint32>((width * bitsPerPixel + 31) / 32 * 4);
}

template<typename... Fields>
void put(QDataStream &out, Fields... fields)
{
    (out << ... << fields);
}

void padRow(QDataStream &out, quint32 written, quint32 rowLength)
{
    constexpr char Zeros[4] {};
    out.writeRawData(Zeros, static_cast<int>(rowLength - written));
}

// `height` counts the rows of every layer: an icon's colours and its mask give twice the
// picture's height. No compression; an icon leaves the resolution at 0.
void infoHeader(QDataStream &out, int width, int height, quint16 bitsPerPixel, quint32 imageBytes,
    qint32 pixelsPerMetre)
{
    put(out, InfoHeaderBytes, qint32(width), qint32(height), quint16(1), bitsPerPixel, quint32(0),
        imageBytes, pixelsPerMetre, pixelsPerMetre, quint32(0), quint32(0));
}

} // namespace

QByteArray trueColourBmp(const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const quint32 imageBytes = rowBytes(pixels.width(), 32) * quint32(pixels.height());
    const quint32 pixelOffset = FileHeaderBytes + InfoHeaderBytes;
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian); // both formats, throughout
    put(out, quint8('B'), quint8('M'), pixelOffset + imageBytes, quint32(0), pixelOffset);
    infoHeader(out, pixels.width(), pixels.height(), 32, imageBytes, pixels.dotsPerMeterX());
    for (int y = pixels.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            put(out, quint8(qBlue(line[x])), quint8(qGreen(line[x])), quint8(qRed(line[x])),
                quint8(255));
    }
    return bytes;
}

QImage paletteColours(const QImage &image)
{
    // Through RGB32: from an image with alpha, Qt always takes the colour cube, and spends an
    // entry on transparency.
    return image.convertToFormat(QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8);
}

QByteArray paletteIcon(const QImage &image)
{
    // Under the mask the colour must be black: a screen that draws an icon layer by layer
    // combines that colour with what lies under the icon.
    QImage layers = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < layers.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(layers.scanLine(y));
        std::replace_if(
            line, line + layers.width(), [](QRgb pixel) { return qAlpha(pixel) < 128; }, QRgb(0));
    }
    const QImage colours = paletteColours(layers);
    const int width = image.width();
    const int height = image.height();
    const quint32 colourRow = rowBytes(width, 8);
    const quint32 maskRow = rowBytes(width, 1);
    const quint32 imageBytes = (colourRow + maskRow) * quint32(height);
    constexpr quint32 DirectoryBytes = 6 + 16;
    const quint32 resourceBytes = InfoHeaderBytes + PaletteEntries * 4 + imageBytes;

    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    // The directory: reserved, type 1 (icon), one image; then that image's entry, where a width
    // or height of 0 means 256 and a colour count of 0 means a full 256-entry palette.
    put(out, quint16(0), quint16(1), quint16(1));
    put(out, quint8(width % 256), quint8(height % 256), quint8(0), quint8(0), quint16(1),
        quint16(8), resourceBytes, DirectoryBytes);
    infoHeader(out, width, 2 * height, 8, imageBytes, 0);
    for (int i = 0; i < PaletteEntries; ++i) {
        const QRgb colour = colours.colorTable().value(i, qRgb(0, 0, 0));
        put(out, quint8(qBlue(colour)), quint8(qGreen(colour)), quint8(qRed(colour)), quint8(0));
    }
    for (int y = height - 1; y >= 0; --y) {
        out.writeRawData(reinterpret_cast<const char *>(colours.constScanLine(y)), width);
        padRow(out, quint32(width), colourRow);
    }
    // A set bit lets the screen show through.
    for (int y = height - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(layers.constScanLine(y));
        for (int x = 0; x < width; x += 8) {
            quint8 bits = 0;
            for (int bit = 0; bit < 8 && x + bit < width; ++bit) {
                if (qAlpha(line[x + bit]) == 0)
                    bits |= quint8(0x80 >> bit);
            }
            put(out, bits);
        }
        padRow(out, quint32((width + 7) / 8), maskRow);
    }
    return bytes;
}

} // namespace kaleno
