#include "plot/check_picture.h"

#include "model/numtext.h"

#include <algorithm>
#include <cmath>

namespace telvane::plot {

using road::check::PointCheck;
using road::check::Verdict;

MarkKind check_mark_kind(Verdict v) {
    switch (v) {
    case Verdict::Within:
        return MarkKind::CheckWithin;
    case Verdict::Exceeded:
        return MarkKind::CheckExceeded;
    case Verdict::Outside:
        return MarkKind::CheckOutside;
    case Verdict::Unchecked:
        break;
    }
    return MarkKind::CheckUnchecked;
}

namespace {

// The part of segment a-b inside `box` as fractions [t0, t1] of it (Liang and Barsky); false
// when it misses the box.
bool ClipSegment(XY a, XY b, const Extents& box, double& t0, double& t1) {
    t0 = 0;
    t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.min_x, box.max_x - a.x, a.y - box.min_y, box.max_y - a.y};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0)
                return false;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    return t0 <= t1;
}

// Keeps what lies in `box`: each polyline is cut to its runs inside (chainages carried along),
// marks outside are dropped.
void KeepWithin(Picture& pic, const Extents& box) {
    std::vector<Polyline> kept;
    for (const Polyline& line : pic.lines) {
        const bool withChainage = line.chainage.size() == line.points.size();
        Polyline run;
        run.stroke = line.stroke;
        const auto flush = [&] {
            if (run.points.size() >= 2)
                kept.push_back(run);
            run.points.clear();
            run.chainage.clear();
        };
        for (std::size_t k = 0; k + 1 < line.points.size(); ++k) {
            const XY a = line.points[k], b = line.points[k + 1];
            double t0 = 0, t1 = 1;
            if (!ClipSegment(a, b, box, t0, t1)) {
                flush();
                continue;
            }
            const auto at = [&](double t) {
                return XY{a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)};
            };
            const auto chainage = [&](double t) {
                return line.chainage[k] + t * (line.chainage[k + 1] - line.chainage[k]);
            };
            if (t0 > 0 || run.points.empty()) {
                flush();
                run.points.push_back(at(t0));
                if (withChainage)
                    run.chainage.push_back(chainage(t0));
            }
            run.points.push_back(at(t1));
            if (withChainage)
                run.chainage.push_back(chainage(t1));
            if (t1 < 1)
                flush();
        }
        flush();
    }
    pic.lines = std::move(kept);
    std::erase_if(pic.marks, [&](const Mark& m) { return !box.contains(m.at); });
}

} // namespace

double arrow_factor(const std::vector<PointCheck>& checks) {
    Extents span;
    double largest = 0;
    for (const PointCheck& c : checks) {
        if (!std::isfinite(c.Point.North) || !std::isfinite(c.Point.East))
            continue;
        span.add({c.Point.East, c.Point.North});
        if (c.Distance)
            largest = std::max(largest, *c.Distance);
    }
    if (span.empty || !(largest > 0))
        return 1;
    const double size = std::max({span.max_x - span.min_x, span.max_y - span.min_y, 1.0});
    return std::max(1.0, round_length(size / 20.0 / largest));
}

Picture check_plan(const road::DesignAxisCalculate& axis, const std::vector<PointCheck>& checks,
                   double factor, std::string_view factor_text, double tolerance) {
    Picture pic = road_plan(axis, {}, {}, tolerance);
    Extents around;
    std::vector<Polyline> arrows;
    std::vector<Mark> marks;
    for (const PointCheck& c : checks) {
        const XY at{c.Point.East, c.Point.North};
        if (!std::isfinite(at.x) || !std::isfinite(at.y))
            continue;
        around.add(at);
        if (c.Distance && *c.Distance > 0) {
            const XY stake{c.StakeAt.East, c.StakeAt.North};
            const XY tip{stake.x + factor * (at.x - stake.x), stake.y + factor * (at.y - stake.y)};
            // The head: two strokes back from the tip at 25° either side, a quarter of the
            // arrow long.
            const double dx = tip.x - stake.x, dy = tip.y - stake.y;
            const double head = 0.25;
            const double c25 = std::cos(0.436), s25 = std::sin(0.436);
            const XY left{tip.x - head * (dx * c25 - dy * s25),
                          tip.y - head * (dx * s25 + dy * c25)};
            const XY right{tip.x - head * (dx * c25 + dy * s25),
                           tip.y - head * (-dx * s25 + dy * c25)};
            Polyline arrow;
            arrow.stroke = Stroke::Deviation;
            arrow.points = {stake, tip, left, tip, right};
            arrows.push_back(std::move(arrow));
            marks.push_back({MarkKind::Stake, stake, {}});
            around.add(stake);
            around.add(tip);
        }
        marks.push_back({check_mark_kind(c.Result), at, c.Point.Name});
    }
    if (!around.empty) {
        const double margin = std::max(
            {20.0, 0.1 * (around.max_x - around.min_x), 0.1 * (around.max_y - around.min_y)});
        Extents box;
        box.add({around.min_x - margin, around.min_y - margin});
        box.add({around.max_x + margin, around.max_y + margin});
        KeepWithin(pic, box);
        pic.extents = box;
    }
    for (Polyline& a : arrows)
        pic.lines.push_back(std::move(a));
    for (Mark& m : marks)
        pic.marks.push_back(std::move(m));
    std::string note(factor_text);
    const std::size_t place = note.find("%s");
    if (place != std::string::npos)
        note.replace(place, 2, format_general(factor));
    pic.notes.push_back(std::move(note));
    return pic;
}

} // namespace telvane::plot
