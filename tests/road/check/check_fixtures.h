// Roads for the check tests, built element by element so that each element starts exactly where
// the engine puts the end of the one before.
#pragma once

#include "road/check/road_check.h"
#include "road/engine/road_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace telvane::road::testing {

struct Piece {
    std::int32_t Type = LineTypeLine;
    double R1 = 0; // a circle's radius, a spiral-between-radii's start radius
    double R2 = 0; // a spiral-between-radii's end radius
    double Length = 0;
};

// The chain of the given elements from (north, east) heading `azimuth`, chainages from `start`;
// a clothoid takes its radius as the engine does, from the circle after it or the one before.
inline std::vector<PlaneInfo> BuildChain(double north, double east, double azimuth, double start,
                                         const std::vector<Piece>& pieces) {
    std::vector<PlaneInfo> chain;
    for (const Piece& p : pieces) {
        PlaneInfo e;
        e.LineType = p.Type;
        e.StartRadius = p.R1;
        e.EndRadius = p.Type == LineTypeSpiralBetweenRadii ? p.R2 : p.R1;
        e.Length = p.Length;
        chain.push_back(e);
    }
    chain.push_back(PlaneInfo{}); // the end marker
    chain[0].North = north;
    chain[0].East = east;
    chain[0].AzimuthAngle = azimuth;
    chain[0].Mileage = start;
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        PlaneInfo& e = chain[i];
        PlaneInfo& next = chain[i + 1];
        next.Mileage = e.Mileage + e.Length;
        if (e.LineType == LineTypeLine) {
            next.North = e.North + e.Length * std::cos(e.AzimuthAngle);
            next.East = e.East + e.Length * std::sin(e.AzimuthAngle);
            next.AzimuthAngle = e.AzimuthAngle;
            continue;
        }
        PlaneCalculate plane;
        plane.SetChain(0, chain);
        AxisPoint end;
        EXPECT_TRUE(plane.EvaluateElement(i, e.Length, 0, end)) << "element " << i;
        next.North = end.North;
        next.East = end.East;
        next.AzimuthAngle = NormalizeAngle(end.Azimuth);
    }
    return chain;
}

// Every element kind the engine evaluates, both turns, compound and broken-back transitions:
// L S(entry) A S(exit) L S(entry, left) A(left) spiral-between-radii A L... heading North-East.
inline std::vector<PlaneInfo> EveryKindChain() {
    return BuildChain(
        3000, 500, 0.7, 1000,
        {
            {LineTypeLine, 0, 0, 150},
            {LineTypeClothoid, 0, 0, 60},  // entry into the right-hand arc
            {LineTypeCircle, 300, 0, 120}, // right
            {LineTypeClothoid, 0, 0, 60},  // exit from it
            {LineTypeLine, 0, 0, 80},
            {LineTypeClothoid, 0, 0, 50},                 // entry into the left-hand arc
            {LineTypeCircle, -250, 0, 90},                // left
            {LineTypeSpiralBetweenRadii, -250, -150, 40}, // tightening
            {LineTypeCircle, -150, 0, 70},
            {LineTypeSpiralBetweenRadii, -150, 400, 60}, // reversing into a right turn
            {LineTypeCircle, 400, 0, 100},
            {LineTypeClothoid, 0, 0, 70}, // exit
            {LineTypeLine, 0, 0, 120},
        });
}

inline DesignAxisCalculate Design(const std::vector<PlaneInfo>& chain,
                                  const std::vector<LongSlopesInfo>& profile = {}) {
    DesignAxisCalculate d;
    d.SetPlaneElements(chain.front().Mileage, chain);
    if (!profile.empty())
        d.SetLongSlopes(profile);
    return d;
}

inline LongSlopesInfo Grade(double K, double H, double s1, double s2, double R = 0) {
    LongSlopesInfo p;
    p.Mileage = K;
    p.Height = H;
    p.Slope1 = s1;
    p.Slope2 = s2;
    p.Radius = R;
    p.CurveFlag = R != 0 && R != -1 ? 1 : 0;
    return p;
}

} // namespace telvane::road::testing
