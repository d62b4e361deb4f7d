// The foot of a point on the axis: points placed square to the axis at known chainages and
// offsets come back with them, on every element kind and at every element boundary; a hairpin's
// tie; points beyond either end.
#include "check_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvane::road::check {
namespace {

using testing::BuildChain;
using testing::EveryKindChain;
using testing::Piece;

// The point `offset` to the right of the axis at chainage K, from the engine's own evaluation.
PlanPoint Beside(const AxisIndex& axis, double K, double offset) {
    ChainPoint at;
    EXPECT_TRUE(axis.At(K, 0, at)) << K;
    return {at.Point.North - offset * std::sin(at.Point.Azimuth),
            at.Point.East + offset * std::cos(at.Point.Azimuth)};
}

TEST(FootSearch, GivesBackChainageAndOffsetOnEveryElementAndBoundary) {
    const std::vector<PlaneInfo> chain = EveryKindChain();
    const AxisIndex axis(chain);
    ASSERT_FALSE(axis.Empty());
    std::vector<double> chainages;
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        const double a = chain[i].Mileage, b = chain[i + 1].Mileage;
        for (double f : {0.0, 0.013, 0.25, 0.5, 0.77, 0.999})
            chainages.push_back(a + f * (b - a));
        // Close on either side of the boundary, and on it.
        for (double d : {-1e-3, -1e-6, 1e-6, 1e-3})
            if (b + d > chain.front().Mileage && b + d < chain.back().Mileage)
                chainages.push_back(b + d);
    }
    chainages.push_back(chain.back().Mileage);
    int tested = 0;
    for (double K : chainages) {
        for (double offset : {-14.5, -2.0, -0.004, 0.0, 0.3, 7.25, 15.0}) {
            const PlanPoint p = Beside(axis, K, offset);
            const std::optional<Foot> foot = axis.FootOf(p);
            ASSERT_TRUE(foot) << K << " " << offset;
            EXPECT_EQ(foot->Position, FootPosition::OnAxis) << K << " " << offset;
            EXPECT_NEAR(foot->Chainage, K, 1e-6) << "offset " << offset;
            EXPECT_NEAR(foot->Offset, offset, 1e-6) << "chainage " << K;
            EXPECT_FALSE(foot->Tie) << K << " " << offset;
            ++tested;
        }
    }
    EXPECT_GT(tested, 500);
}

TEST(FootSearch, LongRoadAndFarPointsStillFindTheNearestPart) {
    // A long winding road of alternating curves; points well away from it.
    std::vector<Piece> pieces;
    for (int k = 0; k < 200; ++k) {
        const double R = k % 2 == 0 ? 400 : -400;
        pieces.push_back({LineTypeLine, 0, 0, 200});
        pieces.push_back({LineTypeClothoid, 0, 0, 60});
        pieces.push_back({LineTypeCircle, R, 0, 100.0 + (k % 7) * 10});
        pieces.push_back({LineTypeClothoid, 0, 0, 60});
    }
    pieces.push_back({LineTypeLine, 0, 0, 200});
    const std::vector<PlaneInfo> chain = BuildChain(10000, 5000, 0.3, 0, pieces);
    const AxisIndex axis(chain);
    const double end = chain.back().Mileage;
    for (double K = 17.3; K < end; K += 997.1) {
        for (double offset : {-60.0, 35.0}) {
            const std::optional<Foot> foot = axis.FootOf(Beside(axis, K, offset));
            ASSERT_TRUE(foot);
            EXPECT_NEAR(foot->Chainage, K, 1e-6);
            EXPECT_NEAR(foot->Offset, offset, 1e-6);
        }
    }
    // Far off to the side the nearest point is still found (checked against a dense scan).
    const PlanPoint far{10000 - 3000, 5000 + 9000};
    const std::optional<Foot> foot = axis.FootOf(far);
    ASSERT_TRUE(foot);
    double nearest = 1e300;
    for (double K = 0; K <= end; K += 0.5) {
        ChainPoint at;
        ASSERT_TRUE(axis.At(K, 0, at));
        nearest =
            std::min(nearest, std::hypot(at.Point.North - far.North, at.Point.East - far.East));
    }
    EXPECT_LE(foot->Distance, nearest + 1e-9);
    EXPECT_NEAR(foot->Distance, nearest, 1e-3);
}

// North 100 m, a half circle of radius 20 to the right, South 100 m: two legs 40 m apart.
std::vector<PlaneInfo> Hairpin() {
    return BuildChain(0, 0, 0, 0,
                      {{LineTypeLine, 0, 0, 100},
                       {LineTypeCircle, 20, 0, 20 * std::numbers::pi},
                       {LineTypeLine, 0, 0, 100}});
}

TEST(FootSearch, HairpinTieTakesTheChainageNearerThePreviousPointAndSaysSo) {
    const AxisIndex axis(Hairpin());
    const double secondLeg = 100 + 20 * std::numbers::pi + 50; // the second leg's point abreast
    const PlanPoint between{50, 20};                           // 20 m from either leg
    struct Case {
        std::optional<double> previous;
        double expected;
        double offset;
    };
    for (const Case& c : {Case{std::nullopt, 50, 20}, Case{10.0, 50, 20},
                          Case{300.0, secondLeg, 20}, Case{secondLeg - 5, secondLeg, 20}}) {
        const std::optional<Foot> foot = axis.FootOf(between, c.previous);
        ASSERT_TRUE(foot);
        EXPECT_TRUE(foot->Tie);
        EXPECT_NEAR(foot->Chainage, c.expected, 1e-6);
        // Inside a right-hand bend: on the right of both legs.
        EXPECT_NEAR(foot->Offset, c.offset, 1e-6);
    }
    // A centimetre nearer the second leg is no tie, whatever came before.
    const std::optional<Foot> nearer = axis.FootOf({50, 20.01}, 10.0);
    ASSERT_TRUE(nearer);
    EXPECT_FALSE(nearer->Tie);
    EXPECT_NEAR(nearer->Chainage, secondLeg, 1e-6);
    EXPECT_NEAR(nearer->Offset, 19.99, 1e-6);
}

TEST(FootSearch, PointsBeyondTheEndsAreOutsideAndOnTheEndNormalsAreNot) {
    const std::vector<PlaneInfo> chain = Hairpin();
    const AxisIndex axis(chain);
    const double end = chain.back().Mileage;
    struct Case {
        PlanPoint p;
        FootPosition position;
        double chainage, offset, along;
    };
    const Case cases[] = {
        {{-5, 3}, FootPosition::BeforeStart, 0, 3, -5},
        {{-1e-4, -2}, FootPosition::BeforeStart, 0, -2, -1e-4},
        {{0, 3}, FootPosition::OnAxis, 0, 3, 0}, // square to the start
        {{1e-6, -3}, FootPosition::OnAxis, 1e-6, -3, 0},
        {{-8, 40}, FootPosition::PastEnd, end, -0, 8}, // beyond the end, heading South
        {{0, 45}, FootPosition::OnAxis, end, -5, 0},   // square to the end, on its left
    };
    for (const Case& c : cases) {
        const std::optional<Foot> foot = axis.FootOf(c.p);
        ASSERT_TRUE(foot);
        EXPECT_EQ(foot->Position, c.position) << c.p.North << " " << c.p.East;
        EXPECT_NEAR(foot->Chainage, c.chainage, 1e-6);
        EXPECT_NEAR(foot->Offset, c.offset, 1e-6);
        EXPECT_NEAR(foot->Along, c.along, 1e-6);
    }
}

TEST(FootSearch, EmptyAxisAndPointsThatAreNotNumbersGiveNothing) {
    EXPECT_FALSE(AxisIndex().FootOf({0, 0}));
    const AxisIndex axis(Hairpin());
    EXPECT_FALSE(axis.FootOf({std::nan(""), 0}));
    EXPECT_FALSE(axis.FootOf({0, std::numeric_limits<double>::infinity()}));
    // A chain of one element has no axis; a clothoid the engine cannot evaluate is left out.
    EXPECT_TRUE(AxisIndex(std::vector<PlaneInfo>(1)).Empty());
}

} // namespace
} // namespace telvane::road::check
