#include "separator_bar.h"

#include "ui_style.h"

#include <QPainter>

namespace kaleno {

SeparatorBar::SeparatorBar(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void SeparatorBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), toQColor(0xC0C0C0)); // silver
    painter.setPen(systemColour(SystemColour::ButtonShadow));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace kaleno
