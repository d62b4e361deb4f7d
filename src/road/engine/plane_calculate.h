// The working copy of an element chain and its evaluation at a chainage.
#pragma once

#include "road/engine/elements.h"
#include "road/engine/road_records.h"
#include "road/engine/segment_finder.h"

#include <cstdint>
#include <vector>

namespace telvane::road {

struct ChainPoint {
    std::int32_t LineType = LineTypeLine; // kind of the element that was evaluated
    AxisPoint Point;
};

class PlaneCalculate {
public:
    // Replaces the working copy. Nothing in the chain is changed; chainages come from the
    // elements' Mileage alone (the start chainage is kept but no result depends on it).
    void SetChain(double startChainage, std::vector<PlaneInfo> chain);

    // False for a chain the engine cannot walk: fewer than 2 elements, a circle of radius 0, a
    // first element that is neither line nor circle, or a clothoid followed by anything other than
    // a line or a circle.
    static bool ValidateChain(const std::vector<PlaneInfo>& chain);

    // Centre point, tangent azimuth and (for W ≠ 0) side points at chainage K. False when K lies
    // outside the chain or the element there cannot be evaluated; out is then untouched.
    bool EvaluateChain(double K, double W, ChainPoint& out) const;

    // Element i (not the end marker) at distance l from its start, whatever its chainage span.
    bool EvaluateElement(std::size_t i, double l, double W, AxisPoint& out) const;

    double StartChainage() const { return startChainage_; }
    const std::vector<PlaneInfo>& Chain() const { return chain_; }

private:
    double startChainage_ = 0;
    std::vector<PlaneInfo> chain_;
    SegmentFinder finder_;
};

} // namespace telvane::road
