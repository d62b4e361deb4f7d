#include "road/engine/coord_calculate.h"
#include "road/engine/elements.h"

#include <gtest/gtest.h>

#include <limits>

#include <cmath>

namespace telvane::road {
namespace {

TEST(Elements, LineContinuesBeyondItsEnd) {
    AxisPoint p;
    ASSERT_TRUE((Line{0, 0, 3, 4}.Evaluate(10, 0, p)));
    EXPECT_NEAR(p.North, 6, 1e-12);
    EXPECT_NEAR(p.East, 8, 1e-12);
    EXPECT_NEAR(p.Azimuth, std::atan2(4.0, 3.0), 1e-15);
}

TEST(Elements, SidePointsByOffset) {
    struct Case {
        double W;
        double leftN, leftE, rightN, rightE; // heading North from (100, 200)
    } cases[] = {
        {5, 100, 195, 100, 205},  // left 5 m West, right 5 m East
        {-2, 100, 200, 100, 200}, // negative: both on the centre point
        {0, -1, -2, -3, -4},      // zero: the caller's values stay
    };
    for (const Case& c : cases) {
        AxisPoint p;
        p.LeftNorth = -1;
        p.LeftEast = -2;
        p.RightNorth = -3;
        p.RightEast = -4;
        ASSERT_TRUE((Line{100, 200, 150, 200}.Evaluate(0, c.W, p)));
        EXPECT_NEAR(p.LeftNorth, c.leftN, 1e-12) << c.W;
        EXPECT_NEAR(p.LeftEast, c.leftE, 1e-12) << c.W;
        EXPECT_NEAR(p.RightNorth, c.rightN, 1e-12) << c.W;
        EXPECT_NEAR(p.RightEast, c.rightE, 1e-12) << c.W;
    }
}

TEST(Elements, CircleQuarterTurnsBothWays) {
    AxisPoint p;
    ASSERT_TRUE((Circle{0, 0, 0, 0, 50}.Evaluate(0, 50 * HalfPi, 0, p)));
    EXPECT_NEAR(p.North, 50, 1e-12);
    EXPECT_NEAR(p.East, 50, 1e-12);
    EXPECT_NEAR(p.Azimuth, HalfPi, 1e-15);
    ASSERT_TRUE((Circle{0, 0, 0, 0, -50}.Evaluate(0, 50 * HalfPi, 0, p)));
    EXPECT_NEAR(p.North, 50, 1e-12);
    EXPECT_NEAR(p.East, -50, 1e-12);
    EXPECT_NEAR(p.Azimuth, -HalfPi, 1e-15); // not normalised

    // A very flat arc keeps its digits: 100 m along R = 1e7 the offset from the start tangent is
    // R(1 - cos(l/R)) = l²/2R - l⁴/24R³ + ..., where R - R·cos(l/R) would lose a nanometre.
    ASSERT_TRUE((Circle{0, 0, 0, 0, 1e7}.Evaluate(0, 100, 0, p)));
    EXPECT_NEAR(p.East, 1e4 / 2e7 - 1e8 / 24e21, 1e-18);

    EXPECT_FALSE((Circle{0, 0, 0, 0, 0}.Evaluate(0, 1, 0, p))); // no infinite radius here
}

TEST(Elements, CircleArcLength) {
    EXPECT_NEAR(*(Circle{0, 0, 0, 200, 100}.ArcLength()), Pi * 100, 1e-12); // half circle
    EXPECT_NEAR(*(Circle{0, 0, 50, 50, -50}.ArcLength()), 50 * HalfPi, 1e-12);
    EXPECT_FALSE((Circle{0, 0, 0, 201, 100}.ArcLength())); // chord longer than the diameter
    EXPECT_FALSE((Circle{0, 0, 0, 1, 0}.ArcLength()));
}

TEST(Elements, ClothoidTurnsAndMirrors) {
    AxisPoint right;
    AxisPoint left;
    ASSERT_TRUE((Clothoid{0, 0, 0, 100, 50, ClothoidEntry}.Evaluate(50, 0, right)));
    ASSERT_TRUE((Clothoid{0, 0, 0, -100, 50, ClothoidEntry}.Evaluate(50, 0, left)));
    EXPECT_NEAR(right.Azimuth, 0.25, 1e-15);
    EXPECT_NEAR(left.Azimuth, -0.25, 1e-15);
    EXPECT_NEAR(right.North, left.North, 1e-12);
    EXPECT_NEAR(right.East, -left.East, 1e-12);
    EXPECT_GT(right.East, 0);

    AxisPoint exit;
    ASSERT_TRUE((Clothoid{0, 0, 1.0, 100, 50, ClothoidExit}.Evaluate(50, 0, exit)));
    EXPECT_NEAR(exit.Azimuth, 1.25, 1e-15);

    // At its start an exit spiral bends like the circle it leaves: the circle through three
    // nearby points has radius R.
    AxisPoint a, b, c;
    const Clothoid spiral{0, 0, 0, 100, 50, ClothoidExit};
    ASSERT_TRUE(spiral.Evaluate(0, 0, a) && spiral.Evaluate(0.01, 0, b) &&
                spiral.Evaluate(0.02, 0, c));
    const double ab = std::hypot(b.North - a.North, b.East - a.East);
    const double bc = std::hypot(c.North - b.North, c.East - b.East);
    const double ac = std::hypot(c.North - a.North, c.East - a.East);
    const double cross =
        (b.North - a.North) * (c.East - a.East) - (b.East - a.East) * (c.North - a.North);
    EXPECT_NEAR(ab * bc * ac / (2 * std::fabs(cross)), 100, 0.05);
}

TEST(Elements, ClothoidRefusesWhatItCannotEvaluate) {
    AxisPoint p;
    p.North = 7;
    // Zero length or zero radius: only the start point exists.
    EXPECT_FALSE((Clothoid{0, 0, 0, 100, 0, ClothoidEntry}.Evaluate(1, 0, p)));
    EXPECT_FALSE((Clothoid{0, 0, 0, 0, 50, ClothoidExit}.Evaluate(1, 0, p)));
    EXPECT_EQ(p.North, 7); // untouched
    ASSERT_TRUE((Clothoid{3, 4, 0.5, 0, 0, ClothoidExit}.Evaluate(0, 0, p)));
    EXPECT_EQ(p.North, 4);
    EXPECT_EQ(p.East, 3);
    EXPECT_EQ(p.Azimuth, 0.5);
    EXPECT_FALSE((Clothoid{0, 0, 0, 1e300, 1e300, ClothoidEntry}.Evaluate(1e300, 0, p)));
}

} // namespace
} // namespace telvane::road

namespace telvane::road {

// A value that is not a finite number anywhere gives no point: the output stays as it was.
TEST(Elements, NonFiniteInputsGiveNoPoint) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    AxisPoint out{};
    out.North = 7;
    for (double bad : {nan, inf, -inf}) {
        EXPECT_FALSE((Line{bad, 0, 10, 0}.Evaluate(1, 0, out)));
        EXPECT_FALSE((Line{0, bad, 10, 0}.Evaluate(1, 0, out)));
        EXPECT_FALSE((Line{0, 0, 10, 0}.Evaluate(bad, 0, out)));
        EXPECT_FALSE((Circle{0, 0, 0, 0, 100}.Evaluate(bad, 1, 0, out)));
        EXPECT_FALSE((Clothoid{bad, 0, 0, 100, 20, ClothoidEntry}.Evaluate(1, 0, out)));
    }
    EXPECT_EQ(out.North, 7);
    // No arc between two points farther apart than the diameter, or of a radius of nothing.
    EXPECT_FALSE((Circle{0, 0, 0, 300, 100}.ArcLength().has_value()));
    EXPECT_FALSE((Circle{0, 0, 0, 10, 0}.ArcLength().has_value()));
    EXPECT_FALSE((Circle{0, 0, inf, 10, 100}.ArcLength().has_value()));
}

} // namespace telvane::road
