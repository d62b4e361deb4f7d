// The check's plan: points coloured by verdict, arrows from the stakes exaggerated by the factor
// written on the picture, the road cut to the points' surroundings.
#include "plot/check_picture.h"

#include "road/check/road_check.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace telvane;
using namespace telvane::road;

namespace {

// North 5 km from (0, 0), then nothing else: long enough that cutting it shows.
DesignAxisCalculate Straight() {
    std::vector<PlaneInfo> chain(2);
    chain[1].North = 5000;
    chain[1].Mileage = 5000;
    DesignAxisCalculate d;
    EXPECT_TRUE(d.SetPlaneElements(0, chain));
    return d;
}

TEST(CheckPicture, ArrowsExaggeratedFromTheStakesAndTheFactorWritten) {
    const DesignAxisCalculate axis = Straight();
    const check::StakeCheck check(axis, 5, {});
    const std::vector<check::PointCheck> checks = check.CheckAll({
        {"K0+100.000R", 100.01, 5.0, 0}, // 1 cm ahead of its stake: within
        {"K0+300.000", 300, -0.05, 0},   // 5 cm left of it: exceeded
        {"P7", 200, 12, 0},              // nothing to check
        {"P8", -30, 0, 0},               // before the start
    });
    EXPECT_EQ(plot::arrow_factor(checks), 500); // span 330 m, 5 cm: about 330

    const plot::Picture pic = plot::check_plan(axis, checks, 200, "x%s", 0.01);
    ASSERT_EQ(pic.notes, std::vector<std::string>{"x200"});
    std::vector<plot::Polyline> arrows;
    for (const plot::Polyline& l : pic.lines)
        if (l.stroke == plot::Stroke::Deviation)
            arrows.push_back(l);
    ASSERT_EQ(arrows.size(), 2u);
    // From the stake to the stake plus 200 times the deviation, then the head.
    EXPECT_NEAR(arrows[0].points[0].x, 5, 1e-9);
    EXPECT_NEAR(arrows[0].points[0].y, 100, 1e-9);
    EXPECT_NEAR(arrows[0].points[1].x, 5, 1e-6);
    EXPECT_NEAR(arrows[0].points[1].y, 102, 1e-6);
    EXPECT_NEAR(arrows[1].points[1].x, -10, 1e-6);
    EXPECT_NEAR(arrows[1].points[1].y, 300, 1e-6);
    ASSERT_EQ(arrows[0].points.size(), 5u);
    for (int k : {2, 4}) // head strokes a quarter of the arrow long
        EXPECT_NEAR(std::hypot(arrows[0].points[k].x - 5, arrows[0].points[k].y - 102), 0.5, 1e-6);

    std::vector<std::pair<plot::MarkKind, std::string>> marks;
    for (const plot::Mark& m : pic.marks)
        if (m.kind != plot::MarkKind::MainPoint)
            marks.emplace_back(m.kind, m.label);
    const std::vector<std::pair<plot::MarkKind, std::string>> expected = {
        {plot::MarkKind::Stake, ""},
        {plot::MarkKind::CheckWithin, "K0+100.000R"},
        {plot::MarkKind::Stake, ""},
        {plot::MarkKind::CheckExceeded, "K0+300.000"},
        {plot::MarkKind::CheckUnchecked, "P7"},
        {plot::MarkKind::CheckOutside, "P8"},
    };
    EXPECT_EQ(marks, expected);

    // The picture shows the points' surroundings, not the whole 5 km of road.
    EXPECT_TRUE(pic.extents.contains({-10, 300}));
    EXPECT_TRUE(pic.extents.contains({0, -30}));
    EXPECT_LT(pic.extents.max_y, 400);
    for (const plot::Polyline& l : pic.lines)
        for (const plot::XY& p : l.points)
            EXPECT_LT(p.y, 5000) << "the road's far end is cut off";

    const std::string svg =
        plot::svg(pic, 800, "check", [](std::string_view s) { return std::string(s); });
    EXPECT_NE(svg.find(">x200</text>"), std::string::npos);
}

TEST(CheckPicture, WithoutStakesTheFactorIsOneAndTheWholeRoadWithoutPoints) {
    const DesignAxisCalculate axis = Straight();
    EXPECT_EQ(plot::arrow_factor({}), 1);
    const plot::Picture pic = plot::check_plan(axis, {}, 1, "x%s", 0.01);
    EXPECT_NEAR(pic.extents.max_y, 5000, 1e-9);
    EXPECT_EQ(pic.notes, std::vector<std::string>{"x1"});
}

} // namespace
