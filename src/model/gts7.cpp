#include "gts7.h"

#include "linewriter.h"

#include <cmath>

namespace telvane {

ReducedDistance reduce_slope_distance(double va, double sd, const Gts7Reduction& p) {
    // The instrument's firmware takes pi as 3.141592653; files must match it to the last digit.
    const double z = va * (1.0 / 180.0) * 3.141592653;
    const double V = std::cos(z) * sd;
    const double H = std::fabs(std::sin(z) * sd);
    ReducedDistance r;
    r.hd = H - H * V * (2.0 - p.K) / (2.0 * p.R);
    if (p.grid_scale > 0.9 && p.grid_scale < 1.1)
        r.hd = p.grid_scale * r.hd;
    r.vd = V + H * H * (1.0 - p.K) / (2.0 * p.R);
    return r;
}

namespace {

// GTS-7 names every observed point SS, writes coordinates as XYZ and reduces every slope
// distance to a horizontal distance and a height difference.
struct Gts7Dialect : RecordDialect {
    explicit Gts7Dialect(const Gts7Reduction& p)
        : RecordDialect{"STN", "SS", "SS", "SS", "XYZ", false}, reduction(p) {}
    void observation(LineWriter& w, double ha, double va, double sd) const override {
        const ReducedDistance d = reduce_slope_distance(va, sd, reduction);
        w.start("HD").angle(ha).dist(d.hd).dist(d.vd);
    }
    const Gts7Reduction& reduction;
};

} // namespace

void append_gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p,
                              Lines& out) {
    append_record_lines(r, units, Gts7Dialect(p), out);
}

std::string gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p) {
    Lines lines;
    append_gts7_record_lines(r, units, p, lines);
    return join_with_bars(lines);
}

} // namespace telvane
