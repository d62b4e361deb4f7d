// A spiral between two finite radii (the transition of a compound or a broken-back curve)
// against the independent quadrature of its tangent angle, in both senses of curvature change
// and both turns; and as an element of a chain.
#include "reference_quadrature.h"

#include "road/engine/coord_calculate.h"
#include "road/engine/design_axis_calculate.h"
#include "road/engine/elements.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvane::road {
namespace {

TEST(SpiralBetweenRadii, MatchesTheQuadratureOfItsTangentAngle) {
    struct Case {
        double R1, R2, Ls, theta;
    };
    const Case cases[] = {
        {300, 150, 40, 0.3},       // tightening to the right
        {150, 300, 40, 5.9},       // opening to the right, across North
        {-300, -150, 40, 2.0},     // tightening to the left
        {-80, -400, 120, 1.0},     // opening to the left, a long turn
        {1000, 999, 50, 4.0},      // nearly a circle
        {20, 12, 60, 0.0},         // coiling: the tangent turns by more than a half turn
        {5000, 200, 300, 3.14159}, // from a gentle arc into a sharp one
    };
    for (const Case& c : cases) {
        SpiralBetweenRadii s{500, 1000, c.theta, c.R1, c.R2, c.Ls};
        const long double k1 = 1.0L / c.R1;
        const long double k2 = 1.0L / c.R2;
        const auto phi = [&](long double t) {
            return c.theta + k1 * t + (k2 - k1) * t * t / (2.0L * c.Ls);
        };
        for (const double l : {0.0, c.Ls * 0.25, c.Ls * 0.5, c.Ls}) {
            AxisPoint p;
            ASSERT_TRUE(s.Evaluate(l, 0, p)) << c.R1 << " " << c.R2;
            const testing::ReferenceOffset ref = testing::IntegrateTangent(
                phi, 0, l, std::fabs(static_cast<double>(phi(l) - phi(0))));
            EXPECT_NEAR(p.North, 1000 + static_cast<double>(ref.north), 1e-9)
                << c.R1 << " " << c.R2 << " at " << l;
            EXPECT_NEAR(p.East, 500 + static_cast<double>(ref.east), 1e-9)
                << c.R1 << " " << c.R2 << " at " << l;
            EXPECT_NEAR(p.Azimuth, static_cast<double>(phi(l)), 1e-12);
        }
    }
}

TEST(SpiralBetweenRadii, RefusesWhatIsNoSuchSpiralAndWorksInAChain) {
    AxisPoint p;
    p.North = 7;
    EXPECT_FALSE((SpiralBetweenRadii{0, 0, 0, 100, 100, 10}.Evaluate(1, 0, p))); // an arc
    EXPECT_FALSE((SpiralBetweenRadii{0, 0, 0, 0, 100, 10}.Evaluate(1, 0, p)));   // from a straight
    EXPECT_FALSE((SpiralBetweenRadii{0, 0, 0, 100, 50, 0}.Evaluate(0, 0, p)));   // no length
    EXPECT_EQ(p.North, 7);

    // Arc R 300, spiral to R 150, arc R 150: the spiral ends where the second arc starts, with
    // its azimuth, and a stake on the spiral has its side points square to the tangent.
    std::vector<PlaneInfo> chain(4);
    chain[0].LineType = LineTypeCircle;
    chain[0].StartRadius = chain[0].EndRadius = 300;
    chain[0].AzimuthAngle = 0.2;
    chain[1].LineType = LineTypeSpiralBetweenRadii;
    chain[1].Mileage = 30;
    chain[1].StartRadius = 300;
    chain[1].EndRadius = 150;
    chain[1].Length = 40;
    chain[2].LineType = LineTypeCircle;
    chain[2].Mileage = 70;
    chain[2].StartRadius = chain[2].EndRadius = 150;
    chain[3].Mileage = 100;
    AxisPoint end;
    Circle{0, 0, 0, 0, 300}.Evaluate(0.2, 30, 0, end);
    chain[1].North = end.North;
    chain[1].East = end.East;
    chain[1].AzimuthAngle = end.Azimuth;
    SpiralBetweenRadii{end.East, end.North, end.Azimuth, 300, 150, 40}.Evaluate(40, 0, end);
    chain[2].North = end.North;
    chain[2].East = end.East;
    chain[2].AzimuthAngle = end.Azimuth;
    EXPECT_NEAR(end.Azimuth, 0.2 + 30.0 / 300 + 40 * (1.0 / 300 + 1.0 / 150) / 2, 1e-12);

    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(0, chain));
    Pile at, beside;
    ASSERT_TRUE(axis.CalculatePile(70, 0, at));
    EXPECT_NEAR(at.MiddleN, end.North, 1e-12);
    ASSERT_TRUE(axis.CalculatePile(50, 4, beside));
    EXPECT_NEAR(Distance(beside.LeftN, beside.LeftE, beside.RightN, beside.RightE), 8, 1e-9);
}

} // namespace
} // namespace telvane::road
