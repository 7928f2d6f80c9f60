#include "orbit.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kaleno {
namespace {

// One tick of an orbit from an angle: the segment it draws, from the trail point to the point.
struct Segment
{
    int orbit; // 0..2
    double before;
    OrbitPoint trail, point;
};

std::ostream &operator<<(std::ostream &out, const Segment &s)
{
    return out << "orbit " << s.orbit + 1 << " from " << s.before;
}

class OrbitSegment : public ::testing::TestWithParam<Segment>
{
};

TEST_P(OrbitSegment, RunsFromOneStepBackToTheNewPoint)
{
    double angle = GetParam().before;
    // Half of the 3750-twip drawing area each way.
    const OrbitTick tick = tickOrbit(Orbits[GetParam().orbit], angle, 1875, 1875);
    EXPECT_EQ(tick.trail, GetParam().trail);
    EXPECT_EQ(tick.point, GetParam().point);
}

// The first tick after load; then the ticks that reset the angles, whose segments run from
// the point one step back from 0, not from where the previous segment ended.
INSTANTIATE_TEST_SUITE_P(Table, OrbitSegment,
    ::testing::Values(Segment {0, 0.5, {3262, 2230}, {3393, 2058}},
        Segment {1, 0.2, {3212, 743}, {3034, 527}}, Segment {2, 0.35, {1459, 3366}, {1251, 3174}},
        Segment {0, -6.2, {3435, 1967}, {3468, 1781}}, Segment {1, -6.0, {3243, 837}, {3106, 588}},
        Segment {2, 6.25, {2013, 3416}, {1781, 3468}}));

// An orbit followed tick by tick from an angle: it is hidden on the ticks firstHidden to
// lastHidden, and resets on its last tick and not before.
struct Course
{
    int orbit; // 0..2
    double start;
    int ticks, firstHidden, lastHidden;
};

std::ostream &operator<<(std::ostream &out, const Course &c)
{
    return out << "orbit " << c.orbit + 1 << " from " << c.start;
}

class OrbitCourse : public ::testing::TestWithParam<Course>
{
};

TEST_P(OrbitCourse, HidesAndResetsOnTheKnownTicks)
{
    const Course &c = GetParam();
    const Orbit &orbit = Orbits[static_cast<std::size_t>(c.orbit)];
    std::vector<int> hidden, resets, expectedHidden;
    double angle = c.start;
    for (int tick = 1; tick <= c.ticks; ++tick) {
        const double stepped = angle + orbit.step;
        angle = nextAngle(orbit, angle);
        if (angle != stepped)
            resets.push_back(tick);
        if (isHidden(orbit, angle))
            hidden.push_back(tick);
    }
    for (int tick = c.firstHidden; tick <= c.lastHidden; ++tick)
        expectedHidden.push_back(tick);
    EXPECT_EQ(hidden, expectedHidden);
    EXPECT_EQ(resets, std::vector<int> {c.ticks});
}

// From the load values; then one cycle from a reset, where orbit 1 passes -0.8 exactly on
// tick 4 (shown), orbit 2 -2.4 exactly on tick 8 (shown) and orbit 3 keeps 6.25 on tick 25.
INSTANTIATE_TEST_SUITE_P(Table, OrbitCourse,
    ::testing::Values(Course {0, 0.5, 34, 7, 13}, Course {1, 0.2, 22, 5, 8},
        Course {2, 0.35, 24, 2, 7}, Course {0, 0.0, 32, 5, 11}, Course {1, 0.0, 21, 4, 7},
        Course {2, 0.0, 26, 3, 9}));

TEST(OrbitArithmetic, IntRoundsDownBelowZero)
{
    // Orbit 3 at angle 2 with w = 0 and h = 1: x = -(1 / 2) × sin 2, about -0.45: Int makes it -1.
    EXPECT_EQ(orbitPoint(Orbits[2], 2.0, 0, 1).x, -1);
}

} // namespace
} // namespace kaleno
