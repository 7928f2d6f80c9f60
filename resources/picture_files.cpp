#include "picture_files.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QSaveFile>
#include <QTextStream>

#include <cstdint>
#include <variant>

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

QString svgNumber(double value)
{
    QString text = QString::number(toVectorPrecision(value), 'f', VectorDecimals);
    while (text.endsWith(QLatin1Char('0')))
        text.chop(1);
    if (text.endsWith(QLatin1Char('.')))
        text.chop(1);
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

QString svgPoint(QPointF point)
{
    return svgNumber(point.x()) + QLatin1Char(' ') + svgNumber(point.y());
}

// A colour's alpha goes into a separate opacity attribute: SVG 1.1 has no colours with alpha.
QString svgColour(const QString &attribute, const QColor &colour)
{
    QString text = QStringLiteral(" %1=\"%2\"").arg(attribute, colour.name(QColor::HexRgb));
    if (colour.alpha() != 255) {
        text += QStringLiteral(" %1-opacity=\"%2\"")
                    .arg(attribute == QLatin1String("stop-color") ? QStringLiteral("stop")
                                                                  : attribute,
                        svgNumber(colour.alphaF()));
    }
    return text;
}

QString svgPathData(const Outline &outline)
{
    QStringList parts;
    for (const Outline::Element &element : outline.elements()) {
        QString part;
        switch (element.step) {
        case Outline::Step::Move:
            part = QStringLiteral("M");
            break;
        case Outline::Step::Line:
            part = QStringLiteral("L");
            break;
        case Outline::Step::Quad:
            part = QStringLiteral("Q");
            break;
        case Outline::Step::Cubic:
            part = QStringLiteral("C");
            break;
        case Outline::Step::Close:
            part = QStringLiteral("Z");
            break;
        }
        for (QPointF point : element.points)
            part += QLatin1Char(' ') + svgPoint(point);
        parts.append(part);
    }
    return parts.join(QLatin1Char(' '));
}

// The element's name, then its id, then its geometry's attributes.
QString svgGeometry(const Geometry &geometry, const QString &name)
{
    const QString id
        = name.isEmpty() ? QString() : QStringLiteral(" id=\"%1\"").arg(name.toHtmlEscaped());
    if (const auto *box = std::get_if<Box>(&geometry)) {
        QString text = QStringLiteral("rect%1 x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\"")
                           .arg(id, svgNumber(box->rect.x()), svgNumber(box->rect.y()),
                               svgNumber(box->rect.width()), svgNumber(box->rect.height()));
        if (box->radius > 0.0)
            text += QStringLiteral(" rx=\"%1\" ry=\"%1\"").arg(svgNumber(box->radius));
        return text;
    }
    if (const auto *ellipse = std::get_if<Ellipse>(&geometry)) {
        return QStringLiteral("ellipse%1 cx=\"%2\" cy=\"%3\" rx=\"%4\" ry=\"%5\"")
            .arg(id, svgNumber(ellipse->centre.x()), svgNumber(ellipse->centre.y()),
                svgNumber(ellipse->radiusX), svgNumber(ellipse->radiusY));
    }
    return QStringLiteral("path%1 d=\"%2\"").arg(id, svgPathData(std::get<Outline>(geometry)));
}

QByteArray svgDocument(const VectorPicture &picture, int pixels)
{
    QString text;
    QTextStream out(&text);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" << pixels
        << "\" height=\"" << pixels << "\" viewBox=\"0 0 " << svgNumber(picture.size) << ' '
        << svgNumber(picture.size) << "\">\n";

    // Gradients in user units, as Qt places them, rather than relative to each shape's bounds.
    auto gradientId = [](const Shape &shape) { return shape.name + QStringLiteral("-fill"); };
    bool anyGradient = false;
    for (const Shape &shape : picture.shapes) {
        if (!shape.fill || !shape.fill->isGradient())
            continue;
        if (!anyGradient)
            out << "  <defs>\n";
        anyGradient = true;
        const Paint &paint = *shape.fill;
        out << "    <linearGradient id=\"" << gradientId(shape).toHtmlEscaped()
            << "\" gradientUnits=\"userSpaceOnUse\" x1=\"" << svgNumber(paint.start.x())
            << "\" y1=\"" << svgNumber(paint.start.y()) << "\" x2=\"" << svgNumber(paint.end.x())
            << "\" y2=\"" << svgNumber(paint.end.y()) << "\">\n";
        for (const GradientStop &stop : paint.stops) {
            out << "      <stop offset=\"" << svgNumber(stop.offset) << '"'
                << svgColour(QStringLiteral("stop-color"), stop.colour) << "/>\n";
        }
        out << "    </linearGradient>\n";
    }
    if (anyGradient)
        out << "  </defs>\n";

    for (const Shape &shape : picture.shapes) {
        out << "  <" << svgGeometry(shape.geometry, shape.name);
        // Without a fill attribute, SVG would fill with black.
        if (!shape.fill)
            out << " fill=\"none\"";
        else if (shape.fill->isGradient())
            out << " fill=\"url(#" << gradientId(shape).toHtmlEscaped() << ")\"";
        else
            out << svgColour(QStringLiteral("fill"), shape.fill->colour);
        if (shape.stroke) {
            const Stroke &stroke = *shape.stroke;
            out << svgColour(QStringLiteral("stroke"), stroke.colour) << " stroke-width=\""
                << svgNumber(stroke.width) << '"'
                << (stroke.round ? " stroke-linecap=\"round\" stroke-linejoin=\"round\""
                                 : " stroke-linecap=\"butt\" stroke-linejoin=\"miter\"");
        }
        out << "/>\n";
    }
    out << "</svg>\n";
    out.flush();
    return text.toUtf8();
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

bool writeRgbaPng(const QImage &image, const QString &path, QString *error)
{
    QImage source = image.convertToFormat(QImage::Format_ARGB32);
    // Otherwise the resolution would follow the screen of whoever runs the program.
    source.setDotsPerMeterX(PixelsPerMetre);
    source.setDotsPerMeterY(PixelsPerMetre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(source)) {
        *error = QStringLiteral("%1: %2").arg(path, writer.errorString());
        return false;
    }
    return save(bytes, path, error);
}

bool writeSvg(const VectorPicture &picture, int pixels, const QString &path, QString *error)
{
    return save(svgDocument(picture, pixels), path, error);
}

} // namespace kaleno
