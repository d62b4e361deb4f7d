// Measured points against the calculated design, point by point: where each lies relative to
// the axis (chainage, offset), the design elevation there and the height difference, for a point
// named after a stake its deviation from that stake, and a verdict against the tolerances.
#pragma once

#include "fileio/datastate.h"
#include "model/records.h"
#include "road/check/axis_index.h"
#include "road/design/stake_names.h"
#include "road/design/stations.h"
#include "road/engine/design_axis_calculate.h"
#include "road/engine/long_slopes_calculate.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace telvane::road::check {

// How far a staked point may lie from its stake in plan, and a point from the design elevation,
// in metres. A deviation equal to the tolerance is within it.
struct CheckTolerances {
    double plan = 0.02;
    double height = 0.01;
};

struct MeasuredPoint {
    std::string Name; // bytes of the code page (GBK)
    double North = 0;
    double East = 0;
    double Elevation = 0;
};

// The points of the main window's lists, in order.
std::vector<MeasuredPoint> measured_points(const std::vector<coord_item>& points);
std::vector<MeasuredPoint> measured_points(const std::vector<coord3_item>& points);
// The points a job yields (stations, backsights with coordinates, coordinates), in order.
std::vector<MeasuredPoint> measured_points_of_job(const std::vector<record_item>& records);
// The points of what Open made of a file: points, points with further values, or the points of
// a job; nothing for other data (codes, road tables).
std::optional<std::vector<MeasuredPoint>> measured_points_of(const DataState& data);

enum class StakeStatus {
    None,        // the name does not name a stake
    Found,       // the named stake is on the road: the deviation is known
    NotOnRoad,   // the named chainage lies outside the road
    NoSidePoint, // a side point, but the stakes have no side offset
};

enum class Verdict {
    Within,    // everything checked is within its tolerance
    Exceeded,  // a deviation or the height difference exceeds its tolerance
    Outside,   // the point's foot lies before the start or past the end of the road
    Unchecked, // nothing to check: no stake named and no design elevation
};

struct PointCheck {
    MeasuredPoint Point;
    bool Found = false;  // the point is finite and the road has an axis
    Foot Where;          // the foot on the axis, when Found
    double Chainage = 0; // the foot's station (the chainage the user reads)
    std::optional<double> DesignElevation;
    std::optional<double> HeightDifference; // measured elevation - design elevation
    std::optional<StakeName> Stake;         // what the name names
    StakeStatus StakeState = StakeStatus::None;
    PlanPoint StakeAt;              // the intended stake, when Found
    std::optional<double> Along;    // deviation from the stake along the axis (ahead +)
    std::optional<double> Across;   // and across it (right +)
    std::optional<double> Distance; // in plan
    bool PlanExceeded = false;
    bool HeightExceeded = false;
    Verdict Result = Verdict::Unchecked;
};

// Station and internal chainage of a design with station equations (LandXML); without them the
// two are the same.
struct Stationing {
    std::function<double(double)> ToStation;                 // internal -> station
    std::function<std::optional<double>(double)> ToInternal; // station -> internal
};
// The stations of a design with station equations; without, stations are the chainages.
Stationing stations_of(const std::optional<road::Stationing>& design);

class StakeCheck {
public:
    // The design as the engine took it (call after a successful calculation); `sideOffset` is
    // the distance of the left and right stakes from the axis they were calculated with.
    StakeCheck(const DesignAxisCalculate& design, double sideOffset, CheckTolerances tolerances,
               Stationing stations = {});

    // False when the design has no axis to check against.
    bool Ready() const { return !axis_.Empty(); }

    // One point; `previous` is the previous point's foot chainage (internal), for a tie between
    // two legs of a hairpin.
    PointCheck Check(const MeasuredPoint& point, std::optional<double> previous = {}) const;
    // Every point in order, each tie decided by the point before.
    std::vector<PointCheck> CheckAll(const std::vector<MeasuredPoint>& points) const;

    const AxisIndex& Axis() const { return axis_; }
    const CheckTolerances& Tolerances() const { return tolerances_; }

private:
    AxisIndex axis_;
    LongSlopesCalculate profile_;
    bool hasProfile_ = false;
    double sideOffset_ = 0;
    CheckTolerances tolerances_;
    Stationing stations_;
};

} // namespace telvane::road::check
