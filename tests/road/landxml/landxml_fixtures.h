// The golden roads of the road tests as complete designs (prepared chain, profile, stakes), for
// the LandXML round trip and for the files the schema check validates.
#pragma once

#include "road/design/line_elements.h"
#include "road/engine/road_engine.h"
#include "road/landxml/landxml.h"

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road::testing {

struct GoldenRoad {
    std::string Name;
    std::vector<PlaneInfo> Chain; // as the engine takes it
    std::vector<LongSlopesInfo> Profile;
    Stationing Stations;
};

inline IntersectionPointInfo Ip(double N, double E, double R = 0, double Ls1 = 0, double Ls2 = 0) {
    IntersectionPointInfo p;
    p.Name = "JD";
    p.North = N;
    p.East = E;
    p.Radius = R;
    p.ClothoidLength1 = Ls1;
    p.ClothoidLength2 = Ls2;
    return p;
}

// JD0 to JD1 heads North for `leg` metres, then turns by `turn` radians (right positive).
inline std::vector<IntersectionPointInfo> Bend(double turn, double leg, double R, double Ls1,
                                               double Ls2) {
    return {Ip(0, 0), Ip(leg, 0, R, Ls1, Ls2),
            Ip(leg + leg * std::cos(turn), leg * std::sin(turn))};
}

// A profile over [from, to] with a crest and a sag, its grades those of its chords.
inline std::vector<LongSlopesInfo> Profile(double from, double to) {
    const double len = to - from;
    const std::vector<std::pair<double, double>> kh = {{from, 100},
                                                       {from + 0.3 * len, 100 + 0.3 * len * 0.02},
                                                       {from + 0.7 * len, 100},
                                                       {to, 101}};
    std::vector<LongSlopesInfo> out;
    for (std::size_t k = 0; k < kh.size(); ++k) {
        LongSlopesInfo p;
        p.Mileage = kh[k].first;
        p.Height = kh[k].second;
        const auto grade = [&](std::size_t a) {
            return 1000.0 * (kh[a + 1].second - kh[a].second) / (kh[a + 1].first - kh[a].first);
        };
        p.Slope1 = k == 0 ? grade(0) : grade(k - 1);
        p.Slope2 = k + 1 == kh.size() ? p.Slope1 : grade(k);
        if (k == 1 || k == 2) {
            p.Radius = k == 1 ? 3000 : 2500;
            p.CurveFlag = 1;
        }
        out.push_back(p);
    }
    return out;
}

inline GoldenRoad FromPoints(std::string name, std::vector<IntersectionPointInfo> points,
                             double start) {
    GoldenRoad road;
    road.Name = std::move(name);
    IpMessage message;
    IntersectionPointCalculate(start, points, road.Chain, message);
    if (!road.Chain.empty())
        road.Profile = Profile(road.Chain.front().Mileage, road.Chain.back().Mileage);
    road.Stations.Start = start;
    return road;
}

// A chain of line elements as the road window prepares it (circles signed by their Direction,
// as the window hands them to the engine).
inline GoldenRoad FromElements(std::string name, std::vector<PlaneInfo> elements) {
    GoldenRoad road;
    road.Name = std::move(name);
    std::string message;
    PrepareLineElements(elements, message);
    for (PlaneInfo& e : elements) {
        if (e.LineType == LineTypeCircle) {
            const double sign = e.Direction == "L" ? -1.0 : 1.0;
            e.StartRadius = sign * std::fabs(e.StartRadius);
            e.EndRadius = sign * std::fabs(e.EndRadius);
        }
    }
    road.Chain = std::move(elements);
    road.Profile = Profile(road.Chain.front().Mileage, road.Chain.back().Mileage);
    road.Stations.Start = road.Chain.front().Mileage;
    return road;
}

inline PlaneInfo Element(char kind, double radius, double length, const char* direction) {
    PlaneInfo e;
    e.LineType = kind == 'L' ? LineTypeLine : kind == 'A' ? LineTypeCircle : LineTypeClothoid;
    e.StartRadius = e.EndRadius = radius;
    e.Length = length;
    e.Direction = direction;
    return e;
}

inline std::vector<GoldenRoad> GoldenRoads() {
    const double deg = Pi / 180;
    std::vector<GoldenRoad> roads = {
        FromPoints("right, equal spirals", Bend(60 * deg, 1000, 100, 80, 80), 0),
        FromPoints("left, equal spirals", Bend(-60 * deg, 1000, 100, 80, 80), 0),
        FromPoints("unequal spirals at a right angle", Bend(90 * deg, 1000, 100, 30, 20), 250),
        FromPoints("long unequal spirals", Bend(-90 * deg, 1000, 250, 200, 100), 0),
        FromPoints("no spirals", Bend(45 * deg, 1000, 100, 0, 0), 0),
        FromPoints("exit spiral only, left", Bend(-70 * deg, 1000, 150, 0, 60), 0),
        FromPoints("entry spiral only", Bend(70 * deg, 1000, 150, 60, 0), 0),
        FromPoints("across North", {Ip(-1000, 300), Ip(0, 0, 200, 60, 60), Ip(1000, 300)}, 500),
        FromPoints("deflection 179 degrees", Bend(179 * deg, 20000, 100, 0, 0), 0),
        FromPoints("deflection 175 degrees, unequal spirals", Bend(175 * deg, 20000, 60, 50, 20),
                   0),
        FromPoints("reverse curves",
                   {Ip(0, 0), Ip(800, 200, 300, 100, 100), Ip(1600, -100, 250, 80, 120),
                    Ip(2400, 300, 400, 0, 0), Ip(3200, 0, 200, 60, 40), Ip(4000, 200)},
                   1000),
        FromPoints(
            "command-line road",
            {Ip(3000, 500), Ip(3500, 690, 300, 40, 50), Ip(4000, 520, 250, 35, 35), Ip(4600, 800)},
            1000),
    };
    // Line elements typed in the road window, one curve turning right and one left.
    std::vector<PlaneInfo> typed = {
        Element('L', 0, 120, ""),   Element('S', 0, 40, "R"), Element('A', 200, 60, "R"),
        Element('S', 0, 40, "R"),   Element('L', 0, 90, ""),  Element('S', 0, 30, "L"),
        Element('A', 150, 45, "L"), Element('S', 0, 30, "L"), Element('L', 0, 80, "")};
    typed[0].North = 3000;
    typed[0].East = 500;
    typed[0].AzimuthAngle = 0.4;
    typed[0].Mileage = 2000;
    roads.push_back(FromElements("line elements", typed));
    return roads;
}

// Line, arc R 300 left, spiral from R -300 to R -150, arc R -150, line: each element placed
// where the engine ends the one before.
inline std::vector<PlaneInfo> CompoundChain() {
    struct Part {
        std::int32_t type;
        double r1, r2, length;
    };
    const Part parts[] = {{LineTypeLine, 0, 0, 50},
                          {LineTypeCircle, -300, -300, 50},
                          {LineTypeSpiralBetweenRadii, -300, -150, 40},
                          {LineTypeCircle, -150, -150, 60},
                          {LineTypeLine, 0, 0, 50}};
    std::vector<PlaneInfo> chain;
    PlaneInfo next;
    next.North = 5000;
    next.East = 7000;
    next.AzimuthAngle = 1.0;
    for (const Part& p : parts) {
        PlaneInfo e = next;
        e.LineType = p.type;
        e.StartRadius = p.r1;
        e.EndRadius = p.r2;
        e.Length = p.length;
        e.Direction = p.r1 < 0 ? "L" : p.r1 > 0 ? "R" : "";
        chain.push_back(e);
        PlaneInfo marker = e;
        marker.LineType = LineTypeLine;
        marker.Mileage = e.Mileage + p.length;
        AxisPoint end;
        if (p.type == LineTypeLine) {
            marker.North = e.North + p.length * std::cos(e.AzimuthAngle);
            marker.East = e.East + p.length * std::sin(e.AzimuthAngle);
            end.Azimuth = e.AzimuthAngle;
        } else {
            PlaneCalculate plane;
            plane.SetChain(0, {e, marker});
            plane.EvaluateElement(0, p.length, 0, end);
            marker.North = end.North;
            marker.East = end.East;
        }
        marker.AzimuthAngle = NormalizeAngle(end.Azimuth);
        next = marker;
        next.Direction.clear();
    }
    chain.push_back(next);
    return chain;
}

// Stakes every `step` metres along the chain, at each element start and at the end.
inline std::vector<double> StakeChainages(const std::vector<PlaneInfo>& chain, double step) {
    std::vector<double> out;
    for (double k = chain.front().Mileage; k < chain.back().Mileage; k += step)
        out.push_back(k);
    for (const PlaneInfo& e : chain)
        out.push_back(e.Mileage);
    return out;
}

} // namespace telvane::road::testing
