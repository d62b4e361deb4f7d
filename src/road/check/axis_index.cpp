#include "road/check/axis_index.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace telvane::road::check {
namespace {

constexpr double MaxPieceLength = 100.0; // metres
constexpr double MaxPieceTurn = 0.2;     // radians
// Distances this close are a tie between two parts of the axis; the search itself is finer.
constexpr double TieDistance = 1e-6;
// Feet this far apart in chainage are different parts of the axis, not one foot found twice.
constexpr double SamePart = 1e-3;
// A point less than this behind the start (or beyond the end) is still on the axis.
constexpr double OutsideMargin = 1e-7;
constexpr double Infinite = std::numeric_limits<double>::infinity();

double Squared(double v) {
    return v * v;
}

// Distance from p to the segment a-b.
double SegmentDistance(PlanPoint p, double n0, double e0, double n1, double e1) {
    const double dn = n1 - n0, de = e1 - e0;
    const double length2 = dn * dn + de * de;
    double t = 0;
    if (length2 > 0)
        t = std::clamp(((p.North - n0) * dn + (p.East - e0) * de) / length2, 0.0, 1.0);
    return std::hypot(p.North - (n0 + t * dn), p.East - (e0 + t * de));
}

// Distance of p behind (negative) or ahead of (positive) the point square to the tangent.
double AlongOf(PlanPoint p, double north, double east, double azimuth) {
    return (p.North - north) * std::cos(azimuth) + (p.East - east) * std::sin(azimuth);
}

// Distance of p to the right of the tangent (negative to the left).
double RightOf(PlanPoint p, double north, double east, double azimuth) {
    return -(p.North - north) * std::sin(azimuth) + (p.East - east) * std::cos(azimuth);
}

} // namespace

AxisIndex::AxisIndex(const std::vector<PlaneInfo>& chain) {
    plane_.SetChain(0, chain);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        const double length = chain[i + 1].Mileage - chain[i].Mileage;
        if (!(length > 0) || !std::isfinite(length))
            continue;
        AxisPoint start, end;
        if (!plane_.EvaluateElement(i, 0, 0, start) || !plane_.EvaluateElement(i, length, 0, end))
            continue;
        // Curvature runs linearly along every element kind, so its largest size is at an end.
        const double kappa = std::max(std::fabs(Curvature(i, 0)), std::fabs(Curvature(i, length)));
        const double byLength = std::ceil(length / MaxPieceLength);
        const double byTurn = std::ceil(kappa * length / MaxPieceTurn);
        const auto count =
            static_cast<std::size_t>(std::clamp(std::max(byLength, byTurn), 1.0, 1e6));
        AxisPoint from = start;
        double l0 = 0;
        for (std::size_t j = 0; j < count; ++j) {
            const double l1 =
                j + 1 == count ? length
                               : length * static_cast<double>(j + 1) / static_cast<double>(count);
            AxisPoint to = end;
            if (j + 1 < count && !plane_.EvaluateElement(i, l1, 0, to))
                break;
            const double s = l1 - l0;
            Piece piece;
            piece.Element = static_cast<std::uint32_t>(i);
            piece.L0 = l0;
            piece.L1 = l1;
            piece.N0 = from.North;
            piece.E0 = from.East;
            piece.A0 = from.Azimuth;
            piece.N1 = to.North;
            piece.E1 = to.East;
            piece.A1 = to.Azimuth;
            // The sagitta of an arc of this curvature, with room for rounding.
            piece.Bulge = s * s * kappa / 8.0 * 1.01 + 1e-6;
            pieces_.push_back(piece);
            from = to;
            l0 = l1;
        }
    }
    if (pieces_.empty())
        return;
    for (std::size_t k = 0; k < pieces_.size(); ++k) {
        Piece& p = pieces_[k];
        if (k == 0) {
            p.OpenStart = true;
        } else {
            const Piece& q = pieces_[k - 1];
            const bool joined =
                std::hypot(p.N0 - q.N1, p.E0 - q.E1) <= 1e-7 &&
                std::fabs(std::remainder(p.A0 - q.A1, 2 * std::numbers::pi)) <= 1e-7;
            p.OpenStart = !joined;
            pieces_[k - 1].OpenEnd = !joined;
            if (joined) {
                // One point for both sides of the join, so that the two pieces see the same
                // along-track distance there and exactly one of them takes a foot on it.
                p.N0 = q.N1;
                p.E0 = q.E1;
                p.A0 = q.A1;
            }
        }
    }
    pieces_.back().OpenEnd = true;
    const std::vector<PlaneInfo>& c = plane_.Chain();
    startChainage_ = c[pieces_.front().Element].Mileage + pieces_.front().L0;
    endChainage_ = c[pieces_.back().Element].Mileage + pieces_.back().L1;

    leaves_ = 1;
    while (leaves_ < pieces_.size())
        leaves_ *= 2;
    tree_.assign(2 * leaves_, Box{Infinite, Infinite, -Infinite, -Infinite});
    for (std::size_t k = 0; k < pieces_.size(); ++k) {
        const Piece& p = pieces_[k];
        tree_[leaves_ + k] = Box{std::min(p.N0, p.N1) - p.Bulge, std::min(p.E0, p.E1) - p.Bulge,
                                 std::max(p.N0, p.N1) + p.Bulge, std::max(p.E0, p.E1) + p.Bulge};
    }
    for (std::size_t n = leaves_ - 1; n >= 1; --n) {
        const Box& a = tree_[2 * n];
        const Box& b = tree_[2 * n + 1];
        tree_[n] = Box{std::min(a.MinN, b.MinN), std::min(a.MinE, b.MinE), std::max(a.MaxN, b.MaxN),
                       std::max(a.MaxE, b.MaxE)};
    }
}

double AxisIndex::Curvature(std::size_t i, double l) const {
    const std::vector<PlaneInfo>& c = plane_.Chain();
    const PlaneInfo& e = c[i];
    switch (e.LineType) {
    case LineTypeCircle:
        return e.StartRadius == 0 ? 0.0 : 1.0 / e.StartRadius;
    case LineTypeClothoid: {
        // As the engine takes its radius: from the circle it leads into, else the element
        // before it.
        const PlaneInfo& next = c[i + 1];
        if (next.LineType == LineTypeCircle && next.StartRadius != 0)
            return l / (next.StartRadius * e.Length);
        if (i >= 1 && c[i - 1].StartRadius != 0)
            return (e.Length - l) / (c[i - 1].StartRadius * e.Length);
        return 0;
    }
    case LineTypeSpiralBetweenRadii:
        if (e.StartRadius == 0 || e.EndRadius == 0 || !(e.Length > 0))
            return 0;
        return 1.0 / e.StartRadius + (1.0 / e.EndRadius - 1.0 / e.StartRadius) * l / e.Length;
    default:
        return 0;
    }
}

void AxisIndex::Refine(std::size_t k, PlanPoint p, bool anyEnd, std::vector<Candidate>& out) const {
    const Piece& piece = pieces_[k];
    const double mileage = plane_.Chain()[piece.Element].Mileage;
    const double alongStart = AlongOf(p, piece.N0, piece.E0, piece.A0);
    const double alongEnd = AlongOf(p, piece.N1, piece.E1, piece.A1);
    const auto end = [&](double l, double north, double east, double azimuth) {
        AxisPoint at;
        at.North = north;
        at.East = east;
        at.Azimuth = azimuth;
        out.push_back({std::hypot(p.North - north, p.East - east), mileage + l, k, l, at});
    };
    if (!(alongStart >= 0 && alongEnd < 0)) {
        // No minimum inside: the distance only grows into the piece from one end or both. Where
        // the piece joins the next one smoothly that one goes on to a smaller distance, or holds
        // the minimum at this very point, so only an open end is a foot.
        if (alongStart < 0 && (piece.OpenStart || anyEnd))
            end(piece.L0, piece.N0, piece.E0, piece.A0);
        if (alongEnd >= 0 && (piece.OpenEnd || anyEnd))
            end(piece.L1, piece.N1, piece.E1, piece.A1);
        return;
    }
    if (alongStart == 0) {
        end(piece.L0, piece.N0, piece.E0, piece.A0);
        return;
    }
    // The foot lies inside, where the point stands square to the tangent. Newton on the
    // along-track distance f(l), whose slope is κ·offset - 1, kept inside the bracket [lo, hi]
    // (f > 0 at lo, f < 0 at hi) by bisection where a step would leave it.
    double lo = piece.L0, hi = piece.L1;
    double l = lo + (hi - lo) * alongStart / (alongStart - alongEnd);
    AxisPoint at;
    bool have = false;
    for (int iteration = 0; iteration < 80; ++iteration) {
        if (!plane_.EvaluateElement(piece.Element, l, 0, at))
            break;
        have = true;
        const double f = AlongOf(p, at.North, at.East, at.Azimuth);
        if (f > 0)
            lo = l;
        else
            hi = l;
        const double slope =
            Curvature(piece.Element, l) * RightOf(p, at.North, at.East, at.Azimuth) - 1.0;
        double next = slope < 0 ? l - f / slope : lo - 1.0;
        if (!(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        if (std::fabs(next - l) < 1e-10 || hi - lo < 1e-10) {
            if (next != l && plane_.EvaluateElement(piece.Element, next, 0, at))
                l = next;
            break;
        }
        l = next;
    }
    if (!have)
        return;
    out.push_back({std::hypot(p.North - at.North, p.East - at.East), mileage + l, k, l, at});
}

std::optional<Foot> AxisIndex::FootOf(PlanPoint p, std::optional<double> previous) const {
    if (pieces_.empty() || !std::isfinite(p.North) || !std::isfinite(p.East))
        return std::nullopt;
    const auto boxDistance2 = [&](std::size_t n) {
        const Box& b = tree_[n];
        const double dn = std::max({b.MinN - p.North, 0.0, p.North - b.MaxN});
        const double de = std::max({b.MinE - p.East, 0.0, p.East - b.MaxE});
        return dn * dn + de * de;
    };

    // Nearer boxes first; a box farther than the best bound so far cannot hold the foot.
    double best = Infinite;
    // Kept between calls (one pair per thread): a search then allocates nothing.
    thread_local std::vector<Near> near;
    thread_local std::vector<Candidate> found;
    near.clear();
    found.clear();
    std::size_t stack[128];
    std::size_t depth = 0;
    stack[depth++] = 1;
    while (depth > 0) {
        const std::size_t n = stack[--depth];
        const double d2 = boxDistance2(n);
        if (d2 > Squared(best + TieDistance))
            continue;
        if (n >= leaves_) {
            const std::size_t k = n - leaves_;
            const Piece& piece = pieces_[k];
            best = std::min(best, SegmentDistance(p, piece.N0, piece.E0, piece.N1, piece.E1) +
                                      piece.Bulge);
            near.push_back({k, std::sqrt(d2)});
            continue;
        }
        const std::size_t a = 2 * n, b = 2 * n + 1;
        if (boxDistance2(a) <= boxDistance2(b)) {
            stack[depth++] = b;
            stack[depth++] = a;
        } else {
            stack[depth++] = a;
            stack[depth++] = b;
        }
    }

    for (const Near& c : near)
        if (c.Bound <= best + TieDistance)
            Refine(c.Piece, p, false, found);
    if (found.empty()) {
        // Only where rounding hides the minimum between two pieces (a point on the centre of an
        // arc, where every point of it is as near): take the pieces' ends as they are.
        for (const Near& c : near)
            if (c.Bound <= best + TieDistance)
                Refine(c.Piece, p, true, found);
    }
    if (found.empty())
        return std::nullopt;
    double nearest = Infinite;
    for (const Candidate& c : found)
        nearest = std::min(nearest, c.Distance);
    const Candidate* chosen = nullptr;
    bool tie = false;
    for (const Candidate& c : found) {
        if (c.Distance > nearest + TieDistance)
            continue;
        if (chosen == nullptr) {
            chosen = &c;
            continue;
        }
        if (std::fabs(c.Chainage - chosen->Chainage) <= SamePart) {
            if (c.Distance < chosen->Distance)
                chosen = &c;
            continue;
        }
        tie = true;
        const bool closer =
            previous ? std::fabs(c.Chainage - *previous) < std::fabs(chosen->Chainage - *previous)
                     : c.Chainage < chosen->Chainage;
        if (closer)
            chosen = &c;
    }

    Foot foot;
    foot.Chainage = chosen->Chainage;
    foot.At = {chosen->Point.North, chosen->Point.East};
    foot.Azimuth = chosen->Point.Azimuth;
    foot.Element = pieces_[chosen->Piece].Element;
    foot.Distance = chosen->Distance;
    foot.Tie = tie;
    foot.Offset = RightOf(p, foot.At.North, foot.At.East, foot.Azimuth);
    const double along = AlongOf(p, foot.At.North, foot.At.East, foot.Azimuth);
    if (chosen->Chainage == startChainage_ && along < -OutsideMargin) {
        foot.Position = FootPosition::BeforeStart;
        foot.Along = along;
    } else if (chosen->Chainage == endChainage_ && along > OutsideMargin) {
        foot.Position = FootPosition::PastEnd;
        foot.Along = along;
    }
    return foot;
}

bool AxisIndex::At(double chainage, double W, ChainPoint& out) const {
    return plane_.EvaluateChain(chainage, W, out);
}

} // namespace telvane::road::check
