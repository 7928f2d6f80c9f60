#pragma once

#include "colour.h"

#include <QColor>
#include <QFont>
#include <QPalette>

class QWidget;

namespace kaleno {

/// A 0x00BBGGRR colour as Qt takes it.
inline QColor toQColor(Colour colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
        static_cast<int>((colour >> 16) & 0xFF));
}

/// Colours of the desktop's scheme, named by their role.
enum class SystemColour { ButtonFace, ButtonShadow, Desktop };

/// The palette role that stands for the system colour. The desktop background has no role of
/// its own in Qt's palettes; it takes the palette's mid tone, which the texts drawn over it
/// (button text) stay readable on.
QPalette::ColorRole paletteRole(SystemColour colour);

/// The colour the current palette gives the role.
QColor systemColour(SystemColour role);

/// The luminance of `colour` relative to white, from 0 (black) to 1 (white), as WCAG 2 takes
/// it to measure contrast.
double relativeLuminance(const QColor &colour);

/// The designs' font, MS Sans Serif at `points`, or the closest face the desktop has.
QFont designFont(double points);

/// Paints the background of `widget` in `colour`, opaque: its Window and Base roles take the
/// colour, and Window becomes its background role.
void setBackColour(QWidget *widget, const QColor &colour);

/// A text box's back colour: the base colour that its text is written on, its text kept
/// readable on it (keepTextReadable()).
void setTextBoxBackColour(QWidget *textBox, const QColor &colour);

/// The colour of text on a light background `back` fixed by value: the scheme's `text` where
/// their contrast ratio (from relative luminance, WCAG 2) is at least 4.5 to 1, black otherwise.
QColor readableText(const QColor &back, const QColor &text);

/// For a widget whose background the design fixes by value, already in its window: its texts
/// (roles Text and WindowText) take readableText() of the application palette's on the colour
/// of its background role, now and again whenever the application's palette changes. Call it
/// again after each change of its background.
void keepTextReadable(QWidget *widget);

} // namespace kaleno
