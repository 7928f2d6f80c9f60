#pragma once

// The orbits of the About window's animation, as plain arithmetic: no Qt, so that every
// figure can be checked with numbers.

#include "colour.h"

#include <array>
#include <cstdint>

namespace kaleno {

/// One of the three orbits. Angles in radians; a tick steps the angle and resets it to 0 once
/// it passes the reset bound.
struct Orbit
{
    double loadAngle; ///< the angle the window's load gives it
    double step; ///< added at every tick
    double resetBound; ///< below it (negative step) or above it (positive step) the angle becomes 0
    double hiddenFrom, hiddenTo; ///< the picture is hidden while hiddenFrom < angle < hiddenTo
    bool tilted; ///< flat or tilted point formulas
    double c, s; ///< the tilted formulas' rotation constants
    Colour colour; ///< of the segments the orbit draws
};

/// Orbits 1 (yellow, flat), 2 (red, tilted) and 3 (green, tilted), in tick order.
extern const std::array<Orbit, 3> Orbits;

/// A point of an orbit in the drawing area's scale units, as the tick stores it.
struct OrbitPoint
{
    std::int16_t x = 0;
    std::int16_t y = 0;
    friend bool operator==(const OrbitPoint &, const OrbitPoint &) = default;
};

/// Half of a scale size: rounded to a 16-bit integer, an exact half to the even neighbour.
/// RuntimeError 6 when it does not fit.
std::int16_t halfSize(double scaleSize);

/// The angle after one tick: stepped, and reset to 0 past the reset bound (the bound itself
/// is not past it).
double nextAngle(const Orbit &orbit, double angle);

/// True while the orbit's picture is hidden at angle `a`: strictly inside the hidden arc.
bool isHidden(const Orbit &orbit, double a);

/// The orbit's point at angle `a` for the half sizes w and h, each coordinate the Int (floor)
/// of its formula in double precision. RuntimeError 6 when a coordinate leaves 16 bits.
OrbitPoint orbitPoint(const Orbit &orbit, double a, int w, int h);

/// What one tick does with one orbit, given its angle before the tick.
struct OrbitTick
{
    double angle; ///< after the step and the reset
    OrbitPoint point; ///< where the picture goes: its new top-left corner
    OrbitPoint trail; ///< the point one step back: the segment runs from here to `point`
    bool visible; ///< shown, and the segment drawn; hidden, and nothing drawn
};

/// The tick's work on one orbit, computed in the tick's order: the angle, then the point, then
/// the trail point. A RuntimeError leaves the angle already stepped in `angle`.
OrbitTick tickOrbit(const Orbit &orbit, double &angle, int w, int h);

} // namespace kaleno
