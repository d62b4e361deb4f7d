#include "convert.h"

#include "fileio/filebytes.h"
#include "model/codelist.h"
#include "model/jobtext.h"
#include "model/rows.h"

#include <algorithm>
#include <iterator>
#include <ostream>

namespace telvane::cli {

namespace {

// What was read: a job (kind 1) or a code list (kind 3), as the main window keeps its data.
struct Data {
    int kind = 0;
    Job job;
    std::vector<code_item> codes;
};

bool read_input(const Lines& lines, Data& data, std::string& message) {
    if (read_code_list(lines, data.codes)) {
        data.kind = 3;
        return true;
    }
    if (!is_record_text(lines)) {
        message = "not a job text or code list";
        return false;
    }
    const std::string_view result = load_job_text(lines, data.job);
    if (result != kLoadOk) {
        message = std::string(result);
        return false;
    }
    data.kind = 1;
    return true;
}

bool build_output(const Data& data, const std::string& type, const Settings& s, Lines& out,
                  std::string& message) {
    if (data.kind == 1) {
        if (type == "job") {
            out = write_job_text(data.job);
            return true;
        }
        if (type == "records") {
            for (const record_item& r : data.job.RecordList)
                out.push_back(record_row(r, s.units));
            return true;
        }
        if (type == "points" || type == "points-code-last") {
            std::vector<coord_item> points;
            append_job_points(data.job.RecordList, points);
            const int layout = type == "points" ? 0 : 2;
            for (const coord_item& p : points)
                out.push_back(coord_row(p, layout, s.order, s.units));
            return true;
        }
    } else if (data.kind == 3 && type == "codes") {
        out = write_code_list(data.codes);
        return true;
    }
    message = "this data cannot be written as " + type;
    return false;
}

} // namespace

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
    Data data;
    std::string message;
    if (!read_input(split_lines(*bytes), data, message)) {
        err << input << ": " << message << "\n";
        return 1;
    }
    const std::string type = o.as.value_or(data.kind == 3 ? "codes" : "job");
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
