// Builds lines of the keyword formats: the keyword padded to 8 columns ("%-8s"), then the
// fields separated by commas, values converted in the given units.
#pragma once

#include "records.h"
#include "textlines.h"
#include "units.h"

#include <cmath>
#include <string_view>

namespace telvane {

class LineWriter {
public:
    LineWriter(Lines& out, Units units) : out_(out), units_(units) {}

    LineWriter& start(std::string_view keyword) {
        std::string& l = out_.emplace_back();
        l.reserve(48);
        l += keyword;
        l.append(keyword.size() < 8 ? 8 - keyword.size() : 0, ' ');
        first_ = true;
        return *this;
    }
    // A name, code or note: a comma inside never splits the line.
    LineWriter& text(std::string_view s) {
        sep();
        append_field(out_.back(), s);
        return *this;
    }
    LineWriter& dist(double v) {
        note_value(v);
        sep();
        append_distance(out_.back(), v, units_.distance);
        return *this;
    }
    LineWriter& angle(double v) {
        note_value(v);
        sep();
        if (units_.within_turn)
            append_angle_within_turn(out_.back(), v, units_.angle);
        else
            append_angle(out_.back(), v, units_.angle);
        return *this;
    }
    // An angle the instrument stored in arc-seconds, written as whole arc-seconds.
    LineWriter& seconds(double arcseconds) {
        note_value(arcseconds);
        sep();
        append_whole_seconds(out_.back(), arcseconds);
        return *this;
    }
    // Ends the line with an empty field ("%s,%s," layouts).
    LineWriter& empty_field() {
        out_.back() += ',';
        return *this;
    }

    // Whether a value written since the last call was not a finite number (a damaged record of
    // a binary file); the question clears it.
    bool take_non_finite() {
        const bool seen = non_finite_;
        non_finite_ = false;
        return seen;
    }

private:
    void note_value(double v) {
        if (!std::isfinite(v))
            non_finite_ = true;
    }
    void sep() {
        if (!first_)
            out_.back() += ',';
        first_ = false;
    }
    Lines& out_;
    Units units_;
    bool first_ = true;
    bool non_finite_ = false;
};

// The keywords a record format writes its record kinds with: the job text, or GTS-7.
struct RecordDialect {
    RecordDialect(std::string_view station_, std::string_view angles_, std::string_view distance_,
                  std::string_view coordinates_start_, std::string_view coordinates_, bool notes_)
        : station(station_), angles(angles_), distance(distance_),
          coordinates_start(coordinates_start_), coordinates(coordinates_), notes(notes_) {}
    virtual ~RecordDialect() = default;

    std::string_view station;           // STA
    std::string_view angles;            // SA
    std::string_view distance;          // SD
    std::string_view coordinates_start; // SC
    std::string_view coordinates;       // ENZ
    bool notes;                         // whether NOTE records are written
    // The line of an observation (horizontal angle, zenith angle, slope distance).
    virtual void observation(LineWriter& w, double ha, double va, double sd) const = 0;
};

// Appends the lines of one record in a dialect; other kinds give "wrong type in record item".
void append_record_lines(const record_item& r, Units units, const RecordDialect& dialect,
                         Lines& out);

// Joins lines with "|", the in-memory form of a logical record.
std::string join_with_bars(std::span<const std::string> lines);

} // namespace telvane
