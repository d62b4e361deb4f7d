// Intersection-point polygons shared by the engine tests.
#pragma once

#include "road/engine/road_records.h"

#include <cmath>
#include <string>
#include <vector>

namespace telvane::road::testing {

inline IntersectionPointInfo Point(std::string name, double N, double E, double R = 0,
                                   double Ls1 = 0, double Ls2 = 0) {
    IntersectionPointInfo p;
    p.Name = std::move(name);
    p.North = N;
    p.East = E;
    p.Radius = R;
    p.ClothoidLength1 = Ls1;
    p.ClothoidLength2 = Ls2;
    return p;
}

// JD0 to JD1 heads North for `leg` metres; JD1 to JD2 goes on for another leg after turning by
// `turn` radians (positive to the right).
inline std::vector<IntersectionPointInfo> Corner(double turn, double leg, double R, double Ls1,
                                                 double Ls2) {
    return {Point("JD0", 0, 0), Point("JD1", leg, 0, R, Ls1, Ls2),
            Point("JD2", leg + leg * std::cos(turn), leg * std::sin(turn))};
}

} // namespace telvane::road::testing
