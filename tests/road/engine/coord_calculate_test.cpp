#include "road/engine/coord_calculate.h"

#include "road/engine/segment_finder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace telvane::road {
namespace {

TEST(CoordCalculate, AzimuthQuadrantsAndBoundaries) {
    struct Case {
        double n1, e1, n2, e2, expected;
    } cases[] = {
        {0, 0, 0, 0, 0},            // a point to itself
        {5, 5, 6, 5, 0},            // due North is 0, not 2π
        {0, 0, 0, 1, HalfPi},       // due East
        {0, 0, -1, 0, Pi},          // due South
        {0, 0, 0, -1, 3 * HalfPi},  // due West
        {0, 0, 1, 1, Pi / 4},       // north-east
        {0, 0, -1, 1, 3 * Pi / 4},  // south-east
        {0, 0, -1, -1, 5 * Pi / 4}, // south-west
        {0, 0, 1, -1, 7 * Pi / 4},  // north-west
        {0, 0, 1, -1e-300, 0},      // a hair west of North rounds to 2π and wraps to 0
        {0, 0, 1e-310, 1, HalfPi},  // subnormal northing: quotient overflows, bearing holds
        {1e300, 0, -1e300, 0, Pi},  // far apart without overflow
    };
    for (const Case& c : cases) {
        const double a = Azimuth(c.n1, c.e1, c.n2, c.e2);
        EXPECT_NEAR(a, c.expected, 1e-15) << c.n1 << " " << c.e1 << " " << c.n2 << " " << c.e2;
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, TwoPi);
    }
}

TEST(CoordCalculate, AngleHelpers) {
    EXPECT_NEAR(AngleDifference(0.1, 6.2), 0.1 + TwoPi - 6.2, 1e-15);
    EXPECT_NEAR(AngleDifference(6.2, 0.1), 6.2 - TwoPi - 0.1, 1e-15);
    EXPECT_NEAR(AngleDifference(1.0, 0.5), 0.5, 1e-15);
    // Bearings in the middle quadrants more than π apart are not folded.
    EXPECT_NEAR(AngleDifference(1.6, 4.9), -3.3, 1e-15);
    EXPECT_NEAR(AngleDifference(-0.1 + TwoPi, 0.1), -0.2, 1e-15);

    struct Case {
        double in, out;
    } normal[] = {
        {-0.5, TwoPi - 0.5}, {7.0, 7.0 - TwoPi},         {TwoPi, 0}, {-TwoPi, 0}, {3.0, 3.0},
        {-1e-20, 0},         {-3 * TwoPi - 1, TwoPi - 1}};
    for (const Case& c : normal) {
        EXPECT_NEAR(NormalizeAngle(c.in), c.out, 1e-14) << c.in;
    }
    // Huge angles come back in range instead of looping for ever.
    for (double huge : {1e20, -1e20, 1e300}) {
        const double a = NormalizeAngle(huge);
        EXPECT_GE(a, 0.0);
        EXPECT_LT(a, TwoPi);
    }
}

TEST(CoordCalculate, PointsAndFrames) {
    const EastNorth p = PolarPoint(10, 20, 3 * HalfPi, 5); // due West
    EXPECT_NEAR(p.East, 5, 1e-12);
    EXPECT_NEAR(p.North, 20, 1e-12);
    const EastNorth q = PolarPoint(0, 0, -HalfPi, 2); // below 0: one turn added
    EXPECT_NEAR(q.East, -2, 1e-12);
    EXPECT_NEAR(q.North, 0, 1e-12);

    EXPECT_DOUBLE_EQ(Distance(0, 0, 3, 4), 5);
    EXPECT_DOUBLE_EQ(Distance(1e300, 0, -1e300, 0), 2e300); // no overflow in the squares

    // Heading East from (0, 0): a point to the South is on the right, 7 m ahead.
    const LocalOffset f = ToLocalFrame(-3, 7, HalfPi, 0, 0);
    EXPECT_NEAR(f.Right, 3, 1e-12);
    EXPECT_NEAR(f.Along, 7, 1e-12);
    EXPECT_NEAR(ToLocalFrame(3, 7, HalfPi, 0, 0).Right, -3, 1e-12);
}

} // namespace
} // namespace telvane::road

TEST(SegmentFinder, AscendingAndUnsortedChainages) {
    using telvane::road::SegmentFinder;
    const SegmentFinder sorted({0, 10, 10, 25});
    const SegmentFinder unsorted({0, 10, 5, 25});
    struct Case {
        double x;
        std::optional<std::size_t> sorted_segment, unsorted_segment;
    };
    const Case cases[] = {
        {-1, std::nullopt, std::nullopt},
        {0, 0, 0},
        {5, 0, 0},
        {10, 0, 0},
        {12, 2, 2},
        {25, 2, 2},
        {26, std::nullopt, std::nullopt},
        {std::nan(""), std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sorted.Find(c.x), c.sorted_segment) << c.x;
        EXPECT_EQ(unsorted.Find(c.x), c.unsorted_segment) << c.x;
    }
    EXPECT_EQ(SegmentFinder({5}).Find(5), std::nullopt); // one chainage makes no segment
    EXPECT_EQ(SegmentFinder(std::vector<double>{}).Find(0), std::nullopt);
}
