#include "road/engine/plane_calculate.h"

#include <cmath>

namespace telvane::road {

void PlaneCalculate::SetChain(double startChainage, std::vector<PlaneInfo> chain) {
    startChainage_ = startChainage;
    chain_ = std::move(chain);
    std::vector<double> chainages;
    chainages.reserve(chain_.size());
    for (const PlaneInfo& e : chain_) {
        chainages.push_back(e.Mileage);
    }
    finder_ = SegmentFinder(std::move(chainages));
}

bool PlaneCalculate::ValidateChain(const std::vector<PlaneInfo>& chain) {
    if (chain.size() < 2) {
        return false;
    }
    if (chain[0].LineType != LineTypeLine && chain[0].LineType != LineTypeCircle) {
        return false;
    }
    for (std::size_t i = 0; i < chain.size(); ++i) {
        if (chain[i].LineType == LineTypeCircle && chain[i].StartRadius == 0) {
            return false;
        }
        if (i > 0 && chain[i - 1].LineType == LineTypeClothoid &&
            chain[i].LineType != LineTypeCircle && chain[i].LineType != LineTypeLine) {
            return false;
        }
    }
    return true;
}

bool PlaneCalculate::EvaluateChain(double K, double W, ChainPoint& out) const {
    const std::size_t n = chain_.size();
    if (n < 2 || !(K >= chain_.front().Mileage) || !(K <= chain_.back().Mileage)) {
        return false;
    }
    const std::optional<std::size_t> i = finder_.Find(K);
    if (!i) {
        return false;
    }
    AxisPoint p = out.Point;
    if (!EvaluateElement(*i, K - chain_[*i].Mileage, W, p)) {
        return false;
    }
    out.LineType = chain_[*i].LineType;
    out.Point = p;
    return true;
}

bool PlaneCalculate::EvaluateElement(std::size_t i, double l, double W, AxisPoint& out) const {
    if (i + 1 >= chain_.size()) {
        return false;
    }
    const PlaneInfo& e = chain_[i];
    const PlaneInfo& next = chain_[i + 1];
    switch (e.LineType) {
    case LineTypeLine:
        return Line{e.North, e.East, next.North, next.East}.Evaluate(l, W, out);
    case LineTypeCircle:
        return Circle{e.East, e.North, 0, 0, e.StartRadius}.Evaluate(e.AzimuthAngle, l, W, out);
    case LineTypeClothoid: {
        // The radius comes from the circle the spiral leads into, or else from the element it
        // leads out of.
        if (next.LineType == LineTypeCircle && next.StartRadius != 0) {
            return Clothoid{e.East,           e.North,  e.AzimuthAngle,
                            next.StartRadius, e.Length, ClothoidEntry}
                .Evaluate(l, W, out);
        }
        if (i >= 1 && chain_[i - 1].StartRadius != 0) {
            return Clothoid{e.East,   e.North,     e.AzimuthAngle, chain_[i - 1].StartRadius,
                            e.Length, ClothoidExit}
                .Evaluate(l, W, out);
        }
        return false;
    }
    case LineTypeSpiralBetweenRadii:
        return SpiralBetweenRadii{e.East,        e.North,     e.AzimuthAngle,
                                  e.StartRadius, e.EndRadius, e.Length}
            .Evaluate(l, W, out);
    default:
        return false;
    }
}

} // namespace telvane::road
