// The foot of a point on the road's axis: the nearest point of the axis in plan, its chainage
// and the point's signed offset from it, found on straights, arcs and clothoids to 1e-6 m.
//
// The axis is cut into pieces short and flat enough that the distance to a point has at most one
// minimum inside each (at most 100 m long and turning at most 0.2 rad). Their boxes, widened by
// how far the curve can leave its chord, are kept in a binary tree over the pieces in chainage
// order, which keeps neighbours along the road together: a search descends nearer boxes first
// and leaves out every box farther than the best distance found so far, then refines the few
// pieces left by a safeguarded Newton iteration on the element itself.
#pragma once

#include "road/engine/plane_calculate.h"
#include "road/engine/road_records.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace telvane::road::check {

struct PlanPoint {
    double North = 0;
    double East = 0;
};

enum class FootPosition {
    OnAxis,      // the foot lies on the axis
    BeforeStart, // the nearest point is the start and the point lies behind it
    PastEnd,     // the nearest point is the end and the point lies beyond it
};

struct Foot {
    FootPosition Position = FootPosition::OnAxis;
    double Chainage = 0; // of the foot; the start or end chainage for a point outside
    double Offset = 0;   // signed distance from the axis, positive to the right looking ahead
    double Along = 0;    // beyond the start or end, for a point outside (0 on the axis)
    double Distance = 0; // from the point to the foot in plan
    PlanPoint At;        // the foot
    double Azimuth = 0;  // tangent azimuth at the foot, radians from North clockwise
    std::size_t Element = 0;
    // The point is as far from another part of the axis (a hairpin's other leg): the part
    // nearer in chainage to the previous point was taken.
    bool Tie = false;
};

class AxisIndex {
public:
    AxisIndex() = default;
    // The element chain as the engine took it (the last element is the end marker). Elements
    // the engine cannot evaluate are left out of the search.
    explicit AxisIndex(const std::vector<PlaneInfo>& chain);

    bool Empty() const { return pieces_.empty(); }
    std::size_t PieceCount() const { return pieces_.size(); }

    // The foot of `p`. `previous` is the chainage of the previous point's foot, which decides a
    // tie; without one the smaller chainage is taken. Nothing for an empty axis or a point that
    // is not finite.
    std::optional<Foot> FootOf(PlanPoint p, std::optional<double> previous = std::nullopt) const;

    // The axis point and tangent at a chainage (with side points at W, as the engine gives
    // them); false outside the axis.
    bool At(double chainage, double W, ChainPoint& out) const;

    const PlaneCalculate& Plane() const { return plane_; }

private:
    struct Piece {
        std::uint32_t Element = 0;
        double L0 = 0, L1 = 0;         // distances along the element
        double N0 = 0, E0 = 0, A0 = 0; // start point and tangent azimuth
        double N1 = 0, E1 = 0, A1 = 0; // end point and tangent azimuth
        double Bulge = 0;              // how far the curve can leave the chord
        // The axis ends here or breaks (a left-out element, a kink): the distance may be least
        // at this end without the next piece going on to a smaller one.
        bool OpenStart = false, OpenEnd = false;
    };
    struct Box {
        double MinN, MinE, MaxN, MaxE;
    };
    struct Near {
        std::size_t Piece;
        double Bound; // no point of the piece is nearer
    };
    struct Candidate {
        double Distance;
        double Chainage;
        std::size_t Piece;
        double L;
        AxisPoint Point;
    };

    double Curvature(std::size_t element, double l) const;
    // The nearest points of piece k to p: its inner minimum, or an open end where the distance
    // grows into the piece.
    void Refine(std::size_t k, PlanPoint p, bool anyEnd, std::vector<Candidate>& out) const;

    PlaneCalculate plane_;
    std::vector<Piece> pieces_;
    std::vector<Box> tree_; // implicit binary tree: node i has children 2i and 2i+1; leaves from
                            // leaves_ on
    std::size_t leaves_ = 0;
    double startChainage_ = 0, endChainage_ = 0;
};

} // namespace telvane::road::check
