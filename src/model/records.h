// The survey records: one measurement-job record, a coordinate point, a feature code and a point
// with three further values. Inside the records every distance, height and coordinate is in metres
// and every angle in decimal degrees; units are converted only at the edges (units.h).
#pragma once

#include "fixedtext.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace telvane {

// Record kinds, also the value of record_item::type(). Kind 8 (kKindNone) means "no record
// starts here" and is never stored.
enum RecordKind : int {
    kKindSTA = 1,
    kKindBS = 2,
    kKindBKB = 3,
    kKindSA = 4,
    kKindSD = 5,
    kKindSC = 6,
    kKindNOTE = 7,
    kKindNone = 8,
};

// The kind of a record keyword: STA 1, BS 2, BKB 3, SA 4, SD 5, SC 6, NOTE 7, anything else 8.
int record_kind(std::string_view keyword);

// An instrument station. The station keeps its coordinates easting first.
struct sta_data {
    NameField name;
    NameField code;
    double inst_height = 0;
    double east = 0, north = 0, elev = 0;
};

// A backsight observation, optionally with the backsight point (northing first).
struct bs_data {
    NameField name;
    double target_height = 0;
    double ha = 0, va = 0, sd = 0;
    std::int32_t has_bss = 0;
    double bss_north = 0, bss_east = 0, bss_elev = 0;
};

// A backsight bearing: the circle reading on the backsight and the bearing to it.
struct bkb_data {
    NameField name;
    double ha = 0;
    double azimuth = 0;
};

// An angle-only observation.
struct sa_data {
    NameField name;
    NameField code;
    double target_height = 0;
    double ha = 0, va = 0;
};

// An angle-and-distance observation.
struct sd_data {
    NameField name;
    NameField code;
    double target_height = 0;
    double ha = 0, va = 0, sd = 0;
};

// A point's coordinates (northing first), optionally with the observation that produced them.
struct sc_data {
    NameField name;
    NameField code;
    double target_height = 0;
    double north = 0, east = 0, elev = 0;
    std::int32_t has_obs = 0;
    double ha = 0, va = 0, sd = 0;
};

// A free-text note. Kept on the heap: a 257-byte array would make every record that large.
struct note_data {
    static constexpr std::size_t max_length = 255; // char[257] holds at most 255 copied bytes
    std::string text;
};

// One record of a measurement job. The variant's index is the record kind (1..7); index 0 is an
// empty record of no kind, which formats as "wrong type in record item".
struct record_item {
    std::variant<std::monostate, sta_data, bs_data, bkb_data, sa_data, sd_data, sc_data, note_data>
        data;

    int type() const { return static_cast<int>(data.index()); }

    template <typename T> T& as() { return std::get<T>(data); }
    template <typename T> const T& as() const { return std::get<T>(data); }
};

struct coord_item {
    NameField name;
    NameField code;
    double north = 0, east = 0, elev = 0;
};

struct code_item {
    NameField code;
};

struct coord3_item {
    NameField name;
    NameField code;
    double north = 0, east = 0, elev = 0;
    double dh = 0, dof = 0, dv = 0;
};

// The name a job, a point or a station without one is written and read with, and the
// instrument name of a job that names none.
inline constexpr std::string_view kNoName = "NONAME";
inline constexpr std::string_view kNoInstrument = "UNKNOW";

// A measurement job as the main window holds it.
struct Job {
    std::string JobName{kNoName};
    std::string InstName{kNoInstrument};
    std::vector<record_item> RecordList;
};

// The name rule of every text output: an empty name is written as "NONAME".
std::string_view output_name(const NameField& name);

// The name rule of every text input: an empty name field is stored as "NONAME".
NameField input_name(std::string_view text);

// The points a job yields, in record order: stations, backsights with coordinates, coordinates.
void append_job_points(const std::vector<record_item>& records, std::vector<coord_item>& points);

} // namespace telvane
