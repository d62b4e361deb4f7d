#include "picture.h"

#include "model/numtext.h"

#include <algorithm>
#include <cmath>

namespace telvane::plot {

namespace {

using road::LineTypeCircle;
using road::LineTypeClothoid;
using road::LineTypeLine;

double curvature(double radius) {
    return radius == 0 ? 0.0 : 1.0 / std::fabs(radius);
}

// Chord length that keeps the sagitta of a curve of curvature k under the tolerance.
double chord_for(double k, double tolerance) {
    return k <= 0 ? 0.0 : std::sqrt(8.0 * tolerance / k);
}

// How many chords of at most `chord` cover `length`: at least one, and never more than a picture
// can use. A typed radius or grade can make a curve that is kilometres long drawn to a hair, and
// a tolerance of nothing would ask for chords without end.
constexpr double kMaxChords = 20000;
std::size_t chord_count(double length, double chord) {
    if (!(chord > 0) || !(length > 0))
        return 1;
    const double n = std::ceil(length / chord);
    return n >= kMaxChords ? static_cast<std::size_t>(kMaxChords)
                           : std::max<std::size_t>(1, static_cast<std::size_t>(n));
}

bool centre_at(const road::DesignAxisCalculate& axis, double chainage, XY& out) {
    road::Pile p;
    if (!axis.CalculatePile(chainage, 0, p))
        return false;
    out = {p.MiddleE, p.MiddleN};
    return true;
}

const char* main_point_name(std::int32_t before, std::int32_t after) {
    if (before == LineTypeLine && after == LineTypeClothoid)
        return "ZH";
    if (before == LineTypeClothoid && after == LineTypeCircle)
        return "HY";
    if (before == LineTypeCircle && after == LineTypeClothoid)
        return "YH";
    if (before == LineTypeClothoid && after == LineTypeLine)
        return "HZ";
    if (before == LineTypeLine && after == LineTypeCircle)
        return "ZY";
    if (before == LineTypeCircle && after == LineTypeLine)
        return "YZ";
    return nullptr;
}

} // namespace

unsigned stroke_colour(Stroke s) {
    switch (s) {
    case Stroke::Straight:
        return 0x1f4e8c;
    case Stroke::Arc:
    case Stroke::VerticalCurve:
        return 0xc0392b;
    case Stroke::Clothoid:
        return 0x27ae60;
    case Stroke::Tangents:
        return 0x9a9a9a;
    case Stroke::OffsetLine:
        return 0x7f8c8d;
    case Stroke::Grade:
        return 0x555555;
    case Stroke::Deviation:
        return 0xe67e22;
    }
    return 0;
}

unsigned mark_colour(MarkKind k) {
    switch (k) {
    case MarkKind::MainPoint:
        return 0x8e44ad;
    case MarkKind::IntersectionPoint:
        return 0x9a9a9a;
    case MarkKind::Stake:
        return 0xd35400;
    case MarkKind::StakeSide:
        return 0xe59866;
    case MarkKind::GradePoint:
        return 0x555555;
    case MarkKind::SurveyPoint:
        return 0x1f4e8c;
    case MarkKind::CheckWithin:
        return 0x1e8449;
    case MarkKind::CheckExceeded:
        return 0xc0392b;
    case MarkKind::CheckOutside:
        return 0x7f8c8d;
    case MarkKind::CheckUnchecked:
        return 0x2e86c1;
    }
    return 0;
}

double round_length(double about) {
    if (!(about > 0))
        return 1;
    const double p = std::pow(10.0, std::floor(std::log10(about)));
    for (double f : {1.0, 2.0, 5.0})
        if (f * p >= about)
            return f * p;
    return 10 * p;
}

void Extents::add(XY p) {
    if (empty) {
        min_x = max_x = p.x;
        min_y = max_y = p.y;
        empty = false;
        return;
    }
    min_x = std::min(min_x, p.x);
    max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y);
    max_y = std::max(max_y, p.y);
}

double tolerance_for(const Extents& e, int width_px) {
    const double span = e.empty ? 1.0 : std::max({e.max_x - e.min_x, e.max_y - e.min_y, 1e-3});
    const double world_per_mm = span / (std::max(width_px, 1) * 0.2646);
    return world_per_mm * 1.0;
}

Extents axis_extents(const road::DesignAxisCalculate& axis) {
    Extents e;
    for (const road::PlaneInfo& p : axis.PlaneElements())
        e.add({p.East, p.North});
    return e;
}

std::string chainage_text(double chainage) {
    const bool negative = chainage < 0;
    const double a = std::fabs(chainage);
    long long km = static_cast<long long>(a / 1000.0);
    double m = a - static_cast<double>(km) * 1000.0;
    if (std::round(m * 1000.0) >= 1000000.0) { // 999.9996 rounds up to the next kilometre
        ++km;
        m = 0;
    }
    std::string metres = format_fixed(m, 3);
    while (metres.size() < 7)
        metres.insert(0, "0");
    return std::string(negative ? "-K" : "K") + format_int(km) + "+" + metres;
}

Picture road_plan(const road::DesignAxisCalculate& axis,
                  const std::vector<road::IntersectionPointInfo>& points,
                  const std::vector<road::Pile>& stakes, double tolerance) {
    Picture pic;
    const auto& chain = axis.PlaneElements();
    for (std::size_t k = 0; k + 1 < chain.size(); ++k) {
        const road::PlaneInfo& e = chain[k];
        const double start = e.Mileage;
        const double end = chain[k + 1].Mileage;
        if (!(end > start))
            continue;
        Polyline line;
        const bool spiral =
            e.LineType == LineTypeClothoid || e.LineType == road::LineTypeSpiralBetweenRadii;
        line.stroke = e.LineType == LineTypeCircle ? Stroke::Arc
                      : spiral                     ? Stroke::Clothoid
                                                   : Stroke::Straight;
        // The sharpest bend of the element. A spiral reaches the radius of the circle it leads
        // into or comes out of, which its own record may not carry (the axis takes it from the
        // circle beside it).
        double k_max = 0;
        if (e.LineType == LineTypeCircle)
            k_max = curvature(e.StartRadius);
        if (spiral) {
            k_max = std::max(curvature(e.StartRadius), curvature(e.EndRadius));
            for (const std::size_t n : {k - 1, k + 1})
                if (k > 0 && n < chain.size() && chain[n].LineType == LineTypeCircle)
                    k_max = std::max(k_max, curvature(chain[n].StartRadius));
        }
        const double chord = chord_for(k_max, tolerance);
        std::size_t steps = 1;
        if (chord > 0)
            steps = chord_count(end - start, chord);
        else if (e.LineType != LineTypeLine)
            steps = 64; // a curve whose radius is nowhere given: drawn round all the same
        for (std::size_t i = 0; i <= steps; ++i) {
            const double c = i == steps ? end
                                        : start + (end - start) * static_cast<double>(i) /
                                                      static_cast<double>(steps);
            XY p;
            if (!centre_at(axis, c, p))
                continue;
            line.points.push_back(p);
            line.chainage.push_back(c);
            pic.extents.add(p);
        }
        if (k > 0)
            if (const char* name = main_point_name(chain[k - 1].LineType, e.LineType)) {
                XY p;
                if (centre_at(axis, start, p))
                    pic.marks.push_back(
                        {MarkKind::MainPoint, p, std::string(name) + " " + chainage_text(start)});
            }
        pic.lines.push_back(std::move(line));
    }
    if (!points.empty()) {
        Polyline tangents;
        tangents.stroke = Stroke::Tangents;
        for (const road::IntersectionPointInfo& ip : points) {
            const XY p{ip.East, ip.North};
            tangents.points.push_back(p);
            pic.marks.push_back({MarkKind::IntersectionPoint, p, ip.Name});
            pic.extents.add(p);
        }
        pic.lines.push_back(std::move(tangents));
    }
    for (const road::Pile& s : stakes) {
        if (!s.HasCentre)
            continue; // outside the road
        const XY centre{s.MiddleE, s.MiddleN};
        pic.marks.push_back({MarkKind::Stake, centre, chainage_text(s.Mileage)});
        pic.extents.add(centre);
        if (!s.HasSides)
            continue;
        const XY left{s.LeftE, s.LeftN}, right{s.RightE, s.RightN};
        pic.marks.push_back({MarkKind::StakeSide, left, {}});
        pic.marks.push_back({MarkKind::StakeSide, right, {}});
        pic.lines.push_back({Stroke::OffsetLine, {left, centre, right}, {}});
        pic.extents.add(left);
        pic.extents.add(right);
    }
    return pic;
}

Picture road_profile(const road::DesignAxisCalculate& axis,
                     const std::vector<road::LongSlopesInfo>& grades,
                     const std::vector<road::Pile>& stakes, double tolerance) {
    Picture pic;
    pic.north_up = false;
    Polyline grade;
    grade.stroke = Stroke::Grade;
    for (const road::LongSlopesInfo& g : grades) {
        const XY p{g.Mileage, g.Height};
        grade.points.push_back(p);
        pic.marks.push_back({MarkKind::GradePoint, p, chainage_text(g.Mileage)});
        pic.extents.add(p);
    }
    pic.lines.push_back(std::move(grade));
    // Each vertical curve (radius R, grades in per mille) spans T = R |i2 - i1| / 2 each side.
    for (const road::LongSlopesInfo& g : grades) {
        if (g.CurveFlag != 1 || g.Radius == 0)
            continue;
        const double R = std::fabs(g.Radius);
        const double T = R * std::fabs(g.Slope2 - g.Slope1) * 0.001 / 2.0;
        if (!(T > 0))
            continue;
        const double chord = chord_for(1.0 / R, tolerance);
        const std::size_t steps = chord > 0 ? chord_count(2 * T, chord) : 64;
        Polyline curve;
        curve.stroke = Stroke::VerticalCurve;
        for (std::size_t i = 0; i <= steps; ++i) {
            const double c =
                g.Mileage - T + 2 * T * static_cast<double>(i) / static_cast<double>(steps);
            road::Pile p;
            if (!axis.CalculatePile(c, 0, p))
                continue;
            curve.points.push_back({c, p.MiddleZ});
            curve.chainage.push_back(c);
            pic.extents.add({c, p.MiddleZ});
        }
        pic.lines.push_back(std::move(curve));
    }
    for (const road::Pile& s : stakes) {
        if (!s.HasCentre)
            continue;
        const XY p{s.Mileage, s.MiddleZ};
        pic.marks.push_back({MarkKind::Stake, p, {}});
        pic.extents.add(p);
    }
    return pic;
}

Picture points_map(const std::vector<coord_item>& points, bool with_codes) {
    Picture pic;
    pic.marks.reserve(points.size());
    for (const coord_item& p : points) {
        std::string label(output_name(p.name));
        if (with_codes && !p.code.empty()) {
            label += ' ';
            label += p.code.view();
        }
        const XY at{p.east, p.north};
        pic.marks.push_back({MarkKind::SurveyPoint, at, std::move(label)});
        pic.extents.add(at);
    }
    return pic;
}

} // namespace telvane::plot
