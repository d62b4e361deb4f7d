// Chains built from intersection points must be seamless: each element ends where the next one
// starts, in position and in direction, and a left turn is the mirror image of a right turn.
#include "reference_quadrature.h"
#include "road_fixtures.h"

#include "road/engine/coord_calculate.h"
#include "road/engine/design_axis_calculate.h"
#include "road/engine/intersection_point_calculate.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

using testing::Corner;

IntersectionPointInfo Point(double N, double E, double R = 0, double Ls1 = 0, double Ls2 = 0) {
    return testing::Point("JD", N, E, R, Ls1, Ls2);
}

struct Design {
    const char* name;
    std::vector<IntersectionPointInfo> points;
};

std::vector<Design> Designs() {
    const double deg = Pi / 180;
    return {
        {"right, equal spirals", Corner(60 * deg, 1000, 100, 80, 80)},
        {"left, equal spirals", Corner(-60 * deg, 1000, 100, 80, 80)},
        {"unequal spirals at a right angle", Corner(90 * deg, 1000, 100, 30, 20)},
        {"long unequal spirals", Corner(-90 * deg, 1000, 250, 200, 100)},
        {"no spirals", Corner(45 * deg, 1000, 100, 0, 0)},
        {"exit spiral only, left", Corner(-70 * deg, 1000, 150, 0, 60)},
        {"entry spiral only", Corner(70 * deg, 1000, 150, 60, 0)},
        {"across North, right", {Point(-1000, 300), Point(0, 0, 200, 60, 60), Point(1000, 300)}},
        {"across North, left", {Point(-1000, -300), Point(0, 0, 200, 60, 90), Point(1000, -300)}},
        {"deflection 179 degrees", Corner(179 * deg, 20000, 100, 0, 0)},
        {"deflection 179 degrees, spirals near a quarter turn",
         Corner(-179 * deg, 20000, 30, 90, 88)},
        {"deflection 175 degrees, unequal spirals", Corner(175 * deg, 20000, 60, 50, 20)},
        {"reverse curves",
         {Point(0, 0), Point(800, 200, 300, 100, 100), Point(1600, -100, 250, 80, 120),
          Point(2400, 300, 400, 0, 0), Point(3200, 0, 200, 60, 40), Point(4000, 200)}},
    };
}

double AngleGap(double a, double b) {
    return std::fabs(std::remainder(a - b, TwoPi));
}

std::vector<PlaneInfo> Build(std::vector<IntersectionPointInfo>& points) {
    std::vector<PlaneInfo> chain;
    IpMessage message;
    EXPECT_TRUE(IntersectionPointCalculate(500, points, chain, message));
    return chain;
}

TEST(ChainContinuity, EveryElementEndsWhereTheNextStarts) {
    double worstPosition = 0;
    double worstAzimuth = 0;
    for (Design& d : Designs()) {
        SCOPED_TRACE(d.name);
        const std::vector<PlaneInfo> chain = Build(d.points);
        ASSERT_EQ(chain.size(), 2 + 4 * (d.points.size() - 2));
        PlaneCalculate plane;
        plane.SetChain(500, chain);
        ASSERT_TRUE(PlaneCalculate::ValidateChain(chain));
        for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
            SCOPED_TRACE(i);
            AxisPoint start;
            AxisPoint end;
            ASSERT_TRUE(plane.EvaluateElement(i, 0, 0, start));
            ASSERT_TRUE(plane.EvaluateElement(i, chain[i].Length, 0, end));
            EXPECT_LT(Distance(start.North, start.East, chain[i].North, chain[i].East), 1e-9);
            EXPECT_GE(chain[i].Length, 0);
            const double gap = Distance(end.North, end.East, chain[i + 1].North, chain[i + 1].East);
            const double turn = AngleGap(end.Azimuth, chain[i + 1].AzimuthAngle);
            worstPosition = std::max(worstPosition, gap);
            worstAzimuth = std::max(worstAzimuth, turn);
            EXPECT_LT(gap, 1e-6);
            EXPECT_LT(turn, 1e-9);
            if (chain[i].LineType != LineTypeLine && i + 2 < chain.size()) {
                EXPECT_LT(AngleGap(start.Azimuth, chain[i].AzimuthAngle), 1e-12);
            }
        }

        // Through the design axis: no step at any element boundary.
        DesignAxisCalculate axis;
        ASSERT_TRUE(axis.SetPlaneElements(500, chain));
        const double eps = 1e-3;
        for (std::size_t i = 1; i + 1 < chain.size(); ++i) {
            Pile before, at, after;
            const double K = chain[i].Mileage;
            ASSERT_TRUE(axis.CalculatePile(K - eps, 2, before));
            ASSERT_TRUE(axis.CalculatePile(K, 2, at));
            ASSERT_TRUE(axis.CalculatePile(K + eps, 2, after));
            EXPECT_NEAR(Distance(before.MiddleN, before.MiddleE, at.MiddleN, at.MiddleE), eps,
                        1e-8);
            EXPECT_NEAR(Distance(at.MiddleN, at.MiddleE, after.MiddleN, after.MiddleE), eps, 1e-8);
            EXPECT_NEAR(Distance(at.LeftN, at.LeftE, at.RightN, at.RightE), 4, 1e-9);
        }
    }
    RecordProperty("worst_position_gap_m", testing::Figure(worstPosition));
    RecordProperty("worst_azimuth_gap_rad", testing::Figure(worstAzimuth));
}

TEST(ChainContinuity, LeftTurnMirrorsRightTurn) {
    for (Design& d : Designs()) {
        SCOPED_TRACE(d.name);
        std::vector<IntersectionPointInfo> mirrored = d.points;
        for (IntersectionPointInfo& p : mirrored) {
            p.East = -p.East;
        }
        const std::vector<PlaneInfo> chain = Build(d.points);
        const std::vector<PlaneInfo> image = Build(mirrored);
        ASSERT_EQ(chain.size(), image.size());
        for (std::size_t i = 0; i < chain.size(); ++i) {
            EXPECT_NEAR(image[i].Mileage, chain[i].Mileage, 1e-9);
            EXPECT_NEAR(image[i].North, chain[i].North, 1e-9);
            EXPECT_NEAR(image[i].East, -chain[i].East, 1e-9);
            EXPECT_EQ(image[i].StartRadius, -chain[i].StartRadius);
            EXPECT_LT(AngleGap(image[i].AzimuthAngle, -chain[i].AzimuthAngle), 1e-12);
            if (!chain[i].Direction.empty()) {
                EXPECT_EQ(image[i].Direction, chain[i].Direction == "R" ? "L" : "R");
            }
        }
        for (std::size_t k = 1; k + 1 < d.points.size(); ++k) {
            EXPECT_NEAR(mirrored[k].TangentLength1, d.points[k].TangentLength1, 1e-9);
            EXPECT_NEAR(mirrored[k].TangentLength2, d.points[k].TangentLength2, 1e-9);
            EXPECT_NEAR(mirrored[k].DeflectionAngle, d.points[k].DeflectionAngle, 1e-12);
            EXPECT_NEAR(mirrored[k].HZ, d.points[k].HZ, 1e-9);
        }

        DesignAxisCalculate axis;
        DesignAxisCalculate mirrorAxis;
        ASSERT_TRUE(axis.SetPlaneElements(500, chain));
        ASSERT_TRUE(mirrorAxis.SetPlaneElements(500, image));
        const double end = std::min(chain.back().Mileage, image.back().Mileage);
        for (double K = 500; K <= end; K += 7.3) {
            Pile p, m;
            ASSERT_TRUE(axis.CalculatePile(K, 4, p));
            ASSERT_TRUE(mirrorAxis.CalculatePile(K, 4, m));
            EXPECT_NEAR(m.MiddleN, p.MiddleN, 1e-8);
            EXPECT_NEAR(m.MiddleE, -p.MiddleE, 1e-8);
            EXPECT_NEAR(m.LeftN, p.RightN, 1e-8);
            EXPECT_NEAR(m.LeftE, -p.RightE, 1e-8);
        }
    }
}

} // namespace
} // namespace telvane::road
