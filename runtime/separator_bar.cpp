#include "separator_bar.h"

#include "ui_style.h"

#include <QPainter>

#include <algorithm>

namespace kaleno {

namespace {

const QColor Silver(192, 192, 192);
// The lightest grey with a contrast of 3 to 1 against the silver, the least that WCAG asks of
// the lines that a drawing needs to be understood.
const QColor DimGrey(105, 105, 105);

// Light schemes have a button shadow lighter than the silver, which would leave the boxes all
// but unmarked; there the outline is dim grey.
QColor outlineColour()
{
    const QColor shadow = systemColour(SystemColour::ButtonShadow);
    return relativeLuminance(shadow) < relativeLuminance(Silver) ? shadow : DimGrey;
}

// `logical` in whole device pixels, each edge on the nearest edge between two of them, as Qt
// clips a widget's painting there.
QRect snappedToDevice(const QRect &logical, const QTransform &toDevice)
{
    const QRectF device = toDevice.mapRect(QRectF(logical));
    return QRect(QPoint(qRound(device.left()), qRound(device.top())),
        QPoint(qRound(device.right()) - 1, qRound(device.bottom()) - 1));
}

} // namespace

SeparatorBar::SeparatorBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SeparatorBar::paintEvent(QPaintEvent *)
{
    // Drawn in whole device pixels: where a logical pixel spans one and a half, its edges
    // would otherwise fall at different places in each outline, and one would come out wider.
    // The outlines take a third of the bar's thickness each, as its 3 pixels at 96 dpi do.
    QPainter painter(this);
    const QRect bar = snappedToDevice(rect(), painter.deviceTransform());
    painter.setTransform(painter.deviceTransform().inverted());
    const int thickness = std::min(bar.width(), bar.height());
    const int outline = std::clamp(qRound(thickness / 3.0), 1, std::max(1, (thickness - 1) / 2));
    painter.fillRect(bar, outlineColour());
    painter.fillRect(bar.adjusted(outline, outline, -outline, -outline), Silver);
}

} // namespace kaleno
