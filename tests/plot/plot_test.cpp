#include "../road/design/design_fixtures.h"
#include "plot/picture.h"
#include "road/design/road_design.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace telvane;
using namespace telvane::road;

namespace {

// A road of intersection points, calculated as the road window does, with a profile and stakes.
RoadData CalculatedRoad() {
    RoadData d;
    RoadState& s = EditRoadState(d);
    s.IntersectionPoints = road::testing::WindingRoad(3);
    s.InputMode = RoadList::Intersections;
    LongSlopesInfo a{}, b{}, c{};
    a.Mileage = 0;
    a.Height = 100;
    a.Slope2 = 12;
    b.Mileage = 400;
    b.Height = 104.8;
    b.Slope1 = 12;
    b.Slope2 = -8;
    b.Radius = 5000;
    b.CurveFlag = 1;
    c.Mileage = 5000;
    c.Height = 70;
    c.Slope1 = -8;
    s.GradePoints = {a, b, c};
    s.ProfileChanged = true;
    for (double k = 0; k < 800; k += 50)
        s.Stakes.push_back(Pile{k});
    const CalculationOutcome o = d.Calculate({"", "", "", "", "5"});
    EXPECT_FALSE(o.Refused()) << o.Detail;
    return d;
}

double distance_to_chord(plot::XY p, plot::XY a, plot::XY b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len = std::hypot(dx, dy);
    if (len == 0)
        return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
}

} // namespace

TEST(RoadPlan, SamplesLieOnTheAxisAndChordsStayWithinTheTolerance) {
    const RoadData d = CalculatedRoad();
    for (double tolerance : {0.001, 0.05, 2.0}) {
        const plot::Picture plan =
            plot::road_plan(d.Engine, d.IntersectionPoints(), d.Stakes(), tolerance);
        std::size_t axis_lines = 0;
        for (const plot::Polyline& line : plan.lines) {
            if (line.chainage.empty())
                continue;
            ++axis_lines;
            for (std::size_t i = 0; i < line.points.size(); ++i) {
                Pile p;
                ASSERT_TRUE(d.Engine.CalculatePile(line.chainage[i], 0, p));
                EXPECT_NEAR(line.points[i].x, p.MiddleE, 1e-6);
                EXPECT_NEAR(line.points[i].y, p.MiddleN, 1e-6);
                EXPECT_TRUE(plan.extents.contains(line.points[i]));
                if (i == 0)
                    continue;
                // The curve between two samples, at a few places, against their chord.
                for (double f : {0.25, 0.5, 0.75}) {
                    const double c =
                        line.chainage[i - 1] + f * (line.chainage[i] - line.chainage[i - 1]);
                    ASSERT_TRUE(d.Engine.CalculatePile(c, 0, p));
                    EXPECT_LE(distance_to_chord({p.MiddleE, p.MiddleN}, line.points[i - 1],
                                                line.points[i]),
                              tolerance * 1.0001)
                        << "tolerance " << tolerance << " at " << c;
                }
            }
        }
        EXPECT_EQ(axis_lines + 1, d.Engine.PlaneElements().size());
        for (const plot::Mark& m : plan.marks)
            EXPECT_TRUE(plan.extents.contains(m.at));
    }
}

TEST(RoadPlan, MainPointsWhereTheIntersectionPointsPutThem) {
    const RoadData d = CalculatedRoad();
    const plot::Picture plan = plot::road_plan(d.Engine, d.IntersectionPoints(), d.Stakes(), 0.01);
    std::vector<std::string> labels;
    for (const plot::Mark& m : plan.marks)
        if (m.kind == plot::MarkKind::MainPoint)
            labels.push_back(m.label);
    std::size_t curves = 0;
    for (const IntersectionPointInfo& ip : d.IntersectionPoints()) {
        if (ip.ZH == 0 && ip.HZ == 0)
            continue; // the end points
        ++curves;
        const bool spirals = ip.ClothoidLength1 > 0;
        const std::pair<const char*, double> expected[] = {{spirals ? "ZH" : "ZY", ip.ZH},
                                                           {spirals ? "HZ" : "YZ", ip.HZ}};
        for (auto [name, chainage] : expected) {
            const std::string label = std::string(name) + " " + plot::chainage_text(chainage);
            EXPECT_NE(std::find(labels.begin(), labels.end(), label), labels.end()) << label;
        }
    }
    EXPECT_GT(curves, 0u);
    EXPECT_EQ(plot::chainage_text(1234.5678), "K1+234.568");
    EXPECT_EQ(plot::chainage_text(999.9996), "K1+000.000");
    EXPECT_EQ(plot::chainage_text(5), "K0+005.000");
}

TEST(RoadProfile, SamplesAreTheEnginesElevations) {
    const RoadData d = CalculatedRoad();
    const plot::Picture profile = plot::road_profile(d.Engine, d.GradePoints(), d.Stakes(), 0.001);
    EXPECT_FALSE(profile.north_up);
    bool curve = false;
    for (const plot::Polyline& line : profile.lines) {
        if (line.stroke != plot::Stroke::VerticalCurve)
            continue;
        curve = true;
        ASSERT_GE(line.points.size(), 3u);
        for (std::size_t i = 0; i < line.points.size(); ++i) {
            Pile p;
            ASSERT_TRUE(d.Engine.CalculatePile(line.chainage[i], 0, p));
            EXPECT_NEAR(line.points[i].y, p.MiddleZ, 1e-9);
        }
    }
    EXPECT_TRUE(curve);
    for (const plot::Mark& m : profile.marks)
        EXPECT_TRUE(profile.extents.contains(m.at));
}

// A curve typed kilometres long, or a tolerance of nothing, is drawn with a bounded number of
// points (random use hung the road window on a vertical curve of a huge radius).
TEST(RoadProfile, AHugeCurveOrNoToleranceIsDrawnWithBoundedPoints) {
    const RoadData d = CalculatedRoad();
    std::vector<LongSlopesInfo> grades = d.GradePoints();
    for (LongSlopesInfo& g : grades)
        if (g.CurveFlag == 1)
            g.Radius = 1e12;
    for (const double tolerance : {0.0, 1e-9}) {
        const plot::Picture profile = plot::road_profile(d.Engine, grades, d.Stakes(), tolerance);
        for (const plot::Polyline& line : profile.lines)
            EXPECT_LE(line.points.size(), 20001u) << tolerance;
        const plot::Picture plan =
            plot::road_plan(d.Engine, d.IntersectionPoints(), d.Stakes(), tolerance);
        std::size_t points = 0;
        for (const plot::Polyline& line : plan.lines)
            points += line.points.size();
        EXPECT_LE(points, 20001u * d.Engine.PlaneElements().size()) << tolerance;
    }
}

TEST(PointsMap, NamesCodesAndExtents) {
    const std::vector<coord_item> points = {{"P1", "TREE", 100, 200, 1}, {"", "", -5, 7, 0}};
    const plot::Picture with = plot::points_map(points, true);
    ASSERT_EQ(with.marks.size(), 2u);
    EXPECT_EQ(with.marks[0].label, "P1 TREE");
    EXPECT_EQ(with.marks[1].label, "NONAME");
    EXPECT_EQ(with.marks[0].at.x, 200); // east across, north up
    EXPECT_EQ(with.extents.min_y, -5);
    EXPECT_EQ(with.extents.max_x, 200);
    EXPECT_EQ(plot::points_map(points, false).marks[0].label, "P1");
    // Labels are escaped for XML and control characters left out.
    const std::string text = plot::svg(plot::points_map({{"A<&>\"\x01", "", 0, 0, 0}}, false), 400,
                                       "T", [](std::string_view s) { return std::string(s); });
    EXPECT_NE(text.find("A&lt;&amp;&gt;&quot;</text>"), std::string::npos);
}

TEST(RoadPlan, ChordsOfATightClothoidStayWithinTheTolerance) {
    // A hairpin: spirals into and out of a 25 m arc.
    std::vector<PlaneInfo> chain = road::testing::ChainOfKinds("LSASL");
    chain[0].North = 1000;
    chain[0].East = 1000;
    chain[0].Length = 50;
    for (std::size_t k : {1u, 2u, 3u}) {
        chain[k].StartRadius = chain[k].EndRadius = 25;
        chain[k].Direction = "R";
    }
    chain[1].Length = chain[3].Length = 20;
    chain[2].Length = 40;
    chain[4].Length = 50;
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message)) << message;
    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(0, chain));
    const double tolerance = 0.0005;
    const plot::Picture plan = plot::road_plan(axis, {}, {}, tolerance);
    std::size_t clothoids = 0;
    for (const plot::Polyline& line : plan.lines) {
        clothoids += line.stroke == plot::Stroke::Clothoid;
        for (std::size_t i = 1; i < line.points.size(); ++i) {
            const double c = (line.chainage[i - 1] + line.chainage[i]) / 2;
            Pile p;
            ASSERT_TRUE(axis.CalculatePile(c, 0, p));
            EXPECT_LE(distance_to_chord({p.MiddleE, p.MiddleN}, line.points[i - 1], line.points[i]),
                      tolerance);
        }
    }
    EXPECT_GE(clothoids, 2u);
}
