#include "road_fixtures.h"

#include "road/engine/coord_calculate.h"
#include "road/engine/intersection_point_calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

using testing::Corner;
using testing::Point;

TEST(IntersectionPoint, CircularCurveOfTheWorkedExample) {
    for (const double side : {1.0, -1.0}) { // the right turn and its mirror image
        std::vector<IntersectionPointInfo> pts = {Point("A", 0, 0), Point("B", 1000, 0, -100),
                                                  Point("C", 1000, 1000 * side)};
        std::vector<PlaneInfo> chain;
        IpMessage message{"untouched", {}};
        ASSERT_TRUE(IntersectionPointCalculate(0, pts, chain, message));
        EXPECT_EQ(message.Key, "untouched");
        const IntersectionPointInfo& b = pts[1];
        // Closed-form circle geometry: T = R·tan(α/2), E = R/cos(α/2) - R, arc R·α.
        EXPECT_EQ(b.Direction, side > 0 ? "R" : "L");
        EXPECT_NEAR(b.DeflectionAngle, HalfPi, 1e-15);
        EXPECT_NEAR(b.TangentLength1, 100, 1e-9);
        EXPECT_NEAR(b.TangentLength2, 100, 1e-9);
        EXPECT_NEAR(b.ExternalLength, 100 * (std::sqrt(2.0) - 1), 1e-9);
        EXPECT_NEAR(b.ZH, 900, 1e-9);
        EXPECT_NEAR(b.HY, 900, 1e-9);
        EXPECT_NEAR(b.YH, 900 + 50 * Pi, 1e-9);
        EXPECT_NEAR(b.HZ, 900 + 50 * Pi, 1e-9);
        EXPECT_NEAR(b.Mileage, 1000, 1e-9);
        EXPECT_NEAR(b.CurveLength, 50 * Pi, 1e-9);
        ASSERT_EQ(chain.size(), 6u);
        EXPECT_NEAR(chain[5].Mileage, 1800 + 50 * Pi, 1e-9);
        EXPECT_EQ(chain[2].StartRadius, 100 * side);
        for (std::size_t i = 0; i < chain.size(); ++i) {
            EXPECT_EQ(chain[i].Role, 0);
            const double next = i + 1 < chain.size() ? chain[i + 1].Mileage : chain[i].Mileage;
            EXPECT_DOUBLE_EQ(chain[i].Length, next - chain[i].Mileage);
        }
        const std::int32_t kinds[] = {LineTypeLine,     LineTypeClothoid, LineTypeCircle,
                                      LineTypeClothoid, LineTypeLine,     LineTypeLine};
        for (std::size_t i = 0; i < 6; ++i) {
            EXPECT_EQ(chain[i].LineType, kinds[i]);
        }
    }
}

TEST(IntersectionPoint, SpiralCurvesAgainstNumericalReference) {
    // Reference values: p and q from the clothoid integrated numerically (mpmath 1.3 quad at 30
    // digits), then T1 = q1 + (R + p1)·tan(α/2) + (p2 - p1)/sin α, T2 likewise with the signs of
    // the shift term swapped, E = (R + p1)/cos(α/2) - R.
    struct Case {
        double R, Ls1, Ls2, alphaDeg, T1, T2, E;
    } cases[] = {
        {100, 80, 80, 60, 99.0534720333118, 99.0534720333118, 18.5317194297262},
        {250, 120, 60, 35, 136.334698774691, 112.129529898066, 14.6435807677242},
        {100, 30, 20, 90, 115.155364184125, 110.371366396933, 41.9512603684284},
    };
    for (const Case& c : cases) {
        const double alpha = c.alphaDeg * Pi / 180;
        const std::optional<CurveTangentInfo> t = CurveTangentLengths(c.R, c.Ls1, c.Ls2, alpha);
        ASSERT_TRUE(t);
        EXPECT_NEAR(t->T1, c.T1, 1e-9) << c.R;
        EXPECT_NEAR(t->T2, c.T2, 1e-9) << c.R;
        EXPECT_NEAR(t->E, c.E, 1e-9) << c.R;

        // The same values through the whole method on a polygon with that deflection.
        std::vector<IntersectionPointInfo> pts = Corner(alpha, 1000, c.R, c.Ls1, c.Ls2);
        std::vector<PlaneInfo> chain;
        IpMessage message;
        ASSERT_TRUE(IntersectionPointCalculate(0, pts, chain, message));
        EXPECT_NEAR(pts[1].TangentLength1, c.T1, 1e-6);
        EXPECT_NEAR(pts[1].TangentLength2, c.T2, 1e-6);
        EXPECT_NEAR(pts[1].ExternalLength, c.E, 1e-6); // with the entry spiral
        EXPECT_NEAR(pts[1].ZH, 1000 - c.T1, 1e-6);
        EXPECT_NEAR(pts[1].HY - pts[1].ZH, c.Ls1, 1e-9);
        EXPECT_NEAR(pts[1].HZ - pts[1].YH, c.Ls2, 1e-9);
        EXPECT_NEAR(pts[1].YH - pts[1].HY, c.R * (alpha - (c.Ls1 + c.Ls2) / (2 * c.R)), 1e-9);
    }
    const std::optional<TangentLengthInfo> t = TangentLength(-100, 80, Pi / 3);
    ASSERT_TRUE(t);
    EXPECT_NEAR(t->T, 99.0534720333118, 1e-9);
    EXPECT_NEAR(SpiralShiftOf(100, 80)->q, 39.7876123184487, 1e-9);
    EXPECT_NEAR(SpiralShiftOf(100, 80)->p, 2.65148018039243, 1e-9);
}

TEST(IntersectionPoint, FoldsDeflectionsBeyondHalfATurn) {
    // In at 1.6 rad, out at 4.9 rad: the bearings differ by 3.3 rad, the road turns left by the
    // other 2π - 3.3.
    const double in = 1.6;
    const double out = 4.9;
    std::vector<IntersectionPointInfo> pts = {
        Point("A", 0, 0), Point("B", 1000 * std::cos(in), 1000 * std::sin(in), 50),
        Point("C", 1000 * std::cos(in) + 3000 * std::cos(out),
              1000 * std::sin(in) + 3000 * std::sin(out))};
    std::vector<PlaneInfo> chain;
    IpMessage message;
    ASSERT_TRUE(IntersectionPointCalculate(0, pts, chain, message));
    EXPECT_EQ(pts[1].Direction, "L");
    EXPECT_NEAR(pts[1].DeflectionAngle, TwoPi - 3.3, 1e-12);
    EXPECT_NEAR(pts[1].TangentLength1, 50 * std::tan((TwoPi - 3.3) / 2), 1e-9);
}

TEST(IntersectionPoint, Refusals) {
    // The refusal's key and the names of the points it is about.
    using M = IpMessage;
    struct Case {
        std::vector<IntersectionPointInfo> points;
        IpMessage message;
        std::size_t chainSize; // what the chain holds afterwards (it starts with 3 elements)
    } cases[] = {
        {{Point("JD0", 0, 0), Point("JD1", 1, 0)}, M{"ip_too_few_points", {}}, 3},
        {{Point("JD0", 0, 0), Point("JD1", 0, 0.000001, 50), Point("JD2", 100, 0)},
         M{"ip_points_too_close", {}},
         3},
        {{Point("JD0", 0, 0), Point("JD1", 10, 0, 50), Point("JD2", 20, 0)},
         M{"ip_same_bearing", {"JD0", "JD1", "JD1", "JD2"}},
         1},
        {{Point("JD0", 0, 0), Point("JD1", 100, 0, 50), Point("JD2", 50, 0)},
         M{"ip_opposite_bearing", {"JD0", "JD1", "JD1", "JD2"}},
         1},
        {Corner(1.0, 1000, 0, 0, 0), M{"ip_zero_radius", {"JD1"}}, 1},
        {Corner(1.0, 1000, 100, 20, -1), M{"ip_negative_spiral", {"JD1"}}, 1},
        {Corner(HalfPi, 1000, 100, 200, 120), M{"ip_spirals_too_long", {"JD1"}}, 1},
        // A later point fails: the chain keeps the first curve, the first point its values.
        {{Point("JD0", 0, 0), Point("JD1", 1000, 0, 100), Point("JD2", 1000, 1000, 0),
          Point("JD3", 0, 1000)},
         M{"ip_zero_radius", {"JD2"}},
         5},
        // A curve whose tangent would be infinite: an arithmetic fault with no message.
        {Corner(179 * Pi / 180, 1000, 1e307, 0, 0), M{}, 1},
    };
    for (Case& c : cases) {
        std::vector<PlaneInfo> chain(3);
        IpMessage message{"old", {"x"}};
        EXPECT_FALSE(IntersectionPointCalculate(0, c.points, chain, message)) << c.message.Key;
        EXPECT_EQ(message, c.message);
        EXPECT_EQ(chain.size(), c.chainSize) << c.message.Key;
    }
    std::vector<IntersectionPointInfo> laterFails = cases[7].points;
    std::vector<PlaneInfo> chain;
    IpMessage message;
    EXPECT_FALSE(IntersectionPointCalculate(0, laterFails, chain, message));
    EXPECT_NEAR(laterFails[1].ZH, 900, 1e-9);

    // The last two points may coincide.
    std::vector<IntersectionPointInfo> endOnCurve = {Point("JD0", 0, 0), Point("JD1", 1000, 0, 50),
                                                     Point("JD2", 1000, 500, 50),
                                                     Point("JD3", 1000, 500)};
    EXPECT_TRUE(IntersectionPointCalculate(0, endOnCurve, chain, message));
}

} // namespace
} // namespace telvane::road
