#include "vector_picture.h"

#include <QBrush>
#include <QLinearGradient>
#include <QPainter>
#include <QPen>

#include <cmath>

namespace kaleno {

namespace {

// How far along the tangents a cubic's control points sit for it to follow a quarter circle.
constexpr double QuarterCircleHandle = 0.5522847498307936;

QPointF precise(QPointF point)
{
    return {toVectorPrecision(point.x()), toVectorPrecision(point.y())};
}

QBrush brush(const Paint &paint)
{
    if (!paint.isGradient())
        return paint.colour;
    QLinearGradient gradient(precise(paint.start), precise(paint.end));
    for (const GradientStop &stop : paint.stops)
        gradient.setColorAt(toVectorPrecision(stop.offset), stop.colour);
    return gradient;
}

QPen pen(const Stroke &stroke)
{
    return QPen(stroke.colour, toVectorPrecision(stroke.width), Qt::SolidLine,
        stroke.round ? Qt::RoundCap : Qt::FlatCap, stroke.round ? Qt::RoundJoin : Qt::MiterJoin);
}

} // namespace

double toVectorPrecision(double value)
{
    const double grain = std::pow(10.0, VectorDecimals);
    return std::round(value * grain) / grain;
}

Outline &Outline::moveTo(QPointF point)
{
    m_elements.push_back({Step::Move, {point}});
    m_current = point;
    return *this;
}

Outline &Outline::lineTo(QPointF point)
{
    m_elements.push_back({Step::Line, {point}});
    m_current = point;
    return *this;
}

Outline &Outline::quadTo(QPointF control, QPointF end)
{
    m_elements.push_back({Step::Quad, {control, end}});
    m_current = end;
    return *this;
}

Outline &Outline::cubicTo(QPointF control1, QPointF control2, QPointF end)
{
    m_elements.push_back({Step::Cubic, {control1, control2, end}});
    m_current = end;
    return *this;
}

Outline &Outline::roundCornerTo(QPointF corner, QPointF end)
{
    const QPointF start = m_current;
    return cubicTo(start + QuarterCircleHandle * (corner - start),
        end + QuarterCircleHandle * (corner - end), end);
}

Outline &Outline::close()
{
    m_elements.push_back({Step::Close, {}});
    return *this;
}

QPainterPath painterPath(const Geometry &geometry)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    if (const auto *box = std::get_if<Box>(&geometry)) {
        // By corner and size, as SVG gives a rectangle.
        const QRectF rect(precise(box->rect.topLeft()),
            QSizeF(toVectorPrecision(box->rect.width()), toVectorPrecision(box->rect.height())));
        const double radius = toVectorPrecision(box->radius);
        if (radius > 0.0)
            path.addRoundedRect(rect, radius, radius);
        else
            path.addRect(rect);
    } else if (const auto *ellipse = std::get_if<Ellipse>(&geometry)) {
        path.addEllipse(precise(ellipse->centre), toVectorPrecision(ellipse->radiusX),
            toVectorPrecision(ellipse->radiusY));
    } else {
        for (const Outline::Element &element : std::get<Outline>(geometry).elements()) {
            auto point = [&element](size_t i) { return precise(element.points[i]); };
            switch (element.step) {
            case Outline::Step::Move:
                path.moveTo(point(0));
                break;
            case Outline::Step::Line:
                path.lineTo(point(0));
                break;
            case Outline::Step::Quad:
                path.quadTo(point(0), point(1));
                break;
            case Outline::Step::Cubic:
                path.cubicTo(point(0), point(1), point(2));
                break;
            case Outline::Step::Close:
                path.closeSubpath();
                break;
            }
        }
    }
    return path;
}

QImage renderVectorPicture(const VectorPicture &picture, int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double scale = pixels / picture.size;
    painter.scale(scale, scale);
    for (const Shape &shape : picture.shapes) {
        painter.setBrush(shape.fill ? brush(*shape.fill) : Qt::NoBrush);
        painter.setPen(shape.stroke ? pen(*shape.stroke) : Qt::NoPen);
        painter.drawPath(painterPath(shape.geometry));
    }
    return image;
}

} // namespace kaleno
