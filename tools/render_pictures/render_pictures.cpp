// kaleno-render-pictures <drawings folder> <output folder>: renders the program's drawings into
// the pictures the build embeds and the icon set a desktop installs, in the same tree as the
// committed ones under resources/. On one machine the same drawings give the same bytes, so the
// committed pictures can be checked against their drawings. It needs no display, nor even a Qt
// application: it only draws into images.
//
// kaleno-render-pictures --same <picture> <picture>: whether two picture files hold the same
// images, every channel of every pixel within RoundingSteps of the other. Qt's rasterizer rounds
// a few edge pixels one step apart on different processors, so a picture rendered elsewhere
// need not have the same bytes; a drawing that changed moves pixels much further.

#include "bitmap_files.h"

#include "kaleno_version.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSaveFile>
#include <QSvgRenderer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

using namespace kaleno;

namespace {

constexpr std::array IconSetSizes {16, 32, 48, 64, 128, 256};
constexpr int WindowIcon = 32;
constexpr int SuccessPicture = 70;
constexpr int SpacePicture = 250;
constexpr int DotsPerMetre = 3780; // 96 dots an inch
constexpr int RoundingSteps = 2;

[[noreturn]] void fail(const QString &path, const QString &what)
{
    throw std::runtime_error(
        qPrintable(QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), what)));
}

// A BMP of 8 bits a pixel as Qt writes it, with the palette made up to its full 256 entries.
// Qt's writer copies each row with the padding of the image's own row, which the colour
// reduction leaves as it was allocated: it is zeroed, or the file would change from run to run.
QImage paletteBmp(const QImage &image)
{
    QImage picture = paletteColours(image);
    picture.setColorCount(256);
    for (int y = 0; y < picture.height(); ++y)
        std::fill(picture.scanLine(y) + picture.width(),
            picture.scanLine(y) + picture.bytesPerLine(), uchar(0));
    return picture;
}

class Renderer
{
public:
    Renderer(const QString &drawings, const QString &output)
        : m_drawings(drawings), m_output(output)
    { }

    void renderAll()
    {
        const QByteArray icon = draw(QStringLiteral("icon.svg"));
        write(QStringLiteral("kaleno.ico"), paletteIcon(render(WindowIcon)));
        write(QStringLiteral("kaleno@2x.ico"), paletteIcon(render(2 * WindowIcon)));
        const QString theme = QStringLiteral("icons/hicolor/%1/apps/" KALENO_APP_ID ".%2");
        for (const int size : IconSetSizes)
            save(theme.arg(QStringLiteral("%1x%1").arg(size), QStringLiteral("png")), render(size),
                "PNG");
        write(theme.arg(QStringLiteral("scalable"), QStringLiteral("svg")), icon);

        // The `@2x` files are the same pictures for screens of two device pixels to a unit;
        // Qt gives them a device pixel ratio of 2 when it reads them.
        draw(QStringLiteral("success.svg"));
        write(QStringLiteral("success.bmp"), trueColourBmp(render(SuccessPicture)));
        write(QStringLiteral("success@2x.bmp"), trueColourBmp(render(2 * SuccessPicture)));

        draw(QStringLiteral("space.svg"));
        save(QStringLiteral("space.bmp"), paletteBmp(render(SpacePicture)), "BMP");
        save(QStringLiteral("space@2x.bmp"), paletteBmp(render(2 * SpacePicture)), "BMP");
    }

private:
    // Makes the named drawing the one that render() draws; returns its text.
    QByteArray draw(const QString &name)
    {
        const QString path = m_drawings.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            fail(path, file.errorString());
        QByteArray svg = file.readAll();
        if (!m_drawing.load(svg))
            fail(path, QStringLiteral("not a drawing Qt can render"));
        return svg;
    }

    // The whole drawing stretched over a square of `pixels` x `pixels`, transparent where the
    // drawing leaves it bare. The files carry a resolution, and Qt would take the screen's.
    QImage render(int pixels)
    {
        QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDotsPerMeterX(DotsPerMetre);
        image.setDotsPerMeterY(DotsPerMetre);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        m_drawing.render(&painter);
        return image;
    }

    // The full path of `file` in the output folder, its folders made.
    QString place(const QString &file) const
    {
        QString path = m_output.filePath(file);
        if (!QDir().mkpath(QFileInfo(path).path()))
            fail(path, QStringLiteral("cannot create its folder"));
        return path;
    }

    void write(const QString &file, const QByteArray &bytes) const
    {
        QSaveFile out(place(file));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            fail(out.fileName(), out.errorString());
    }

    void save(const QString &file, const QImage &image, const char *format) const
    {
        const QString path = place(file);
        if (!image.save(path, format))
            fail(path, QStringLiteral("cannot write the picture"));
    }

    QDir m_drawings;
    QDir m_output;
    QSvgRenderer m_drawing;
};

// Every image of a picture file (an icon file holds several), as 8-bit ARGB.
std::vector<QImage> imagesOf(const QString &path)
{
    QImageReader reader(path);
    std::vector<QImage> images;
    do {
        QImage image = reader.read();
        if (image.isNull())
            fail(path, reader.errorString());
        images.push_back(image.convertToFormat(QImage::Format_ARGB32));
    } while (reader.jumpToNextImage());
    return images;
}

// Whether every channel of two pixels is within RoundingSteps of the other's.
bool within(QRgb a, QRgb b)
{
    for (const int shift : {0, 8, 16, 24}) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > RoundingSteps)
            return false;
    }
    return true;
}

bool samePictures(const QString &first, const QString &second)
{
    const std::vector<QImage> a = imagesOf(first), b = imagesOf(second);
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size())
            return false;
        for (int y = 0; y < a[i].height(); ++y) {
            const auto *rowA = reinterpret_cast<const QRgb *>(a[i].constScanLine(y));
            const auto *rowB = reinterpret_cast<const QRgb *>(b[i].constScanLine(y));
            if (!std::equal(rowA, rowA + a[i].width(), rowB, within))
                return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && std::strcmp(argv[1], "--same") == 0) {
        try {
            return samePictures(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]))
                ? 0
                : 1;
        } catch (const std::runtime_error &error) {
            std::fprintf(stderr, "kaleno-render-pictures: %s\n", error.what());
            return 2;
        }
    }
    if (argc != 3) {
        std::fprintf(stderr,
            "usage: kaleno-render-pictures <drawings folder> <output folder>\n"
            "       kaleno-render-pictures --same <picture> <picture>\n");
        return 2;
    }
    try {
        Renderer(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2])).renderAll();
    } catch (const std::runtime_error &error) {
        std::fprintf(stderr, "kaleno-render-pictures: %s\n", error.what());
        return 1;
    }
    return 0;
}
