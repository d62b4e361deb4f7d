#include "road/engine/coord_calculate.h"
#include "road/engine/design_axis_calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include <cmath>
#include <limits>
#include <vector>

namespace telvane::road {
namespace {

PlaneInfo Element(double K, std::int32_t type, double N, double E, double az = 0, double R = 0,
                  double length = 0) {
    PlaneInfo p;
    p.Mileage = K;
    p.LineType = type;
    p.North = N;
    p.East = E;
    p.AzimuthAngle = az;
    p.StartRadius = R;
    p.Length = length;
    return p;
}

LongSlopesInfo Grade(double K, double H, double slope) {
    LongSlopesInfo p;
    p.Mileage = K;
    p.Height = H;
    p.Slope1 = slope;
    p.Slope2 = slope;
    return p;
}

// Two lines heading North from chainage 100 to 150.
std::vector<PlaneInfo> TwoLines() {
    return {Element(100, LineTypeLine, 0, 0), Element(150, LineTypeLine, 50, 0)};
}

TEST(DesignAxis, StakesOnALine) {
    DesignAxisCalculate axis;
    Pile p;
    EXPECT_FALSE(axis.CalculatePile(100, 0, p)); // a new design places nothing
    ASSERT_TRUE(axis.SetPlaneElements(100, TwoLines()));
    EXPECT_EQ(axis.Mode, 1);
    ASSERT_TRUE(axis.SetLongSlopes({Grade(100, 10, 10), Grade(150, 10.5, 10)}));

    struct Case {
        double K, offset;
        bool ok;
        Pile expected; // Mileage unused, then E, N, Z of centre, left, right
    } cases[] = {
        {100, 0, true, {0, 0, 0, 10, 0, 0, 0, 0, 0, 0}},
        {150, 5, true, {0, 0, 50, 10.5, -5, 50, 10.5, 5, 50, 10.5}},
        {125, -1, true, {0, 0, 25, 10.25, 0, 25, 10.25, 0, 25, 10.25}},
        {150.001, 0, false, {}},
        {99.999, 0, false, {}},
        {std::numeric_limits<double>::quiet_NaN(), 0, false, {}},
        {120, std::numeric_limits<double>::infinity(), false, {}},
    };
    for (const Case& c : cases) {
        Pile out;
        out.LeftE = 99; // proves that a failure leaves the record alone
        ASSERT_EQ(axis.CalculatePile(c.K, c.offset, out), c.ok) << c.K;
        if (!c.ok) {
            EXPECT_EQ(out.LeftE, 99);
            continue;
        }
        const double got[] = {out.MiddleE, out.MiddleN, out.MiddleZ, out.LeftE, out.LeftN,
                              out.LeftZ,   out.RightE,  out.RightN,  out.RightZ};
        const double want[] = {c.expected.MiddleE, c.expected.MiddleN, c.expected.MiddleZ,
                               c.expected.LeftE,   c.expected.LeftN,   c.expected.LeftZ,
                               c.expected.RightE,  c.expected.RightN,  c.expected.RightZ};
        for (int i = 0; i < 9; ++i) {
            EXPECT_NEAR(got[i], want[i], 1e-12) << "K " << c.K << " value " << i;
        }
    }
}

TEST(DesignAxis, ClothoidNeighbours) {
    // Line, entry clothoid (R 100 from the circle), circle, exit clothoid, line.
    const std::vector<PlaneInfo> curve = {
        Element(0, LineTypeLine, 0, 0),
        Element(100, LineTypeClothoid, 100, 0, 0, 0, 50),
        Element(150, LineTypeCircle, 0, 0, 0.25, 100),
        Element(160, LineTypeClothoid, 0, 0, 0.35, 100, 50),
        Element(210, LineTypeLine, 0, 0),
        Element(300, LineTypeLine, 0, 0),
    };
    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(0, curve));
    // At the clothoid/circle boundary the clothoid is used at its full length: the point lies on
    // the entry spiral's end, not on the circle's (0, 0) start point.
    Pile p;
    ASSERT_TRUE(axis.CalculatePile(150, 0, p));
    EXPECT_GT(p.MiddleN, 140);
    ASSERT_TRUE(axis.CalculatePile(185, 0, p)); // exit spiral takes the circle's radius

    // A clothoid between two lines has no radius: accepted as a chain, but no stakes on it.
    const std::vector<PlaneInfo> bare = {
        Element(0, LineTypeLine, 0, 0), Element(100, LineTypeClothoid, 100, 0, 0, 0, 50),
        Element(150, LineTypeLine, 150, 0), Element(200, LineTypeLine, 200, 0)};
    ASSERT_TRUE(axis.SetPlaneElements(0, bare));
    EXPECT_TRUE(axis.CalculatePile(100, 0, p));
    EXPECT_FALSE(axis.CalculatePile(120, 0, p));
    EXPECT_TRUE(axis.CalculatePile(170, 0, p));

    // A spiral of length 0 that spans chainage cannot be evaluated away from its start.
    std::vector<PlaneInfo> zero = curve;
    zero[1].Length = 0;
    ASSERT_TRUE(axis.SetPlaneElements(0, zero));
    EXPECT_FALSE(axis.CalculatePile(120, 0, p));
}

TEST(DesignAxis, ChainValidation) {
    const PlaneInfo line = Element(0, LineTypeLine, 0, 0);
    const PlaneInfo circle = Element(10, LineTypeCircle, 0, 10, 0, 50);
    const PlaneInfo spiral = Element(20, LineTypeClothoid, 0, 20, 0, 0, 10);
    PlaneInfo flatCircle = circle;
    flatCircle.StartRadius = 0;
    PlaneInfo unknown = line;
    unknown.LineType = 7;
    struct Case {
        std::vector<PlaneInfo> chain;
        bool ok;
    } cases[] = {
        {{}, false},
        {{line}, false},
        {{line, line}, true},
        {{circle, line}, true},
        {{spiral, circle, line}, false},
        {{line, flatCircle, line}, false},
        {{line, spiral, spiral, line}, false},
        {{line, spiral, unknown}, false},
        {{line, spiral, circle, spiral, line}, true},
        {{line, unknown, line}, true}, // accepted; stakes on it fail
    };
    for (const Case& c : cases) {
        DesignAxisCalculate axis;
        EXPECT_EQ(axis.SetPlaneElements(0, c.chain), c.ok) << c.chain.size();
        EXPECT_EQ(axis.PlaneElements().size(), c.chain.size()); // stored even when refused
    }
}

TEST(DesignAxis, RefusedDataStaysInUseButNeverWithoutFiniteValues) {
    DesignAxisCalculate axis;
    Pile p;
    // A refused chain with a circle of radius 0 is still consulted and fails there without NaN.
    const std::vector<PlaneInfo> flat = {Element(0, LineTypeLine, 0, 0),
                                         Element(10, LineTypeCircle, 10, 0, 0, 0),
                                         Element(20, LineTypeLine, 20, 0)};
    EXPECT_FALSE(axis.SetPlaneElements(0, flat));
    EXPECT_TRUE(axis.CalculatePile(5, 1, p));
    EXPECT_FALSE(axis.CalculatePile(15, 1, p));

    // Profiles: one point or going backwards is refused but used; every stake then has Z 0 where
    // the profile cannot answer.
    ASSERT_TRUE(axis.SetPlaneElements(0, TwoLines()));
    EXPECT_FALSE(axis.SetLongSlopes({Grade(100, 10, 0)}));
    ASSERT_TRUE(axis.CalculatePile(120, 3, p));
    EXPECT_EQ(p.MiddleZ, 0);
    EXPECT_FALSE(axis.SetLongSlopes({Grade(140, 10, 0), Grade(120, 11, 0)}));
    EXPECT_TRUE(axis.SetLongSlopes({Grade(100, 10, 0), Grade(120, 10, 0), Grade(120, 12, 0)}));
    ASSERT_TRUE(axis.CalculatePile(130, 3, p)); // beyond the profile
    EXPECT_EQ(p.LeftZ, 0);

    // Clear: nothing can be placed, and a new chain without a new profile has no heights.
    axis.Superelevations.resize(2);
    axis.Clear();
    EXPECT_TRUE(axis.Superelevations.empty());
    EXPECT_FALSE(axis.CalculatePile(110, 0, p));
    ASSERT_TRUE(axis.SetPlaneElements(100, TwoLines()));
    ASSERT_TRUE(axis.CalculatePile(110, 0, p));
    EXPECT_EQ(p.MiddleZ, 0);

    // Values that are not finite are refused and not kept.
    std::vector<PlaneInfo> bad = TwoLines();
    bad[1].North = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(axis.SetPlaneElements(100, bad));
    EXPECT_TRUE(axis.PlaneElements().empty());
    EXPECT_FALSE(axis.CalculatePile(110, 0, p));
    ASSERT_TRUE(axis.SetPlaneElements(100, TwoLines()));
    EXPECT_FALSE(axis.SetLongSlopes({Grade(100, std::nan(""), 0), Grade(150, 1, 0)}));
    EXPECT_TRUE(axis.LongSlopes().empty());
}

} // namespace
} // namespace telvane::road

namespace telvane::road {

TEST(DesignAxis, StakesOutsideTheChainOrNotANumberAreRefused) {
    DesignAxisCalculate axis;
    PlaneInfo a{}, b{};
    a.North = 100;
    a.East = 200;
    a.AzimuthAngle = 0.5;
    b.Mileage = 50;
    b.LineType = LineTypeLine;
    b.North = 150; // a straight runs to the next element's point: due north here
    b.East = 200;
    ASSERT_TRUE(axis.SetPlaneElements(0, {a, b}));
    Pile p{};
    for (double k : {-0.001, 50.001, std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity()})
        EXPECT_FALSE(axis.CalculatePile(k, 0, p)) << k;
    EXPECT_TRUE(axis.CalculatePile(25, 2, p));
    EXPECT_NEAR(p.MiddleN, 125, 1e-9);
    EXPECT_NEAR(p.MiddleE, 200, 1e-9);
    EXPECT_NEAR(p.LeftE, 198, 1e-9); // two metres to the left of a road going north
}

} // namespace telvane::road

namespace telvane::road {

// A chain or a profile holding a value that is not a finite number is refused and not kept,
// whichever field holds it.
TEST(DesignAxis, ANonFiniteValueInAnyFieldIsRefused) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    PlaneInfo a{}, b{};
    b.Mileage = 50;
    b.North = 50;
    for (double PlaneInfo::*field :
         {&PlaneInfo::Mileage, &PlaneInfo::East, &PlaneInfo::North, &PlaneInfo::AzimuthAngle,
          &PlaneInfo::StartRadius, &PlaneInfo::EndRadius, &PlaneInfo::Length}) {
        DesignAxisCalculate axis;
        PlaneInfo bad = a;
        bad.*field = nan;
        EXPECT_FALSE(axis.SetPlaneElements(0, {bad, b}));
        EXPECT_TRUE(axis.PlaneElements().empty());
    }
    DesignAxisCalculate axis;
    EXPECT_FALSE(axis.SetPlaneElements(nan, {a, b}));
    LongSlopesInfo p{}, q{};
    q.Mileage = 100;
    for (double LongSlopesInfo::*field :
         {&LongSlopesInfo::Mileage, &LongSlopesInfo::Height, &LongSlopesInfo::Radius,
          &LongSlopesInfo::Slope1, &LongSlopesInfo::Slope2}) {
        LongSlopesInfo bad = p;
        bad.*field = nan;
        EXPECT_FALSE(axis.SetLongSlopes({bad, q}));
        EXPECT_TRUE(axis.LongSlopes().empty());
    }
    EXPECT_TRUE(axis.SetLongSlopes({p, q}));
}

} // namespace telvane::road
