#include "road/engine/long_slopes_calculate.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace telvane::road {
namespace {

LongSlopesInfo Grade(double K, double H, double s1, double s2, double R = 0) {
    LongSlopesInfo p;
    p.Mileage = K;
    p.Height = H;
    p.Slope1 = s1;
    p.Slope2 = s2;
    p.Radius = R;
    p.CurveFlag = (R != 0 && R != -1) ? 1 : 0;
    return p;
}

std::optional<double> HeightAt(const std::vector<LongSlopesInfo>& profile, double x) {
    LongSlopesCalculate calc;
    calc.SetProfile(profile);
    return calc.ProfileHeight(x);
}

TEST(LongSlopes, HeightsOnGradesAndVerticalCurves) {
    const std::vector<LongSlopesInfo> straight = {Grade(0, 100, 0, 20), Grade(100, 102, 20, 20)};
    // Crest at K 100: T = 2000·0.04/2 = 40, from K 60 (H 101.2) to K 140 (H 101.2).
    const std::vector<LongSlopesInfo> crest = {Grade(0, 100, 0, 20), Grade(100, 102, 20, -20, 2000),
                                               Grade(200, 100, -20, 0)};
    // The mirrored sag: y is added.
    const std::vector<LongSlopesInfo> sag = {Grade(0, 100, 0, -20), Grade(100, 98, -20, 20, 2000),
                                             Grade(200, 100, 20, 0)};
    // A curve on the first point can never be evaluated.
    const std::vector<LongSlopesInfo> firstCurve = {Grade(0, 100, 0, 20, 500),
                                                    Grade(100, 102, 20, 20)};
    // Two grades with the same chainage: the earlier segment ends there.
    const std::vector<LongSlopesInfo> step = {Grade(0, 100, 0, 0), Grade(50, 100, 0, 0),
                                              Grade(50, 105, 0, 0), Grade(80, 105, 0, 0)};
    struct Case {
        const std::vector<LongSlopesInfo>* profile;
        double x;
        std::optional<double> expected;
    } cases[] = {
        {&straight, 50, 101},      {&straight, 0, 100},     {&straight, 100, 102},
        {&straight, 100.001, {}},  {&straight, -0.001, {}}, {&crest, 100, 101.6},
        {&crest, 60, 101.2},       {&crest, 140, 101.2},    {&crest, 30, 100.6},
        {&crest, 80, 101.6 - 0.1}, {&crest, 170, 100.6},    {&sag, 100, 98.4},
        {&sag, 60, 98.8},          {&firstCurve, 10, {}},   {&firstCurve, 100, {}},
        {&step, 50, 100},          {&step, 65, 105},
    };
    for (const Case& c : cases) {
        const std::optional<double> h = HeightAt(*c.profile, c.x);
        ASSERT_EQ(h.has_value(), c.expected.has_value()) << c.x;
        if (h) {
            EXPECT_NEAR(*h, *c.expected, 1e-9) << c.x;
        }
    }
}

TEST(LongSlopes, CurveRulesAtTheEnds) {
    // A curve on the last point: its segment fails; a curve point with radius 0 behaves as a
    // plain grade point on its way in and fails on its way out.
    const std::vector<LongSlopesInfo> lastCurve = {Grade(0, 100, 0, 20), Grade(100, 102, 20, 20),
                                                   Grade(200, 104, 20, 0, 800)};
    EXPECT_NEAR(*HeightAt(lastCurve, 50), 101, 1e-12);
    EXPECT_FALSE(HeightAt(lastCurve, 150));

    std::vector<LongSlopesInfo> zeroRadius = {Grade(0, 100, 0, 20), Grade(100, 102, 20, 20),
                                              Grade(200, 104, 20, 20)};
    zeroRadius[1].CurveFlag = 1;
    EXPECT_NEAR(*HeightAt(zeroRadius, 100), 102, 1e-12);
    EXPECT_FALSE(HeightAt(zeroRadius, 150));

    // Overlapping curves (K 40..160 and K 90..210): between the two points the first curve holds,
    // its parabola from K 40 (H 100.8) giving 100.8 + 100·0.02 - 100²/6000 at K 140.
    const std::vector<LongSlopesInfo> overlap = {
        Grade(0, 100, 0, 20), Grade(100, 102, 20, -20, 3000), Grade(150, 101, -20, 20, 3000),
        Grade(300, 104, 20, 0)};
    EXPECT_NEAR(*HeightAt(overlap, 140), 102.8 - 10000.0 / 6000, 1e-12);
}

TEST(LongSlopes, VerticalCurveFormulas) {
    const VerticalCurveInfo c = LongSlopesCalculate::VerticalCurve(Grade(100, 102, 20, -20, -2000));
    EXPECT_NEAR(c.T, 40, 1e-12); // sign of the radius ignored
    EXPECT_NEAR(c.StartMileage, 60, 1e-12);
    EXPECT_NEAR(c.StartHeight, 101.2, 1e-12);
    EXPECT_NEAR(c.EndMileage, 140, 1e-12);
    EXPECT_NEAR(c.EndHeight, 101.2, 1e-12);
    // No change of grade counts as a sag: y added.
    EXPECT_NEAR(LongSlopesCalculate::CurveHeight(CurveDirection::Backward, 10, 0.01, 0.01, 100, 10),
                10 - 0.1 + 0.5, 1e-12);
}

} // namespace
} // namespace telvane::road
