#include "orbit.h"

#include "conversions.h"

#include <cmath>

namespace kaleno {

const std::array<Orbit, 3> Orbits = {{
    {0.5, -0.2, -6.25, -2.2, -0.8, false, 0.0, 0.0, colourFromRgb(255, 255, 0)},
    {0.2, -0.3, -6.25, -2.4, -1.1, true, 0.707, -0.707, colourFromRgb(255, 0, 0)},
    {0.35, 0.25, 6.25, 0.6, 2.3, true, 0.0, 1.0, colourFromRgb(0, 255, 0)},
}};

std::int16_t halfSize(double scaleSize)
{
    return toInt16(scaleSize / 2);
}

double nextAngle(const Orbit &orbit, double angle)
{
    const double stepped = angle + orbit.step;
    const bool past = orbit.step < 0 ? stepped < orbit.resetBound : stepped > orbit.resetBound;
    return past ? 0.0 : stepped;
}

bool isHidden(const Orbit &orbit, double a)
{
    return orbit.hiddenFrom < a && a < orbit.hiddenTo;
}

OrbitPoint orbitPoint(const Orbit &orbit, double a, int w, int h)
{
    const double width = w, height = h;
    const double halfHeight = height / 2;
    double x, y;
    if (!orbit.tilted) {
        x = (width * 0.9) * std::cos(a) + width * 0.95;
        y = halfHeight * std::sin(a) + height * 0.95;
    } else {
        // Both coordinates are centred on w × 0.95, and the vertical one swings by w × 0.9.
        x = (width * 0.95 + (width * orbit.c) * std::cos(a)) - (halfHeight * orbit.s) * std::sin(a);
        y = (width * 0.95 + ((width * 0.9) * orbit.s) * std::cos(a))
            + (halfHeight * orbit.c) * std::sin(a);
    }
    return {toInt16(intFloor(x)), toInt16(intFloor(y))};
}

OrbitTick tickOrbit(const Orbit &orbit, double &angle, int w, int h)
{
    angle = nextAngle(orbit, angle);
    OrbitTick tick;
    tick.angle = angle;
    tick.point = orbitPoint(orbit, angle, w, h);
    tick.trail = orbitPoint(orbit, angle - orbit.step, w, h);
    tick.visible = !isHidden(orbit, angle);
    return tick;
}

} // namespace kaleno
