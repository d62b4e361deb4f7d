#include "dataview.h"

#include "model/linewriter.h"
#include "model/numtext.h"
#include "model/textlines.h"

#include <algorithm>

namespace telvane {

namespace {

// Reads a stored name back as the view shows it: empty names are written "NONAME".
std::string shown_name(const NameField& name) {
    return std::string(output_name(name));
}

void append_view_record(const record_item& r, LineWriter& w) {
    switch (r.type()) {
    case kKindSTA: {
        const auto& d = r.as<sta_data>();
        w.start("STA").text(output_name(d.name)).dist(d.inst_height).text(d.code.view());
        w.start("XYZ").dist(d.east).dist(d.north).dist(d.elev);
        break;
    }
    case kKindBS: {
        const auto& d = r.as<bs_data>();
        w.start("SC").text(output_name(d.name)).dist(d.target_height);
        w.start("HVD").angle(d.ha).angle(d.va).dist(d.sd);
        if (d.has_bss == 1)
            w.start("ENZ").dist(d.bss_east).dist(d.bss_north).dist(d.bss_elev);
        break;
    }
    case kKindBKB:
        break; // the view leaves backsight bearings out
    case kKindSA: {
        const auto& d = r.as<sa_data>();
        w.start("SC").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        w.start("HVD").angle(d.ha).angle(d.va).empty_field();
        break;
    }
    case kKindSD: {
        const auto& d = r.as<sd_data>();
        w.start("SC").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        w.start("HVD").angle(d.ha).angle(d.va).dist(d.sd);
        break;
    }
    case kKindSC: {
        const auto& d = r.as<sc_data>();
        w.start("SC").text(output_name(d.name)).dist(d.target_height).text(d.code.view());
        if (d.has_obs == 1)
            w.start("HVD").angle(d.ha).angle(d.va).dist(d.sd);
        w.start("ENZ").dist(d.east).dist(d.north).dist(d.elev);
        break;
    }
    case kKindNOTE:
        w.start("NOTE").text(r.as<note_data>().text);
        break;
    default:
        break;
    }
}

bool has_blank_or_control(std::string_view s) {
    return std::any_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u <= 32 || u == 127;
    });
}

// A text that can still become a number as the user goes on typing: an optional sign, digits
// and at most one point, with no digit yet after it or before it.
bool is_number_in_progress(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        ++i;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (s[i] == '.' && !point)
            point = true;
        else if (s[i] < '0' || s[i] > '9')
            return false;
    }
    return true;
}

} // namespace

std::string job_view_text(DataState& data, Units units) {
    Lines lines;
    lines.reserve(data.RecordList.size() * 2 + 2);
    lines.push_back("JOB     " + data.JobName);
    lines.push_back("INST    " + data.InstName);
    LineWriter w(lines, units);
    std::string remembered_name;
    std::string remembered_code;
    for (record_item& r : data.RecordList) {
        if (auto* note = std::get_if<note_data>(&r.data)) {
            const std::vector<std::string> parts = split_delimited(note->text, ':');
            if (parts.size() >= 3) {
                remembered_name = parts[0];
                remembered_code = parts[1];
            } else {
                remembered_name.clear();
                remembered_code.clear();
            }
        } else if (auto* sc = std::get_if<sc_data>(&r.data)) {
            if (sc->code.empty() && !remembered_code.empty() && sc->name == remembered_name)
                sc->code = NameField(remembered_code);
        }
        append_view_record(r, w);
    }
    std::size_t size = 0;
    for (const std::string& l : lines)
        size += l.size() + 1;
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

namespace {

std::vector<ColumnSpec> road_columns(RoadList road) {
    switch (road) {
    case RoadList::Intersections:
        return {{{}, {}, "#1", 50},
                {"JD_CODE", {}, {}, 80},
                {"strgrid_N", {}, {}, 110},
                {"strgrid_E", {}, {}, 110},
                {"Mileage", {}, {}, 110},
                {"Radius", {}, {}, 80},
                {"ClothoidLength", {}, "1", 80},
                {"ClothoidLength", {}, "2", 80}};
    case RoadList::Elements:
        return {{{}, {}, "#1", 50},
                {"LineType", {}, {}, 50},
                {"strgrid_Start", "Radius", {}, 80},
                {"strgrid_End", "Radius", {}, 80},
                {"strgrid_Length", {}, {}, 100},
                {"Direction", {}, {}, 50},
                {"strgrid_N", {}, {}, 110},
                {"strgrid_E", {}, {}, 110},
                {"Mileage", {}, {}, 110},
                {"AzimuthAngle", {}, {}, 110}};
    case RoadList::Profile:
        return {{{}, {}, "#1", 50},        {"Mileage", {}, {}, 120},  {"Height", {}, {}, 120},
                {"Slope_i", {}, "1", 120}, {"Slope_i", {}, "2", 120}, {"Radius", {}, {}, 100}};
    case RoadList::Stakes:
        break;
    }
    return {{{}, {}, "#1", 50}, {"Mileage", {}, {}, 120}};
}

} // namespace

std::vector<ColumnSpec> table_columns(DataKind kind, int order, RoadList road) {
    const std::string_view first = order == kOrderNEZ ? "strgrid_N" : "strgrid_E";
    const std::string_view second = order == kOrderNEZ ? "strgrid_E" : "strgrid_N";
    switch (kind) {
    case DataKind::Points:
        return {{"strgrid_num", {}, {}, 50}, {"strgrid_ptno", {}, {}, 100},
                {first, {}, {}, 100},        {second, {}, {}, 100},
                {"strgrid_Z", {}, {}, 100},  {"strgrid_code", {}, {}, 70}};
    case DataKind::Codes:
        return {{"strgrid_num", {}, {}, 0}, {"strgrid_code", {}, {}, 0}};
    case DataKind::Points3:
        return {{"strgrid_num", {}, {}, 50}, {"strgrid_ptno", {}, {}, 85},
                {first, {}, {}, 85},         {second, {}, {}, 85},
                {"strgrid_Z", {}, {}, 85},   {"strgrid_DH", {}, {}, 85},
                {"strgrid_DO", {}, {}, 85},  {"strgrid_DV", {}, {}, 85},
                {"strgrid_code", {}, {}, 60}};
    case DataKind::Road:
        return road_columns(road);
    case DataKind::None:
    case DataKind::Records:
        break;
    }
    return {};
}

CellAlign header_alignment() {
    return CellAlign::Centre;
}

CellAlign cell_alignment(DataKind kind, int column) {
    if (kind == DataKind::Road)
        return CellAlign::Right;
    const int last_right = kind == DataKind::Points3 ? 7 : 4;
    return column >= 1 && column <= last_right ? CellAlign::Right : CellAlign::Centre;
}

std::size_t list_size(const DataState& d) {
    switch (d.Kind) {
    case DataKind::Records:
        return d.RecordList.size();
    case DataKind::Points:
        return d.CoordList.size();
    case DataKind::Codes:
        return d.CodeList.size();
    case DataKind::Points3:
        return d.Coord3List.size();
    case DataKind::Road:
        return d.RoadRows.size();
    case DataKind::None:
        break;
    }
    return 0;
}

int data_kind_number(const DataState& d) {
    switch (d.Kind) {
    case DataKind::None:
        return 0;
    case DataKind::Records:
        return 1;
    case DataKind::Points:
        return 2;
    case DataKind::Codes:
        return 3;
    case DataKind::Points3:
        return 4;
    case DataKind::Road:
        break;
    }
    switch (d.Road) {
    case RoadList::Intersections:
        return 5;
    case RoadList::Elements:
        return 6;
    case RoadList::Profile:
        return 7;
    case RoadList::Stakes:
        break;
    }
    return 8;
}

std::size_t table_row_count(const DataState& d) {
    return d.Kind == DataKind::Records ? 1 : std::max<std::size_t>(list_size(d), 1);
}

std::vector<coord_item> points_to_draw(const DataState& d) {
    std::vector<coord_item> points;
    if (d.Kind == DataKind::Points)
        points = d.CoordList;
    else if (d.Kind == DataKind::Records)
        append_job_points(d.RecordList, points);
    else if (d.Kind == DataKind::Points3)
        for (const coord3_item& p : d.Coord3List)
            points.push_back({p.name, p.code, p.north, p.east, p.elev});
    return points;
}

std::string table_cell(const DataState& d, std::size_t row, int column, int order, Units units) {
    const bool north_first = order == kOrderNEZ;
    auto label = [&] { return "#" + format_int(static_cast<long long>(row) + 1); };
    switch (d.Kind) {
    case DataKind::Points:
    case DataKind::Points3: {
        const bool three = d.Kind == DataKind::Points3;
        const std::size_t count = three ? d.Coord3List.size() : d.CoordList.size();
        if (column == 0)
            return label();
        if (row >= count)
            return {};
        const coord_item p = three ? coord_item{d.Coord3List[row].name, d.Coord3List[row].code,
                                                d.Coord3List[row].north, d.Coord3List[row].east,
                                                d.Coord3List[row].elev}
                                   : d.CoordList[row];
        switch (column) {
        case 1:
            return shown_name(p.name);
        case 2:
            return distance_to_text(north_first ? p.north : p.east, units.distance);
        case 3:
            return distance_to_text(north_first ? p.east : p.north, units.distance);
        case 4:
            return distance_to_text(p.elev, units.distance);
        default:
            break;
        }
        if (!three)
            return column == 5 ? p.code.str() : std::string();
        const coord3_item& q = d.Coord3List[row];
        switch (column) {
        case 5:
            return distance_to_text(q.dh, units.distance);
        case 6:
            return distance_to_text(q.dof, units.distance);
        case 7:
            return distance_to_text(q.dv, units.distance);
        case 8:
            return q.code.str();
        default:
            return {};
        }
    }
    case DataKind::Codes:
        if (column == 0)
            return label();
        if (row >= d.CodeList.size() || column != 1)
            return {};
        return d.CodeList[row].code.str();
    case DataKind::Road:
        if (row >= d.RoadRows.size())
            return column == 0 ? std::string("1") : std::string();
        if (column == 0)
            return label();
        if (static_cast<std::size_t>(column - 1) < d.RoadRows[row].size())
            return d.RoadRows[row][column - 1];
        return {};
    default:
        return {};
    }
}

bool is_text_column(DataKind kind, int column) {
    return column == 1 || (kind != DataKind::Codes && column == 5);
}

namespace {

// The typing check; `limits` false leaves out the limits of length and size.
std::string_view check_text(DataKind kind, int column, std::string_view text, bool committed,
                            bool limits) {
    if (text.empty())
        return {};
    if (is_text_column(kind, column)) {
        if (limits && text.size() > 8)
            return "too_many_cha";
        // A comma would split the name or code in every comma-separated file it goes into.
        if (text.find(',') != std::string_view::npos)
            return "name_has_comma";
        // A code list keeps one code per line and is read back only when no code holds one of
        // these (a line of colon-separated fields is the other form).
        if (kind == DataKind::Codes && text.find_first_of(".:") != std::string_view::npos)
            return "code_bad_character";
        return {};
    }
    double v = 0;
    if (!try_parse_double(text, v) || text.find_first_of("eE") != std::string_view::npos ||
        is_blank(text.front()) || is_blank(text.back())) {
        // What is still being typed ("-", ".", "-.") is too short to break a limit.
        return committed || !is_number_in_progress(text) ? "illegal_data_type" : "";
    }
    if (limits && (v >= 100000000.0 || v <= -100000000.0))
        return "oversize_or_undersize";
    if (limits && text.size() > (v >= 0 ? 13u : 14u))
        return "too_many_data";
    return {};
}

} // namespace

std::string_view check_cell(DataKind kind, int column, std::string_view text, bool committed) {
    return check_text(kind, column, text, committed, true);
}

std::string_view check_keystroke(DataKind kind, int column, std::string_view before,
                                 std::string_view after) {
    return check_text(kind, column, after, false, after.size() >= before.size());
}

EditGrid::EditGrid(DataKind kind)
    : kind_(kind), columns_(static_cast<int>(table_columns(kind, kOrderNEZ).size())) {
    rows_.assign(1, std::vector<std::string>(columns_));
    rows_[0][0] = "#1";
}

EditGrid EditGrid::from_data(const DataState& data, int order, Units units) {
    EditGrid g(data.Kind);
    const std::size_t n = table_row_count(data);
    g.rows_.assign(n, std::vector<std::string>(g.columns_));
    for (std::size_t r = 0; r < n; ++r)
        for (int c = 0; c < g.columns_; ++c)
            g.rows_[r][c] = table_cell(data, r, c, order, units);
    return g;
}

void EditGrid::set_cell(std::size_t row, int column, std::string text) {
    rows_.at(row).at(static_cast<std::size_t>(column)) = std::move(text);
}

void EditGrid::relabel(std::size_t from) {
    for (std::size_t r = from; r < rows_.size(); ++r)
        rows_[r][0] = "#" + format_int(static_cast<long long>(r) + 1);
}

void EditGrid::append() {
    rows_.emplace_back(columns_);
    relabel(rows_.size() >= 2 ? rows_.size() - 2 : 0);
}

void EditGrid::insert(std::size_t row) {
    row = std::min(row, rows_.size());
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row),
                 std::vector<std::string>(columns_));
    relabel(row);
}

void EditGrid::remove(std::size_t row) {
    if (rows_.size() <= 1) {
        for (std::string& cell : rows_.front())
            cell.clear();
        return;
    }
    if (row >= rows_.size())
        return;
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    relabel(row);
}

void EditGrid::insert_row(std::size_t row, std::vector<std::string> cells) {
    row = std::min(row, rows_.size());
    cells.resize(static_cast<std::size_t>(columns_));
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), std::move(cells));
    relabel(row);
}

void EditGrid::replace_row(std::size_t row, std::vector<std::string> cells) {
    cells.resize(static_cast<std::size_t>(columns_));
    rows_.at(row) = std::move(cells);
}

void EditGrid::truncate(std::size_t rows) {
    if (rows < rows_.size())
        rows_.resize(rows);
}

int EditGrid::paste(std::size_t row, int column,
                    const std::vector<std::vector<std::optional<std::string>>>& cells) {
    int refused = 0;
    column = std::max(column, 1);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        while (rows_.size() <= row + i)
            append();
        for (std::size_t j = 0; j < cells[i].size(); ++j) {
            const int c = column + static_cast<int>(j);
            if (c >= columns_)
                break;
            const std::optional<std::string>& text = cells[i][j];
            if (!text || !check_cell(kind_, c, *text, true).empty()) {
                rows_[row + i][c].clear();
                ++refused;
                continue;
            }
            rows_[row + i][c] = *text;
        }
    }
    return refused;
}

TakeOutcome take_edited_table(const EditGrid& g, bool modified, int order, Units units,
                              DataState& data) {
    const bool points = g.kind() == DataKind::Points;
    if (points) {
        std::vector<coord_item> list;
        for (std::size_t r = 0; r < g.rows(); ++r) {
            coord_item p;
            bool has_number = false;
            for (int c = 2; c <= 4; ++c) {
                const std::string& text = g.cell(r, c);
                if (text.empty())
                    continue;
                has_number = true;
                double v = 0;
                try {
                    v = text_to_distance(text, units.distance);
                } catch (const ConversionError&) {
                    return {"wrong_coord_format", r, c};
                }
                const bool north = (c == 2) == (order == kOrderNEZ);
                (c == 4 ? p.elev : north ? p.north : p.east) = v;
            }
            if (g.cell(r, 1).empty()) {
                if (has_number || !g.cell(r, 5).empty())
                    return {"point_without_name", r, 1};
                continue;
            }
            // A coordinate left empty (never typed, or emptied by a refused paste) is not 0.
            for (int c = 2; c <= 4; ++c)
                if (g.cell(r, c).empty())
                    return {"coord_cell_empty", r, c};
            p.name = NameField(g.cell(r, 1));
            p.code = NameField(g.cell(r, 5));
            list.push_back(p);
        }
        for (std::size_t r = 0; r < g.rows(); ++r)
            for (int c : {5, 1})
                if (has_blank_or_control(g.cell(r, c)))
                    return {"only_numbers_and_letters", r, c};
        if (modified)
            data.CoordList = std::move(list);
        return {};
    }
    std::vector<code_item> codes;
    for (std::size_t r = 0; r < g.rows(); ++r) {
        if (has_blank_or_control(g.cell(r, 1)))
            return {"only_numbers_and_letters", r, 1};
        if (!g.cell(r, 1).empty())
            codes.push_back(code_item{NameField(g.cell(r, 1))});
    }
    if (!codes.empty())
        data.CodeList = std::move(codes);
    return {};
}

std::string with_type_extension(std::string_view file_name, std::string_view type_list,
                                int position) {
    const std::size_t slash = file_name.find_last_of("/\\");
    const std::string_view base =
        slash == std::string_view::npos ? file_name : file_name.substr(slash + 1);
    std::string name(file_name);
    if (base.find('.') != std::string_view::npos || position < 1)
        return name;
    // Entry `position` is field 2 * position - 1 (from 0) of the "|"-separated list.
    std::size_t field = 0;
    std::size_t start = 0;
    const std::size_t wanted = static_cast<std::size_t>(position) * 2 - 1;
    while (field < wanted) {
        const std::size_t bar = type_list.find('|', start);
        if (bar == std::string_view::npos)
            return name;
        start = bar + 1;
        ++field;
    }
    std::string_view patterns = type_list.substr(start);
    patterns = patterns.substr(0, patterns.find('|'));
    const std::string_view first = trim(patterns.substr(0, patterns.find(';')));
    if (first.size() > 2 && first.substr(0, 2) == "*." &&
        first.find_first_of("*?", 2) == std::string_view::npos)
        name += first.substr(1);
    return name;
}

} // namespace telvane
