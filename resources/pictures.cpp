#include "pictures.h"

#include <QColor>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace kaleno {

namespace {

// Our own generator, so that the stars and the grain land in the same places on every machine
// and every library version.
class Scatter
{
public:
    explicit Scatter(std::uint32_t seed) : m_state(seed) { }

    // Uniform in [0, 1).
    double next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return static_cast<double>(m_state) / 4294967296.0;
    }
    double between(double low, double high) { return low + (high - low) * next(); }

private:
    std::uint32_t m_state;
};

// The digits are drawn as strokes rather than set in a font, so that the tile does not change
// with the fonts installed. The strokes of each fit a box 0.6 wide and 1 high.
QPainterPath digitStrokes(int digit)
{
    QPainterPath path;
    switch (digit) {
    case 1:
        path.moveTo(0.10, 0.24);
        path.lineTo(0.36, 0.0);
        path.lineTo(0.36, 1.0);
        path.moveTo(0.12, 1.0);
        path.lineTo(0.58, 1.0);
        break;
    case 3:
        path.arcMoveTo(QRectF(0.06, 0.0, 0.48, 0.48), 150);
        path.arcTo(QRectF(0.06, 0.0, 0.48, 0.48), 150, -240);
        path.moveTo(0.18, 0.48);
        path.arcTo(QRectF(0.02, 0.48, 0.56, 0.52), 90, -240);
        break;
    case 5:
        path.moveTo(0.56, 0.0);
        path.lineTo(0.10, 0.0);
        path.lineTo(0.08, 0.46);
        path.arcTo(QRectF(0.04, 0.36, 0.54, 0.64), 130, -265);
        break;
    case 9:
        path.addEllipse(QRectF(0.04, 0.0, 0.52, 0.56));
        path.moveTo(0.56, 0.28);
        path.cubicTo(0.58, 0.70, 0.46, 1.0, 0.08, 0.96);
        break;
    default:
        break;
    }
    return path;
}

void drawDigit(QPainter &painter, int digit, QPointF centre, double height, const QPen &pen)
{
    QTransform place;
    place.translate(centre.x() - 0.3 * height, centre.y() - 0.5 * height);
    place.scale(height, height);
    painter.strokePath(place.map(digitStrokes(digit)), pen);
}

} // namespace

QImage drawSuccessTile()
{
    constexpr int Size = 70;
    const QRectF tile(1.0, 1.0, 68.0, 68.0);
    constexpr double CornerRadius = 11.0;
    QPainterPath tileShape;
    tileShape.addRoundedRect(tile, CornerRadius, CornerRadius);

    // The wood is painted on its own layer and clipped by composition rather than by a clip
    // path: raster clip paths have hard edges, the composited tile keeps a smooth one.
    QImage wood(Size, Size, QImage::Format_ARGB32_Premultiplied);
    wood.fill(Qt::transparent);
    {
        QPainter painter(&wood);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient base(tile.topLeft(), tile.bottomRight());
        base.setColorAt(0.0, QColor(226, 168, 98));
        base.setColorAt(0.5, QColor(206, 142, 72));
        base.setColorAt(1.0, QColor(176, 110, 50));
        painter.fillPath(tileShape, base);

        painter.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        Scatter scatter(1989);
        // The grain lines lie a random 3 to 5.5 pixels apart.
        double y = -2.0;
        while (y < Size + 4.0) {
            QPainterPath grain;
            grain.moveTo(-2.0, y);
            grain.cubicTo(20.0, y + scatter.between(-3.0, 3.0), 46.0,
                y + scatter.between(-3.0, 3.0), Size + 2.0, y + scatter.between(-4.0, 4.0));
            const int alpha = static_cast<int>(scatter.between(45.0, 110.0));
            painter.strokePath(grain, QPen(QColor(120, 66, 26, alpha), scatter.between(0.6, 1.4)));
            y += scatter.between(3.0, 5.5);
        }
        // Light from the top left: a bright rim there, a dark one opposite.
        QLinearGradient rim(tile.topLeft(), tile.bottomRight());
        rim.setColorAt(0.0, QColor(255, 230, 180, 200));
        rim.setColorAt(0.5, QColor(255, 230, 180, 0));
        rim.setColorAt(0.55, QColor(70, 35, 10, 0));
        rim.setColorAt(1.0, QColor(70, 35, 10, 220));
        QPainterPath inner;
        inner.addRoundedRect(
            tile.adjusted(1.2, 1.2, -1.2, -1.2), CornerRadius - 1.2, CornerRadius - 1.2);
        painter.strokePath(inner, QPen(QBrush(rim), 2.0));
        painter.strokePath(tileShape, QPen(QColor(84, 44, 14), 1.2));
    }

    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.drawImage(0, 0, wood);
    painter.setRenderHint(QPainter::Antialiasing);

    // Grooves cut into the wood: a dark line with a lit edge right or below it. The lines sit
    // on whole pixels so that they stay sharp at this size.
    const std::array<double, 2> cuts {24.0, 46.0};
    constexpr double GrooveStart = 5.0;
    constexpr double GrooveEnd = 65.0;
    const QPen light(QColor(250, 214, 160, 170), 1.0, Qt::SolidLine, Qt::FlatCap);
    const QPen dark(QColor(74, 38, 12), 2.0, Qt::SolidLine, Qt::RoundCap);
    for (double cut : cuts) {
        painter.setPen(light);
        painter.drawLine(QPointF(cut + 1.5, GrooveStart), QPointF(cut + 1.5, GrooveEnd));
        painter.drawLine(QPointF(GrooveStart, cut + 1.5), QPointF(GrooveEnd, cut + 1.5));
    }
    for (double cut : cuts) {
        painter.setPen(dark);
        painter.drawLine(QPointF(cut, GrooveStart), QPointF(cut, GrooveEnd));
        painter.drawLine(QPointF(GrooveStart, cut), QPointF(GrooveEnd, cut));
    }

    const std::array<double, 3> centres {12.5, 35.0, 57.5};
    const QPen ink(QColor(52, 24, 6), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    constexpr double DigitHeight = 12.0;
    drawDigit(painter, 1, QPointF(centres[0], centres[0]), DigitHeight, ink);
    drawDigit(painter, 3, QPointF(centres[2], centres[0]), DigitHeight, ink);
    drawDigit(painter, 5, QPointF(centres[0], centres[2]), DigitHeight, ink);
    drawDigit(painter, 9, QPointF(centres[2], centres[2]), DigitHeight, ink);

    // The face: eyes in the middle row looking slightly inwards, the mouth in the bottom row.
    for (double x : {centres[0], centres[2]}) {
        const QPointF eye(x, centres[1]);
        painter.setPen(QPen(QColor(52, 24, 6), 1.4));
        painter.setBrush(Qt::white);
        painter.drawEllipse(eye, 4.6, 6.2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(40, 20, 6));
        painter.drawEllipse(eye + QPointF(x < 35.0 ? 1.3 : -1.3, 0.8), 2.0, 2.6);
    }
    QPainterPath mouth;
    mouth.moveTo(centres[1] - 6.0, centres[2] - 1.5);
    mouth.quadTo(centres[1], centres[2] + 3.0, centres[1] + 6.0, centres[2] - 1.5);
    painter.strokePath(mouth, QPen(QColor(52, 24, 6), 2.6, Qt::SolidLine, Qt::RoundCap));
    return image;
}

QImage drawSpaceScene()
{
    constexpr int Size = 250;
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(QPointF(0.0, 0.0), QPointF(0.35 * Size, Size));
    sky.setColorAt(0.0, QColor(8, 14, 46));
    sky.setColorAt(0.55, QColor(22, 16, 66));
    sky.setColorAt(1.0, QColor(44, 16, 78));
    painter.fillRect(image.rect(), sky);

    auto haze = [&painter](QPointF centre, double radius, QColor colour) {
        QRadialGradient glow(centre, radius);
        glow.setColorAt(0.0, colour);
        colour.setAlpha(0);
        glow.setColorAt(1.0, colour);
        painter.fillRect(
            QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), glow);
    };
    haze(QPointF(45.0, 200.0), 120.0, QColor(112, 40, 150, 80));
    haze(QPointF(210.0, 35.0), 110.0, QColor(36, 70, 160, 70));
    haze(QPointF(220.0, 220.0), 70.0, QColor(120, 36, 130, 50));

    Scatter scatter(2024);
    painter.setPen(Qt::NoPen);
    for (int star = 0; star < 220; ++star) {
        const QPointF at(scatter.between(0.0, Size), scatter.between(0.0, Size));
        const double shine = scatter.next();
        // Negative tints lean blue, positive ones warm.
        const int tint = static_cast<int>(scatter.between(-30.0, 30.0));
        QColor colour(240 + std::min(tint, 0), 228, 240 - std::max(tint, 0));
        if (shine < 0.80) {
            colour.setAlpha(static_cast<int>(70 + 120 * shine));
            painter.fillRect(QRectF(std::floor(at.x()), std::floor(at.y()), 1.0, 1.0), colour);
        } else if (shine < 0.96) {
            painter.setBrush(colour);
            painter.drawEllipse(at, 0.9, 0.9);
        } else {
            // The brightest ones sparkle: a soft halo and a thin cross.
            haze(at, 5.0, QColor(200, 210, 255, 110));
            painter.setBrush(Qt::white);
            painter.drawEllipse(at, 1.1, 1.1);
            painter.setPen(QPen(QColor(230, 235, 255, 150), 0.6));
            painter.drawLine(at - QPointF(4.0, 0.0), at + QPointF(4.0, 0.0));
            painter.drawLine(at - QPointF(0.0, 4.0), at + QPointF(0.0, 4.0));
            painter.setPen(Qt::NoPen);
        }
    }

    // Big and a little above-left of the middle: the About window's squares run on ellipses
    // around this point and are hidden on the arcs that this disc covers.
    const QPointF centre(121.0, 121.0);
    constexpr double Radius = 88.0;

    struct Orbit
    {
        double rx;
        double ry;
        double tiltDegrees;
        int dots;
    };
    const std::array<Orbit, 2> orbits {{
        {116.0, 30.0, -16.0, 120},
        {108.0, 44.0, 28.0, 112},
    }};
    // An orbit's half above its long axis passes behind the planet, the other half in front.
    auto drawOrbits = [&](bool front) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(236, 64, 52));
        for (const Orbit &orbit : orbits) {
            const double tilt = orbit.tiltDegrees * std::numbers::pi / 180.0;
            for (int dot = 0; dot < orbit.dots; ++dot) {
                const double t = 2.0 * std::numbers::pi * dot / orbit.dots;
                const double x = orbit.rx * std::cos(t);
                const double y = orbit.ry * std::sin(t);
                if ((y > 0.0) != front)
                    continue;
                const QPointF at(centre.x() + x * std::cos(tilt) - y * std::sin(tilt),
                    centre.y() + x * std::sin(tilt) + y * std::cos(tilt));
                painter.drawEllipse(at, 1.25, 1.25);
            }
        }
    };
    drawOrbits(false);

    {
        QRadialGradient atmosphere(centre, Radius + 9.0);
        atmosphere.setColorAt(Radius / (Radius + 9.0) - 0.02, QColor(160, 214, 80, 90));
        atmosphere.setColorAt(1.0, QColor(160, 214, 80, 0));
        painter.setBrush(atmosphere);
        painter.drawEllipse(centre, Radius + 9.0, Radius + 9.0);
    }
    // Kept to middle tones, so that the yellow and green trails drawn over it still show.
    QRadialGradient body(centre, Radius, centre + QPointF(-0.4 * Radius, -0.45 * Radius));
    body.setColorAt(0.0, QColor(204, 218, 92));
    body.setColorAt(0.3, QColor(158, 184, 50));
    body.setColorAt(0.7, QColor(98, 126, 30));
    body.setColorAt(1.0, QColor(40, 60, 16));
    painter.setBrush(body);
    painter.drawEllipse(centre, Radius, Radius);
    // The night side, lower right, where the orbits pass in front.
    QLinearGradient night(centre + QPointF(-0.2 * Radius, -0.2 * Radius),
        centre + QPointF(0.75 * Radius, 0.75 * Radius));
    night.setColorAt(0.0, QColor(12, 10, 40, 0));
    night.setColorAt(1.0, QColor(12, 10, 40, 190));
    painter.setBrush(night);
    painter.drawEllipse(centre, Radius, Radius);

    // The network: points spread evenly over the sphere (a Fibonacci spiral), each joined to its
    // near neighbours along great circles, seen tilted so that the lines curve over the globe.
    struct Vector
    {
        double x;
        double y;
        double z;
    };
    constexpr int NodeCount = 64;
    const double golden = std::numbers::pi * (3.0 - std::sqrt(5.0));
    constexpr double TiltX = 0.45;
    constexpr double TurnY = 0.35;
    constexpr double NeighbourAngle = 0.62;
    std::vector<Vector> nodes;
    for (int i = 0; i < NodeCount; ++i) {
        const double y = 1.0 - 2.0 * (i + 0.5) / NodeCount;
        const double ring = std::sqrt(1.0 - y * y);
        const double angle = golden * i;
        const Vector v {ring * std::cos(angle), y, ring * std::sin(angle)};
        const Vector turned {v.x * std::cos(TurnY) + v.z * std::sin(TurnY), v.y,
            -v.x * std::sin(TurnY) + v.z * std::cos(TurnY)};
        nodes.push_back({turned.x, turned.y * std::cos(TiltX) - turned.z * std::sin(TiltX),
            turned.y * std::sin(TiltX) + turned.z * std::cos(TiltX)});
    }
    auto project = [&](const Vector &v) {
        return QPointF(centre.x() + Radius * v.x, centre.y() - Radius * v.y);
    };
    auto dot = [](const Vector &a, const Vector &b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    const double neighbourCosine = std::cos(NeighbourAngle);
    for (size_t a = 0; a < nodes.size(); ++a) {
        for (size_t b = a + 1; b < nodes.size(); ++b) {
            const double cosine = dot(nodes[a], nodes[b]);
            if (cosine < neighbourCosine)
                continue;
            const double angle = std::acos(cosine);
            constexpr int Steps = 10;
            for (int step = 0; step < Steps; ++step) {
                auto along = [&](double f) {
                    const double wa = std::sin((1.0 - f) * angle) / std::sin(angle);
                    const double wb = std::sin(f * angle) / std::sin(angle);
                    return Vector {wa * nodes[a].x + wb * nodes[b].x,
                        wa * nodes[a].y + wb * nodes[b].y, wa * nodes[a].z + wb * nodes[b].z};
                };
                const Vector from = along(static_cast<double>(step) / Steps);
                const Vector to = along(static_cast<double>(step + 1) / Steps);
                const double depth = 0.5 * (from.z + to.z);
                if (depth <= 0.0)
                    continue;
                // Lines fade towards the rim, where the globe turns away.
                const int alpha = static_cast<int>(60 + 150 * std::sqrt(depth));
                painter.setPen(QPen(QColor(36, 62, 8, alpha), 1.1, Qt::SolidLine, Qt::RoundCap));
                painter.drawLine(project(from), project(to));
            }
        }
    }
    painter.setPen(Qt::NoPen);
    for (const Vector &node : nodes) {
        if (node.z <= 0.05)
            continue;
        painter.setBrush(QColor(250, 255, 200, static_cast<int>(90 + 160 * node.z)));
        painter.drawEllipse(project(node), 1.5, 1.5);
    }

    drawOrbits(true);
    return image;
}

QImage drawFolderIcon()
{
    constexpr int Size = 32;
    QImage image(Size, Size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPen outline(QColor(112, 70, 0), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);

    QPainterPath back;
    back.addRoundedRect(QRectF(2.5, 7.5, 27.0, 20.0), 2.0, 2.0);
    QPainterPath tab;
    tab.addRoundedRect(QRectF(2.5, 4.5, 11.0, 6.0), 2.0, 2.0);
    back = back.united(tab);
    painter.setPen(outline);
    painter.setBrush(QColor(232, 170, 24));
    painter.drawPath(back);

    painter.setPen(QPen(QColor(150, 150, 150), 1.0));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(5.5, 9.5, 21.0, 6.0));

    QLinearGradient frontFill(QPointF(0.0, 12.0), QPointF(0.0, 29.0));
    frontFill.setColorAt(0.0, QColor(255, 232, 120));
    frontFill.setColorAt(1.0, QColor(246, 190, 40));
    painter.setPen(outline);
    painter.setBrush(frontFill);
    painter.drawRoundedRect(QRectF(1.5, 12.5, 29.0, 16.0), 2.0, 2.0);

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(240, 70, 70, 200));
    painter.drawEllipse(QPointF(8.0, 23.0), 2.3, 1.5);
    painter.drawEllipse(QPointF(24.0, 23.0), 2.3, 1.5);
    // Eyes and mouth are a few pixels each: set pixel by pixel, since smoothing only blurs them.
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QColor ink(52, 28, 0);
    for (int left : {10, 20}) {
        painter.fillRect(left, 17, 2, 3, ink);
        painter.fillRect(left, 17, 1, 1, Qt::white);
    }
    painter.fillRect(14, 22, 1, 1, ink);
    painter.fillRect(15, 23, 2, 1, ink);
    painter.fillRect(17, 22, 1, 1, ink);
    return image;
}

} // namespace kaleno
