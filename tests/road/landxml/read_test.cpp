// LandXML files as design programs write them: each producer's direction convention and angle
// unit, feet, station equations, a spiral between two arcs, and the files that must be refused.
// The coordinates are those of the designs computed independently by numerical integration of
// the curvature (6 decimals).
#include "road/engine/road_engine.h"
#include "road/landxml/landxml.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road {
namespace {

using landxml::Alignment;

// Straight, clothoid in (R 200, 60 m), arc (80 m), clothoid out, straight, from N 1000 E 2000
// heading North; starting at station 1000.
struct Coordinates {
    const char* L1s;
    const char* L1e;
    const char* S1pi;
    const char* S1e;
    const char* Cc;
    const char* Cpi;
    const char* Ce;
    const char* S2pi;
    const char* S2e;
    const char* L2e;
};
const Coordinates kRight = {"1000.000000 2000.000000", "1100.000000 2000.000000",
                            "1140.047245 2000.000000", "1159.865141 2002.995182",
                            "1129.977514 2200.749398", "1199.951905 2009.053704",
                            "1234.514960 2030.244493", "1251.602072 2040.720691",
                            "1282.231894 2066.519834", "1358.716113 2130.941603"};
const Coordinates kLeft = {"1000.000000 2000.000000", "1100.000000 2000.000000",
                           "1140.047245 2000.000000", "1159.865141 1997.004818",
                           "1129.977514 1799.250602", "1199.951905 1990.946296",
                           "1234.514960 1969.755507", "1251.602072 1959.279309",
                           "1282.231894 1933.480166", "1358.716113 1869.058397"};

// How one producer writes units and directions. The directions are each producer's honest
// value of the same azimuths (0, 0, 0.15, 0.55, 0.7 rad from North, clockwise), in its own
// convention; none of them may change what is read.
struct Producer {
    const char* name;
    std::string units;
    std::string dirs[5];
    bool curvePi = true;
};

const char* const kMetric = R"(<Metric areaUnit="squareMeter" linearUnit="meter"
    volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="HPA")";

std::vector<Producer> Producers() {
    const std::string m = kMetric;
    return {
        // Counter-clockwise from North in radians, as the schema says.
        {"ccw from north, radians",
         m + R"( angularUnit="radians" directionUnit="radians"/>)",
         {"0", "0", "6.133185307", "5.733185307", "5.583185307"}},
        // Counter-clockwise from East in decimal degrees; no PI on the arc.
        {"ccw from east, degrees",
         m + R"( angularUnit="decimal degrees" directionUnit="decimal degrees"/>)",
         {"90", "90", "81.40563", "58.48733", "49.89296"},
         false},
        // Clockwise from North (surveyor's bearing) in grads.
        {"cw from north, grads",
         m + R"( angularUnit="grads" directionUnit="grads"/>)",
         {"0", "0", "9.549297", "35.014087", "44.563384"}},
        // Counter-clockwise from East in degrees, minutes and seconds.
        {"ccw from east, dd.mm.ss",
         m + R"( angularUnit="decimal dd.mm.ss" directionUnit="decimal dd.mm.ss"/>)",
         {"90.0000", "90.0000", "81.24203", "58.29146", "49.53347"}},
    };
}

std::string BaseXml(const Producer& p, const Coordinates& c, bool left,
                    const std::string& extra = {}) {
    const std::string rot = left ? "ccw" : "cw";
    std::string x = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units>)" + p.units +
                    R"(</Units>
  <Alignments>
    <Alignment name="Main" length="400" staStart="1000">
      <CoordGeom>
        <Line name="L1" dir=")" +
                    p.dirs[0] + R"(" length="100"><Start>)" + c.L1s + "</Start><End>" + c.L1e +
                    R"(</End></Line>
        <Spiral name="SP1" length="60" radiusStart="INF" radiusEnd="200" rot=")" +
                    rot + R"(" spiType="clothoid" dirStart=")" + p.dirs[1] + R"("><Start>)" +
                    c.L1e + "</Start><PI>" + c.S1pi + "</PI><End>" + c.S1e + R"(</End></Spiral>
        <Curve name="C1" rot=")" +
                    rot + R"(" radius="200" length="80" dirStart=")" + p.dirs[2] + R"("><Start>)" +
                    c.S1e + "</Start><Center>" + c.Cc + "</Center><End>" + c.Ce + "</End>" +
                    (p.curvePi ? std::string("<PI>") + c.Cpi + "</PI>" : "") + R"(</Curve>
        <Spiral name="SP2" length="60" radiusStart="200" radiusEnd="INF" rot=")" +
                    rot + R"(" spiType="clothoid" dirStart=")" + p.dirs[3] + R"("><Start>)" + c.Ce +
                    "</Start><PI>" + c.S2pi + "</PI><End>" + c.S2e + R"(</End></Spiral>
        <Line name="L2" dir=")" +
                    p.dirs[4] + R"("><Start>)" + c.S2e + "</Start><End>" + c.L2e + R"(</End></Line>
      </CoordGeom>)" +
                    extra +
                    R"(
    </Alignment>
  </Alignments>
</LandXML>
)";
    return x;
}

Alignment Read(const std::string& xml, std::string_view name = {}) {
    auto r = landxml::read_alignment(xml, name);
    EXPECT_TRUE(r) << r.Error.Key << " " << r.Error.Subject;
    return r ? *r.Value : Alignment{};
}

// The engine's stakes at the start station of every element of the file are the Starts the file
// gives, within 1 mm.
void ExpectStakesOnStarts(const Alignment& a, const std::vector<std::pair<double, double>>& starts,
                          const std::vector<double>& stations) {
    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(a.Stations.Start, a.Elements));
    ASSERT_EQ(starts.size(), stations.size());
    for (std::size_t k = 0; k < starts.size(); ++k) {
        const std::optional<double> internal = a.Stations.ToInternal(stations[k]);
        ASSERT_TRUE(internal);
        Pile p;
        ASSERT_TRUE(axis.CalculatePile(*internal, 0, p)) << stations[k];
        EXPECT_NEAR(p.MiddleN, starts[k].first, 1e-3) << "element " << k;
        EXPECT_NEAR(p.MiddleE, starts[k].second, 1e-3) << "element " << k;
    }
}

std::pair<double, double> At(const char* ne) {
    double n = 0, e = 0;
    std::sscanf(ne, "%lf %lf", &n, &e);
    return {n, e};
}

std::vector<std::pair<double, double>> Starts(const Coordinates& c) {
    return {At(c.L1s), At(c.L1e), At(c.S1e), At(c.Ce), At(c.S2e), At(c.L2e)};
}

const std::vector<double> kElementStations = {1000, 1100, 1160, 1240, 1300, 1400};

TEST(LandXmlRead, EveryProducerConventionGivesTheSameAxis) {
    for (const bool left : {false, true}) {
        const Coordinates& c = left ? kLeft : kRight;
        std::vector<PlaneInfo> first;
        for (const Producer& p : Producers()) {
            SCOPED_TRACE(std::string(p.name) + (left ? ", left" : ", right"));
            const Alignment a = Read(BaseXml(p, c, left));
            EXPECT_EQ(a.Name, "Main");
            EXPECT_EQ(a.Counts.Lines, 2u);
            EXPECT_EQ(a.Counts.Curves, 1u);
            EXPECT_EQ(a.Counts.Spirals, 2u);
            EXPECT_NEAR(a.Length, 400, 1e-3);
            ExpectStakesOnStarts(a, Starts(c), kElementStations);

            // Azimuths and turns from the coordinates: 0.15 rad after the entry spiral, 0.55
            // after the arc, to the right or mirrored to the left.
            const double sign = left ? -1 : 1;
            DesignAxisCalculate axis;
            ASSERT_TRUE(axis.SetPlaneElements(a.Stations.Start, a.Elements));
            for (const auto& [k, az] : std::vector<std::pair<double, double>>{
                     {1050, 0}, {1160, 0.15}, {1240, 0.55}, {1350, 0.7}}) {
                Pile p;
                ASSERT_TRUE(axis.CalculatePile(k, 10, p));
                // The right side point lies at azimuth + 90° from the centre.
                const double right = std::atan2(p.RightE - p.MiddleE, p.RightN - p.MiddleN);
                EXPECT_NEAR(std::remainder(right - (sign * az + HalfPi), TwoPi), 0, 1e-6) << k;
            }
            // Halfway along the entry spiral, against the integration.
            Pile mid;
            ASSERT_TRUE(axis.CalculatePile(1130, 0, mid));
            EXPECT_NEAR(mid.MiddleN, 1129.995781525, 1e-6);
            EXPECT_NEAR(mid.MiddleE, 2000 + sign * 0.374962334, 1e-6);

            if (first.empty()) {
                first = a.Elements;
                continue;
            }
            ASSERT_EQ(a.Elements.size(), first.size());
            for (std::size_t k = 0; k < first.size(); ++k) {
                EXPECT_EQ(a.Elements[k].LineType, first[k].LineType);
                EXPECT_NEAR(a.Elements[k].AzimuthAngle, first[k].AzimuthAngle, 1e-9);
                EXPECT_NEAR(a.Elements[k].StartRadius, first[k].StartRadius, 1e-9);
                EXPECT_NEAR(a.Elements[k].Mileage, first[k].Mileage, 1e-9);
            }
        }
    }
}

// The same design in feet: US survey feet and international feet differ by 2 parts per million,
// 4 mm at these coordinates, so a reader that mixes them up misses the points.
TEST(LandXmlRead, FeetOfBothKinds) {
    constexpr double usFoot = 1200.0 / 3937.0;
    const auto inFeet = [&](const char* ne, double foot) {
        const auto [n, e] = At(ne);
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.7f %.7f", n / foot, e / foot);
        return std::string(buf);
    };
    for (const auto& [unit, foot] :
         std::vector<std::pair<std::string, double>>{{"USSurveyFoot", usFoot}, {"foot", 0.3048}}) {
        SCOPED_TRACE(unit);
        std::vector<std::string> s;
        for (const char* ne : {kRight.L1s, kRight.L1e, kRight.S1pi, kRight.S1e, kRight.Cc,
                               kRight.Cpi, kRight.Ce, kRight.S2pi, kRight.S2e, kRight.L2e})
            s.push_back(inFeet(ne, foot));
        const Coordinates c{s[0].c_str(), s[1].c_str(), s[2].c_str(), s[3].c_str(), s[4].c_str(),
                            s[5].c_str(), s[6].c_str(), s[7].c_str(), s[8].c_str(), s[9].c_str()};
        Producer p{"feet",
                   R"(<Imperial areaUnit="squareFoot" linearUnit=")" + unit +
                       R"(" volumeUnit="cubicFeet" temperatureUnit="fahrenheit" )"
                       R"(pressureUnit="inHG" elevationUnit="feet"/>)",
                   {"0", "0", "0", "0", "0"}};
        std::string xml = BaseXml(p, c, false,
                                  "<Profile><ProfAlign name=\"P\"><PVI>3280 328</PVI>"
                                  "<PVI>4600 360</PVI></ProfAlign></Profile>");
        // Lengths, radii and stations are in feet too.
        const auto feet = [&](double metres) {
            char buf[32];
            std::snprintf(buf, sizeof buf, "%.9f", metres / foot);
            return std::string(buf);
        };
        for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
                 {"length=\"60\"", "length=\"" + feet(60) + "\""},
                 {"length=\"80\"", "length=\"" + feet(80) + "\""},
                 {"length=\"100\"", "length=\"" + feet(100) + "\""},
                 {"radiusEnd=\"200\"", "radiusEnd=\"" + feet(200) + "\""},
                 {"radiusStart=\"200\"", "radiusStart=\"" + feet(200) + "\""},
                 {"radius=\"200\"", "radius=\"" + feet(200) + "\""},
                 {"staStart=\"1000\"", "staStart=\"" + feet(1000) + "\""}}) {
            for (std::size_t at = xml.find(from); at != std::string::npos;
                 at = xml.find(from, at + to.size()))
                xml.replace(at, from.size(), to);
        }
        const Alignment a = Read(xml);
        EXPECT_NEAR(a.Stations.Start, 1000, 1e-6);
        ExpectStakesOnStarts(a, Starts(kRight), kElementStations);
        ASSERT_EQ(a.Profile.size(), 2u);
        EXPECT_NEAR(a.Profile[0].Mileage, 3280 * foot, 1e-9);
        EXPECT_NEAR(a.Profile[1].Height, 360 * foot, 1e-9);
        EXPECT_NEAR(a.Profile[0].Slope2, 1000.0 * 32 / 1320, 1e-9);

        // The same numbers taken for the other foot are off by the 2 ppm.
        const std::string other = unit == "foot" ? "USSurveyFoot" : "foot";
        std::string swapped = xml;
        swapped.replace(swapped.find("linearUnit=\"" + unit), 12 + unit.size(),
                        "linearUnit=\"" + other);
        const auto wrong = landxml::read_alignment(swapped);
        ASSERT_TRUE(wrong);
        EXPECT_GT(std::fabs(wrong.Value->Elements[1].North - a.Elements[1].North), 1e-3);
    }
}

TEST(LandXmlRead, StationEquationsMapStakesBothWays) {
    // At internal 1150 (on the arc) the stations jump ahead to 2000; at internal 1350 they are
    // set back to 2100, so stations 2100 to 2150 occur twice.
    const std::string xml =
        BaseXml(Producers()[0], kRight, false,
                R"(<StaEquation staInternal="1350" staBack="2200" staAhead="2100"/>
                   <StaEquation staInternal="1150" staBack="1150" staAhead="2000"/>)");
    const Alignment a = Read(xml);
    ASSERT_EQ(a.Stations.Equations.size(), 2u);
    EXPECT_EQ(a.Stations.Equations[0].Internal, 1150); // in order along the axis
    struct Row {
        double station;
        std::optional<double> internal;
    };
    for (const Row& r : std::vector<Row>{{1000, 1000},
                                         {1150, 1150},
                                         {1160, std::nullopt}, // skipped by the jump
                                         {1899.999, std::nullopt},
                                         {2000, 1150},
                                         {2100, 1250},
                                         {2120, 1270}, // first occurrence
                                         {2199, 1349},
                                         {2250, 1500}, // beyond the end: the engine refuses
                                         {1955, std::nullopt},
                                         {999, 999}}) { // before the start: the engine refuses
        const std::optional<double> got = a.Stations.ToInternal(r.station);
        ASSERT_EQ(got.has_value(), r.internal.has_value()) << r.station;
        if (got) {
            EXPECT_NEAR(*got, *r.internal, 1e-9) << r.station;
            // 1150 is the equation's point, whose station reads 2000 ahead.
            if (r.station >= 1000 && r.station != 1150) {
                EXPECT_NEAR(a.Stations.ToStation(*got), r.station, 1e-9) << r.station;
            }
        }
    }
    // Element starts by their design stations.
    // (The end, station 2150 again, is reached only as its first occurrence.)
    std::vector<std::pair<double, double>> starts = Starts(kRight);
    starts.pop_back();
    ExpectStakesOnStarts(a, starts, {1000, 1100, 2010, 2090, 2150});
}

// Straight, arc R 300, spiral from R 300 to R 150, arc R 150, straight; to the right, and
// mirrored to the left (East reflected about 2000).
TEST(LandXmlRead, SpiralBetweenTwoArcs) {
    for (const bool left : {false, true}) {
        SCOPED_TRACE(left ? "left" : "right");
        const auto p = [&](double n, double e) {
            char buf[64];
            std::snprintf(buf, sizeof buf, "%.6f %.6f", n, left ? 4000 - e : e);
            return std::string(buf);
        };
        const std::string rot = left ? "ccw" : "cw";
        const std::string xml = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units><Metric areaUnit="squareMeter" linearUnit="meter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="HPA"/></Units>
  <Alignments><Alignment name="Compound" length="250" staStart="0"><CoordGeom>
    <Line><Start>)" + p(1000, 2000) +
                                "</Start><End>" + p(1050, 2000) + R"(</End></Line>
    <Curve rot=")" + rot + R"(" radius="300" length="50"><Start>)" +
                                p(1050, 2000) + "</Start><Center>" + p(1050, 2300) +
                                "</Center><End>" + p(1099.768840, 2004.157031) + "</End><PI>" +
                                p(1075.058032, 2000) + R"(</PI></Curve>
    <Spiral length="40" radiusStart="300" radiusEnd="150" rot=")" +
                                rot + R"(" spiType="clothoid"><Start>)" +
                                p(1099.768840, 2004.157031) + "</Start><PI>" +
                                p(1121.749066, 2007.854703) + "</PI><End>" +
                                p(1138.404889, 2014.251094) + R"(</End></Spiral>
    <Curve rot=")" + rot + R"(" radius="150" length="60"><Start>)" +
                                p(1138.404889, 2014.251094) + "</Start><Center>" +
                                p(1084.629039, 2154.280226) + "</Center><End>" +
                                p(1188.689790, 2046.246157) + R"(</End></Curve>
    <Line length="50"><Start>)" +
                                p(1188.689790, 2046.246157) + "</Start><End>" +
                                p(1224.701146, 2080.933074) + R"(</End></Line>
  </CoordGeom></Alignment></Alignments>
</LandXML>)";
        const Alignment a = Read(xml);
        ASSERT_FALSE(a.Elements.empty());
        const double sign = left ? -1 : 1;
        EXPECT_EQ(a.Elements[2].LineType, LineTypeSpiralBetweenRadii);
        EXPECT_EQ(a.Elements[2].StartRadius, sign * 300);
        EXPECT_EQ(a.Elements[2].EndRadius, sign * 150);
        const auto e = [&](double east) { return left ? 4000 - east : east; };
        ExpectStakesOnStarts(a,
                             {{1000, 2000},
                              {1050, 2000},
                              {1099.768840, e(2004.157031)},
                              {1138.404889, e(2014.251094)},
                              {1188.689790, e(2046.246157)},
                              {1224.701146, e(2080.933074)}},
                             {0, 50, 100, 140, 200, 250});
        DesignAxisCalculate axis;
        ASSERT_TRUE(axis.SetPlaneElements(0, a.Elements));
        Pile mid;
        ASSERT_TRUE(axis.CalculatePile(120, 0, mid));
        EXPECT_NEAR(mid.MiddleN, 1119.342116117, 1e-6);
        EXPECT_NEAR(mid.MiddleE, e(2008.238061014), 1e-6);
    }
}

// Spirals where the file has no arc beside them: the alignment opens with the entry spiral and
// ends with the exit spiral; two spirals meet without an arc between them.
TEST(LandXmlRead, SpiralsWithoutArcsBesideThem) {
    const Producer p = Producers()[0];
    std::string open = BaseXml(p, kRight, false);
    const auto cut = [](std::string& x, const std::string& from, const std::string& to) {
        const auto a = x.find(from);
        x.erase(a, x.find(to, a) + to.size() - a);
    };
    cut(open, "<Line name=\"L1\"", "</Line>");
    cut(open, "<Line name=\"L2\"", "</Line>");
    const std::string start = "staStart=\"1000\"";
    open.replace(open.find(start), start.size(), "staStart=\"1100\"");
    const Alignment a = Read(open);
    EXPECT_EQ(a.Counts.Lines, 0u);
    std::vector<std::pair<double, double>> starts = Starts(kRight);
    ExpectStakesOnStarts(a, {starts.begin() + 1, starts.end() - 1}, {1100, 1160, 1240, 1300});

    const std::string meeting = R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units><Metric areaUnit="squareMeter" linearUnit="meter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="HPA"/></Units>
  <Alignments><Alignment name="Apex" length="320" staStart="0"><CoordGeom>
    <Line length="100"><Start>1000 2000</Start><End>1100 2000</End></Line>
    <Spiral length="60" radiusStart="INF" radiusEnd="200" rot="cw" spiType="clothoid"><Start>1100 2000</Start><PI>1140.047245 2000</PI><End>1159.865141 2002.995182</End></Spiral>
    <Spiral length="60" radiusStart="200" radiusEnd="INF" rot="cw" spiType="clothoid"><Start>1159.865141 2002.995182</Start><PI>1179.683036 2005.990364</PI><End>1217.941631 2017.825134</End></Spiral>
    <Line length="100"><Start>1217.941631 2017.825134</Start><End>1313.475279 2047.377155</End></Line>
  </CoordGeom></Alignment></Alignments>
</LandXML>)";
    const Alignment apex = Read(meeting);
    ExpectStakesOnStarts(apex,
                         {{1000, 2000},
                          {1100, 2000},
                          {1159.865141, 2002.995182},
                          {1217.941631, 2017.825134},
                          {1313.475279, 2047.377155}},
                         {0, 100, 160, 220, 320});
}

// An arc of three quarters of a circle: its PI lies behind the start, so the PI alone would
// turn it the other way (a quarter circle to the left from Start to End); the length tells.
TEST(LandXmlRead, ArcOfMoreThanAHalfCircle) {
    const auto xml = [](const char* rot, const char* length) {
        return std::string(R"(<?xml version="1.0"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units><Metric areaUnit="squareMeter" linearUnit="meter" volumeUnit="cubicMeter" temperatureUnit="celsius" pressureUnit="HPA"/></Units>
  <Alignments><Alignment name="Loop" length="235.619449" staStart="0"><CoordGeom>
    <Curve rot=")") +
               rot + "\" " + length +
               R"(><Start>0 0</Start><Center>0 50</Center><End>-50 50</End><PI>-50 0</PI></Curve>
  </CoordGeom></Alignment></Alignments>
</LandXML>)";
    };
    for (const char* rot : {"cw", "ccw"}) { // the length decides, whatever rot says
        const Alignment a = Read(xml(rot, "length=\"235.619449\""));
        ASSERT_EQ(a.Elements.size(), 2u);
        EXPECT_EQ(a.Elements[0].StartRadius, 50);
        EXPECT_EQ(a.Elements[0].AzimuthAngle, 0);
        DesignAxisCalculate axis;
        ASSERT_TRUE(axis.SetPlaneElements(0, a.Elements));
        Pile p;
        ASSERT_TRUE(axis.CalculatePile(50 * Pi, 0, p)); // half way round: due East of the start
        EXPECT_NEAR(p.MiddleN, 0, 1e-6);
        EXPECT_NEAR(p.MiddleE, 100, 1e-6);
    }
    // Without a length the PI turns it: a quarter circle to the left.
    const Alignment quarter = Read(xml("cw", ""));
    EXPECT_EQ(quarter.Elements[0].StartRadius, -50);
    EXPECT_NEAR(quarter.Length, 25 * Pi, 1e-9);
}

// Files the reader refuses, each with the element that made it refuse.
TEST(LandXmlRead, RefusesWhatItCannotRepresentNamingTheElement) {
    const Producer p = Producers()[0];
    const std::string base = BaseXml(p, kRight, false);
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string x = base;
        const auto at = x.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return x.replace(at, from.size(), to);
    };
    const std::string profile = "<Profile><ProfAlign name=\"FG\"><PVI>1000 10</PVI>";
    struct Case {
        const char* what;
        std::string xml;
        const char* key;
        const char* subject;
    };
    const std::vector<Case> cases = {
        {"unsymmetrical vertical curve", BaseXml(p, kRight, false, profile + R"(
            <UnsymParaCurve lengthIn="20" lengthOut="40">1200 12</UnsymParaCurve>
            <PVI>1400 10</PVI></ProfAlign></Profile>)"),
         landxml::keys::Unsupported, "UnsymParaCurve"},
        {"cubic spiral",
         replaced(
             R"(name="SP1" length="60" radiusStart="INF" radiusEnd="200" rot="cw" spiType="clothoid")",
             R"(name="SP1" length="60" radiusStart="INF" radiusEnd="200" rot="cw" spiType="cubic")"),
         landxml::keys::Unsupported, "Spiral \"SP1\""},
        {"chain of points", replaced("<Line name=\"L2\"", "<Chain>P1 P2</Chain><Line name=\"L2\""),
         landxml::keys::Unsupported, "Chain #5"},
        {"irregular line",
         replaced("<Line name=\"L2\"",
                  "<IrregularLine name=\"IR\"><Start>0 0</Start><End>1 1</End>"
                  "<PntList2D>0 0 1 1</PntList2D></IrregularLine><Line name=\"L2\""),
         landxml::keys::Unsupported, "IrregularLine \"IR\""},
        {"arc 2 mm away from its spiral",
         replaced("<Start>1159.865141 2002.995182</Start><Center>",
                  "<Start>1159.867141 2002.995182</Start><Center>"),
         landxml::keys::ChainGap, "Spiral \"SP1\""},
        {"spiral ending 2 mm short",
         replaced("<End>1282.231894 2066.519834</End>", "<End>1282.230094 2066.518634</End>"),
         landxml::keys::ChainGap, "Spiral \"SP2\""},
        {"profile going backwards", BaseXml(p, kRight, false, profile + R"(
            <PVI>990 12</PVI></ProfAlign></Profile>)"),
         landxml::keys::BadProfile, "PVI #2"},
        {"vertical curve on the last point", BaseXml(p, kRight, false, profile + R"(
            <ParaCurve length="30">1200 12</ParaCurve></ProfAlign></Profile>)"),
         landxml::keys::BadProfile, "ParaCurve #2"},
        {"profile of one point", BaseXml(p, kRight, false, profile + "</ProfAlign></Profile>"),
         landxml::keys::BadProfile, "ProfAlign \"FG\""},
        {"stations counting down", BaseXml(p, kRight, false, R"(<StaEquation staInternal="1200"
            staAhead="900" staIncrement="decreasing"/>)"),
         landxml::keys::Unsupported, "StaEquation #1 staIncrement"},
        {"arc ending where it starts, no length",
         [&] {
             std::string x = replaced(R"(radius="200" length="80")", R"(radius="200")");
             const std::string end = "<End>1234.514960 2030.244493</End><PI>";
             return x.replace(x.find(end), end.size(), "<End>1159.865141 2002.995182</End><PI>");
         }(),
         landxml::keys::BadValue, "Curve \"C1\" length"},
        {"a coordinate beyond any number once in metres",
         [&] {
             std::string x = replaced("linearUnit=\"meter\"", "linearUnit=\"kilometer\"");
             const std::string far = "<End>1358.716113 2130.941603</End>";
             return x.replace(x.find(far), far.size(), "<End>1e306 2130.941603</End>");
         }(),
         landxml::keys::BadValue, "Line \"L2\" End"},
        {"unknown unit", replaced("linearUnit=\"meter\"", "linearUnit=\"furlong\""),
         landxml::keys::BadUnits, "linearUnit=\"furlong\""},
        {"arc without rot, PI or length",
         [&] {
             std::string x = BaseXml(Producers()[1], kRight, false);
             const std::string from = R"(<Curve name="C1" rot="cw" radius="200" length="80")";
             return x.replace(x.find(from), from.size(), R"(<Curve name="C1" radius="200")");
         }(),
         landxml::keys::BadValue, "Curve \"C1\" rot"},
        {"radius not a number", replaced(R"(radiusEnd="200")", R"(radiusEnd="NaN")"),
         landxml::keys::BadValue, "Spiral \"SP1\" radiusEnd"},
        {"not XML", base.substr(0, 400), landxml::keys::NotXml, ""},
        {"other XML", "<kml><Document/></kml>", landxml::keys::NotLandXml, "kml"},
    };
    for (const Case& c : cases) {
        const auto r = landxml::read_alignment(c.xml);
        ASSERT_FALSE(r) << c.what;
        EXPECT_EQ(r.Error.Key, c.key) << c.what;
        EXPECT_NE(r.Error.Subject.find(c.subject), std::string::npos)
            << c.what << ": " << r.Error.Subject;
    }
    // A straight of no length is passed over: it has no direction for a stake on it.
    const auto zero = landxml::read_alignment(replaced(
        R"(<Line name="L1")",
        R"(<Line name="L0"><Start>1000 2000</Start><End>1000 2000</End></Line><Line name="L1")"));
    ASSERT_TRUE(zero);
    EXPECT_EQ(zero.Value->Elements.size(), landxml::read_alignment(base).Value->Elements.size());
    // Without rot, an arc whose PI or length says how it turns is read all the same.
    EXPECT_TRUE(
        landxml::read_alignment(replaced(R"(<Curve name="C1" rot="cw")", "<Curve name=\"C1\"")));
    // Within a millimetre the ends meet.
    EXPECT_TRUE(landxml::read_alignment(
        replaced("<End>1282.231894 2066.519834</End>", "<End>1282.231294 2066.519234</End>")));
}

TEST(LandXmlRead, ProfileOfGradePointsAndVerticalCurves) {
    const std::string xml = BaseXml(Producers()[0], kRight, false, R"(<Profile><ProfAlign name="FG">
          <PVI>1000 100</PVI>
          <ParaCurve length="80">1100 102</ParaCurve>
          <CircCurve length="40" radius="2000">1200 100</CircCurve>
          <PVI desc="end">1400 104</PVI>
        </ProfAlign></Profile>
        <Profile><ProfAlign name="Other"><PVI>1000 0</PVI><PVI>1400 0</PVI></ProfAlign></Profile>)");
    const Alignment a = Read(xml);
    EXPECT_EQ(a.ProfileName, "FG");
    EXPECT_EQ(a.ProfileCount, 2u);
    ASSERT_EQ(a.Profile.size(), 4u);
    EXPECT_NEAR(a.Profile[1].Slope1, 20, 1e-9);
    EXPECT_NEAR(a.Profile[1].Slope2, -20, 1e-9);
    EXPECT_NEAR(a.Profile[1].Radius, 80 / 0.04, 1e-9); // length over the grade change
    EXPECT_EQ(a.Profile[1].CurveFlag, 1);
    EXPECT_EQ(a.Profile[2].Radius, 2000);
    EXPECT_EQ(a.Profile[3].CurveFlag, 0);
    DesignAxisCalculate axis;
    ASSERT_TRUE(axis.SetPlaneElements(a.Stations.Start, a.Elements));
    ASSERT_TRUE(axis.SetLongSlopes(a.Profile));
    Pile p;
    ASSERT_TRUE(axis.CalculatePile(1100, 0, p));
    EXPECT_NEAR(p.MiddleZ, 102 - 40.0 * 40 / 4000, 1e-9); // the curve's middle ordinate
    ASSERT_TRUE(axis.CalculatePile(1050, 0, p));
    EXPECT_NEAR(p.MiddleZ, 101, 1e-9);

    const auto other = landxml::read_alignment(xml, "Main", "Other");
    ASSERT_TRUE(other);
    EXPECT_EQ(other.Value->Profile[1].Height, 0);
}

TEST(LandXmlRead, ChoosingAmongSeveralAlignments) {
    std::string xml = BaseXml(Producers()[0], kRight, false);
    const std::string one = xml.substr(xml.find("<Alignment "),
                                       xml.find("</Alignment>") + 12 - xml.find("<Alignment "));
    std::string second = one;
    second.replace(second.find("Main"), 4, "\xe5\x8c\x9d\xe9\x81\x93"); // 匝道 in UTF-8
    second.replace(second.find("staStart=\"1000\""), 15, "staStart=\"5000\"");
    xml.insert(xml.find("</Alignments>"), second);

    const auto none = landxml::read_alignment(xml);
    ASSERT_FALSE(none);
    EXPECT_EQ(none.Error.Key, landxml::keys::SeveralAlignments);
    const auto ramp = landxml::read_alignment(xml, "\xd4\xd1\xb5\xc0"); // 匝道 in GBK
    ASSERT_TRUE(ramp);
    EXPECT_EQ(ramp.Value->Stations.Start, 5000);
    EXPECT_EQ(ramp.Value->Name, "\xd4\xd1\xb5\xc0");
    const auto missing = landxml::read_alignment(xml, "Spur");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.Error.Key, landxml::keys::NoAlignment);

    const auto doc = landxml::read_document(xml);
    ASSERT_TRUE(doc);
    ASSERT_EQ(doc.Value->Alignments.size(), 2u);
    EXPECT_EQ(doc.Value->Alignments[1].StartStation, 5000);
    EXPECT_EQ(doc.Value->Alignments[1].Counts.Spirals, 2u);
    EXPECT_FALSE(doc.Value->Alignments[0].Error);
}

TEST(LandXmlRead, CgPointsWithTheirNamesAndCodes) {
    const char* const xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<LandXML xmlns="http://www.landxml.org/schema/LandXML-1.2" version="1.2" date="2024-05-01" time="10:00:00">
  <Units><Imperial areaUnit="squareFoot" linearUnit="USSurveyFoot" volumeUnit="cubicFeet" temperatureUnit="fahrenheit" pressureUnit="inHG" elevationUnit="feet"/></Units>
  <CgPoints name="survey">
    <CgPoint name="1" code="FENCE" desc="north fence">3937 7874 393.7</CgPoint>
    <CgPoint name="&#x70B9;2" desc="tree">  3937.0
       0 </CgPoint>
    <CgPoints><CgPoint name="3" pntRef="1"/></CgPoints>
  </CgPoints>
</LandXML>)";
    const auto r = landxml::read_points(xml);
    ASSERT_TRUE(r) << r.Error.Key << r.Error.Subject;
    ASSERT_EQ(r.Value->size(), 3u);
    const landxml::Point& a = (*r.Value)[0];
    EXPECT_EQ(a.Name, "1");
    EXPECT_EQ(a.Code, "FENCE");
    EXPECT_NEAR(a.North, 1200, 1e-9);
    EXPECT_NEAR(a.East, 2400, 1e-9);
    EXPECT_NEAR(a.Elevation, 120, 1e-9);
    EXPECT_TRUE(a.HasElevation);
    const landxml::Point& b = (*r.Value)[1];
    EXPECT_EQ(b.Name, "\xb5\xe3"
                      "2"); // 点2, GBK inside the program
    EXPECT_EQ(b.Code, "tree");
    EXPECT_FALSE(b.HasElevation);
    EXPECT_NEAR((*r.Value)[2].East, 2400, 1e-9);

    EXPECT_FALSE(landxml::read_points("<LandXML><Units><Metric areaUnit=\"squareMeter\" "
                                      "linearUnit=\"meter\"/></Units></LandXML>"));
    EXPECT_TRUE(landxml::looks_like_landxml(xml));
    // The same file in UTF-16 with its byte order mark.
    std::string wide = "\xff\xfe";
    for (const char* c = xml; *c; ++c) {
        wide += *c; // ASCII and the one escaped name: each byte is its own UTF-16 unit
        wide += '\0';
    }
    EXPECT_TRUE(landxml::looks_like_landxml(wide));
    const auto fromWide = landxml::read_points(wide);
    ASSERT_TRUE(fromWide) << fromWide.Error.Key;
    EXPECT_EQ((*fromWide.Value)[1].Name, "\xb5\xe3"
                                         "2");
    for (const char* other : {"Name,North,East\nLandXML,1,2\n", "NOTE    <LandXML> export\r\n",
                              "<?xml version=\"1.0\"?><LandXMLish/>", "<kml><LandXML/></kml>"})
        EXPECT_FALSE(landxml::looks_like_landxml(other)) << other;
    EXPECT_TRUE(
        landxml::looks_like_landxml("\xef\xbb\xbf<?xml version=\"1.0\"?>\n<!-- made by hand -->"
                                    "<!DOCTYPE x><lx:LandXML xmlns:lx=\"u\">"));
}

} // namespace
} // namespace telvane::road
