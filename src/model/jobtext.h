// The instrument's job text: keyword in columns 1-8, comma-separated fields from column 9.
//
// Reading is a pipeline: group lines into logical records, classify each by its keyword, split it
// into tokens and fill the record. A logical record is held as its lines; the "|"-joined form
// ("STA     P1,1.5,C|XYZ     1,2,3") is offered for callers that keep a record in one string.
#pragma once

#include "records.h"
#include "textlines.h"
#include "units.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvane {

// Result codes of the record operations.
enum RecordResult : int {
    kRecordOk = 0,
    kRecordBadKeyword = -1, // a keyword token is not the expected word (grouping: no lines)
    kRecordBadCount = -2,   // wrong token count (grouping: unknown keyword)
    kRecordShortLine = -3,  // a line of 8 characters or fewer (grouping: orphan continuation)
    kRecordNotARecord = -4, // the record keyword is not a record kind
    kRecordBadValue = -5,   // a value could not be converted
};

// The messages of the job load.
inline constexpr std::string_view kLoadOk = "OK";
inline constexpr std::string_view kLoadTooShort = "ERROR: 2 lines expected at least";
inline constexpr std::string_view kLoadGroupFailed = "ERROR: preprocess lines failed";
inline constexpr std::string_view kLoadRecordFailed = "ERROR: load record item failed";

// The keyword of a line: its first 8 characters with trailing blanks removed.
inline std::string_view line_keyword(std::string_view line) {
    return trim_right(line.substr(0, 8));
}

// Role of a keyword in grouping.
enum class LineRole { StandAlone, RecordStart, Continuation, Unknown };
LineRole line_role(std::string_view keyword);

// True for the lines grouping passes over: "0", or empty or "0" after trimming.
bool is_skipped_line(std::string_view line);

// Groups lines into logical records, calling emit(span of line views) for each.
// Returns 0, or -1 (no lines), -2 (unknown keyword), -3 (continuation with no open record).
// Emitted views point into `lines`.
// `lines` is any range of std::string or std::string_view.
template <typename LineRange, typename Emit>
int for_each_logical_record(const LineRange& lines, Emit&& emit);

// Grouping with "|"-joined logical records as output.
int group_lines(std::span<const std::string> lines, std::vector<std::string>& records);

// Splits a "|"-joined logical record (or a single line) into tokens: keyword of each line, then
// its comma fields from column 9, trimmed. Returns 0 or -3.
int tokenise_record(std::string_view record, std::vector<std::string>& tokens);

// Where the record parser reports a value it could not convert, one line ("Excption: <what>")
// without its line end. The default writes the line to standard output, where the window program
// has always written it; the command-line tool sends it to standard error so that it never mixes
// with its output. Returns the sink that was set; nullptr restores the default.
using DiagnosticSink = void (*)(std::string_view line);
DiagnosticSink set_diagnostic_sink(DiagnosticSink sink);

// Parses a logical record into `out`. Values are read as arc-seconds and in `units.distance`.
int parse_record(std::span<const std::string_view> lines, record_item& out,
                 Units units = kJobTextUnits);
int parse_record(std::string_view joined_record, record_item& out, Units units = kJobTextUnits);

// Formats a record as its lines (appended to `out`), or as one "|"-joined string.
void append_record_lines(const record_item& r, Units units, Lines& out);
std::string format_record(const record_item& r, Units units = kJobTextUnits);

// A JOB or INST line: -1 when it has 8 characters or fewer, -2 for another keyword.
int parse_job_line(std::string_view line, std::string& name);
int parse_inst_line(std::string_view line, std::string& name);

// Loads a job text into `job`, which changes only when the result is kLoadOk. The second form
// reads views into a file's bytes, so a big file is never copied line by line.
std::string_view load_job_text(std::span<const std::string> lines, Job& job);
std::string_view load_job_text(std::span<const std::string_view> lines, Job& job);

// Where a job text broke off inside its last record (a receive that timed out or was stopped,
// a capture or a file cut short): the line the broken record starts on (from 1) and how many
// complete records before it were loaded.
struct JobCut {
    std::size_t line = 0;
    std::size_t kept = 0;
};

// As load_job_text, but a text whose only fault is its last record, cut off (a fragment of a
// line, a record without its second line, a line with too few fields), loads the complete
// records before it and says where it broke off in *cut. A fault followed by further records
// is damage, not an end cut short: that still fails.
std::string_view load_job_text_to_break(std::span<const std::string> lines, Job& job,
                                        std::optional<JobCut>& cut);
std::string_view load_job_text_to_break(std::span<const std::string_view> lines, Job& job,
                                        std::optional<JobCut>& cut);

// Reads a job's records into a new list with the backsight and coordinate pairing applied.
void pair_records(std::vector<record_item>& records);

// Writes the JOB and INST lines and every record's lines.
Lines write_job_text(const Job& job);

// Whether the lines are to be loaded as a job text: the first line that grouping would not pass
// over, trimmed, is longer than 8 characters and its keyword is JOB or holds no comma.
bool is_record_text(std::span<const std::string> lines);
bool is_record_text(std::span<const std::string_view> lines);

// --- template implementation ---

template <typename LineRange, typename Emit>
int for_each_logical_record(const LineRange& lines, Emit&& emit) {
    if (lines.empty())
        return kRecordBadKeyword;
    std::string_view pending[64];
    std::vector<std::string_view> overflow; // a record with more lines than `pending` holds
    std::size_t count = 0;
    auto push = [&](std::string_view l) {
        if (count < std::size(pending))
            pending[count] = l;
        else {
            if (overflow.empty())
                overflow.assign(pending, pending + count);
            overflow.push_back(l);
        }
        ++count;
    };
    auto flush = [&] {
        if (count == 0)
            return;
        if (count <= std::size(pending))
            emit(std::span<const std::string_view>(pending, count));
        else
            emit(std::span<const std::string_view>(overflow));
        overflow.clear();
        count = 0;
    };
    for (const auto& element : lines) {
        const std::string_view line = element;
        if (is_skipped_line(line))
            continue;
        switch (line_role(line_keyword(line))) {
        case LineRole::Unknown:
            return kRecordBadCount;
        case LineRole::StandAlone: {
            flush();
            emit(std::span<const std::string_view>(&line, 1));
            break;
        }
        case LineRole::RecordStart:
            flush();
            push(line);
            break;
        case LineRole::Continuation:
            if (count == 0)
                return kRecordShortLine;
            push(line);
            break;
        }
    }
    flush();
    return kRecordOk;
}

} // namespace telvane
