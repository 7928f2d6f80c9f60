#pragma once

#include "colour.h"

#include <QImage>
#include <QWidget>

namespace kaleno {

/// `render`, a picture at any density, for a screen of `ratio` device pixels to a logical one:
/// of the same logical size, its device pixels smoothly scaled to those it covers there, so that
/// a painter copies it pixel for pixel. A render of that density comes back as it is.
QImage pictureForRatio(const QImage &render, qreal ratio);

/// A picture box: an opaque background colour, an optional picture shown at natural size from
/// the top-left corner of its drawing area, an optional sunken 3-D border, and lines drawn on
/// it. Lines go into an image that backs the drawing area, so they stay through any repaint
/// and are never erased.
///
/// The drawing area's scale is in twips, origin at its top-left corner; child controls are
/// placed in that scale too.
class PictureBox : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    void setBackColour(Colour colour);
    void setPicture(const QImage &picture);
    void setSunkenBorder(bool sunken);

    /// The drawing area's inner size, in twips.
    double scaleWidth() const;
    double scaleHeight() const;

    /// A straight line from (x1, y1) to (x2, y2), in twips, in `colour`, both ends included.
    void line(double x1, double y1, double x2, double y2, Colour colour);

    /// Moves a child control so that its top-left corner lies at (left, top) of the drawing
    /// area, in twips; its size stays.
    void moveChild(QWidget *child, double left, double top) const;

    /// Width of the border on each side, in logical pixels.
    int borderWidth() const { return m_sunken ? 2 : 0; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect drawingArea() const;
    void ensureCanvas();

    QColor m_back = Qt::black;
    QImage m_picture;
    bool m_sunken = false;
    QImage m_canvas; // background, picture and every line drawn, at the screen's pixel density
};

} // namespace kaleno
