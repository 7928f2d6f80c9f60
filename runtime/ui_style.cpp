#include "ui_style.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace kaleno {

namespace {

// WCAG's least contrast for text of ordinary size (level AA).
constexpr double LeastTextContrast = 4.5;

// From 1, for the same luminance, to 21, black against white.
double contrastRatio(const QColor &a, const QColor &b)
{
    const auto [darker, lighter] = std::minmax({relativeLuminance(a), relativeLuminance(b)});
    return (lighter + 0.05) / (darker + 0.05);
}

// Marks the widgets whose texts keepTextReadable() looks after.
constexpr char FixedBackProperty[] = "kaleno_fixed_back";

void applyReadableText(QWidget *widget)
{
    const QColor back = widget->palette().color(widget->backgroundRole());
    const QPalette scheme = QApplication::palette(widget);
    QPalette palette = widget->palette();
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(role, readableText(back, scheme.color(role)));
    widget->setPalette(palette);
}

// Qt tells each window when the application's palette changes, but a child only when its own
// palette changes with it, which it does not where the child sets every role that changed.
// One watcher per window sets the texts of its marked widgets again.
class ReadableTextWatcher : public QObject
{
public:
    static inline const QString Name = QStringLiteral("kaleno_readable_text");

    explicit ReadableTextWatcher(QWidget *window) : QObject(window)
    {
        setObjectName(Name);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::ApplicationPaletteChange) {
            for (QWidget *widget : watched->findChildren<QWidget *>())
                if (widget->property(FixedBackProperty).toBool())
                    applyReadableText(widget);
        }
        return false;
    }
};

} // namespace

QPalette::ColorRole paletteRole(SystemColour colour)
{
    switch (colour) {
    case SystemColour::ButtonFace:
        return QPalette::Button;
    case SystemColour::ButtonShadow:
        return QPalette::Dark;
    case SystemColour::Desktop:
        return QPalette::Mid;
    }
    return QPalette::Window;
}

QColor systemColour(SystemColour role)
{
    return QGuiApplication::palette().color(paletteRole(role));
}

double relativeLuminance(const QColor &colour)
{
    auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

QFont designFont(double points)
{
    // MS Sans Serif is a narrow face; the fonts below come closest, in that order. The Debian
    // package brings Liberation Sans.
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

void setTextBoxBackColour(QWidget *textBox, const QColor &colour)
{
    QPalette palette = textBox->palette();
    palette.setColor(QPalette::Base, colour);
    textBox->setPalette(palette);
    keepTextReadable(textBox);
}

QColor readableText(const QColor &back, const QColor &text)
{
    return contrastRatio(back, text) >= LeastTextContrast ? text : QColor(Qt::black);
}

void keepTextReadable(QWidget *widget)
{
    widget->setProperty(FixedBackProperty, true);
    QWidget *window = widget->window();
    if (!window->findChild<QObject *>(ReadableTextWatcher::Name, Qt::FindDirectChildrenOnly))
        new ReadableTextWatcher(window);
    applyReadableText(widget);
}

} // namespace kaleno
