// The vertical profile: design elevation of the axis at a chainage from grade points with
// optional symmetric parabolic vertical curves.
#pragma once

#include "road/engine/road_records.h"
#include "road/engine/segment_finder.h"

#include <optional>
#include <vector>

namespace telvane::road {

// The vertical curve centred on a grade point.
struct VerticalCurveInfo {
    double T = 0; // tangent length (half the curve's chainage span)
    double StartMileage = 0;
    double StartHeight = 0;
    double EndMileage = 0;
    double EndHeight = 0;
};

enum class CurveDirection {
    Forward,  // l measured from the curve's start
    Backward, // l measured back from the curve's end
};

class LongSlopesCalculate {
public:
    // Replaces the working copy of the profile.
    void SetProfile(std::vector<LongSlopesInfo> points);
    const std::vector<LongSlopesInfo>& Profile() const { return points_; }

    // Elevation at chainage x. Empty when x lies outside the profile, a vertical curve sits on the
    // first or last point of the segment's reach, a curve point has radius 0, or a result would
    // not be finite.
    std::optional<double> ProfileHeight(double x) const;

    static VerticalCurveInfo VerticalCurve(const LongSlopesInfo& point);

    // Elevation on a vertical curve from reference height h0 at distance l; grades g1 (entering)
    // and g2 (leaving) as ratios, r the curve radius (≥ 0). A crest (g1 > g2) bends down,
    // everything else up.
    static double CurveHeight(CurveDirection direction, double h0, double g1, double g2, double r,
                              double l);

private:
    std::optional<double> SegmentHeight(std::size_t i, double x) const;

    std::vector<LongSlopesInfo> points_;
    SegmentFinder finder_;
};

} // namespace telvane::road
