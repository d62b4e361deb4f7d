#include "convert.h"

#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/binaryfiles.h"
#include "model/filebytes.h"

#include <map>
#include <ostream>

namespace telvane::cli {

namespace {

FileSettings file_settings(const Settings& s) {
    return FileSettings{s.units, s.order, s.reduction};
}

std::string describe(const UserMessage& m) {
    if (m.kind == UserMessage::Kind::Key)
        return m.value;
    return m.caption.empty() ? m.value : m.caption + ": " + m.value;
}

// The save-type position of each output type, by data kind.
std::optional<int> save_position(int kind, const std::string& type) {
    static const std::map<std::string, int> job = {
        {"records", 1}, {"points", 3}, {"dxf", 4}, {"gt7-reduced", 5},
        {"gt7-sd", 6},  {"gt7", 7},    {"job", 9}, {"points-code-last", 8}};
    static const std::map<std::string, int> points = {
        {"points", 1}, {"dxf", 2}, {"points-code-last", 5}};
    const auto& table = kind == kDataRecords ? job : points;
    if (kind == kDataCodes)
        return type == "codes" ? std::optional<int>(1) : std::nullopt;
    if (kind != kDataRecords && kind != kDataPoints)
        return std::nullopt;
    const auto it = table.find(type);
    return it == table.end() ? std::nullopt : std::optional<int>(it->second);
}

std::string default_type(int kind, const std::string& output) {
    auto ends = [&](std::string_view ext) {
        return output.size() >= ext.size() && output.substr(output.size() - ext.size()) == ext;
    };
    if (ends(".dxf"))
        return "dxf";
    if (ends(".gt7"))
        return "gt7";
    switch (kind) {
    case kDataCodes:
        return "codes";
    case kDataPoints:
        return "points";
    default:
        return "job";
    }
}

const char* kind_name(int kind) {
    switch (kind) {
    case kDataRecords:
        return "records";
    case kDataPoints:
        return "points";
    case kDataCodes:
        return "codes";
    case kDataPoints3:
        return "points with further values";
    case kDataIntersections:
        return "intersection points";
    case kDataMainPiles:
        return "main piles";
    case kDataSlopes:
        return "slopes";
    case kDataPiles:
        return "piles";
    default:
        return "none";
    }
}

bool is_known_type(const std::string& type) {
    static const char* const kTypes[] = {"job", "records", "points", "points-code-last", "codes",
                                         "dxf", "gt7",     "gt7-sd", "gt7-reduced"};
    for (const char* t : kTypes)
        if (type == t)
            return true;
    return false;
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

int run_info(const Options& o, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << "info needs INPUT\n";
        return 2;
    }
    DataState data;
    Messages shown;
    const bool dispatched = open_data_file(o.positional[0], data, file_settings(o.settings), shown);
    out << "kind " << data.DataKind << " (" << kind_name(data.DataKind) << ")\n"
        << "records " << data.RecordList.size() << "\n"
        << "points " << data.CoordList.size() << "\n"
        << "codes " << data.CodeList.size() << "\n"
        << "points with further values " << data.Coord3List.size() << "\n"
        << "road rows " << data.RoadRows.size() << "\n";
    if (data.DataKind == kDataRecords)
        out << "job " << data.JobName << "\ninstrument " << data.InstName << "\n";
    for (const UserMessage& m : shown)
        out << "message " << describe(m) << "\n";
    return dispatched ? 0 : 1;
}

int run_convert(const Options& o, std::ostream& err) {
    if (o.positional.size() != 2) {
        err << "convert needs INPUT and OUTPUT\n";
        return 2;
    }
    if (o.as && !is_known_type(*o.as)) {
        err << "unknown output type " << *o.as << "\n";
        return 2;
    }
    const std::string& input = o.positional[0];
    const std::string& output = o.positional[1];
    const FileSettings settings = file_settings(o.settings);

    DataState data;
    Messages shown;
    std::string job_error;
    const bool dispatched = open_data_file(input, data, settings, shown, &job_error);
    std::string refused;
    for (const UserMessage& m : shown) {
        if (m.kind == UserMessage::Kind::Text && m.value == "BINARY")
            continue; // the Open command's reminder that a binary file was read
        refused += refused.empty() ? "" : "; ";
        refused += describe(m);
    }
    if (!dispatched || !refused.empty() || data.DataKind == kDataNone) {
        err << input << ": " << (refused.empty() ? "nothing loaded" : refused);
        if (!job_error.empty())
            err << " (job text: " << job_error << ")";
        err << "\n";
        return 1;
    }

    const std::string type = o.as.value_or(default_type(data.DataKind, output));
    const auto position = save_position(data.DataKind, type);
    if (!position) {
        err << input << ": " << kind_name(data.DataKind) << " cannot be written as " << type
            << "\n";
        return 1;
    }
    if (type.rfind("gt7", 0) == 0) {
        if (output.size() <= 5 || output.substr(output.size() - 4) != ".gt7") {
            err << output << ": wrong_format (a GTS-7 file name must end in .gt7)\n";
            return 1;
        }
        if (settings.units.angle == kAngleMil) {
            err << output << ": gts7_not_support_mil\n";
            return 1;
        }
    }
    const SaveOutcome outcome = build_save(data, *position, output, settings);
    if (!outcome.write || !outcome.messages.empty()) {
        std::string what;
        for (const UserMessage& m : outcome.messages)
            what += (what.empty() ? "" : "; ") + describe(m);
        err << output << ": " << (what.empty() ? "nothing to write" : what) << "\n";
        return 1;
    }
    std::string error;
    if (!write_save(output, outcome, &error)) {
        err << error << "\n";
        return 1;
    }
    return 0;
}

} // namespace telvane::cli
