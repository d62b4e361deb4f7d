#include "rows.h"

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

} // namespace telvane
