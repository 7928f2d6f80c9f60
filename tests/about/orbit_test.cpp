#include "errors.h"
#include "orbit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace kaleno {
namespace {

using testing::runtimeErrorOf;

constexpr int Half = 1875; // half of the 3750-twip drawing area

TEST(OrbitTick, FirstTickAfterLoadDrawsTheKnownSegments)
{
    struct Expected
    {
        OrbitPoint trail, point;
    };
    const Expected expected[]
        = {{{3262, 2230}, {3393, 2058}}, {{3212, 743}, {3034, 527}}, {{1459, 3366}, {1251, 3174}}};
    for (std::size_t i = 0; i < Orbits.size(); ++i) {
        double angle = Orbits[i].loadAngle;
        const OrbitTick tick = tickOrbit(Orbits[i], angle, Half, Half);
        EXPECT_TRUE(tick.visible) << "orbit " << i + 1;
        EXPECT_EQ(tick.trail, expected[i].trail) << "orbit " << i + 1;
        EXPECT_EQ(tick.point, expected[i].point) << "orbit " << i + 1;
        // The trail point lies exactly at the load angle.
        EXPECT_EQ(tick.trail, orbitPoint(Orbits[i], Orbits[i].loadAngle, Half, Half));
    }
}

TEST(OrbitTick, FirstAnglesAreTheLoadValuesStepped)
{
    EXPECT_EQ(nextAngle(Orbits[0], 0.5), 0.5 - 0.2);
    const double second = nextAngle(Orbits[1], 0.2);
    EXPECT_GT(second, -0.1); // 0.2 - 0.3 falls just above -0.1
    EXPECT_LT(second, -0.0999999);
    EXPECT_EQ(nextAngle(Orbits[2], 0.35), 0.6); // exactly the bound of the hidden arc
}

// Ticks 1.. after load at which each orbit hides its square and resets its angle.
struct Course
{
    std::vector<int> hidden;
    std::vector<int> resets;
};

Course followFromLoad(const Orbit &orbit, int ticks)
{
    Course course;
    double angle = orbit.loadAngle;
    for (int tick = 1; tick <= ticks; ++tick) {
        const double stepped = angle + orbit.step;
        angle = nextAngle(orbit, angle);
        if (angle != stepped)
            course.resets.push_back(tick);
        if (isHidden(orbit, angle))
            course.hidden.push_back(tick);
    }
    return course;
}

std::vector<int> range(int first, int last)
{
    std::vector<int> values;
    for (int v = first; v <= last; ++v)
        values.push_back(v);
    return values;
}

TEST(OrbitTick, HidesAndResetsOnTheKnownTicksAfterLoad)
{
    const Course orbit1 = followFromLoad(Orbits[0], 34);
    EXPECT_EQ(orbit1.hidden, range(7, 13));
    EXPECT_EQ(orbit1.resets, std::vector<int> {34});

    const Course orbit2 = followFromLoad(Orbits[1], 22);
    EXPECT_EQ(orbit2.hidden, range(5, 8));
    EXPECT_EQ(orbit2.resets, std::vector<int> {22});

    const Course orbit3 = followFromLoad(Orbits[2], 24);
    EXPECT_EQ(orbit3.hidden, range(2, 7)); // shown at 0.6 on tick 1 and at 2.35 on tick 8
    EXPECT_EQ(orbit3.resets, std::vector<int> {24});
}

TEST(OrbitTick, RepeatsAFixedCycleAfterEachReset)
{
    // Orbit 1: -0.8 exactly on the fourth tick after a reset, shown; hidden on the next seven.
    double angle = 0.0;
    std::vector<int> hidden;
    for (int tick = 1; tick <= 32; ++tick) {
        angle = nextAngle(Orbits[0], angle);
        if (tick == 4) {
            EXPECT_EQ(angle, -0.8);
        }
        if (isHidden(Orbits[0], angle))
            hidden.push_back(tick);
    }
    EXPECT_EQ(hidden, range(5, 11));
    EXPECT_EQ(angle, 0.0); // the 32nd tick resets

    // Orbit 2: hidden at -1.2, -1.5, -1.8, -2.1; exactly -2.4 and shown on the eighth tick.
    angle = 0.0;
    hidden.clear();
    for (int tick = 1; tick <= 21; ++tick) {
        angle = nextAngle(Orbits[1], angle);
        if (tick == 8) {
            EXPECT_EQ(angle, -2.4);
        }
        if (isHidden(Orbits[1], angle))
            hidden.push_back(tick);
    }
    EXPECT_EQ(hidden, range(4, 7));
    EXPECT_EQ(angle, 0.0);

    // Orbit 3: exactly 6.25 on the 25th tick, kept; the next tick's 6.5 resets it.
    angle = 0.0;
    for (int tick = 1; tick <= 25; ++tick)
        angle = nextAngle(Orbits[2], angle);
    EXPECT_EQ(angle, 6.25);
    EXPECT_EQ(nextAngle(Orbits[2], angle), 0.0);
}

TEST(OrbitTick, AResetTickDrawsFromOneStepBeforeZero)
{
    const double beforeReset[] = {-6.2, -6.0, 6.25};
    for (std::size_t i = 0; i < Orbits.size(); ++i) {
        double angle = beforeReset[i];
        const OrbitTick tick = tickOrbit(Orbits[i], angle, Half, Half);
        EXPECT_EQ(tick.angle, 0.0);
        EXPECT_EQ(tick.point, orbitPoint(Orbits[i], 0.0, Half, Half));
        EXPECT_EQ(tick.trail, orbitPoint(Orbits[i], -Orbits[i].step, Half, Half));
    }
}

TEST(OrbitArithmetic, HalvesSizesHalfToEven)
{
    EXPECT_EQ(halfSize(3750), 1875);
    EXPECT_EQ(halfSize(3765), 1882);
    EXPECT_EQ(halfSize(3775), 1888);
    EXPECT_EQ(runtimeErrorOf([] { halfSize(65536); }), 6);
}

TEST(OrbitArithmetic, IntRoundsDownBelowZero)
{
    // Orbit 3 at a quarter turn with w = 0 and h = 1: x = -(1 / 2) × 1 = -0.5, which Int makes -1.
    EXPECT_EQ(orbitPoint(Orbits[2], std::numbers::pi / 2, 0, 1).x, -1);
    EXPECT_EQ(orbitPoint(Orbits[1], -std::numbers::pi / 2, 0, 2).x, -1);
}

TEST(OrbitArithmetic, CoordinatesBeyondSixteenBitsFailWithOverflow)
{
    EXPECT_EQ(runtimeErrorOf([] { orbitPoint(Orbits[0], 0.0, 32767, 32767); }), 6);
    double angle = Orbits[0].loadAngle;
    EXPECT_EQ(runtimeErrorOf([&] { tickOrbit(Orbits[0], angle, 32767, 32767); }), 6);
    EXPECT_EQ(angle, Orbits[0].loadAngle + Orbits[0].step); // the step stays done
}

TEST(OrbitArithmetic, EveryPointStaysInsideTheSquareArea)
{
    for (const Orbit &orbit : Orbits) {
        for (int step = -126; step <= 126; ++step) {
            const OrbitPoint p = orbitPoint(orbit, step * 0.05, Half, Half);
            EXPECT_GE(p.x, static_cast<int>(0.05 * Half) - 1);
            EXPECT_LE(p.x, static_cast<int>(1.85 * Half) + 1);
            EXPECT_GE(p.y, static_cast<int>(0.05 * Half) - 1);
            EXPECT_LE(p.y, static_cast<int>(1.85 * Half) + 1);
        }
    }
}

} // namespace
} // namespace kaleno
