#include "frame.h"

#include <QPainter>
#include <qdrawutil.h>

namespace kaleno {

namespace {

// From the frame's left edge to the caption's text, and around the text the stretch where the
// outline gives way to it, in pixels.
constexpr int CaptionIndent = 8;
constexpr int CaptionPadding = 2;

} // namespace

Frame::Frame(const QString &caption, QWidget *parent) : QWidget(parent), m_caption(caption)
{
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(caption);
}

int Frame::outlineTop() const
{
    return m_caption.isEmpty() ? 0 : fontMetrics().height() / 2;
}

void Frame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor back = palette().color(backgroundRole());
    painter.fillRect(rect(), back);
    // Etched: a line of shadow with a line of light below and right of it.
    const QRect outline = rect().adjusted(0, outlineTop(), 0, 0);
    qDrawShadeRect(&painter, outline, palette(), true, 1, 0);
    if (m_caption.isEmpty())
        return;
    const QRect text(
        CaptionIndent, 0, fontMetrics().horizontalAdvance(m_caption), fontMetrics().height());
    painter.fillRect(text.adjusted(-CaptionPadding, 0, CaptionPadding, 0), back);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_caption);
}

} // namespace kaleno
