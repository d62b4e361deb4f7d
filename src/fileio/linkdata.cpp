#include "linkdata.h"

#include "model/codelist.h"
#include "model/jobtext.h"
#include "model/numtext.h"

#include <algorithm>

namespace telvane {

namespace {

bool is_coordinate_keyword(std::string_view line) {
    const std::string_view kw = trim(line.substr(0, std::min<std::size_t>(line.size(), 8)));
    return kw == "SC" || kw == "NEZ" || kw == "ENZ";
}

std::string with_line_end(std::string_view line) {
    std::string out(trim(line));
    out += "\r\n";
    return out;
}

// How each road list goes to the instrument: the most rows it takes, the key that names the
// list when there are more, and the commas of a row that become blanks.
struct RoadSendTable {
    RoadList list;
    std::size_t most_rows; // the header row included
    const char* key;
    int spaces;
};
constexpr RoadSendTable kRoadSendTables[] = {
    {RoadList::Intersections, 20, "intersection_data", 7},
    {RoadList::Elements, 80, "mainpile_data", 7},
    {RoadList::Profile, 20, "slope_data", 5},
    {RoadList::Stakes, 100, "pile_data", 0},
};

} // namespace

bool interpret_received(std::span<const std::string> lines, DataState& data, Messages& messages) {
    std::vector<code_item> codes;
    if (read_code_list(lines, codes)) {
        data.RecordList.clear();
        data.CoordList.clear();
        data.CodeList = std::move(codes);
        data.Kind = DataKind::Codes;
        return true;
    }
    if (!is_record_text(lines))
        return false;
    Job job;
    std::optional<JobCut> cut;
    const bool loaded = load_job_text_to_break(lines, job, cut) == kLoadOk;
    if (cut)
        messages.push_back(job_cut_short_message(*cut));
    // A list cut short is judged by its lines before the break.
    const auto complete = cut ? lines.first(cut->line - 1) : lines;
    if (std::all_of(complete.begin(), complete.end(),
                    [](const std::string& l) { return is_coordinate_keyword(l); })) {
        std::vector<coord_item> points;
        if (loaded)
            append_job_points(job.RecordList, points);
        data.CoordList = std::move(points);
        data.RecordList.clear();
        data.Kind = DataKind::Points;
        return true;
    }
    if (loaded) {
        data.CoordList.clear();
        data.CodeList.clear();
    }
    data.RecordList = loaded ? std::move(job.RecordList) : std::vector<record_item>{};
    data.JobName = loaded ? std::move(job.JobName) : std::string(kNoName);
    data.InstName = loaded ? std::move(job.InstName) : std::string(kNoInstrument);
    data.Kind = DataKind::Records;
    if (data.RecordList.empty())
        messages.push_back(UserMessage::key("file_no_valid_data"));
    return true;
}

namespace {

// The instrument reads a point line's fields up to blanks: a blank inside a name or code
// becomes '_', so the line keeps its fields.
void append_word(std::string& line, std::string_view text) {
    for (char c : text)
        line += c == ' ' ? '_' : c;
}

} // namespace

std::string point_send_line(const coord_item& p) {
    std::string line;
    append_word(line, p.name.view());
    line += ' ';
    if (p.code.empty())
        line += '\b';
    else
        append_word(line, p.code.view());
    line += " 0 ";
    append_fixed(line, p.north, 6);
    line += ' ';
    append_fixed(line, p.east, 6);
    line += ' ';
    append_fixed(line, p.elev, 6);
    line += " 0";
    return with_line_end(line);
}

std::string road_send_line(const RoadRow& row, int spaces) {
    std::string joined;
    for (const std::string& cell : row) {
        joined += cell;
        joined += ',';
    }
    std::string line(trim(joined));
    // Each step looks at the first comma only: one in the first position blocks every
    // replacement behind it.
    for (int i = 0; i < spaces; ++i) {
        const std::size_t comma = line.find(',');
        if (comma != std::string::npos && comma >= 1)
            line[comma] = ' ';
    }
    line += "\r\n";
    return line;
}

SendPlan prepare_send_lines(const DataState& data) {
    SendPlan plan;
    if (data.CoordList.empty() && data.CodeList.empty() && data.RoadRows.empty()) {
        plan.refusal = {"upload_empty_file"};
        return plan;
    }
    switch (data.Kind) {
    case DataKind::Points:
        plan.lines.reserve(data.CoordList.size());
        for (const coord_item& p : data.CoordList)
            plan.lines.push_back(point_send_line(p));
        break;
    case DataKind::Codes:
        for (const code_item& c : data.CodeList)
            if (!trim(c.code.view()).empty())
                plan.lines.push_back(with_line_end(c.code.view()));
        break;
    case DataKind::Road:
        for (const RoadSendTable& k : kRoadSendTables) {
            if (k.list != data.Road)
                continue;
            if (data.RoadRows.size() + 1 > k.most_rows) {
                plan.refusal = {k.key, "outlimit"};
                return plan;
            }
            for (const RoadRow& row : data.RoadRows)
                plan.lines.push_back(road_send_line(row, k.spaces));
        }
        break;
    case DataKind::None:
    case DataKind::Records:
    case DataKind::Points3:
        break; // the instrument takes none of these
    }
    return plan;
}

} // namespace telvane
