#include "road/check/stake_check.h"

#include <cmath>

namespace telvane::road::check {
namespace {

// Deviations are compared with the tolerance at a tenth of a micrometre, so that a value shown
// as equal to the tolerance is within it.
constexpr double Slack = 1e-7;

template <typename Item> std::vector<MeasuredPoint> PointsOf(const std::vector<Item>& items) {
    std::vector<MeasuredPoint> out;
    out.reserve(items.size());
    for (const Item& p : items)
        out.push_back({std::string(p.name.view()), p.north, p.east, p.elev});
    return out;
}

} // namespace

std::vector<MeasuredPoint> measured_points(const std::vector<coord_item>& points) {
    return PointsOf(points);
}

std::vector<MeasuredPoint> measured_points(const std::vector<coord3_item>& points) {
    return PointsOf(points);
}

std::vector<MeasuredPoint> measured_points_of_job(const std::vector<record_item>& records) {
    std::vector<coord_item> points;
    append_job_points(records, points);
    return PointsOf(points);
}

StakeCheck::StakeCheck(const DesignAxisCalculate& design, double sideOffset,
                       CheckTolerances tolerances, Stationing stations)
    : axis_(design.PlaneElements()), sideOffset_(sideOffset), tolerances_(tolerances),
      stations_(std::move(stations)) {
    // The engine takes a profile it refused as well; only one it could not keep is empty.
    if (!design.LongSlopes().empty()) {
        profile_.SetProfile(design.LongSlopes());
        hasProfile_ = true;
    }
}

PointCheck StakeCheck::Check(const MeasuredPoint& point, std::optional<double> previous) const {
    PointCheck r;
    r.Point = point;
    const std::optional<Foot> foot = axis_.FootOf({point.North, point.East}, previous);
    if (!foot || !std::isfinite(point.Elevation))
        return r;
    r.Found = true;
    r.Where = *foot;
    r.Chainage = stations_.ToStation ? stations_.ToStation(foot->Chainage) : foot->Chainage;
    const bool onAxis = foot->Position == FootPosition::OnAxis;
    if (hasProfile_ && onAxis) {
        r.DesignElevation = profile_.ProfileHeight(foot->Chainage);
        if (r.DesignElevation)
            r.HeightDifference = point.Elevation - *r.DesignElevation;
    }

    // A stake's deviation does not depend on the foot: a stake at the very end of the road,
    // measured a little beyond it, still has one.
    r.Stake = parse_stake_name(point.Name);
    if (r.Stake) {
        std::optional<double> internal = r.Stake->Chainage;
        if (stations_.ToInternal)
            internal = stations_.ToInternal(r.Stake->Chainage);
        ChainPoint at;
        const bool side = r.Stake->Side != StakeSide::Centre;
        if (!internal || !axis_.At(*internal, side ? sideOffset_ : 0, at)) {
            r.StakeState = StakeStatus::NotOnRoad;
        } else if (side && sideOffset_ == 0) {
            r.StakeState = StakeStatus::NoSidePoint;
        } else {
            r.StakeState = StakeStatus::Found;
            const AxisPoint& a = at.Point;
            r.StakeAt = r.Stake->Side == StakeSide::Left    ? PlanPoint{a.LeftNorth, a.LeftEast}
                        : r.Stake->Side == StakeSide::Right ? PlanPoint{a.RightNorth, a.RightEast}
                                                            : PlanPoint{a.North, a.East};
            // In the frame of the axis at the stake: ahead along the tangent, right across it.
            const double dn = point.North - r.StakeAt.North;
            const double de = point.East - r.StakeAt.East;
            const double s = std::sin(a.Azimuth), c = std::cos(a.Azimuth);
            r.Along = dn * c + de * s;
            r.Across = -dn * s + de * c;
            r.Distance = std::hypot(dn, de);
        }
    }

    bool checked = false;
    if (r.Distance) {
        checked = true;
        r.PlanExceeded = *r.Distance > tolerances_.plan + Slack;
    }
    if (r.HeightDifference) {
        checked = true;
        r.HeightExceeded = std::fabs(*r.HeightDifference) > tolerances_.height + Slack;
    }
    if (checked)
        r.Result = r.PlanExceeded || r.HeightExceeded ? Verdict::Exceeded : Verdict::Within;
    else if (!onAxis)
        r.Result = Verdict::Outside;
    return r;
}

std::vector<PointCheck> StakeCheck::CheckAll(const std::vector<MeasuredPoint>& points) const {
    std::vector<PointCheck> out;
    out.reserve(points.size());
    std::optional<double> previous;
    for (const MeasuredPoint& p : points) {
        out.push_back(Check(p, previous));
        if (out.back().Found && out.back().Where.Position == FootPosition::OnAxis)
            previous = out.back().Where.Chainage;
    }
    return out;
}

std::optional<std::vector<MeasuredPoint>> measured_points_of(const DataState& data) {
    switch (data.Kind) {
    case DataKind::Points:
        return measured_points(data.CoordList);
    case DataKind::Points3:
        return measured_points(data.Coord3List);
    case DataKind::Records:
        return measured_points_of_job(data.RecordList);
    default:
        return std::nullopt;
    }
}

Stationing stations_of(const std::optional<road::Stationing>& design) {
    Stationing s;
    if (design) {
        s.ToStation = [d = *design](double c) { return d.ToStation(c); };
        s.ToInternal = [d = *design](double c) { return d.ToInternal(c); };
    }
    return s;
}

} // namespace telvane::road::check
