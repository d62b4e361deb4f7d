#include "opendata.h"
#include "model/ascii.h"

#include "dxf.h"

#include "road/design/stake_names.h"
#include "road/landxml/landxml.h"

#include "model/binaryfiles.h"
#include "model/codelist.h"
#include "model/filebytes.h"
#include "model/fixedtext.h"
#include "model/gts7.h"
#include "model/jobtext.h"
#include "model/numtext.h"
#include "model/pointlisting.h"
#include "model/rows.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>

namespace telvane {

int content_test(std::string_view first_bytes) {
    const std::string_view head = first_bytes.substr(0, 100);
    if (head.empty())
        return kContentEmpty;
    for (std::size_t i = 0; i < head.size(); ++i) {
        const auto b = static_cast<unsigned char>(head[i]);
        if ((b >= 9 && b <= 13) || (b >= 32 && b <= 126))
            continue;
        // A Chinese name or code is text too. A pair cut by the 100-byte limit counts as whole.
        if (is_gbk_pair(head, i) || (i + 1 == head.size() && first_bytes.size() > head.size() &&
                                     is_gbk_pair(first_bytes, i))) {
            ++i;
            continue;
        }
        return kContentBinary;
    }
    return kContentText;
}

std::string_view content_result_key(int result) {
    switch (result) {
    case kContentCannotOpen:
        return "file_unable_open";
    case kContentEmpty:
        return "file_is_empty";
    case kContentReadError:
        return "file_read_error";
    default:
        return "file_undefined_error_code";
    }
}

namespace {

// The file's name without folder and without the extension from its last '.': a name that is
// only an extension (".mea") has no base name and gives "NONAME".
std::string base_name(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    if (const auto dot = name.rfind('.'); dot != std::string::npos)
        name.resize(dot);
    return name.empty() ? std::string(kNoName) : name;
}

void open_binary_job(const std::string& path, std::string_view bytes, DataState& data,
                     Messages& messages) {
    Lines memo{"JOB     " + base_name(path), "INST    TotalStation"};
    std::size_t damaged = 0;
    const int rc = convert_job_bytes(path, bytes, memo, &damaged);
    if (rc != kBinaryOk) {
        messages.push_back(UserMessage::key(std::string(binary_result_key(rc))));
        return;
    }
    // Damaged records are left out; the others load, and the message says how many went.
    if (damaged > 0)
        messages.push_back(
            UserMessage::key("file_bad_data", format_int(static_cast<long long>(damaged))));
    Job job;
    const std::string_view result = load_job_text(memo, job);
    if (result != kLoadOk) {
        messages.push_back(UserMessage::text(std::string(result), "Error"));
        messages.push_back(UserMessage::key("wrong_format"));
        return;
    }
    data.RecordList = std::move(job.RecordList);
    data.JobName = std::move(job.JobName);
    data.InstName = std::move(job.InstName);
    data.CoordList.clear();
    data.CodeList.clear();
}

void open_binary_points(const std::string& path, std::string_view bytes, DataState& data,
                        Messages& messages) {
    Lines memo;
    std::size_t damaged = 0;
    const int rc = convert_coord_bytes(path, bytes, memo, &damaged);
    if (rc != kBinaryOk) {
        messages.push_back(UserMessage::key(std::string(binary_result_key(rc))));
        return;
    }
    std::erase_if(memo, [](const std::string& l) { return trim(l).empty(); });
    std::vector<coord_item> points;
    read_point_listing(memo, points, &damaged);
    // Every good point loads; what was left out, or that nothing was there, is said.
    if (damaged > 0)
        messages.push_back(
            UserMessage::key("file_bad_data", format_int(static_cast<long long>(damaged))));
    else if (points.empty())
        messages.push_back(UserMessage::key("file_no_valid_data"));
    data.RecordList.clear();
    data.CodeList.clear();
    data.CoordList = std::move(points);
    data.Kind = DataKind::Points;
}

} // namespace

void open_binary(const std::string& path, std::string_view bytes, DataState& data,
                 Messages& messages) {
    switch (binary_kind(path)) {
    case BinaryKind::Job:
        data.Kind = DataKind::Records;
        open_binary_job(path, bytes, data, messages);
        break;
    case BinaryKind::Points:
        open_binary_points(path, bytes, data, messages);
        break;
    case BinaryKind::None:
        messages.push_back(UserMessage::key("wrong_format"));
        break;
    }
    messages.push_back(UserMessage::text("BINARY"));
}

} // namespace telvane

namespace telvane {

namespace {

// A job that was read becomes the job on show, in place of the job and the points and codes.
void take_job(Job&& job, DataState& data) {
    data.RecordList = std::move(job.RecordList);
    data.JobName = std::move(job.JobName);
    data.InstName = std::move(job.InstName);
    data.CoordList.clear();
    data.CodeList.clear();
    data.Kind = DataKind::Records;
}

// Road rows of n fields after a header line; blank lines are passed over. A line of
// `long_n` fields (the road window's table with its computed columns) gives its first n. Returns
// whether accepted; the rows read before a refusal stay in `rows`.
bool read_road_rows(std::span<const std::string_view> lines, std::size_t n,
                    std::vector<RoadRow>& rows, std::size_t long_n = 0) {
    rows.clear();
    bool any = false;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (trim(lines[i]).empty())
            continue;
        auto fields = split_delimited(lines[i], ',');
        if (long_n != 0 && fields.size() == long_n)
            fields.resize(n);
        if (fields.size() != n)
            return false;
        rows.push_back(std::move(fields));
        any = true;
    }
    return any;
}

// The ".SEC" layout: line 4 holds the start element, line 2 the start point; the elements
// follow from line 5 on. The road window writes each element with its chainage and azimuth
// (nine fields), which the instrument derives itself: they are left out, as the short form has
// them.
bool read_main_pile_rows(std::span<const std::string_view> lines, std::vector<RoadRow>& rows) {
    rows.clear();
    if (lines.size() < 4)
        return false;
    auto start = split_delimited(lines[3], ',');
    if (start.size() == 7 || start.size() == 9) {
        start.resize(5);
        for (auto& f : start)
            f = std::string(trim(f));
    } else if (start.size() != 5) {
        return false;
    }
    for (auto& f : split_delimited(lines[1], ','))
        start.push_back(std::move(f));
    rows.push_back(std::move(start));
    bool any = false;
    for (std::size_t i = 4; i < lines.size(); ++i) {
        if (trim(lines[i]).empty())
            continue;
        auto fields = split_delimited(lines[i], ',');
        if (fields.size() == 9)
            fields.resize(7);
        if (fields.size() != 7 && fields.size() != 5)
            return false;
        rows.push_back(std::move(fields));
        any = true;
    }
    return any;
}

// A pile list: after the header every data line holds one chainage.
bool read_pile_list(std::span<const std::string_view> lines, std::vector<RoadRow>& rows) {
    std::vector<RoadRow> read;
    if (!read_road_rows(lines, 1, read))
        return false;
    for (const RoadRow& r : read) {
        double v = 0;
        if (!try_parse_double(r[0], v))
            return false;
    }
    rows = std::move(read);
    return true;
}

// Calls row(fields) for every non-blank line split at commas, which must give exactly n fields;
// false when one does not fit, when row() refuses, or when no line was read. One line's fields
// are held at a time, so a million rows need no second copy of the file.
template <typename Row>
bool for_each_row(std::span<const std::string_view> lines, std::size_t n, Row&& row) {
    bool any = false;
    std::vector<std::string> fields;
    for (std::string_view line : lines) {
        const std::string_view t = trim(line);
        if (t.empty())
            continue;
        split_delimited_into(t, ',', fields);
        if (fields.size() != n || !row(fields))
            return false;
        any = true;
    }
    return any;
}

// Point rows in one of the two layouts (code second or code last).
bool read_point_rows(std::span<const std::string_view> lines, bool code_last, const FileSettings& s,
                     std::vector<coord_item>& points) {
    std::vector<coord_item> read;
    read.reserve(lines.size());
    const std::size_t first = code_last ? 1 : 2;
    const double factor = distance_factor_to_metres(s.units.distance);
    const bool ok = for_each_row(lines, 5, [&](const std::vector<std::string>& f) {
        double v[3];
        for (std::size_t k = 0; k < 3; ++k)
            if (!try_parse_double(f[first + k], v[k]))
                return false;
        const double a = v[0] * factor, b = v[1] * factor;
        read.push_back(coord_item{input_name(f[0]), NameField(code_last ? f[4] : f[1]),
                                  s.order == kOrderENZ ? b : a, s.order == kOrderENZ ? a : b,
                                  v[2] * factor});
        return true;
    });
    if (!ok)
        return false;
    read.shrink_to_fit();
    points = std::move(read);
    return true;
}

// name, N/E, E/N, elevation, three further values, code.
bool read_points3(std::span<const std::string_view> lines, const FileSettings& s,
                  std::vector<coord3_item>& points) {
    std::vector<coord3_item> read;
    const double factor = distance_factor_to_metres(s.units.distance);
    const bool ok = for_each_row(lines, 8, [&](const std::vector<std::string>& f) {
        double v[6];
        for (std::size_t k = 0; k < 6; ++k) {
            if (!try_parse_double(f[1 + k], v[k]))
                return false;
            v[k] *= factor;
        }
        coord3_item p;
        p.name = input_name(f[0]);
        p.code = f[7];
        p.north = s.order == kOrderENZ ? v[1] : v[0];
        p.east = s.order == kOrderENZ ? v[0] : v[1];
        p.elev = v[2];
        p.dh = v[3];
        p.dof = v[4];
        p.dv = v[5];
        read.push_back(p);
        return true;
    });
    if (!ok)
        return false;
    points = std::move(read);
    return true;
}

// The first line that is not blank, when none of its fields reads as a number: the titles
// of the columns that spreadsheets and other programs write above the rows.
std::optional<std::size_t> header_line(std::span<const std::string_view> lines) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trim(lines[i]).empty())
            continue;
        for (const std::string& f : split_delimited(lines[i], ',')) {
            double v = 0;
            if (try_parse_double(f, v))
                return std::nullopt;
        }
        return i;
    }
    return std::nullopt;
}

// Point rows as people keep them: a header line, rows without a code (name, N/E, E/N,
// elevation) or without elevation (name, N/E, E/N, which get elevation 0). What was assumed is
// said.
bool read_loose_point_rows(std::span<const std::string_view> lines, const FileSettings& s,
                           std::vector<coord_item>& points, Messages& messages) {
    const std::optional<std::size_t> header = header_line(lines);
    const auto rows = header ? lines.subspan(*header + 1) : lines;
    Messages said;
    if (header)
        said.push_back(UserMessage::key("points_header_skipped"));
    bool ok = header &&
              (read_point_rows(rows, false, s, points) || read_point_rows(rows, true, s, points));
    for (std::size_t n : {std::size_t(4), std::size_t(3)}) {
        if (ok)
            break;
        std::vector<coord_item> read;
        const double factor = distance_factor_to_metres(s.units.distance);
        ok = for_each_row(rows, n, [&](const std::vector<std::string>& f) {
            double v[3] = {0, 0, 0};
            for (std::size_t k = 1; k < n; ++k)
                if (!try_parse_double(f[k], v[k - 1]))
                    return false;
            const double a = v[0] * factor, b = v[1] * factor;
            read.push_back(coord_item{input_name(f[0]), NameField(), s.order == kOrderENZ ? b : a,
                                      s.order == kOrderENZ ? a : b, v[2] * factor});
            return true;
        });
        if (ok) {
            points = std::move(read);
            if (n == 3)
                said.push_back(UserMessage::key("points_no_elevation"));
        }
    }
    if (ok)
        messages.insert(messages.end(), said.begin(), said.end());
    return ok;
}

// The road window's stake file: a header, then chainage and the centre, left and right
// north, east and elevation, each group empty when it was not calculated. The calculated
// positions become points named after the chainage (centre "K0+120.000", code C; sides with L
// or R after the name and as code); `left_out` counts the stakes without any position. Road
// files are in metres whatever the settings say.
bool read_stake_points(std::span<const std::string_view> lines, std::vector<coord_item>& points,
                       std::vector<RoadRow>& chainages, std::size_t& left_out) {
    std::vector<coord_item> read;
    std::vector<RoadRow> stakes;
    std::size_t without = 0;
    bool first = true;
    std::vector<std::string> f;
    for (std::string_view line : lines) {
        if (trim(line).empty())
            continue;
        const bool may_be_header = first;
        first = false;
        split_delimited_into(line, ',', f);
        double v[10] = {};
        bool filled[10] = {};
        bool ok = f.size() == 10;
        for (std::size_t k = 0; ok && k < 10; ++k) {
            filled[k] = !trim(f[k]).empty();
            ok = (k > 0 && !filled[k]) || try_parse_double(f[k], v[k]);
        }
        for (std::size_t g = 1; ok && g < 10; g += 3)
            ok = filled[g] == filled[g + 1] && filled[g] == filled[g + 2];
        if (!ok) {
            if (may_be_header)
                continue;
            return false;
        }
        stakes.push_back({f[0]});
        if (!filled[1]) {
            ++without;
            continue;
        }
        // The names the stake-out check reads back: "K0+120.000", "K0+120.000L", ...
        static constexpr road::StakeSide kSide[] = {road::StakeSide::Centre, road::StakeSide::Left,
                                                    road::StakeSide::Right};
        static constexpr const char* kCode[] = {"C", "L", "R"};
        for (std::size_t side = 0; side < 3; ++side) {
            const std::size_t g = 1 + 3 * side;
            if (filled[g])
                read.push_back(coord_item{road::format_stake_name(v[0], kSide[side]), kCode[side],
                                          v[g], v[g + 1], v[g + 2]});
        }
    }
    if (stakes.empty())
        return false;
    points = std::move(read);
    chainages = std::move(stakes);
    left_out = without;
    return true;
}

void empty_survey_lists(DataState& data) {
    data.RecordList.clear();
    data.CoordList.clear();
    data.CodeList.clear();
}

} // namespace

void open_text(std::span<const std::string> lines, std::string_view extension, DataState& data,
               const FileSettings& s, Messages& messages, std::string* job_error) {
    open_text(views_of(lines), extension, data, s, messages, job_error);
}

void open_text(std::span<const std::string_view> lines, std::string_view extension, DataState& data,
               const FileSettings& s, Messages& messages, std::string* job_error) {
    const bool blank =
        std::all_of(lines.begin(), lines.end(), [](std::string_view l) { return trim(l).empty(); });
    if (blank) {
        messages.push_back(UserMessage::key("open_empty_file"));
        return;
    }
    auto road = [&](RoadList list, bool accepted) {
        data.Kind = DataKind::Road;
        data.Road = list;
        if (accepted)
            empty_survey_lists(data);
        else
            messages.push_back(UserMessage::key("wrong_format"));
    };
    if (extension == ".PHI")
        return road(RoadList::Intersections, read_road_rows(lines, 7, data.RoadRows, 17));
    if (extension == ".SEC")
        return road(RoadList::Elements, read_main_pile_rows(lines, data.RoadRows));
    if (extension == ".PVI")
        return road(RoadList::Profile, read_road_rows(lines, 5, data.RoadRows));
    if (read_pile_list(lines, data.RoadRows)) {
        empty_survey_lists(data);
        data.Kind = DataKind::Road;
        data.Road = RoadList::Stakes;
        return;
    }
    std::vector<coord_item> points;
    if (read_dxf(lines, s, points)) {
        empty_survey_lists(data);
        data.CoordList = std::move(points);
        data.Kind = DataKind::Points;
        return;
    }
    // GTS-7 starts with JOB, INST and UNITS lines; as a job text it would fail on UNITS.
    if (is_gts7_text(lines)) {
        Job job;
        if (read_gts7(lines, s.units.distance, job))
            return take_job(std::move(job), data);
    }
    if (is_record_text(lines)) {
        Job job;
        std::optional<JobCut> cut;
        const std::string_view loaded = load_job_text_to_break(lines, job, cut);
        if (cut)
            messages.push_back(job_cut_short_message(*cut));
        if (loaded != kLoadOk && job_error)
            *job_error = std::string(loaded);
        if (loaded == kLoadOk)
            return take_job(std::move(job), data);
    }
    if (read_point_rows(lines, false, s, points) || read_point_rows(lines, true, s, points)) {
        empty_survey_lists(data);
        data.CoordList = std::move(points);
        data.Kind = DataKind::Points;
        return;
    }
    std::vector<coord3_item> points3;
    if (read_points3(lines, s, points3)) {
        data.RecordList.clear();
        data.CodeList.clear();
        data.Coord3List = std::move(points3);
        data.Kind = DataKind::Points3;
        return;
    }
    std::vector<code_item> codes;
    if (read_code_list(lines, codes)) {
        empty_survey_lists(data);
        data.CodeList = std::move(codes);
        data.Kind = DataKind::Codes;
        return;
    }
    // The forms below are read by none of the recognisers before.
    std::vector<record_item> records;
    if (read_record_rows(lines, s.units, records)) {
        empty_survey_lists(data);
        data.RecordList = std::move(records);
        data.JobName = std::string(kNoName);
        data.InstName = std::string(kNoInstrument);
        data.Kind = DataKind::Records;
        return;
    }
    std::vector<RoadRow> chainages;
    std::size_t left_out = 0;
    if (read_stake_points(lines, points, chainages, left_out)) {
        empty_survey_lists(data);
        if (points.empty()) {
            // Nothing was calculated: the chainages are a pile list for the instrument.
            data.RoadRows = std::move(chainages);
            data.Kind = DataKind::Road;
            data.Road = RoadList::Stakes;
            messages.push_back(UserMessage::key("stakes_read_as_piles"));
            return;
        }
        data.CoordList = std::move(points);
        data.Kind = DataKind::Points;
        if (left_out > 0)
            messages.push_back(UserMessage::key_with(
                "stakes_left_out", {format_int(static_cast<long long>(left_out))}));
        return;
    }
    if (read_loose_point_rows(lines, s, points, messages)) {
        empty_survey_lists(data);
        data.CoordList = std::move(points);
        data.Kind = DataKind::Points;
        return;
    }
    messages.push_back(UserMessage::key("wrong_format"));
}

UserMessage job_cut_short_message(const JobCut& cut) {
    return UserMessage::key_with("job_cut_short", {format_int(static_cast<long long>(cut.line)),
                                                   format_int(static_cast<long long>(cut.kept))});
}

bool open_landxml_points(std::string_view bytes, DataState& data, Messages& messages) {
    const auto read = road::landxml::read_points(bytes);
    if (!read) {
        messages.push_back(UserMessage::key(read.Error.Key, read.Error.Subject));
        return false;
    }
    empty_survey_lists(data);
    data.CoordList.clear();
    data.CoordList.reserve(read.Value->size());
    for (const road::landxml::Point& p : *read.Value) {
        coord_item c;
        c.name = p.Name;
        c.code = p.Code;
        c.north = p.North;
        c.east = p.East;
        c.elev = p.Elevation;
        data.CoordList.push_back(c);
    }
    data.Kind = DataKind::Points;
    return true;
}

bool open_data_file(const std::string& path, DataState& data, const FileSettings& settings,
                    Messages& messages, std::string* job_error) {
    const std::string name = std::filesystem::path(path).filename().string();
    const auto dot = name.rfind('.');
    const std::string extension =
        dot == std::string::npos ? std::string() : ascii_upper(name.substr(dot));

    const auto bytes = read_file_bytes(path);
    if (!bytes) {
        // A file that opens but cannot be read (a folder, a failing disk) is a read error, not
        // a file that cannot be opened.
        std::FILE* f = std::fopen(path.c_str(), "rb");
        const int failure = f ? kContentReadError : kContentCannotOpen;
        if (f)
            std::fclose(f);
        messages.push_back(UserMessage::key(std::string(content_result_key(failure))));
        return false;
    }
    // LandXML is told by its root element, whatever the name; its UTF-8 is no GBK text.
    if (road::landxml::looks_like_landxml(*bytes))
        return open_landxml_points(*bytes, data, messages);
    const bool road_file = extension == ".PHI" || extension == ".SEC" || extension == ".PVI";
    const int content = road_file ? int(kContentText) : content_test(*bytes);
    if (content == kContentBinary) {
        open_binary(path, *bytes, data, messages);
        return true;
    }
    if (content != kContentText) {
        messages.push_back(UserMessage::key(std::string(content_result_key(content))));
        return false;
    }
    open_text(split_line_views(*bytes), extension, data, settings, messages, job_error);
    return true;
}

} // namespace telvane
