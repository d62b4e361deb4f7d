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

void append_gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p,
                              Lines& out) {
    LineWriter w(out, units);
    auto hd_line = [&](double ha, double va, double sd) {
        const ReducedDistance d = reduce_slope_distance(va, sd, p);
        w.start("HD").angle(ha).dist(d.hd).dist(d.vd);
    };
    switch (r.type()) {
    case kKindSTA: {
        const auto& d = r.as<sta_data>();
        w.start("STN").text(output_name(d.name)).dist(d.inst_height).text(d.code.view());
        w.start("XYZ").dist(d.east).dist(d.north).dist(d.elev);
        return;
    }
    case kKindBS: {
        const auto& d = r.as<bs_data>();
        w.start("BS").text(output_name(d.name)).dist(d.target_height);
        hd_line(d.ha, d.va, d.sd);
        if (d.has_bss == 1) {
            w.start("SS").text(output_name(d.name)).dist(d.target_height).text("BSS");
            w.start("XYZ").dist(d.bss_east).dist(d.bss_north).dist(d.bss_elev);
        }
        return;
    }
    case kKindBKB: {
        const auto& d = r.as<bkb_data>();
        w.start("BKB").text(output_name(d.name)).angle(d.ha).angle(d.azimuth);
        return;
    }
    case kKindSA: {
        const auto& d = r.as<sa_data>();
        w.start("SS").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        w.start("HV").angle(d.ha).angle(d.va);
        return;
    }
    case kKindSD: {
        const auto& d = r.as<sd_data>();
        w.start("SS").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        hd_line(d.ha, d.va, d.sd);
        return;
    }
    case kKindSC: {
        const auto& d = r.as<sc_data>();
        w.start("SS").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        if (d.has_obs == 1)
            hd_line(d.ha, d.va, d.sd);
        w.start("XYZ").dist(d.east).dist(d.north).dist(d.elev);
        return;
    }
    default:
        out.emplace_back("wrong type in record item");
        return;
    }
}

std::string gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p) {
    Lines lines;
    append_gts7_record_lines(r, units, p, lines);
    return join_with_bars(lines);
}

} // namespace telvane
