// telvane-cli with LandXML: a road designed from intersection points goes out as LandXML and
// comes back with the same stakes; stakes keep their stations across station equations; points
// convert to and from LandXML; info lists the alignments.
#include "cli_run.h"
#include "road_samples.h"
#include "tempdir.h"

#include "model/numtext.h"
#include "model/textlines.h"

#include <gtest/gtest.h>

#include <cmath>

using telvane::testing::kSampleIntersections;
using telvane::testing::kSampleProfile;
using telvane::testing::StakeTable;
using telvane::testing::TempDir;

namespace {

const char* const kStakes = "Chainage\r\n1000\r\n1100\r\n1500\r\n2000\r\n2400\r\n";

// A straight north, then a right arc: station 0 at N 0 E 0; the stations jump from 150 to 1000
// at internal chainage 150.
const char* const kEquationDesign = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units><Metric areaUnit="squareMeter" linearUnit="meter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="HPA"/></Units>
  <Alignments>
    <Alignment name="A" length="300" staStart="0">
      <CoordGeom><Line><Start>0 0</Start><End>300 0</End></Line></CoordGeom>
      <StaEquation staInternal="150" staBack="150" staAhead="1000"/>
    </Alignment>
    <Alignment name="B" length="100" staStart="0">
      <CoordGeom><Line><Start>0 0</Start><End>0 100</End></Line></CoordGeom>
    </Alignment>
  </Alignments>
</LandXML>)";

TEST(CliLandXml, RoadOutAndBackGivesTheSameStakes) {
    TempDir dir;
    const std::string phi = dir.write("road.PHI", kSampleIntersections);
    const std::string pvi = dir.write("road.PVI", kSampleProfile);
    const std::string stakes = dir.write("stakes.csv", kStakes);
    const CliRun first = cli({"road", "--phi", phi, "--pvi", pvi, "--stakes", stakes, "--offset",
                              "5", "-o", dir.file("a.csv"), "--landxml-out", dir.file("d.xml")});
    ASSERT_EQ(first.status, 0) << first.err;

    const CliRun second =
        cli({"road", "--landxml", dir.file("d.xml"), "--stakes", stakes, "--offset", "5"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(second.err, "");
    const auto a = StakeTable(TempDir::read(dir.file("a.csv")));
    const auto b = StakeTable(second.out);
    ASSERT_EQ(a.size(), 5u);
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t k = 0; k < a.size(); ++k)
        for (std::size_t f = 0; f < a[k].size(); ++f)
            if (!std::isnan(a[k][f]) || !std::isnan(b[k][f])) {
                EXPECT_NEAR(b[k][f], a[k][f], 1e-9) << k << " " << f;
            }
    EXPECT_NEAR(b[3][3], 112 - 0.0 - 50.0 * 50 / 10000, 1e-9); // on the vertical curve's PVI

    // --pvi replaces the file's profile.
    const std::string flat = dir.write("flat.PVI", "K,H,i1,i2,R\r\n0,5,0,0,0\r\n9000,5,0,0,0\r\n");
    const CliRun third = cli({"road", "--landxml", dir.file("d.xml"), "--pvi", flat, "--stakes",
                              stakes, "-o", dir.file("c.csv")});
    ASSERT_EQ(third.status, 0) << third.err;
    EXPECT_EQ(StakeTable(TempDir::read(dir.file("c.csv")))[2][3], 5);

    const CliRun info = cli({"info", dir.file("d.xml")});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_NE(info.out.find("alignment Road\n  start station 1000\n"), std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("  lines 3, curves 2, spirals 4\n  profile Road profile\n"),
              std::string::npos)
        << info.out;
    EXPECT_NE(info.out.find("points 15\n"), std::string::npos) << info.out;
}

TEST(CliLandXml, StationEquationsAndChoosingTheAlignment) {
    TempDir dir;
    const std::string xml = dir.write("eq.xml", kEquationDesign);
    const std::string stakes = dir.write("s.csv", "K\r\n100\r\n1010\r\n1100\r\n500\r\n");

    const CliRun none = cli({"road", "--landxml", xml, "--stakes", stakes});
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("[landxml_several_alignments]"), std::string::npos) << none.err;

    const CliRun r = cli({"road", "--landxml", xml, "--alignment", "A", "--stakes", stakes});
    EXPECT_EQ(r.status, 0); // station 500 lies in the jump: a warning, as any stake outside
    EXPECT_NE(r.err.find("500: This station does not exist on the alignment"), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("[road_stakes_out_of_range]"), std::string::npos) << r.err;
    const auto t = StakeTable(r.out);
    ASSERT_EQ(t.size(), 4u);
    EXPECT_EQ(t[0][0], 100);
    EXPECT_EQ(t[0][1], 100);
    EXPECT_EQ(t[1][0], 1010); // written under its station,
    EXPECT_EQ(t[1][1], 160);  // placed at its internal chainage
    EXPECT_EQ(t[2][1], 250);
    EXPECT_EQ(t[3][0], 500);
    EXPECT_TRUE(std::isnan(t[3][1])); // outside: its coordinates are left empty

    const CliRun b = cli({"road", "--landxml", xml, "--alignment", "B", "--stakes", stakes});
    ASSERT_NE(b.status, 2);
    EXPECT_EQ(StakeTable(b.out)[0][2], 100);

    const CliRun missing = cli({"road", "--landxml", xml, "--alignment", "C", "--stakes", stakes});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("The LandXML file has no such alignment [landxml_no_alignment]"),
              std::string::npos)
        << missing.err;
}

TEST(CliLandXml, RefusedFilesNameTheElement) {
    TempDir dir;
    std::string text = kEquationDesign;
    const std::string line = "<Line><Start>0 0</Start><End>300 0</End></Line>";
    text.replace(text.find(line), line.size(),
                 "<Spiral name=\"S\" length=\"10\" radiusStart=\"INF\" radiusEnd=\"50\" rot=\"cw\" "
                 "spiType=\"bloss\"><Start>0 0</Start><PI>5 0</PI><End>10 0.3</End></Spiral>");
    const std::string xml = dir.write("bad.xml", text);
    const std::string stakes = dir.write("s.csv", "K\r\n1\r\n");
    const CliRun r = cli({"road", "--landxml", xml, "--alignment", "A", "--stakes", stakes});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Spiral \"S\" spiType=\"bloss\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("[landxml_unsupported]"), std::string::npos) << r.err;

    const CliRun info = cli({"info", xml});
    ASSERT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("alignments 2\nalignment A\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("[landxml_unsupported]"), std::string::npos) << info.out;
}

TEST(CliLandXml, PointsToAndFromLandXml) {
    TempDir dir;
    const std::string csv = dir.write("p.csv", "P1,TREE,100.5,200.25,10\r\nP2,,101,201,11\r\n"
                                               "P1,WALL,102,202,12\r\n");
    ASSERT_EQ(cli({"convert", csv, dir.file("p.xml")}).status, 0);
    const std::string xml = TempDir::read(dir.file("p.xml"));
    EXPECT_NE(xml.find("<CgPoint name=\"P1\" code=\"TREE\">100.5 200.25 10</CgPoint>"),
              std::string::npos)
        << xml;
    EXPECT_NE(xml.find("name=\"P1_2\""), std::string::npos);

    const CliRun back = cli({"convert", dir.file("p.xml"), dir.file("q.csv")});
    ASSERT_EQ(back.status, 0) << back.err;
    EXPECT_EQ(TempDir::read(dir.file("q.csv")),
              "P1,TREE,100.5000,200.2500,10.0000\r\nP2,,101.0000,201.0000,11.0000\r\n"
              "P1_2,WALL,102.0000,202.0000,12.0000\r\n");

    const CliRun info = cli({"info", dir.file("p.xml")});
    EXPECT_EQ(info.out, "LandXML\nalignments 0\npoints 3\n");

    // An alignment without points is no point file.
    const std::string design = dir.write("eq.xml", kEquationDesign);
    const CliRun nothing = cli({"convert", design, dir.file("r.csv")});
    EXPECT_EQ(nothing.status, 1);
    EXPECT_NE(nothing.err.find("[landxml_no_points]"), std::string::npos) << nothing.err;
}

} // namespace
