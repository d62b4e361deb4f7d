// Element chains and checks shared by the road design tests.
#pragma once

#include "road/engine/road_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road::testing {

// An element as the element dialog or a ".SEC" line gives it: kind letter, radii, length,
// direction and point (North, East).
inline PlaneInfo El(char kind, double startRadius = 0, double endRadius = 0, double length = 0,
                    std::string direction = "", double north = 0, double east = 0) {
    PlaneInfo e;
    e.LineType = kind == 'L' ? LineTypeLine : kind == 'A' ? LineTypeCircle : LineTypeClothoid;
    e.StartRadius = startRadius;
    e.EndRadius = endRadius;
    e.Length = length;
    e.Direction = std::move(direction);
    e.North = north;
    e.East = east;
    return e;
}

// The kind letters of a chain, e.g. "LSASL".
inline std::string Kinds(const std::vector<PlaneInfo>& chain) {
    std::string s;
    for (const PlaneInfo& e : chain) {
        s += e.LineType == LineTypeLine ? 'L' : e.LineType == LineTypeCircle ? 'A' : 'S';
    }
    return s;
}

// A chain of the given kinds, every element of length 10, circles and clothoids with radius 100 at
// both ends and turning right, first point at North 1000, East 500, heading North-East.
inline std::vector<PlaneInfo> ChainOfKinds(std::string_view kinds) {
    std::vector<PlaneInfo> chain;
    for (char k : kinds) {
        const double r = k == 'L' ? 0 : 100;
        PlaneInfo e = El(k, r, r, 10, k == 'L' ? "" : "R");
        chain.push_back(e);
    }
    if (!chain.empty()) {
        // Ends as a saved chain does, with an element of length 0: the road ends at its start.
        chain.back().Length = 0;
        chain[0].North = 1000;
        chain[0].East = 500;
        chain[0].AzimuthAngle = Pi / 4;
    }
    return chain;
}

inline double AngleGap(double a, double b) {
    return std::fabs(std::remainder(a - b, TwoPi));
}

// Each element evaluated at its full length by the engine lands on the next element's point with
// the next element's azimuth; each straight heads where the element after it starts.
inline void ExpectContinuous(const std::vector<PlaneInfo>& chain, double tolerance) {
    PlaneCalculate plane;
    plane.SetChain(chain.front().Mileage, chain);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        const PlaneInfo& e = chain[i];
        const PlaneInfo& next = chain[i + 1];
        if (e.LineType == LineTypeLine) {
            if (e.Length > 1e-3) {
                EXPECT_LT(
                    AngleGap(Azimuth(e.North, e.East, next.North, next.East), next.AzimuthAngle),
                    tolerance)
                    << "straight " << i;
            }
            continue;
        }
        AxisPoint end;
        ASSERT_TRUE(plane.EvaluateElement(i, e.Length, 0, end)) << "element " << i;
        EXPECT_NEAR(end.North, next.North, tolerance) << "element " << i;
        EXPECT_NEAR(end.East, next.East, tolerance) << "element " << i;
        EXPECT_LT(AngleGap(end.Azimuth, next.AzimuthAngle), tolerance) << "element " << i;
    }
}

// Intersection points JD0 .. JDn of a road that heads roughly North and turns alternately right
// and left, with unequal spirals.
inline std::vector<IntersectionPointInfo> WindingRoad(int curves) {
    std::vector<IntersectionPointInfo> points;
    for (int k = 0; k < curves + 2; ++k) {
        IntersectionPointInfo p;
        p.Name = "JD" + std::to_string(k);
        p.North = 3000 + 500.0 * k;
        p.East = 500 + (k % 2 == 0 ? 0.0 : 180.0) + 7.0 * k;
        p.Radius = 250 + 40.0 * (k % 3);
        p.ClothoidLength1 = 40 + 10.0 * (k % 2);
        p.ClothoidLength2 = 30 + 15.0 * (k % 3);
        points.push_back(p);
    }
    return points;
}

} // namespace telvane::road::testing
