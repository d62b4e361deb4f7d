#include "road/design/stations.h"

#include <cstddef>

namespace telvane::road {

double Stationing::ToStation(double internal) const {
    double station = internal;
    for (const StationEquation& eq : Equations) {
        if (internal >= eq.Internal) {
            station = eq.Ahead + (internal - eq.Internal);
        }
    }
    return station;
}

std::optional<double> Stationing::ToInternal(double station) const {
    // Region k runs from the start of equation k-1 (the alignment's start for k = 0) to the
    // start of equation k; the first and the last region are open at their outer ends, so that
    // a station beyond the alignment still maps to a chainage the engine reports as outside.
    const std::size_t n = Equations.size();
    for (std::size_t k = 0; k <= n; ++k) {
        const double from = k == 0 ? Start : Equations[k - 1].Internal;
        const double stationAtFrom = k == 0 ? Start : Equations[k - 1].Ahead;
        const bool last = k == n;
        const double to = last ? 0.0 : Equations[k].Internal;
        const double offset = station - stationAtFrom;
        if (k > 0 && offset < 0) {
            continue;
        }
        if (!last && from + offset > to) {
            continue;
        }
        return from + offset;
    }
    return std::nullopt;
}

} // namespace telvane::road
