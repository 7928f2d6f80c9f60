#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace kaleno {

/// Coordinates and lengths are rounded to this many decimals both when a vector picture is
/// rasterized and when it is written as SVG text, so that the two describe exactly the same
/// shapes.
constexpr int VectorDecimals = 4;

/// A value rounded to VectorDecimals decimals.
double toVectorPrecision(double value);

/// An open or closed outline of straight lines and Bézier curves.
class Outline
{
public:
    enum class Step { Move, Line, Quad, Cubic, Close };
    struct Element
    {
        Step step;
        std::vector<QPointF> points; ///< control points first, the end point last
    };

    /// Starts a new part of the outline.
    Outline &moveTo(QPointF point);
    Outline &lineTo(QPointF point);
    Outline &quadTo(QPointF control, QPointF end);
    Outline &cubicTo(QPointF control1, QPointF control2, QPointF end);
    /// A quarter circle from the current point to `end`, turning at `corner`, the point where
    /// the two straight lines it rounds off would meet.
    Outline &roundCornerTo(QPointF corner, QPointF end);
    /// Joins the current part's end to its start.
    Outline &close();

    const std::vector<Element> &elements() const { return m_elements; }

private:
    QPointF m_current;
    std::vector<Element> m_elements;
};

/// An axis-aligned rectangle, its corners rounded by `radius` when that is not 0.
struct Box
{
    QRectF rect;
    double radius = 0.0;
};

/// An axis-aligned ellipse.
struct Ellipse
{
    QPointF centre;
    double radiusX = 0.0;
    double radiusY = 0.0;
};

/// What a shape covers: written to SVG as a rect, an ellipse or a path.
using Geometry = std::variant<Box, Ellipse, Outline>;

/// A colour a gradient passes through.
struct GradientStop
{
    double offset; ///< 0 at the gradient's start, 1 at its end
    QColor colour;
};

/// A plain colour, or, with stops, a linear gradient from `start` to `end` that keeps its end
/// colours beyond them.
struct Paint
{
    QColor colour;
    QPointF start;
    QPointF end;
    std::vector<GradientStop> stops;

    bool isGradient() const { return !stops.empty(); }
};

/// A line of one colour along a shape's outline.
struct Stroke
{
    QColor colour;
    double width = 1.0;
    /// Round joins and ends; otherwise mitred joins and ends cut square at the end points. Mitres
    /// are for right angles only: SVG and Qt cut sharper ones off at different lengths.
    bool round = true;
};

/// A geometry with its fill and its line, either of which may be absent.
struct Shape
{
    QString name; ///< unique within the picture; the SVG element's id
    Geometry geometry;
    std::optional<Paint> fill;
    std::optional<Stroke> stroke; ///< drawn over the fill, centred on the outline
};

/// A square picture of shapes painted in order, on a field of `size` × `size` units with y
/// pointing down; what no shape covers is transparent.
struct VectorPicture
{
    double size = 1.0;
    std::vector<Shape> shapes;
};

/// The path Qt draws for a geometry. Outlines fill by the non-zero rule, as in SVG.
QPainterPath painterPath(const Geometry &geometry);

/// Rasterizes the picture, antialiased, into `pixels` × `pixels` premultiplied ARGB.
QImage renderVectorPicture(const VectorPicture &picture, int pixels);

} // namespace kaleno
