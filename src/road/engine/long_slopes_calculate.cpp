#include "road/engine/long_slopes_calculate.h"

#include <cmath>

namespace telvane::road {
namespace {

constexpr double PerMille = 0.001;

// Straight grade from a to b at chainage x. The distance along the grade line uses the stored
// leaving grade of a, so this is plain linear interpolation when that grade matches the chord.
double StraightHeight(const LongSlopesInfo& a, const LongSlopesInfo& b, double x) {
    const double g = PerMille * a.Slope2;
    const double dK = b.Mileage - a.Mileage;
    const double dH = b.Height - a.Height;
    const double s = std::hypot(dK, dH);
    if (s == 0) {
        return a.Height;
    }
    return a.Height + (x - a.Mileage) * std::sqrt(1.0 + g * g) * dH / s;
}

} // namespace

void LongSlopesCalculate::SetProfile(std::vector<LongSlopesInfo> points) {
    points_ = std::move(points);
    std::vector<double> chainages;
    chainages.reserve(points_.size());
    for (const LongSlopesInfo& p : points_) {
        chainages.push_back(p.Mileage);
    }
    finder_ = SegmentFinder(std::move(chainages));
}

VerticalCurveInfo LongSlopesCalculate::VerticalCurve(const LongSlopesInfo& point) {
    const double g1 = PerMille * point.Slope1;
    const double g2 = PerMille * point.Slope2;
    const double r = std::fabs(point.Radius);
    VerticalCurveInfo c;
    c.T = r * std::fabs(g2 - g1) / 2.0;
    c.StartMileage = point.Mileage - c.T;
    c.StartHeight = point.Height - c.T * g1;
    c.EndMileage = point.Mileage + c.T;
    c.EndHeight = point.Height + c.T * g2;
    return c;
}

double LongSlopesCalculate::CurveHeight(CurveDirection direction, double h0, double g1, double g2,
                                        double r, double l) {
    const double base = direction == CurveDirection::Forward ? h0 + l * g1 : h0 - l * g2;
    const double y = l * l / (2.0 * r);
    return g1 - g2 > 0 ? base - y : base + y;
}

std::optional<double> LongSlopesCalculate::ProfileHeight(double x) const {
    const std::size_t n = points_.size();
    if (n < 2 || !(x >= points_.front().Mileage) || !(x <= points_.back().Mileage)) {
        return std::nullopt;
    }
    const std::optional<std::size_t> i = finder_.Find(x);
    if (!i) {
        return std::nullopt;
    }
    const std::optional<double> h = SegmentHeight(*i, x);
    if (!h || !std::isfinite(*h)) {
        return std::nullopt;
    }
    return h;
}

std::optional<double> LongSlopesCalculate::SegmentHeight(std::size_t i, double x) const {
    const std::size_t n = points_.size();
    const LongSlopesInfo& a = points_[i];
    const LongSlopesInfo& b = points_[i + 1];

    // Straight up to the start of b's curve, then on that curve (entered with a's leaving grade).
    auto towards_b = [&]() -> std::optional<double> {
        if (b.CurveFlag == 0) {
            return StraightHeight(a, b, x);
        }
        if (i + 2 >= n) {
            return std::nullopt;
        }
        const VerticalCurveInfo curve = VerticalCurve(b);
        if (x <= curve.StartMileage) {
            return StraightHeight(a, b, x);
        }
        return CurveHeight(CurveDirection::Forward, curve.StartHeight, PerMille * a.Slope2,
                           PerMille * b.Slope2, std::fabs(b.Radius), x - curve.StartMileage);
    };

    if (a.CurveFlag == 0) {
        return towards_b();
    }
    if (a.Radius == 0 || i == 0) {
        return std::nullopt;
    }
    const VerticalCurveInfo curve = VerticalCurve(a);
    if (x <= curve.EndMileage) {
        return CurveHeight(CurveDirection::Backward, curve.EndHeight, PerMille * a.Slope1,
                           PerMille * a.Slope2, std::fabs(a.Radius), curve.EndMileage - x);
    }
    return towards_b();
}

} // namespace telvane::road
