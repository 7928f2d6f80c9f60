#include "ui_style.h"

#include <QGuiApplication>
#include <QPalette>
#include <QWidget>

namespace kaleno {

QPalette::ColorRole paletteRole(SystemColour colour)
{
    switch (colour) {
    case SystemColour::ButtonFace:
        return QPalette::Button;
    case SystemColour::ButtonText:
        return QPalette::ButtonText;
    case SystemColour::ButtonShadow:
        return QPalette::Dark;
    case SystemColour::WindowBackground:
        return QPalette::Base;
    case SystemColour::WindowText:
        return QPalette::Text;
    case SystemColour::Desktop:
        return QPalette::Mid;
    }
    return QPalette::Window;
}

QColor systemColour(SystemColour role)
{
    return QGuiApplication::palette().color(paletteRole(role));
}

QFont designFont(double points)
{
    // MS Sans Serif is a narrow face; the fonts below come closest, in that order.
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
            {QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Liberation Sans"),
                QStringLiteral("Arimo"), QStringLiteral("Arial"), QStringLiteral("Helvetica"),
                QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans")});
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    return font;
}

void setBackColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    palette.setColor(QPalette::Base, colour);
    widget->setPalette(palette);
    widget->setBackgroundRole(QPalette::Window);
    widget->setAutoFillBackground(true);
}

} // namespace kaleno
