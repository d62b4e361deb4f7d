// The road data's LandXML load and save, as the road window uses them: a loaded design is
// calculated without the line-element preparation and saves back to the same stakes.
#include "landxml_fixtures.h"
#include "tempdir.h"

#include "road/landxml/road_design_io.h"

#include <gtest/gtest.h>

namespace telvane::road {
namespace {

using telvane::testing::TempDir;

std::string TwoRoads(const testing::GoldenRoad& a, const testing::GoldenRoad& b) {
    landxml::DesignToWrite d;
    d.Name = a.Name;
    d.Elements = a.Chain;
    d.Profile = a.Profile;
    d.Stations = a.Stations;
    std::string first = *landxml::write_design(d).Value;
    d.Name = b.Name;
    d.Elements = b.Chain;
    d.Profile = {};
    const std::string second = *landxml::write_design(d).Value;
    // The second file's alignment joins the first file's list.
    const auto from = second.find("<Alignment ");
    const auto to = second.find("</Alignment>") + 12;
    first.insert(first.find("</Alignments>"), second.substr(from, to - from));
    return first;
}

TEST(RoadDesignIo, LoadCalculateAndSaveAgain) {
    const auto roads = testing::GoldenRoads();
    const testing::GoldenRoad& road = roads[2];
    TempDir dir;
    const std::string path = dir.write("two.xml", TwoRoads(road, roads[0]));

    RoadData data;
    data.InsertStake(0, Pile{road.Chain.front().Mileage + 10});
    const landxml::DesignLoad several = landxml::load_design(data, path);
    EXPECT_FALSE(several.Design);
    EXPECT_EQ(several.Error.Key, landxml::keys::SeveralAlignments);
    EXPECT_EQ(several.Choices, (std::vector<std::string>{road.Name, roads[0].Name}));
    EXPECT_TRUE(data.PlaneElements().empty()); // nothing changed

    const landxml::DesignLoad load = landxml::load_design(data, path, road.Name);
    ASSERT_TRUE(load.Design) << load.Error.Key;
    EXPECT_EQ(data.InputMode(), RoadList::Elements);
    EXPECT_TRUE(data.PlanePrepared());
    EXPECT_EQ(data.GradePoints().size(), road.Profile.size());
    EXPECT_EQ(data.DesignName(), road.Name);
    EXPECT_EQ(data.Stations(), load.Design->Stations);

    // Not yet calculated: nothing to save.
    const auto early = landxml::save_design(data, dir.file("early.xml"), true, 0);
    ASSERT_TRUE(early);
    EXPECT_EQ(early->Key, landxml::keys::NoAlignment);

    const CalculationOutcome outcome = data.Calculate(StartPoint{"", "", "", "", "3"});
    ASSERT_FALSE(outcome.Refused()) << outcome.Detail;
    EXPECT_EQ(outcome.FailedStakes, 0u);
    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(0, road.Chain));
    ASSERT_TRUE(axis.SetLongSlopes(road.Profile));
    Pile expected;
    ASSERT_TRUE(axis.CalculatePile(road.Chain.front().Mileage + 10, 3, expected));
    EXPECT_NEAR(data.Stakes()[0].RightE, expected.RightE, 1e-9);
    EXPECT_NEAR(data.Stakes()[0].MiddleZ, expected.MiddleZ, 1e-9);

    // Saved with its stakes, loaded into fresh data: the same stake.
    ASSERT_FALSE(landxml::save_design(data, dir.file("out.xml"), true, 3));
    const auto points = landxml::read_points(TempDir::read(dir.file("out.xml")));
    ASSERT_TRUE(points);
    EXPECT_EQ(points.Value->size(), 3u); // centre, left, right
    RoadData again;
    again.InsertStake(0, Pile{road.Chain.front().Mileage + 10});
    const landxml::DesignLoad reloaded = landxml::load_design(again, dir.file("out.xml"));
    ASSERT_TRUE(reloaded.Design);
    EXPECT_EQ(reloaded.Design->Name, road.Name); // written under the design's own name
    ASSERT_FALSE(again.Calculate(StartPoint{"", "", "", "", "3"}).Refused());
    EXPECT_NEAR(again.Stakes()[0].RightN, expected.RightN, 1e-9);

    // A file that cannot be written leaves the reason.
    std::string error;
    const auto failed =
        landxml::save_design(data, dir.file("no/such/folder/x.xml"), false, 0, &error);
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->Key, "Failure");
    EXPECT_FALSE(error.empty());

    const landxml::DesignLoad missing = landxml::load_design(again, dir.file("none.xml"));
    EXPECT_EQ(missing.Error.Key, "file_read_error");
}

} // namespace
} // namespace telvane::road
