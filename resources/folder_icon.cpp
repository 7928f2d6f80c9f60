#include "folder_icon.h"

#include <algorithm>
#include <cmath>

namespace kaleno {

namespace {

constexpr double Field = 32.0;

const QColor Edge(112, 70, 0);
const QColor Back(232, 170, 24);
const QColor PaperEdge(150, 150, 150);
const QColor FrontTop(255, 232, 120);
const QColor FrontBottom(246, 190, 40);
const QColor Cheek(240, 70, 70, 200);
const QColor Ink(52, 28, 0);

constexpr double EdgeWidth = 0.75;
constexpr double PaperEdgeWidth = 0.5;
constexpr double MouthWidth = 0.9;

// Where the folder's parts reach, to the outer side of their outlines.
struct Layout
{
    double left; // of the back and its tab
    double right;
    double tabTop;
    double tabRight;
    double backTop;
    double bottom; // of the back, hidden behind the front
    QRectF sheet;
    QRectF front;
    double cornerRadius;
};

// In whole units, so that at 32 pixels every edge of an outline fills whole pixels.
const Layout Drawn {2.0, 30.0, 4.0, 14.0, 7.0, 28.0, QRectF(QPointF(5.0, 9.0), QPointF(27.0, 16.0)),
    QRectF(QPointF(1.0, 12.0), QPointF(31.0, 29.0)), 2.5};

// Halved for 16 pixels, the drawing would put its edges on half pixels and leave the paper no row
// of its own. Here every edge lies on a pixel: the back's top and the paper move up, the paper
// in, and the front out and down, each by half a pixel.
const Layout Small {2.0, 30.0, 4.0, 14.0, 6.0, 28.0, QRectF(QPointF(6.0, 8.0), QPointF(26.0, 16.0)),
    QRectF(QPointF(0.0, 12.0), QPointF(32.0, 30.0)), 2.5};

// Moves edges and line widths onto a raster's pixels; with no raster, leaves them.
class PixelGrid
{
public:
    explicit PixelGrid(int pixels) : m_scale(pixels / Field) { }

    // A whole number of pixels, at least one.
    double length(double units) const
    {
        if (m_scale == 0.0)
            return units;
        return std::max(1.0, std::round(units * m_scale)) / m_scale;
    }
    bool isOnePixel(double units) const { return m_scale != 0.0 && units * m_scale < 1.5; }
    double y(double units) const
    {
        if (m_scale == 0.0)
            return units;
        return std::round(units * m_scale) / m_scale;
    }
    // Rounded by the distance to the middle, so that the two sides of a symmetric shape land on
    // mirrored pixels.
    double x(double units) const
    {
        if (m_scale == 0.0)
            return units;
        const double offset = units - Field / 2.0;
        return Field / 2.0
            + std::copysign(std::round(std::abs(offset) * m_scale), offset) / m_scale;
    }
    QRectF box(const QRectF &units) const
    {
        return QRectF(
            QPointF(x(units.left()), y(units.top())), QPointF(x(units.right()), y(units.bottom())));
    }

private:
    double m_scale;
};

Paint plain(const QColor &colour)
{
    return Paint {colour, {}, {}, {}};
}

// A line centred on an outline reaches half its width beyond it: these take outer extents in.
QRectF inside(const QRectF &outer, double lineWidth)
{
    const double half = lineWidth / 2.0;
    return outer.adjusted(half, half, -half, -half);
}

// The back and its tab are one outline, so that the line between them never shows.
Outline backOutline(double left, double right, double tabTop, double tabRight, double backTop,
    double bottom, double radius)
{
    const double tabRadius = std::min(radius, backTop - tabTop);
    Outline outline;
    outline.moveTo({left, tabTop + radius})
        .roundCornerTo({left, tabTop}, {left + radius, tabTop})
        .lineTo({tabRight - tabRadius, tabTop})
        .roundCornerTo({tabRight, tabTop}, {tabRight, tabTop + tabRadius})
        .lineTo({tabRight, backTop})
        .lineTo({right - radius, backTop})
        .roundCornerTo({right, backTop}, {right, backTop + radius})
        .lineTo({right, bottom - radius})
        .roundCornerTo({right, bottom}, {right - radius, bottom})
        .lineTo({left + radius, bottom})
        .roundCornerTo({left, bottom}, {left, bottom - radius})
        .close();
    return outline;
}

void addBlock(VectorPicture &picture, const QString &name, const QRectF &rect, const QColor &colour)
{
    picture.shapes.push_back({name, Box {rect}, plain(colour), std::nullopt});
}

// No room is left for the eyes' light. The smile's corners are paler than its middle, so that it
// reads as a curve rather than as blocks.
void addSixteenPixelFace(VectorPicture &picture)
{
    QColor paleInk = Ink;
    paleInk.setAlpha(150);
    addBlock(picture, QStringLiteral("left-cheek"), QRectF(6.0, 22.0, 4.0, 2.0), Cheek);
    addBlock(picture, QStringLiteral("right-cheek"), QRectF(22.0, 22.0, 4.0, 2.0), Cheek);
    addBlock(picture, QStringLiteral("left-eye"), QRectF(10.0, 16.0, 2.0, 4.0), Ink);
    addBlock(picture, QStringLiteral("right-eye"), QRectF(20.0, 16.0, 2.0, 4.0), Ink);
    addBlock(picture, QStringLiteral("mouth-left"), QRectF(12.0, 22.0, 2.0, 2.0), paleInk);
    addBlock(picture, QStringLiteral("mouth-middle"), QRectF(14.0, 24.0, 4.0, 2.0), Ink);
    addBlock(picture, QStringLiteral("mouth-right"), QRectF(18.0, 22.0, 2.0, 2.0), paleInk);
}

void addCheeks(VectorPicture &picture)
{
    picture.shapes.push_back({QStringLiteral("left-cheek"), Ellipse {{8.0, 23.0}, 2.3, 1.5},
        plain(Cheek), std::nullopt});
    picture.shapes.push_back({QStringLiteral("right-cheek"), Ellipse {{24.0, 23.0}, 2.3, 1.5},
        plain(Cheek), std::nullopt});
}

// Eyes and mouth are a few pixels each at this size: smoothing would only blur them.
void addThirtyTwoPixelFace(VectorPicture &picture)
{
    addCheeks(picture);
    addBlock(picture, QStringLiteral("left-eye"), QRectF(10.0, 17.0, 2.0, 3.0), Ink);
    addBlock(picture, QStringLiteral("left-eye-light"), QRectF(10.0, 17.0, 1.0, 1.0), Qt::white);
    addBlock(picture, QStringLiteral("right-eye"), QRectF(20.0, 17.0, 2.0, 3.0), Ink);
    addBlock(picture, QStringLiteral("right-eye-light"), QRectF(20.0, 17.0, 1.0, 1.0), Qt::white);
    addBlock(picture, QStringLiteral("mouth-left"), QRectF(14.0, 22.0, 1.0, 1.0), Ink);
    addBlock(picture, QStringLiteral("mouth-middle"), QRectF(15.0, 23.0, 2.0, 1.0), Ink);
    addBlock(picture, QStringLiteral("mouth-right"), QRectF(17.0, 22.0, 1.0, 1.0), Ink);
}

void addFace(VectorPicture &picture, const PixelGrid &grid)
{
    addCheeks(picture);
    for (const bool left : {true, false}) {
        const QString side = left ? QStringLiteral("left") : QStringLiteral("right");
        // Boxes on whole pixels, so that both eyes come out the same shape.
        const QRectF eye = grid.box(QRectF(left ? 9.9 : 19.9, 16.9, 2.2, 3.2));
        picture.shapes.push_back({side + QStringLiteral("-eye"),
            Ellipse {eye.center(), eye.width() / 2.0, eye.height() / 2.0}, plain(Ink),
            std::nullopt});
        // The light comes from the top left, as on the other faces. It keeps at least a pixel
        // clear of the eye's edge, which it would otherwise seem to bite into; a light of one
        // pixel is that whole pixel, since a dot that small would only come out grey.
        const double size = grid.length(0.7);
        const QRectF light(
            eye.left() + grid.length(0.25), eye.top() + grid.length(0.35), size, size);
        const Geometry geometry = grid.isOnePixel(size)
            ? Geometry {Box {light}}
            : Geometry {Ellipse {light.center(), size / 2.0, size / 2.0}};
        picture.shapes.push_back(
            {side + QStringLiteral("-eye-light"), geometry, plain(Qt::white), std::nullopt});
    }
    // The smile's ends and its lowest point go where the line's sides fall on pixel boundaries,
    // which keeps it dark on small rasters. Its lowest point is halfway between the ends' height
    // and the control point's.
    const double width = grid.length(MouthWidth);
    const double half = width / 2.0;
    const double ends = grid.y(22.5 - half) + half;
    const double lowest = grid.y(23.5 - half) + half;
    Outline smile;
    smile.moveTo({grid.x(14.5 - half) + half, ends})
        .quadTo({16.0, 2.0 * lowest - ends}, {grid.x(17.5 + half) - half, ends});
    picture.shapes.push_back({QStringLiteral("mouth"), smile, std::nullopt, Stroke {Ink, width}});
}

} // namespace

VectorPicture folderIconPicture(int pixels)
{
    const PixelGrid grid(pixels);
    const Layout &layout = pixels == 16 ? Small : Drawn;
    const double edge = grid.length(EdgeWidth);
    const double half = edge / 2.0;
    const double radius = layout.cornerRadius - half;

    VectorPicture picture;
    picture.size = Field;
    picture.shapes.push_back({QStringLiteral("back"),
        backOutline(grid.x(layout.left) + half, grid.x(layout.right) - half,
            grid.y(layout.tabTop) + half, grid.x(layout.tabRight) - half,
            grid.y(layout.backTop) + half, grid.y(layout.bottom) - half, radius),
        plain(Back), Stroke {Edge, edge}});

    const double paperEdge = grid.length(PaperEdgeWidth);
    picture.shapes.push_back(
        {QStringLiteral("sheet"), Box {inside(grid.box(layout.sheet), paperEdge)}, plain(Qt::white),
            Stroke {PaperEdge, paperEdge, false}});

    const QRectF front = grid.box(layout.front);
    Paint frontFill {{}, QPointF(0.0, front.top()), QPointF(0.0, front.bottom()),
        {{0.0, FrontTop}, {1.0, FrontBottom}}};
    picture.shapes.push_back({QStringLiteral("front"), Box {inside(front, edge), radius}, frontFill,
        Stroke {Edge, edge}});

    if (pixels == 16)
        addSixteenPixelFace(picture);
    else if (pixels == 32)
        addThirtyTwoPixelFace(picture);
    else
        addFace(picture, grid);
    return picture;
}

} // namespace kaleno
