#include "gts7.h"

#include "jobtext.h"
#include "linewriter.h"
#include "numtext.h"

#include <cmath>
#include <numbers>
#include <optional>

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

namespace {

// The lines grouping passes over in a job text are passed over here too.
std::vector<std::string_view> content_lines(std::span<const std::string_view> lines) {
    std::vector<std::string_view> out;
    for (std::string_view l : lines)
        if (!is_skipped_line(l))
            out.push_back(l);
    return out;
}

// The fields of a line from column 9 on, split at commas and trimmed.
std::vector<std::string_view> gts7_fields(std::string_view line) {
    std::vector<std::string_view> fields;
    if (line.size() <= 8)
        return fields;
    std::string_view rest = line.substr(8);
    while (true) {
        const std::size_t comma = rest.find(',');
        fields.push_back(trim(rest.substr(0, comma)));
        if (comma == std::string_view::npos)
            return fields;
        rest.remove_prefix(comma + 1);
    }
}

std::optional<Units> units_line(std::string_view line, int foot_unit) {
    if (line_keyword(line) != "UNITS")
        return std::nullopt;
    const auto f = gts7_fields(line);
    if (f.size() != 2)
        return std::nullopt;
    Units u;
    if (f[0] == "M")
        u.distance = kMetre;
    else if (f[0] == "F")
        u.distance = foot_unit == kUsFoot ? kUsFoot : kIntFoot;
    else
        return std::nullopt;
    if (f[1] == "D")
        u.angle = kAngleDMS;
    else if (f[1] == "G")
        u.angle = kAngleGon;
    else
        return std::nullopt;
    return u;
}

struct Gts7Line {
    std::string_view keyword;
    std::vector<std::string_view> fields;
};

// One observation: horizontal angle, zenith angle, slope distance.
struct Observation {
    double ha = 0, va = 0, sd = 0;
};

class Gts7Reader {
public:
    explicit Gts7Reader(Units u) : units_(u) {}

    // Reads the record that starts at lines[i]; returns the index after it, or nothing.
    std::optional<std::size_t> record(const std::vector<Gts7Line>& lines, std::size_t i,
                                      std::vector<record_item>& out) const {
        const Gts7Line& head = lines[i];
        const auto next = [&](std::size_t k) -> const Gts7Line* {
            return i + k < lines.size() ? &lines[i + k] : nullptr;
        };
        const auto is = [&](std::size_t k, std::string_view kw, std::size_t fields) {
            const Gts7Line* l = next(k);
            return l && l->keyword == kw && l->fields.size() == fields;
        };
        const auto& f = head.fields;
        record_item r;
        if (head.keyword == "STN" && f.size() == 3 && is(1, "XYZ", 3)) {
            const auto& xyz = lines[i + 1].fields;
            r.data = sta_data{input_name(f[0]), NameField(f[2]), dist(f[1]),
                              dist(xyz[0]),     dist(xyz[1]),    dist(xyz[2])};
            out.push_back(std::move(r));
            return i + 2;
        }
        if (head.keyword == "BKB" && f.size() == 3) {
            r.data = bkb_data{input_name(f[0]), angle(f[1]), angle(f[2])};
            out.push_back(std::move(r));
            return i + 1;
        }
        if (head.keyword == "BS" && f.size() == 2) {
            const auto obs = observation(next(1));
            if (!obs)
                return std::nullopt;
            r.data = bs_data{input_name(f[0]), dist(f[1]), obs->ha, obs->va, obs->sd, 0, 0, 0, 0};
            out.push_back(std::move(r));
            return i + 2;
        }
        if (head.keyword != "SS" || f.size() != 3)
            return std::nullopt;
        const NameField name = input_name(f[0]);
        const double th = dist(f[1]);
        if (is(1, "HV", 2)) {
            const auto& hv = lines[i + 1].fields;
            r.data = sa_data{name, NameField(f[2]), th, angle(hv[0]), angle(hv[1])};
            out.push_back(std::move(r));
            return i + 2;
        }
        const auto obs = observation(next(1));
        const std::size_t at_xyz = obs ? 2 : 1;
        if (is(at_xyz, "XYZ", 3)) {
            const auto& xyz = lines[i + at_xyz].fields;
            sc_data d{name, NameField(f[2]), th, dist(xyz[1]), dist(xyz[0]), dist(xyz[2]), 0, 0, 0,
                      0};
            if (obs) {
                d.has_obs = 1;
                d.ha = obs->ha;
                d.va = obs->va;
                d.sd = obs->sd;
            }
            r.data = d;
            out.push_back(std::move(r));
            return i + at_xyz + 1;
        }
        if (!obs)
            return std::nullopt;
        r.data = sd_data{name, NameField(f[2]), th, obs->ha, obs->va, obs->sd};
        out.push_back(std::move(r));
        return i + 2;
    }

private:
    double dist(std::string_view t) const { return text_to_distance(t, units_.distance); }
    double angle(std::string_view t) const { return text_to_angle_in(t, units_.angle); }

    // An SD line (angles and slope distance) or a reduced HD line (angle, horizontal distance,
    // height difference).
    std::optional<Observation> observation(const Gts7Line* l) const {
        if (!l || l->fields.size() != 3)
            return std::nullopt;
        if (l->keyword == "SD")
            return Observation{angle(l->fields[0]), angle(l->fields[1]), dist(l->fields[2])};
        if (l->keyword != "HD")
            return std::nullopt;
        const double hd = dist(l->fields[1]), vd = dist(l->fields[2]);
        return Observation{angle(l->fields[0]), std::atan2(hd, vd) * (180.0 / std::numbers::pi),
                           std::hypot(hd, vd)};
    }

    Units units_;
};

} // namespace

bool is_gts7_text(std::span<const std::string_view> lines) {
    std::size_t seen = 0;
    for (std::string_view l : lines) {
        if (is_skipped_line(l))
            continue;
        static constexpr std::string_view kHeader[] = {"JOB", "INST", "UNITS"};
        if (line_keyword(l) != kHeader[seen])
            return false;
        if (++seen == 3)
            return true;
    }
    return false;
}

bool read_gts7(std::span<const std::string_view> lines, int foot_unit, Job& job) {
    if (!is_gts7_text(lines))
        return false;
    const std::vector<std::string_view> content = content_lines(lines);
    const auto units = units_line(content[2], foot_unit);
    if (!units)
        return false;
    std::vector<Gts7Line> body;
    body.reserve(content.size() - 3);
    for (std::size_t i = 3; i < content.size(); ++i)
        body.push_back({line_keyword(content[i]), gts7_fields(content[i])});
    Job read;
    // The JOB line ends in a comma of its own; the names are the rest of their lines.
    std::string_view job_name = content[0].size() > 8 ? content[0].substr(8) : "";
    if (job_name.ends_with(','))
        job_name.remove_suffix(1);
    read.JobName = std::string(job_name);
    read.InstName = std::string(content[1].size() > 8 ? content[1].substr(8) : "");
    const Gts7Reader reader(*units);
    try {
        for (std::size_t i = 0; i < body.size();) {
            const auto after = reader.record(body, i, read.RecordList);
            if (!after)
                return false;
            i = *after;
        }
    } catch (const ConversionError&) {
        return false;
    }
    pair_records(read.RecordList);
    job = std::move(read);
    return true;
}

} // namespace telvane
