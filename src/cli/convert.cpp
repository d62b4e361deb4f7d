#include "convert.h"

#include "fileio/opendata.h"
#include "model/binaryfiles.h"
#include "model/codelist.h"
#include "model/filebytes.h"
#include "model/jobtext.h"
#include "model/rows.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace telvane::cli {

namespace {

bool read_text_input(const Lines& lines, DataState& data, std::string& message) {
    if (read_code_list(lines, data.CodeList)) {
        data.DataKind = kDataCodes;
        return true;
    }
    if (!is_record_text(lines)) {
        message = "not a job text or code list";
        return false;
    }
    Job job;
    const std::string_view result = load_job_text(lines, job);
    if (result != kLoadOk) {
        message = std::string(result);
        return false;
    }
    data.RecordList = std::move(job.RecordList);
    data.JobName = std::move(job.JobName);
    data.InstName = std::move(job.InstName);
    data.DataKind = kDataRecords;
    return true;
}

// Opens the input as the Open command does; false with the reason when nothing was loaded.
bool read_input(const std::string& path, const std::string& bytes, DataState& data,
                std::string& message) {
    const int content = content_test(bytes);
    if (content == kContentBinary) {
        Messages shown;
        open_binary(path, bytes, data, shown);
        for (const UserMessage& m : shown) {
            if (m.value != "BINARY") {
                message += message.empty() ? "" : "; ";
                message += m.value;
            }
        }
        return message.empty() && data.DataKind != kDataNone;
    }
    if (content != kContentText) {
        message = std::string(content_result_key(content));
        return false;
    }
    return read_text_input(split_lines(bytes), data, message);
}

std::vector<coord_item> points_of(const DataState& data) {
    if (data.DataKind == kDataPoints)
        return data.CoordList;
    std::vector<coord_item> points;
    append_job_points(data.RecordList, points);
    return points;
}

bool build_output(const DataState& data, const std::string& type, const Settings& s, Lines& out,
                  std::string& message) {
    const bool records = data.DataKind == kDataRecords;
    const bool points = data.DataKind == kDataPoints;
    if (records && type == "job") {
        Job job{data.JobName, data.InstName, data.RecordList};
        out = write_job_text(job);
        return true;
    }
    if (records && type == "records") {
        for (const record_item& r : data.RecordList)
            out.push_back(record_row(r, s.units));
        return true;
    }
    if ((records || points) && (type == "points" || type == "points-code-last")) {
        const int layout = type == "points" ? 0 : 2;
        for (const coord_item& p : points_of(data))
            out.push_back(coord_row(p, layout, s.order, s.units));
        return true;
    }
    if (data.DataKind == kDataCodes && type == "codes") {
        out = write_code_list(data.CodeList);
        return true;
    }
    message = "this data cannot be written as " + type;
    return false;
}

std::string default_type(int kind) {
    switch (kind) {
    case kDataCodes:
        return "codes";
    case kDataPoints:
        return "points";
    default:
        return "job";
    }
}

} // namespace

int run_dump(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << "dump needs INPUT\n";
        return 2;
    }
    const std::string& input = o.positional[0];
    std::string error;
    const auto bytes = read_file_bytes(input, &error);
    if (!bytes) {
        err << error << "\n";
        return 1;
    }
    Lines lines;
    int rc = convert_job_bytes(input, *bytes, lines);
    if (rc == kBinaryOk && lines.empty())
        rc = convert_coord_bytes(input, *bytes, lines);
    if (rc != kBinaryOk) {
        err << input << ": " << binary_result_key(rc) << "\n";
        return 1;
    }
    for (const std::string& line : lines)
        out << line << "\n";
    return 0;
}

int run_convert(const Options& o, std::ostream& err) {
    if (o.positional.size() != 2) {
        err << "convert needs INPUT and OUTPUT\n";
        return 2;
    }
    static const char* const kTypes[] = {"job", "records", "points", "points-code-last", "codes"};
    if (o.as && std::find(std::begin(kTypes), std::end(kTypes), *o.as) == std::end(kTypes)) {
        err << "unknown output type " << *o.as << "\n";
        return 2;
    }
    const std::string& input = o.positional[0];
    const std::string& output = o.positional[1];
    std::string error;
    const auto bytes = read_file_bytes(input, &error);
    if (!bytes) {
        err << error << "\n";
        return 1;
    }
    DataState data;
    std::string message;
    if (!read_input(input, *bytes, data, message)) {
        err << input << ": " << message << "\n";
        return 1;
    }
    const std::string type = o.as.value_or(default_type(data.DataKind));
    Lines out;
    if (!build_output(data, type, o.settings, out, message)) {
        err << message << "\n";
        return 1;
    }
    if (!write_file_atomic(output, join_lines(out), &error)) {
        err << error << "\n";
        return 1;
    }
    return 0;
}

} // namespace telvane::cli
