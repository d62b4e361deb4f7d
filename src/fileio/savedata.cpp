#include "savedata.h"

#include "dxf.h"

#include "road/landxml/landxml.h"

#include "model/codelist.h"
#include "model/filebytes.h"
#include "model/gts7.h"
#include "model/jobtext.h"
#include "model/rows.h"

namespace telvane {

namespace {

// A GTS-7 name is a file name (folders aside) of at least one character before ".gt7": "a.gt7"
// is one, a bare ".gt7" is not. The test is case-sensitive, as the instrument software's was.
bool ends_with_gt7(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    return name.size() > 4 && name.substr(name.size() - 4) == ".gt7";
}

// Keyword rewriting of the plain GTS-7 variants: each line's keyword field (its first 8
// columns) is renamed; names, codes and values are never touched.
void append_rewritten(const Lines& record_lines, Lines& out) {
    if (record_lines.empty())
        return;
    const std::string_view kind = line_keyword(record_lines.front());
    for (std::size_t i = 0; i < record_lines.size(); ++i) {
        const std::string& line = record_lines[i];
        if (line.size() <= 8) {
            out.push_back(line);
            continue;
        }
        const std::string_view kw = line_keyword(line);
        std::string_view renamed = kw;
        if (i == 0) {
            if (kw == "STA")
                renamed = "STN";
            else if (kw == "SA" || kw == "SD" || kw == "SC")
                renamed = "SS";
        } else if (kind == "BS" || kind == "SD" || kind == "SC") {
            if (kw == "HVD")
                renamed = "SD";
            else if (kw == "ENZ" && kind != "SD")
                renamed = "XYZ";
            else if (kw == "SC" && kind == "BS")
                renamed = "SS";
        }
        std::string rewritten(renamed);
        rewritten.append(8 - renamed.size(), ' ');
        rewritten += std::string_view(line).substr(8);
        out.push_back(std::move(rewritten));
    }
}

void append_line(std::string& out, std::string_view line) {
    out += line;
    out += "\r\n";
}

void append_lines(ByteSink& out, const Lines& lines) {
    for (const std::string& l : lines)
        append_line(out.text, l);
    out.written();
}

void append_rows(const std::vector<coord_item>& points, int layout, const FileSettings& s,
                 ByteSink& out) {
    for (const coord_item& p : points) {
        append_line(out.text, coord_row(p, layout, s.order, s.units));
        out.written();
    }
}

// The lines of the job text, a record at a time.
void append_job_text(const DataState& data, ByteSink& out) {
    append_line(out.text, "JOB     " + data.JobName);
    append_line(out.text, "INST    " + data.InstName);
    Lines lines;
    for (const record_item& r : data.RecordList) {
        lines.clear();
        append_record_lines(r, kJobTextUnits, lines);
        append_lines(out, lines);
    }
}

std::vector<coord_item> job_points(const DataState& data) {
    std::vector<coord_item> points;
    append_job_points(data.RecordList, points);
    return points;
}

// GTS-7 is written only under a ".gt7" name and in degrees or gon; otherwise no file is
// touched and the message says why.
void gts7_into(const DataState& data, int variant, bool reduce, std::string_view file_name,
               const FileSettings& s, SaveOutcome& o, ByteSink& out) {
    const std::size_t before = o.messages.size();
    gts7_export(data, variant, reduce, file_name, s, o.messages, out);
    if (o.messages.size() != before)
        o.write = false;
}

SaveOutcome nothing_to_save() {
    SaveOutcome o;
    o.messages.push_back(UserMessage::key("no_data_to_save"));
    return o;
}

// A type position the data has no writer for: no file (an empty one would read as success and
// replace a good file of that name), and the reason.
SaveOutcome unknown_type() {
    SaveOutcome o;
    o.messages.push_back(UserMessage::key("save_type_unknown"));
    return o;
}

// A DXF of no point has no extents to write: no file, and the reason.
void dxf_into(const std::vector<coord_item>& points, const FileSettings& s, SaveOutcome& o,
              ByteSink& out) {
    if (points.empty()) {
        o.write = false;
        o.messages.push_back(UserMessage::key("job_have_no_coord"));
        return;
    }
    append_dxf(points, s, out);
}

} // namespace

void gts7_export(const DataState& data, int variant, bool reduce, std::string_view file_name,
                 const FileSettings& s, Messages& messages, ByteSink& sink) {
    if (!ends_with_gt7(file_name)) {
        messages.push_back(UserMessage::key("gts7_name_not_gt7"));
        return;
    }
    if (s.units.angle == kAngleMil) {
        messages.push_back(UserMessage::key("gts7_not_support_mil"));
        return;
    }
    if (data.RecordList.empty() && data.JobName.empty() && data.InstName.empty())
        return;
    Lines out;
    const char* distance_letter =
        s.units.distance == kUsFoot || s.units.distance == kIntFoot ? "F" : "M";
    const char* angle_letter = s.units.angle == kAngleGon ? "G" : "D";
    out.push_back("JOB     " + data.JobName + ",");
    out.push_back("INST    " + data.InstName);
    out.push_back(std::string("UNITS   ") + distance_letter + "," + angle_letter);

    Units units = s.units;
    units.within_turn = true;
    Lines lines;
    for (const record_item& original : data.RecordList) {
        if (original.type() == kKindNOTE)
            continue;
        record_item r = original;
        if (variant == 2) {
            if (auto* sc = std::get_if<sc_data>(&r.data)) {
                if (sc->has_obs != 1)
                    continue;
                r.data = sd_data{sc->name, sc->code, sc->target_height, sc->ha, sc->va, sc->sd};
            } else if (auto* bs = std::get_if<bs_data>(&r.data)) {
                bs->has_bss = 0;
            }
        }
        if (reduce) {
            append_gts7_record_lines(r, units, s.reduction, out);
        } else {
            lines.clear();
            append_record_lines(r, units, lines);
            append_rewritten(lines, out);
        }
        append_lines(sink, out);
        out.clear();
    }
    append_lines(sink, out);
}

Lines gts7_export(const DataState& data, int variant, bool reduce, std::string_view file_name,
                  const FileSettings& s, Messages& messages) {
    std::string bytes;
    ByteSink sink(bytes);
    gts7_export(data, variant, reduce, file_name, s, messages, sink);
    return split_lines(bytes);
}

namespace {

// The writer of a save type into `out`; what to show, and whether a file is to be written at
// all, go to the outcome (its bytes stay empty).
SaveOutcome build_into(const DataState& data, int position, std::string_view file_name,
                       const FileSettings& s, ByteSink& out) {
    SaveOutcome o;
    o.write = true;
    switch (data.Kind) {
    case DataKind::Records: {
        if (data.RecordList.empty())
            return nothing_to_save();
        switch (position) {
        case 1:
        case 2:
            for (const record_item& r : data.RecordList) {
                append_line(out.text, record_row(r, s.units));
                out.written();
            }
            break;
        case 3:
            append_rows(job_points(data), 0, s, out);
            break;
        case 4:
            dxf_into(job_points(data), s, o, out);
            break;
        case 5:
            gts7_into(data, 2, true, file_name, s, o, out);
            break;
        case 6:
            gts7_into(data, 2, false, file_name, s, o, out);
            break;
        case 7:
            gts7_into(data, 1, false, file_name, s, o, out);
            break;
        case 8:
            append_rows(job_points(data), 2, s, out);
            break;
        case 9:
            append_job_text(data, out);
            break;
        case 10:
            out.text += road::landxml::write_points(job_points(data));
            out.written();
            break;
        default:
            return unknown_type();
        }
        return o;
    }
    case DataKind::Points:
        if (data.CoordList.empty())
            return nothing_to_save();
        if (position == 2)
            dxf_into(data.CoordList, s, o, out);
        else if (position == 1 || position == 3 || position == 4)
            append_rows(data.CoordList, 0, s, out);
        else if (position == 5)
            append_rows(data.CoordList, 2, s, out);
        else if (position == 6) {
            out.text += road::landxml::write_points(data.CoordList);
            out.written();
        } else
            return unknown_type();
        return o;
    case DataKind::Codes:
        if (data.CodeList.empty())
            return nothing_to_save();
        if (position != 1)
            return unknown_type();
        append_lines(out, write_code_list(data.CodeList));
        return o;
    case DataKind::Points3:
        // Points with further values have no save type of their own.
        return nothing_to_save();
    case DataKind::None:
    case DataKind::Road:
        break;
    }
    o.write = false;
    return o;
}

} // namespace

SaveOutcome build_save(const DataState& data, int position, std::string_view file_name,
                       const FileSettings& s) {
    std::string bytes;
    ByteSink sink(bytes);
    SaveOutcome o = build_into(data, position, file_name, s, sink);
    if (o.write)
        o.bytes = std::move(bytes);
    return o;
}

SaveResult save_to_file(const std::string& path, const DataState& data, int position,
                        const FileSettings& s) {
    SaveResult r;
    StreamedFile file(path);
    ByteSink sink(file);
    SaveOutcome o = build_into(data, position, path, s, sink);
    r.messages = std::move(o.messages);
    // Without a file to write, the temporary file goes and the old file stays.
    if (o.write)
        r.written = file.commit(&r.error);
    return r;
}

bool write_save(const std::string& path, const SaveOutcome& outcome, std::string* error) {
    return write_file_atomic(path, outcome.bytes, error);
}

std::span<const SaveType> save_types() {
    static constexpr SaveType kTypes[] = {
        {DataKind::Records, 1, "records", ".csv"},
        {DataKind::Records, 2, "records", ".txt"},
        {DataKind::Records, 3, "points", ".csv"},
        {DataKind::Records, 4, "dxf", ".dxf"},
        {DataKind::Records, 5, "gt7-reduced", ".gt7"},
        {DataKind::Records, 6, "gt7-sd", ".gt7"},
        {DataKind::Records, 7, "gt7", ".gt7"},
        {DataKind::Records, 8, "points-code-last", ".csv"},
        {DataKind::Records, 9, "job", ".txt"},
        {DataKind::Records, 10, "landxml", ".xml"},
        {DataKind::Points, 1, "points", ".csv"},
        {DataKind::Points, 2, "dxf", ".dxf"},
        {DataKind::Points, 3, "points", ".txt"},
        {DataKind::Points, 4, "points", ".dat"},
        {DataKind::Points, 5, "points-code-last", ".csv"},
        {DataKind::Points, 6, "landxml", ".xml"},
        {DataKind::Codes, 1, "codes", ".txt"},
    };
    return kTypes;
}

std::optional<int> save_position(DataKind kind, std::string_view name) {
    // The first type of that name: "records" and "points" stand for their comma-separated files.
    for (const SaveType& t : save_types())
        if (t.kind == kind && t.name == name)
            return t.position;
    return std::nullopt;
}

} // namespace telvane
