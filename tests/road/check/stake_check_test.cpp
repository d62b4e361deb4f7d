// Measured points against the design: stakes moved by known amounts along and across the axis
// give those amounts back on every element kind and near every boundary; design elevation and
// height difference; verdicts at the tolerances; names that do not name a stake on the road.
#include "check_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>

namespace telvane::road::check {
namespace {

using testing::Design;
using testing::EveryKindChain;
using testing::Grade;

constexpr double SideOffset = 6.5;

TEST(StakeCheck, StakesMovedAlongAndAcrossGiveBackTheirDeviation) {
    const std::vector<PlaneInfo> chain = EveryKindChain();
    const DesignAxisCalculate design = Design(chain);
    const StakeCheck check(design, SideOffset, {});
    ASSERT_TRUE(check.Ready());
    // Stakes at whole millimetres (what a name can hold): inside each element and a millimetre
    // either side of each boundary.
    std::vector<double> stakes;
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        const double a = chain[i].Mileage, b = chain[i + 1].Mileage;
        stakes.push_back(std::round((a + 0.37 * (b - a)) * 1000) / 1000);
        const double boundary = std::round(b * 1000) / 1000;
        for (double d : {-0.001, 0.0, 0.001})
            if (boundary + d >= chain.front().Mileage && boundary + d <= chain.back().Mileage)
                stakes.push_back(boundary + d);
    }
    int tested = 0;
    for (double K : stakes) {
        ChainPoint at;
        ASSERT_TRUE(check.Axis().At(K, SideOffset, at));
        const double s = std::sin(at.Point.Azimuth), c = std::cos(at.Point.Azimuth);
        for (StakeSide side : {StakeSide::Centre, StakeSide::Left, StakeSide::Right}) {
            const double n0 = side == StakeSide::Left    ? at.Point.LeftNorth
                              : side == StakeSide::Right ? at.Point.RightNorth
                                                         : at.Point.North;
            const double e0 = side == StakeSide::Left    ? at.Point.LeftEast
                              : side == StakeSide::Right ? at.Point.RightEast
                                                         : at.Point.East;
            for (auto [along, across] : {std::pair{0.0, 0.0}, std::pair{0.012, -0.007},
                                         std::pair{-0.25, 0.4}, std::pair{1.5, -2.0}}) {
                MeasuredPoint p{format_stake_name(K, side), n0 + along * c - across * s,
                                e0 + along * s + across * c, 0};
                const PointCheck r = check.Check(p);
                ASSERT_EQ(r.StakeState, StakeStatus::Found) << p.Name;
                EXPECT_NEAR(*r.Along, along, 1e-6) << p.Name;
                EXPECT_NEAR(*r.Across, across, 1e-6) << p.Name;
                EXPECT_NEAR(*r.Distance, std::hypot(along, across), 1e-6) << p.Name;
                ++tested;
            }
        }
    }
    EXPECT_GT(tested, 400);
}

TEST(StakeCheck, DesignElevationHeightDifferenceAndVerdictsAtTheTolerances) {
    // North 200 m from (0, 0), chainage 0 to 200; the profile climbs 1 % from 100 m.
    const std::vector<PlaneInfo> chain =
        testing::BuildChain(0, 0, 0, 0, {{LineTypeLine, 0, 0, 200}});
    const DesignAxisCalculate design =
        Design(chain, {Grade(0, 100, 10, 10), Grade(200, 102, 10, 10)});
    const StakeCheck check(design, 5, {0.02, 0.01});
    struct Case {
        MeasuredPoint p;
        std::optional<double> design, dh;
        Verdict verdict;
        bool planExceeded, heightExceeded;
    };
    const Case cases[] = {
        // Plain points: only the height is checked.
        {{"P1", 50, 3, 100.5}, 100.5, 0.0, Verdict::Within, false, false},
        {{"P2", 50, -3, 100.51}, 100.5, 0.01, Verdict::Within, false, false},
        {{"P3", 50, -3, 100.4899}, 100.5, -0.0101, Verdict::Exceeded, false, true},
        // Staked: plan and height.
        {{"K0+100.000", 100, 0.02, 101}, 101, 0, Verdict::Within, false, false},
        {{"K0+100.000R", 100, 5.021, 101}, 101, 0, Verdict::Exceeded, true, false},
        {{"K0+100.000L", 100, -5, 101.02}, 101, 0.02, Verdict::Exceeded, false, true},
        // Outside the road: no design elevation; a plain point is outside, the stake at the
        // start measured a centimetre behind it is still checked against its stake.
        {{"P0", -0.5, 0, 100}, std::nullopt, std::nullopt, Verdict::Outside, false, false},
        {{"K0+000.000", -0.01, 0, 100}, std::nullopt, std::nullopt, Verdict::Within, false, false},
        {{"K0+000.000", -0.5, 0, 100}, std::nullopt, std::nullopt, Verdict::Exceeded, true, false},
    };
    for (const Case& c : cases) {
        const PointCheck r = check.Check(c.p);
        EXPECT_EQ(r.Result, c.verdict) << c.p.Name;
        EXPECT_EQ(r.PlanExceeded, c.planExceeded) << c.p.Name;
        EXPECT_EQ(r.HeightExceeded, c.heightExceeded) << c.p.Name;
        ASSERT_EQ(r.DesignElevation.has_value(), c.design.has_value()) << c.p.Name;
        if (c.design) {
            EXPECT_NEAR(*r.DesignElevation, *c.design, 1e-9) << c.p.Name;
            EXPECT_NEAR(*r.HeightDifference, *c.dh, 1e-9) << c.p.Name;
        }
    }
    // Without a profile a plain point has nothing to be checked against.
    const StakeCheck flat(Design(chain), 5, {});
    EXPECT_EQ(flat.Check({"P1", 50, 3, 100}).Result, Verdict::Unchecked);
    EXPECT_FALSE(flat.Check({"P1", 50, 3, 100}).DesignElevation);
    // Beyond the profile's reach there is no design elevation either.
    const StakeCheck shortProfile(Design(chain, {Grade(0, 100, 0, 0), Grade(50, 100, 0, 0)}), 5,
                                  {});
    EXPECT_FALSE(shortProfile.Check({"P", 120, 0, 100}).DesignElevation);
}

TEST(StakeCheck, NamesThatNameNoStakeOnTheRoad) {
    const std::vector<PlaneInfo> chain =
        testing::BuildChain(0, 0, 0, 0, {{LineTypeLine, 0, 0, 200}});
    const StakeCheck withSides(Design(chain), 5, {});
    const StakeCheck centresOnly(Design(chain), 0, {});
    EXPECT_EQ(withSides.Check({"K0+300.000", 150, 0, 0}).StakeState, StakeStatus::NotOnRoad);
    EXPECT_EQ(withSides.Check({"K0+150.000", 150, 0, 0}).StakeState, StakeStatus::Found);
    EXPECT_EQ(withSides.Check({"K0+150.000X", 150, 0, 0}).StakeState, StakeStatus::None);
    const PointCheck noSide = centresOnly.Check({"K0+150.000L", 150, -5, 0});
    EXPECT_EQ(noSide.StakeState, StakeStatus::NoSidePoint);
    EXPECT_FALSE(noSide.Distance);
    EXPECT_EQ(noSide.Result, Verdict::Unchecked);
    // Stations of a design with an equation: stake names and the chainage column are stations.
    Stationing stations;
    stations.ToStation = [](double internal) { return internal + 1000; };
    stations.ToInternal = [](double station) -> std::optional<double> {
        return station >= 1000 ? std::optional<double>(station - 1000) : std::nullopt;
    };
    const StakeCheck stationed(Design(chain), 5, {}, stations);
    const PointCheck r = stationed.Check({"K1+050.000R", 50, 5.01, 0});
    EXPECT_NEAR(r.Chainage, 1050, 1e-9);
    ASSERT_EQ(r.StakeState, StakeStatus::Found);
    EXPECT_NEAR(*r.Across, 0.01, 1e-9);
    EXPECT_EQ(stationed.Check({"K0+050.000R", 50, 5, 0}).StakeState, StakeStatus::NotOnRoad);
}

TEST(StakeCheck, CheckAllDecidesEachHairpinTieByThePointBefore) {
    const std::vector<PlaneInfo> chain =
        testing::BuildChain(0, 0, 0, 0,
                            {{LineTypeLine, 0, 0, 100},
                             {LineTypeCircle, 20, 0, 20 * std::numbers::pi},
                             {LineTypeLine, 0, 0, 100}});
    const StakeCheck check(Design(chain), 0, {});
    const double second = 100 + 20 * std::numbers::pi;
    // Walking up the first leg, then down the second: the midway point follows the walk.
    const std::vector<PointCheck> up = check.CheckAll({{"a", 40, 1, 0}, {"b", 50, 20, 0}});
    EXPECT_NEAR(up[1].Where.Chainage, 50, 1e-6);
    EXPECT_TRUE(up[1].Where.Tie);
    const std::vector<PointCheck> down = check.CheckAll({{"a", 60, 39, 0}, {"b", 50, 20, 0}});
    EXPECT_NEAR(down[1].Where.Chainage, second + 50, 1e-6);
    EXPECT_TRUE(down[1].Where.Tie);
}

// What Open made of a file gives the points to check by its kind; other data gives none.
TEST(StakeCheck, MeasuredPointsComeFromPointsAndJobsOnly) {
    DataState points;
    points.Kind = DataKind::Points;
    points.CoordList.resize(2);
    points.Coord3List.resize(5); // not what is on show
    DataState codes = points;
    codes.Kind = DataKind::Codes;
    DataState road = points;
    road.Kind = DataKind::Road;
    DataState none;
    EXPECT_EQ(measured_points_of(points)->size(), 2u);
    EXPECT_EQ(measured_points_of(codes), std::nullopt);
    EXPECT_EQ(measured_points_of(road), std::nullopt);
    EXPECT_EQ(measured_points_of(none), std::nullopt);
    DataState three = points;
    three.Kind = DataKind::Points3;
    EXPECT_EQ(measured_points_of(three)->size(), 5u);
    // A job gives the points of its records, not a list left beside it.
    DataState job = points;
    job.Kind = DataKind::Records;
    record_item sc;
    sc.data = sc_data{"P7", "", 0, 3010.5, 480.25, 12};
    job.RecordList = {sc};
    const std::optional<std::vector<MeasuredPoint>> measured = measured_points_of(job);
    ASSERT_TRUE(measured);
    ASSERT_EQ(measured->size(), 1u);
    EXPECT_EQ((*measured)[0].Name, "P7");
    EXPECT_EQ((*measured)[0].North, 3010.5);
    EXPECT_EQ((*measured)[0].East, 480.25);

    // Stations: the design's, or none.
    EXPECT_FALSE(stations_of(std::nullopt).ToStation);
    road::Stationing jump;
    jump.Equations.push_back({150, 150, 1000});
    const Stationing s = stations_of(jump);
    EXPECT_EQ(s.ToStation(160), 1010.0);
    EXPECT_EQ(s.ToInternal(500), std::nullopt);
}

} // namespace
} // namespace telvane::road::check
