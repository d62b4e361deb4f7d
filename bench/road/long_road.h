// A long road for the benchmarks: curves turning right and left by turns between straights.
#pragma once

#include "road/engine/road_records.h"

#include <vector>

namespace telvane::road::bench {

inline PlaneInfo Element(std::int32_t type, double radius, double length, const char* direction) {
    PlaneInfo e;
    e.LineType = type;
    e.StartRadius = radius;
    e.EndRadius = radius;
    e.Length = length;
    e.Direction = direction;
    return e;
}

// `groups` curves, only the start point given. With spirals every curve is typed whole (S A S
// between straights); without, as a bare circle, so that the preparation inserts two clothoids
// per curve.
inline std::vector<PlaneInfo> TypedChain(int groups, bool spirals = true) {
    std::vector<PlaneInfo> chain;
    chain.reserve(static_cast<std::size_t>(groups) * 4 + 1);
    PlaneInfo start = Element(LineTypeLine, 0, 200, "");
    start.North = 10000;
    start.East = 5000;
    start.AzimuthAngle = 0.3;
    chain.push_back(start);
    for (int k = 0; k < groups; ++k) {
        const bool right = k % 2 == 0;
        const double R = right ? 400 : -400;
        const char* direction = right ? "R" : "L";
        if (spirals)
            chain.push_back(Element(LineTypeClothoid, R, 60, direction));
        chain.push_back(Element(LineTypeCircle, R, 100 + (k % 7) * 10.0, direction));
        if (spirals)
            chain.push_back(Element(LineTypeClothoid, R, 60, direction));
        chain.push_back(Element(LineTypeLine, 0, 200, ""));
    }
    return chain;
}

} // namespace telvane::road::bench
