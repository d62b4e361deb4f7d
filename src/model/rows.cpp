#include "rows.h"

#include "numtext.h"
#include "textlines.h"

namespace telvane {

namespace {

struct RowBuilder {
    Units units;
    std::string row;
    // Every field but the first is preceded by its comma.
    RowBuilder& first(std::string_view s) {
        row.clear();
        append_row_field(row, s);
        return *this;
    }
    RowBuilder& dist(double v) {
        row += ',';
        append_distance(row, v, units.distance);
        return *this;
    }
    RowBuilder& angle(double v) {
        row += ',';
        append_angle(row, v, units.angle);
        return *this;
    }
    RowBuilder& field(std::string_view s) {
        row += ',';
        append_row_field(row, s);
        return *this;
    }
    RowBuilder& empty(int n) {
        row.append(static_cast<std::size_t>(n), ',');
        return *this;
    }
};

} // namespace

std::string coord_row(const coord_item& p, int layout, int order, Units units) {
    if (layout != 0 && layout != 2)
        return {};
    RowBuilder b{units, {}};
    b.first(output_name(p.name));
    if (layout == 0)
        b.field(p.code.view());
    if (order == kOrderENZ)
        b.dist(p.east).dist(p.north);
    else
        b.dist(p.north).dist(p.east);
    b.dist(p.elev);
    if (layout == 2)
        b.field(p.code.view());
    return std::move(b.row);
}

std::string record_row(const record_item& r, Units units) {
    RowBuilder b{units, {}};
    switch (r.type()) {
    case kKindSTA: {
        const auto& d = r.as<sta_data>();
        b.first("STA").field(output_name(d.name)).dist(d.inst_height).field(d.code.view());
        b.dist(d.east).dist(d.north).dist(d.elev);
        break;
    }
    case kKindBS: {
        const auto& d = r.as<bs_data>();
        b.first("SC").field(output_name(d.name)).dist(d.target_height).field("");
        b.angle(d.ha).angle(d.va).dist(d.sd);
        if (d.has_bss == 1)
            b.dist(d.bss_east).dist(d.bss_north).dist(d.bss_elev);
        else
            b.empty(3);
        break;
    }
    case kKindSA: {
        const auto& d = r.as<sa_data>();
        b.first("SC").field(output_name(d.name)).dist(d.target_height).field(d.code.view());
        b.angle(d.ha).angle(d.va).empty(4);
        break;
    }
    case kKindSD: {
        const auto& d = r.as<sd_data>();
        b.first("SC").field(output_name(d.name)).dist(d.target_height).field(d.code.view());
        b.angle(d.ha).angle(d.va).dist(d.sd).empty(3);
        break;
    }
    case kKindSC: {
        const auto& d = r.as<sc_data>();
        b.first("SC").field(output_name(d.name)).dist(d.target_height).field(d.code.view());
        if (d.has_obs == 1)
            b.angle(d.ha).angle(d.va).dist(d.sd);
        else
            b.empty(3);
        b.dist(d.east).dist(d.north).dist(d.elev);
        break;
    }
    default:
        break;
    }
    return std::move(b.row);
}

namespace {

// One SC row's kind, from which of its observation (4..6) and coordinate (7..9) columns hold
// something.
enum class ScRowShape { AnglesOnly, Observation, Coordinates, Both, Other };

ScRowShape sc_row_shape(const std::vector<std::string>& f) {
    auto filled = [&](std::size_t k) { return !trim(f[k]).empty(); };
    const bool ha = filled(4), va = filled(5), sd = filled(6);
    const bool enz = filled(7) && filled(8) && filled(9);
    const bool no_enz = !filled(7) && !filled(8) && !filled(9);
    if (ha && va && sd)
        return enz ? ScRowShape::Both : (no_enz ? ScRowShape::Observation : ScRowShape::Other);
    if (ha && va && !sd && no_enz)
        return ScRowShape::AnglesOnly;
    if (!ha && !va && !sd && enz)
        return ScRowShape::Coordinates;
    return ScRowShape::Other;
}

} // namespace

bool read_record_rows(std::span<const std::string_view> lines, Units units,
                      std::vector<record_item>& out) {
    std::vector<record_item> read;
    std::vector<std::string> f;
    bool after_station = false;
    try {
        for (std::string_view line : lines) {
            if (trim(line).empty())
                continue;
            split_delimited_into(line, ',', f);
            auto dist = [&](std::size_t k) { return text_to_distance(f[k], units.distance); };
            auto angle = [&](std::size_t k) { return text_to_angle_in(f[k], units.angle); };
            record_item r;
            if (f.size() == 7 && f[0] == "STA") {
                r.data =
                    sta_data{input_name(f[1]), NameField(f[3]), dist(2), dist(4), dist(5), dist(6)};
                read.push_back(std::move(r));
                after_station = true;
                continue;
            }
            if (f.size() != 10 || f[0] != "SC")
                return false;
            const ScRowShape shape = sc_row_shape(f);
            const bool backsight = after_station && trim(f[3]).empty() &&
                                   (shape == ScRowShape::Observation || shape == ScRowShape::Both);
            after_station = false;
            if (backsight) {
                bs_data d{input_name(f[1]), dist(2), angle(4), angle(5), dist(6), 0, 0, 0, 0};
                if (shape == ScRowShape::Both) {
                    d.has_bss = 1;
                    d.bss_east = dist(7);
                    d.bss_north = dist(8);
                    d.bss_elev = dist(9);
                }
                r.data = d;
            } else {
                switch (shape) {
                case ScRowShape::AnglesOnly:
                    r.data =
                        sa_data{input_name(f[1]), NameField(f[3]), dist(2), angle(4), angle(5)};
                    break;
                case ScRowShape::Observation:
                    r.data = sd_data{input_name(f[1]), NameField(f[3]), dist(2),
                                     angle(4),         angle(5),        dist(6)};
                    break;
                case ScRowShape::Coordinates:
                case ScRowShape::Both: {
                    sc_data d{input_name(f[1]),
                              NameField(f[3]),
                              dist(2),
                              dist(8),
                              dist(7),
                              dist(9),
                              0,
                              0,
                              0,
                              0};
                    if (shape == ScRowShape::Both) {
                        d.has_obs = 1;
                        d.ha = angle(4);
                        d.va = angle(5);
                        d.sd = dist(6);
                    }
                    r.data = d;
                    break;
                }
                case ScRowShape::Other:
                    return false;
                }
            }
            read.push_back(std::move(r));
        }
    } catch (const ConversionError&) {
        return false;
    }
    if (read.empty())
        return false;
    out = std::move(read);
    return true;
}

} // namespace telvane
