// Every golden road written as LandXML and read back gives the same stakes: same success, same
// centre and side points and elevations within 1e-9 m.
#include "landxml_fixtures.h"

#include <gtest/gtest.h>

namespace telvane::road {
namespace {

using testing::GoldenRoad;

struct Axis {
    DesignAxisCalculate Engine;
    bool Accepted = false;
};

void Set(DesignAxisCalculate& axis, double start, const std::vector<PlaneInfo>& chain,
         const std::vector<LongSlopesInfo>& profile) {
    ASSERT_TRUE(axis.SetPlaneElements(start, chain));
    ASSERT_TRUE(axis.SetLongSlopes(profile));
}

void ExpectSameStakes(const GoldenRoad& road, const DesignAxisCalculate& a,
                      const DesignAxisCalculate& b) {
    const std::vector<double> chainages = testing::StakeChainages(road.Chain, 7.3);
    std::size_t placed = 0;
    for (const double offset : {0.0, 5.0}) {
        for (const double k : chainages) {
            Pile p, q;
            const bool okA = a.CalculatePile(k, offset, p);
            const bool okB = b.CalculatePile(k, offset, q);
            ASSERT_EQ(okA, okB) << road.Name << " at " << k;
            placed += okA;
            const double pa[] = {p.MiddleN, p.MiddleE, p.MiddleZ, p.LeftN, p.LeftE,
                                 p.LeftZ,   p.RightN,  p.RightE,  p.RightZ};
            const double qa[] = {q.MiddleN, q.MiddleE, q.MiddleZ, q.LeftN, q.LeftE,
                                 q.LeftZ,   q.RightN,  q.RightE,  q.RightZ};
            for (int f = 0; f < 9; ++f)
                EXPECT_NEAR(pa[f], qa[f], 1e-9) << road.Name << " at " << k << " field " << f;
        }
    }
    EXPECT_EQ(placed, 2 * chainages.size()) << road.Name; // every stake lies on the road
}

TEST(LandXmlRoundTrip, EveryGoldenRoadGivesTheSameStakes) {
    for (const GoldenRoad& road : testing::GoldenRoads()) {
        SCOPED_TRACE(road.Name);
        ASSERT_GE(road.Chain.size(), 2u);
        DesignAxisCalculate original;
        Set(original, road.Chain.front().Mileage, road.Chain, road.Profile);

        landxml::DesignToWrite design;
        design.Name = road.Name;
        design.Elements = road.Chain;
        design.Stations = road.Stations;
        design.Profile = road.Profile;
        const auto text = landxml::write_design(design);
        ASSERT_TRUE(text) << text.Error.Key << " " << text.Error.Subject;

        const auto read = landxml::read_alignment(*text.Value);
        ASSERT_TRUE(read) << read.Error.Key << " " << read.Error.Subject;
        EXPECT_EQ(read.Value->Name, road.Name);
        EXPECT_NEAR(read.Value->Stations.Start, road.Chain.front().Mileage, 1e-9);
        ASSERT_EQ(read.Value->Profile.size(), road.Profile.size());
        for (std::size_t k = 0; k < road.Profile.size(); ++k) {
            EXPECT_NEAR(read.Value->Profile[k].Radius, road.Profile[k].Radius, 1e-6);
            EXPECT_EQ(read.Value->Profile[k].CurveFlag, road.Profile[k].CurveFlag);
        }
        DesignAxisCalculate back;
        Set(back, read.Value->Stations.Start, read.Value->Elements, read.Value->Profile);
        ExpectSameStakes(road, original, back);

        // Written again, the design reads back to the same chain once more.
        design.Elements = read.Value->Elements;
        design.Profile = read.Value->Profile;
        const auto again = landxml::write_design(design);
        ASSERT_TRUE(again);
        const auto reread = landxml::read_alignment(*again.Value);
        ASSERT_TRUE(reread);
        DesignAxisCalculate third;
        Set(third, reread.Value->Stations.Start, reread.Value->Elements, reread.Value->Profile);
        ExpectSameStakes(road, original, third);
    }
}

TEST(LandXmlRoundTrip, SpiralBetweenTwoArcsComesBackAsItWas) {
    GoldenRoad road;
    road.Name = "compound";
    road.Chain = testing::CompoundChain();
    road.Profile = testing::Profile(road.Chain.front().Mileage, road.Chain.back().Mileage);
    DesignAxisCalculate original;
    Set(original, 0, road.Chain, road.Profile);
    landxml::DesignToWrite design;
    design.Elements = road.Chain;
    design.Profile = road.Profile;
    const auto text = landxml::write_design(design);
    ASSERT_TRUE(text);
    const auto read = landxml::read_alignment(*text.Value);
    ASSERT_TRUE(read) << read.Error.Key << " " << read.Error.Subject;
    EXPECT_EQ(read.Value->Counts.Spirals, 1u);
    EXPECT_EQ(read.Value->Counts.Curves, 2u);
    DesignAxisCalculate back;
    Set(back, 0, read.Value->Elements, read.Value->Profile);
    ExpectSameStakes(road, original, back);
}

// Grades typed rounded in the window are not what the points say; the file carries the points,
// and the radii of the vertical curves come back as they were.
TEST(LandXmlRoundTrip, ProfileKeepsItsRadiiWhateverGradesWereTyped) {
    landxml::DesignToWrite design;
    design.Elements = testing::GoldenRoads().front().Chain;
    design.Profile = {{0, 0, 100, 0, 12.5, 12.5},
                      {600, 1, 107.49, 4000, 12.5, -8.3},
                      {1200, 0, 102.5, 0, -8.3, -8.3}};
    const auto read = landxml::read_alignment(*landxml::write_design(design).Value);
    ASSERT_TRUE(read);
    const auto& p = read.Value->Profile;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_NEAR(p[1].Radius, 4000, 1e-9);
    EXPECT_NEAR(p[1].Slope1, 1000 * 7.49 / 600, 1e-9);
    EXPECT_NEAR(p[1].Slope2, 1000 * -4.99 / 600, 1e-9);
    EXPECT_EQ(p[2].Height, 102.5);
}

TEST(LandXmlRoundTrip, StakesAndPointsComeBackAsPointsWithUniqueNames) {
    const GoldenRoad road = testing::GoldenRoads().front();
    DesignAxisCalculate axis;
    Set(axis, road.Chain.front().Mileage, road.Chain, road.Profile);
    landxml::DesignToWrite design;
    design.Elements = road.Chain;
    design.Stations = road.Stations;
    design.Stations.Equations.push_back({200, 200, 5000}); // from chainage 200 on, 5000 on
    for (const double k : {100.0, 100.0, 250.5}) {         // the same chainage twice
        Pile p;
        p.Mileage = k;
        ASSERT_TRUE(axis.CalculatePile(k, 4, p));
        design.Stakes.push_back(p);
    }
    const auto text = landxml::write_design(design);
    ASSERT_TRUE(text);
    const auto points = landxml::read_points(*text.Value);
    ASSERT_TRUE(points) << points.Error.Key;
    // Stakes are named by their stations.
    const std::vector<std::string> names = {"100",    "100L",   "100R",    "100_2",  "100L_2",
                                            "100R_2", "5050.5", "5050.5L", "5050.5R"};
    ASSERT_EQ(points.Value->size(), names.size());
    for (std::size_t k = 0; k < names.size(); ++k)
        EXPECT_EQ((*points.Value)[k].Name, names[k]);
    EXPECT_NEAR((*points.Value)[1].North, design.Stakes[0].LeftN, 1e-12);
    EXPECT_NEAR((*points.Value)[8].Elevation, design.Stakes[2].RightZ, 1e-12);
    // The equation comes back as it went.
    const auto read = landxml::read_alignment(*text.Value);
    ASSERT_TRUE(read);
    ASSERT_EQ(read.Value->Stations.Equations.size(), 1u);
    EXPECT_EQ(read.Value->Stations.Equations[0].Internal, 200);
    EXPECT_EQ(read.Value->Stations.Equations[0].Ahead, 5000);
    EXPECT_EQ(read.Value->Stations.Equations[0].Back, 200);

    // Points of the main window, a GBK name among them, duplicates renamed, codes kept.
    std::vector<coord_item> list(3);
    list[0].name = "\xb5\xe3"
                   "1"; // 点1
    list[0].code = "TREE";
    list[0].north = 3000.125;
    list[0].east = -12.5;
    list[0].elev = 7;
    list[1].name = "\xb5\xe3"
                   "1";
    list[2].name = "P\x01"
                   "3"; // a control character XML cannot carry
    const auto back = landxml::read_points(landxml::write_points(list));
    ASSERT_TRUE(back);
    ASSERT_EQ(back.Value->size(), 3u);
    EXPECT_EQ((*back.Value)[0].Name, "\xb5\xe3"
                                     "1");
    EXPECT_EQ((*back.Value)[1].Name, "\xb5\xe3"
                                     "1_2");
    EXPECT_EQ((*back.Value)[2].Name, "P?3");
    EXPECT_EQ((*back.Value)[0].Code, "TREE");
    EXPECT_EQ((*back.Value)[0].North, 3000.125);
    EXPECT_EQ((*back.Value)[0].East, -12.5);
    EXPECT_EQ((*back.Value)[0].Elevation, 7);
}

} // namespace
} // namespace telvane::road
