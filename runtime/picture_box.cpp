#include "picture_box.h"

#include "twips.h"
#include "ui_style.h"

#include <QPainter>

#include <utility>

namespace kaleno {

QImage pictureForRatio(const QImage &render, qreal ratio)
{
    QImage picture = render;
    const QSize device = (render.deviceIndependentSize() * ratio).toSize();
    if (render.size() != device) {
        // In 32 bits: Qt 6.4 crashes scaling a paletted image smoothly when its pixel ratio is
        // not 1.
        const QImage::Format format
            = render.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
        picture = render.convertToFormat(format).scaled(
            device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

namespace {

// The sunken edge, two logical pixels wide: an outer ring dark above and left and light below
// and right, an inner ring in shadow and midlight. Each colour fills a rectangle over the ones
// before it, opaque over the window colour: the edge covers every device pixel at any scale,
// as a widget that paints itself whole must, whatever the scheme's colours.
void drawSunkenEdge(QPainter &painter, const QRect &edge, const QPalette &palette)
{
    const std::pair<QRect, QPalette::ColorRole> layers[] = {
        {edge, QPalette::Window},
        {edge, QPalette::Light},
        {edge.adjusted(0, 0, -1, -1), QPalette::Dark},
        {edge.adjusted(1, 1, -1, -1), QPalette::Midlight},
        {edge.adjusted(1, 1, -2, -2), QPalette::Shadow},
    };
    for (const auto &[area, role] : layers)
        painter.fillRect(area, palette.color(role));
}

} // namespace

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBackColour(Colour colour)
{
    m_back = toQColor(colour);
    m_canvas = QImage();
    update();
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    m_canvas = QImage();
    update();
}

void PictureBox::setSunkenBorder(bool sunken)
{
    m_sunken = sunken;
    m_canvas = QImage();
    update();
}

double PictureBox::scaleWidth() const
{
    return drawingArea().width() * TwipsPerPixel;
}

double PictureBox::scaleHeight() const
{
    return drawingArea().height() * TwipsPerPixel;
}

void PictureBox::line(double x1, double y1, double x2, double y2, Colour colour)
{
    ensureCanvas();
    QPainter painter(&m_canvas);
    // One logical pixel wide, so that it keeps its weight on denser screens; not smoothed, and
    // its end point included.
    painter.setPen(QPen(toQColor(colour), 1.0));
    const QPointF from(x1 / TwipsPerPixel, y1 / TwipsPerPixel);
    const QPointF to(x2 / TwipsPerPixel, y2 / TwipsPerPixel);
    painter.drawLine(from, to);
    painter.drawPoint(to);
    const QRect touched = QRectF(from, to).normalized().toAlignedRect().adjusted(-1, -1, 2, 2);
    update(touched.translated(drawingArea().topLeft()));
}

void PictureBox::moveChild(QWidget *child, double left, double top) const
{
    child->move(drawingArea().topLeft() + twipsPoint(left, top));
}

QRect PictureBox::drawingArea() const
{
    const int border = borderWidth();
    return rect().adjusted(border, border, -border, -border);
}

void PictureBox::ensureCanvas()
{
    const qreal ratio = devicePixelRatioF();
    const QSize size = drawingArea().size();
    if (!m_canvas.isNull() && m_canvas.devicePixelRatio() == ratio
        && m_canvas.deviceIndependentSize() == QSizeF(size))
        return;
    QImage canvas(size * ratio, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(ratio);
    canvas.fill(m_back);
    QPainter painter(&canvas);
    if (!m_canvas.isNull())
        painter.drawImage(0, 0, m_canvas); // a new size or density keeps what was drawn
    else if (!m_picture.isNull())
        painter.drawImage(0, 0, pictureForRatio(m_picture, ratio)); // natural size
    m_canvas = canvas;
}

void PictureBox::paintEvent(QPaintEvent *)
{
    ensureCanvas();
    QPainter painter(this);
    if (m_sunken)
        drawSunkenEdge(painter, rect(), palette());
    painter.drawImage(drawingArea().topLeft(), m_canvas);
}

void PictureBox::resizeEvent(QResizeEvent *)
{
    ensureCanvas();
}

} // namespace kaleno
