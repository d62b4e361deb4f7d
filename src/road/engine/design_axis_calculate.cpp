#include "road/engine/design_axis_calculate.h"

#include <algorithm>
#include <cmath>

namespace telvane::road {
bool DesignAxisCalculate::SetPlaneElements(double startChainage,
                                           const std::vector<PlaneInfo>& chain) {
    Mode = 1;
    if (!std::isfinite(startChainage) ||
        !std::all_of(chain.begin(), chain.end(), [](const PlaneInfo& e) { return IsFinite(e); })) {
        planeElements_.clear();
        plane_.SetChain(0, {});
        return false;
    }
    planeElements_ = chain;
    if (planeElements_.empty()) {
        return false;
    }
    plane_.SetChain(startChainage, chain);
    return PlaneCalculate::ValidateChain(plane_.Chain());
}

bool DesignAxisCalculate::SetLongSlopes(const std::vector<LongSlopesInfo>& points) {
    if (!std::all_of(points.begin(), points.end(),
                     [](const LongSlopesInfo& p) { return IsFinite(p); })) {
        longSlopes_.clear();
        profile_.SetProfile({});
        return false;
    }
    longSlopes_ = points;
    if (longSlopes_.empty()) {
        return false;
    }
    profile_.SetProfile(points);
    if (points.size() < 2) {
        return false;
    }
    for (std::size_t i = 1; i < points.size(); ++i) {
        if (points[i].Mileage < points[i - 1].Mileage) {
            return false;
        }
    }
    return true;
}

void DesignAxisCalculate::Clear() {
    Superelevations.clear();
    planeElements_.clear();
    longSlopes_.clear();
}

bool DesignAxisCalculate::CalculatePile(double K, double Offset, Pile& pile) const {
    if (planeElements_.size() < 2 || !std::isfinite(K) || !std::isfinite(Offset) ||
        K < planeElements_.front().Mileage || K > planeElements_.back().Mileage) {
        return false;
    }
    ChainPoint at;
    if (!plane_.EvaluateChain(K, Offset, at)) {
        return false;
    }
    double z = 0;
    if (!longSlopes_.empty()) {
        z = profile_.ProfileHeight(K).value_or(0.0);
    }
    const double sideZ = Offset == 0 ? 0.0 : z;
    pile.MiddleN = at.Point.North;
    pile.MiddleE = at.Point.East;
    pile.MiddleZ = z;
    pile.LeftN = at.Point.LeftNorth;
    pile.LeftE = at.Point.LeftEast;
    pile.LeftZ = sideZ;
    pile.RightN = at.Point.RightNorth;
    pile.RightE = at.Point.RightEast;
    pile.RightZ = sideZ;
    pile.HasCentre = true;
    pile.HasSides = Offset != 0;
    return true;
}

} // namespace telvane::road
