// Stationing of an alignment: the station the surveyor reads at a point of the axis, and the
// internal chainage (the continuous distance from the start) the engine works in. A station
// equation restarts the stations at a point: from its internal chainage on, the station is its
// "ahead" value plus the distance travelled since.
#pragma once

#include <optional>
#include <vector>

namespace telvane::road {

struct StationEquation {
    double Internal = 0; // internal chainage of the equation's point, metres
    double Back = 0;     // station arriving there (informative)
    double Ahead = 0;    // station leaving there

    bool operator==(const StationEquation&) const = default;
};

struct Stationing {
    double Start = 0;                       // station (and internal chainage) of the start
    std::vector<StationEquation> Equations; // in order of increasing Internal

    bool operator==(const Stationing&) const = default;

    // The station of an internal chainage.
    double ToStation(double internal) const;

    // The internal chainage of a station. A station that lies in a gap that an equation skipped,
    // or before the start, has none. Where an equation sets the stations back, a station occurs
    // twice; the first occurrence along the axis is taken.
    std::optional<double> ToInternal(double station) const;
};

} // namespace telvane::road
