#include "picture_files.h"

#include <QByteArray>
#include <QSaveFile>

#include <cstdint>

namespace kaleno {

namespace {

constexpr std::uint32_t InfoHeaderSize = 40;
constexpr std::uint32_t FileHeaderSize = 14;
constexpr std::uint32_t NoCompression = 0; // BI_RGB
constexpr std::int32_t PixelsPerMetre = 2835; // 72 dots an inch

// Every field of these formats is little-endian, whatever the machine.
class LittleEndianWriter
{
public:
    void u8(std::uint8_t value) { m_bytes.append(static_cast<char>(value)); }
    void u16(std::uint16_t value)
    {
        u8(static_cast<std::uint8_t>(value & 0xFF));
        u8(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value)
    {
        u16(static_cast<std::uint16_t>(value & 0xFFFF));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void i32(std::int32_t value) { u32(static_cast<std::uint32_t>(value)); }
    void zeros(std::uint32_t count)
    {
        for (std::uint32_t i = 0; i < count; ++i)
            u8(0);
    }

    const QByteArray &bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
};

// Rows of a bitmap are padded to a multiple of 4 bytes.
std::uint32_t rowBytes(int width, int bitsPerPixel)
{
    return static_cast<std::uint32_t>((width * bitsPerPixel + 31) / 32 * 4);
}

void writeInfoHeader(LittleEndianWriter &out, int width, int height, int bitsPerPixel,
    std::uint32_t imageBytes, std::uint32_t coloursUsed, bool forIcon)
{
    out.u32(InfoHeaderSize);
    out.i32(width);
    out.i32(height); // positive: the bottom row comes first
    out.u16(1); // planes
    out.u16(static_cast<std::uint16_t>(bitsPerPixel));
    out.u32(NoCompression);
    out.u32(imageBytes);
    out.i32(forIcon ? 0 : PixelsPerMetre);
    out.i32(forIcon ? 0 : PixelsPerMetre);
    out.u32(coloursUsed);
    out.u32(0); // all colours important
}

void writeFileHeader(LittleEndianWriter &out, std::uint32_t pixelOffset, std::uint32_t imageBytes)
{
    out.u8('B');
    out.u8('M');
    out.u32(pixelOffset + imageBytes);
    out.u16(0);
    out.u16(0);
    out.u32(pixelOffset);
}

// Always all 256 entries, unused ones black; the fourth byte of an entry must be 0.
void writePalette(LittleEndianWriter &out, const IndexedPicture &picture)
{
    for (int i = 0; i < PaletteSize; ++i) {
        const QRgb colour = i < static_cast<int>(picture.palette.size())
            ? picture.palette[static_cast<size_t>(i)]
            : qRgb(0, 0, 0);
        out.u8(static_cast<std::uint8_t>(qBlue(colour)));
        out.u8(static_cast<std::uint8_t>(qGreen(colour)));
        out.u8(static_cast<std::uint8_t>(qRed(colour)));
        out.u8(0);
    }
}

void writeIndices(LittleEndianWriter &out, const IndexedPicture &picture)
{
    const std::uint32_t padding
        = rowBytes(picture.width, 8) - static_cast<std::uint32_t>(picture.width);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x)
            out.u8(picture.index(x, y));
        out.zeros(padding);
    }
}

bool save(const QByteArray &bytes, const QString &path, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

} // namespace

bool writeTrueColourBmp(const QImage &image, const QString &path, QString *error)
{
    const QImage source = image.convertToFormat(QImage::Format_RGB32);
    constexpr int BitsPerPixel = 32;
    const std::uint32_t imageBytes
        = rowBytes(source.width(), BitsPerPixel) * static_cast<std::uint32_t>(source.height());
    constexpr std::uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize;

    LittleEndianWriter out;
    writeFileHeader(out, pixelOffset, imageBytes);
    writeInfoHeader(out, source.width(), source.height(), BitsPerPixel, imageBytes, 0, false);
    for (int y = source.height() - 1; y >= 0; --y) {
        const auto *line = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            out.u8(static_cast<std::uint8_t>(qBlue(line[x])));
            out.u8(static_cast<std::uint8_t>(qGreen(line[x])));
            out.u8(static_cast<std::uint8_t>(qRed(line[x])));
            // Readers ignore this byte in an uncompressed 32-bit BMP. 255 rather than 0, so that
            // a reader which takes it for alpha anyway still shows the picture opaque.
            out.u8(255);
        }
    }
    return save(out.bytes(), path, error);
}

bool writePaletteBmp(const IndexedPicture &picture, const QString &path, QString *error)
{
    constexpr int BitsPerPixel = 8;
    const std::uint32_t imageBytes
        = rowBytes(picture.width, BitsPerPixel) * static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t pixelOffset = FileHeaderSize + InfoHeaderSize + 4 * PaletteSize;

    LittleEndianWriter out;
    writeFileHeader(out, pixelOffset, imageBytes);
    writeInfoHeader(
        out, picture.width, picture.height, BitsPerPixel, imageBytes, PaletteSize, false);
    writePalette(out, picture);
    writeIndices(out, picture);
    return save(out.bytes(), path, error);
}

bool writePaletteIcon(const IndexedPicture &picture, const QString &path, QString *error)
{
    constexpr int BitsPerPixel = 8;
    const std::uint32_t colourBytes
        = rowBytes(picture.width, BitsPerPixel) * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t maskBytes
        = rowBytes(picture.width, 1) * static_cast<std::uint32_t>(picture.height);
    const std::uint32_t imageBytes = InfoHeaderSize + 4 * PaletteSize + colourBytes + maskBytes;
    constexpr std::uint32_t DirectorySize = 6;
    constexpr std::uint32_t EntrySize = 16;

    LittleEndianWriter out;
    out.u16(0); // reserved
    out.u16(1); // an icon, not a cursor
    out.u16(1); // one image
    // Width and height 256 would be written as 0; a 256-colour palette counts as 0 colours too.
    out.u8(static_cast<std::uint8_t>(picture.width));
    out.u8(static_cast<std::uint8_t>(picture.height));
    out.u8(0);
    out.u8(0); // reserved
    out.u16(1); // planes
    out.u16(BitsPerPixel);
    out.u32(imageBytes);
    out.u32(DirectorySize + EntrySize);

    // The height counts the colour bitmap and the mask stacked, hence twice the picture's.
    writeInfoHeader(
        out, picture.width, 2 * picture.height, BitsPerPixel, colourBytes + maskBytes, 0, true);
    writePalette(out, picture);
    writeIndices(out, picture);
    // Mask bits: 1 lets the screen through, most significant bit leftmost.
    const std::uint32_t maskPadding
        = rowBytes(picture.width, 1) - static_cast<std::uint32_t>((picture.width + 7) / 8);
    for (int y = picture.height - 1; y >= 0; --y) {
        std::uint8_t bits = 0;
        for (int x = 0; x < picture.width; ++x) {
            if (picture.isTransparent(x, y))
                bits = static_cast<std::uint8_t>(bits | (0x80 >> (x % 8)));
            if (x % 8 == 7 || x == picture.width - 1) {
                out.u8(bits);
                bits = 0;
            }
        }
        out.zeros(maskPadding);
    }
    return save(out.bytes(), path, error);
}

} // namespace kaleno
