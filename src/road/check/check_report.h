// The check report as a comma-separated file: one line per measured point under a line of
// column titles, CR LF line ends, bytes of the code page (GBK), numbers with "." and four
// decimals whatever the locale; a value that does not apply is an empty field; a cell with a
// comma, quote or blank is quoted.
//
// Columns: name, north, east, elevation, chainage, offset, design elevation, dH, stake, along,
// across, distance, verdict, note.
#pragma once

#include "road/check/stake_check.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road::check {

// Language keys of the column titles, the verdicts and the notes.
namespace checkkeys {
inline constexpr const char* Name = "check_col_name";
inline constexpr const char* North = "check_col_north";
inline constexpr const char* East = "check_col_east";
inline constexpr const char* Elevation = "check_col_elevation";
inline constexpr const char* Chainage = "check_col_chainage";
inline constexpr const char* Offset = "check_col_offset";
inline constexpr const char* DesignElevation = "check_col_design_elevation";
inline constexpr const char* HeightDifference = "check_col_dh";
inline constexpr const char* Stake = "check_col_stake";
inline constexpr const char* Along = "check_col_along";
inline constexpr const char* Across = "check_col_across";
inline constexpr const char* Distance = "check_col_distance";
inline constexpr const char* Verdict = "check_col_verdict";
inline constexpr const char* Note = "check_col_note";

inline constexpr const char* Within = "check_within";
inline constexpr const char* Exceeded = "check_exceeded";
inline constexpr const char* Outside = "check_outside";
inline constexpr const char* Unchecked = "check_unchecked";

inline constexpr const char* NoteTie = "check_note_tie";
inline constexpr const char* NoteBeforeStart = "check_note_before_start";
inline constexpr const char* NotePastEnd = "check_note_past_end";
inline constexpr const char* NoteStakeNotOnRoad = "check_note_stake_not_on_road";
inline constexpr const char* NoteNoSidePoint = "check_note_no_side_point";
inline constexpr const char* NoteNoPosition = "check_note_no_position";
} // namespace checkkeys

// The key of a verdict's text.
const char* verdict_key(Verdict verdict);

// The keys of the notes on a point (a tie on a hairpin, why a stake has no deviation, which end
// of the road a point lies beyond), in that order.
std::vector<const char*> note_keys(const PointCheck& check);

// The cells of one report line; `text` gives the text of a key (GBK) for the verdict and notes.
std::vector<std::string> report_row(const PointCheck& check,
                                    const std::function<std::string(std::string_view)>& text);

// The title line's cells.
std::vector<std::string> report_header(const std::function<std::string(std::string_view)>& text);

// The whole file.
std::string report_csv(const std::vector<PointCheck>& checks,
                       const std::function<std::string(std::string_view)>& text);

// Writes the report to `path`, replacing the file only once it is written whole; false with
// the reason in *error when it cannot be written (the old file is then as it was).
bool save_report(const std::string& path, const std::vector<PointCheck>& checks,
                 const std::function<std::string(std::string_view)>& text,
                 std::string* error = nullptr);

} // namespace telvane::road::check
