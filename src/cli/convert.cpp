#include "convert.h"

#include "encoding.h"

#include "fileio/dataview.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/binaryfiles.h"
#include "model/filebytes.h"
#include "model/numtext.h"
#include "plot/picture.h"
#include "road/landxml/landxml.h"

#include <filesystem>
#include <map>
#include <ostream>

namespace telvane::cli {

namespace {

// The Open command on a named file. A file that is not there is "cannot be opened" to the
// content test; for a binary file the readers' own "does not exist" says more.
bool open_input(const std::string& path, DataState& data, const FileSettings& settings,
                Messages& shown, std::string* job_error = nullptr) {
    const bool dispatched = open_data_file(path, data, settings, shown, job_error);
    if (!dispatched && !std::filesystem::exists(path) && binary_kind(path) != BinaryKind::None) {
        for (UserMessage& m : shown)
            if (m.kind == UserMessage::Kind::Key && m.value == "file_unable_open")
                m.value = "file_not_exist";
    }
    return dispatched;
}

// One line per message: a key in words, a text (the job load's own error texts) as it is.
std::string describe(const CliTexts& texts, const std::string& subject, const UserMessage& m,
                     std::string_view detail = {}) {
    if (m.kind == UserMessage::Kind::Key)
        return texts.message(subject, m.value, m.args,
                             detail.empty() ? std::string_view(m.suffix) : detail);
    return subject + ": " + (m.caption.empty() ? "" : m.caption + ": ") + gbk_to_utf8(m.value) +
           "\n";
}

std::string default_type(DataKind kind, const std::string& output) {
    auto ends = [&](std::string_view ext) {
        return output.size() >= ext.size() && output.substr(output.size() - ext.size()) == ext;
    };
    if (ends(".dxf"))
        return "dxf";
    if (ends(".gt7"))
        return "gt7";
    if (ends(".xml") && (kind == DataKind::Points || kind == DataKind::Records))
        return "landxml";
    switch (kind) {
    case DataKind::Codes:
        return "codes";
    case DataKind::Points:
        return "points";
    default:
        return "job";
    }
}

const char* kind_name(const DataState& data) {
    switch (data.Kind) {
    case DataKind::None:
        return "none";
    case DataKind::Records:
        return "records";
    case DataKind::Points:
        return "points";
    case DataKind::Codes:
        return "codes";
    case DataKind::Points3:
        return "points with further values";
    case DataKind::Road:
        break;
    }
    switch (data.Road) {
    case RoadList::Intersections:
        return "intersection points";
    case RoadList::Elements:
        return "main piles";
    case RoadList::Profile:
        return "slopes";
    case RoadList::Stakes:
        break;
    }
    return "piles";
}

} // namespace

bool is_known_type(const std::string& type) {
    static const char* const kTypes[] = {"job", "records", "points", "points-code-last", "codes",
                                         "dxf", "gt7",     "gt7-sd", "gt7-reduced",      "landxml"};
    for (const char* t : kTypes)
        if (type == t)
            return true;
    return false;
}

FileSettings file_settings(const Settings& s) {
    return FileSettings{s.units, s.order, s.reduction};
}

int run_dump(const Options& o, const CliTexts& texts, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << texts.message("dump", "cli_file_count");
        return 2;
    }
    const std::string& input = o.positional[0];
    std::string error;
    const auto bytes = read_file_bytes(input, &error);
    if (!bytes) {
        if (std::filesystem::exists(input))
            err << texts.message(input, "file_read_error", error);
        else
            err << texts.message(input, "file_not_exist");
        return 1;
    }
    Lines lines;
    int rc = convert_job_bytes(input, *bytes, lines);
    if (rc == kBinaryOk && lines.empty())
        rc = convert_coord_bytes(input, *bytes, lines);
    if (rc != kBinaryOk) {
        err << texts.message(input, binary_result_key(rc));
        return 1;
    }
    for (const std::string& line : lines)
        out << (o.utf8 ? gbk_to_utf8(line) : line) << "\n";
    return 0;
}

// A LandXML file: its alignments (name, start station, length, element counts, profiles) and
// the number of its points.
int landxml_info(const std::string& input, std::string_view bytes, const CliTexts& texts,
                 std::ostream& out, std::ostream& err) {
    const auto doc = road::landxml::read_document(bytes);
    if (!doc) {
        err << texts.message(input, doc.Error.Key, gbk_to_utf8(doc.Error.Subject));
        return 1;
    }
    out << "LandXML\nalignments " << doc.Value->Alignments.size() << "\n";
    for (const road::landxml::AlignmentSummary& a : doc.Value->Alignments) {
        out << "alignment " << gbk_to_utf8(a.Name) << "\n"
            << "  start station " << format_general(a.StartStation) << "\n"
            << "  length " << format_general(a.Length) << "\n"
            << "  lines " << a.Counts.Lines << ", curves " << a.Counts.Curves << ", spirals "
            << a.Counts.Spirals << "\n";
        for (const std::string& p : a.Profiles)
            out << "  profile " << gbk_to_utf8(p) << "\n";
        if (a.Error)
            out << "  " << texts.message("refused", a.Error->Key, gbk_to_utf8(a.Error->Subject));
    }
    out << "points " << doc.Value->PointCount << "\n";
    return 0;
}

int run_info(const Options& o, const CliTexts& texts, std::ostream& out, std::ostream& err) {
    if (o.positional.size() != 1) {
        err << texts.message("info", "cli_file_count");
        return 2;
    }
    const std::string& input = o.positional[0];
    if (const auto bytes = read_file_bytes(input);
        bytes && road::landxml::looks_like_landxml(*bytes))
        return landxml_info(input, *bytes, texts, out, err);
    DataState data;
    Messages shown;
    std::string job_error;
    const bool dispatched = open_input(input, data, file_settings(o.settings), shown, &job_error);
    if (!dispatched) {
        for (const UserMessage& m : shown)
            err << describe(texts, input, m);
        return 1;
    }
    out << "kind " << data_kind_number(data) << " (" << kind_name(data) << ")\n"
        << "records " << data.RecordList.size() << "\n"
        << "points " << data.CoordList.size() << "\n"
        << "codes " << data.CodeList.size() << "\n"
        << "points with further values " << data.Coord3List.size() << "\n"
        << "road rows " << data.RoadRows.size() << "\n";
    if (data.Kind == DataKind::Records)
        out << "job " << gbk_to_utf8(data.JobName) << "\ninstrument " << gbk_to_utf8(data.InstName)
            << "\n";
    for (const UserMessage& m : shown)
        out << describe(texts, "message", m,
                        m.value == "wrong_format" ? std::string_view(job_error) : "");
    // What was read is printed either way; a file of which nothing could be read is a failure.
    return data.Kind == DataKind::None || list_size(data) == 0 ? 1 : 0;
}

bool open_for_command(const std::string& input, const FileSettings& settings, DataState& data,
                      const CliTexts& texts, std::ostream& err) {
    std::string refused;
    std::string warned; // damaged records left out of a file that was read
    Messages shown;
    std::string job_error;
    const bool dispatched = open_input(input, data, settings, shown, &job_error);
    bool job_error_shown = false;
    for (const UserMessage& m : shown) {
        if (m.kind == UserMessage::Kind::Text && m.value == "BINARY")
            continue; // the Open command's reminder that a binary file was read
        job_error_shown = job_error_shown || m.value == job_error;
        // A job text that was recognised but did not load says why its wrong_format came.
        const bool with_job_error = !job_error_shown && m.value == "wrong_format";
        const std::string said =
            describe(texts, input, m, with_job_error ? job_error : std::string());
        // Damaged records left out, a job cut short, or what a reader assumed about the rows
        // (a header passed over, no elevation, stakes without coordinates): the data goes on.
        const bool warning = (m.value == "file_bad_data" && !m.suffix.empty()) ||
                             m.value == "job_cut_short" || is_reading_note(m);
        (warning ? warned : refused) += said;
    }
    // The good records of a damaged file go on, after the warning; none at all is a refusal.
    const bool usable = warned.empty() || list_size(data) > 0;
    err << warned;
    if (dispatched && refused.empty() && data.Kind != DataKind::None && usable)
        return true;
    if (refused.empty() && warned.empty())
        refused = texts.message(input, "file_no_valid_data");
    err << refused;
    return false;
}

int write_output(const DataState& data, const std::string& subject, const std::string& output,
                 const std::optional<std::string>& as, const FileSettings& settings,
                 const CliTexts& texts, std::ostream& err) {
    const std::string type = as.value_or(default_type(data.Kind, output));
    if (data.Kind == DataKind::Points3) {
        // The Save command has no type for points with further values.
        err << texts.message(subject, "no_data_to_save");
        return 1;
    }
    const auto position = save_position(data.Kind, type);
    if (!position) {
        err << texts.message(subject, "cli_cannot_write_as",
                             std::string(kind_name(data)) + " -> " + type);
        return 1;
    }
    // Streamed into the file: a million points need no 300 MB copy in memory.
    const SaveResult saved = save_to_file(output, data, *position, settings);
    if (!saved.messages.empty()) {
        for (const UserMessage& m : saved.messages)
            err << describe(texts, output, m);
        return 1;
    }
    if (!saved.written) {
        err << (saved.error.empty() ? texts.message(output, "no_data_to_save")
                                    : texts.message(output, "cli_cannot_write", saved.error));
        return 1;
    }
    return 0;
}

int run_plot(const Options& o, const CliTexts& texts, std::ostream& err) {
    if (o.positional.size() != 2) {
        err << texts.message("plot", "cli_file_count");
        return 2;
    }
    const std::string& input = o.positional[0];
    DataState data;
    if (!open_for_command(input, file_settings(o.settings), data, texts, err))
        return 1;
    const std::vector<coord_item> points = points_to_draw(data);
    if (points.empty()) {
        err << texts.message(input, "job_have_no_coord");
        return 1;
    }
    const std::string text =
        plot::svg(plot::points_map(points, o.codes), 1200, utf8_to_gbk(texts.text("map_window")),
                  [](std::string_view s) { return gbk_to_utf8(s); });
    std::string error;
    if (!write_file_atomic(o.positional[1], text, &error)) {
        err << texts.message(o.positional[1], "cli_cannot_write", error);
        return 1;
    }
    return 0;
}

int run_convert(const Options& o, const CliTexts& texts, std::ostream& err) {
    if (o.positional.size() != 2) {
        err << texts.message("convert", "cli_file_count");
        return 2;
    }
    if (o.as && !is_known_type(*o.as)) {
        err << texts.message(*o.as, "cli_unknown_type");
        return 2;
    }
    const std::string& input = o.positional[0];
    const FileSettings settings = file_settings(o.settings);
    DataState data;
    if (!open_for_command(input, settings, data, texts, err))
        return 1;
    return write_output(data, input, o.positional[1], o.as, settings, texts, err);
}

} // namespace telvane::cli
