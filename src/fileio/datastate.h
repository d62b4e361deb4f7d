// The main window's data as the file commands see it, and what they report back.
#pragma once

#include "model/gts7.h"
#include "model/jobtext.h"
#include "model/records.h"
#include "model/road_list.h"
#include "model/rows.h"
#include "model/units.h"

#include <string>
#include <vector>

namespace telvane {

// Which list holds the data on show: the job's records, points, codes, points with the further
// values of a measurement (3D points), or one of the road lists.
enum class DataKind { None, Records, Points, Codes, Points3, Road };

using RoadRow = std::vector<std::string>;

struct DataState {
    std::vector<record_item> RecordList;
    std::vector<coord_item> CoordList;
    std::vector<code_item> CodeList;
    std::vector<coord3_item> Coord3List;
    std::vector<RoadRow> RoadRows;
    std::string JobName{kNoName};
    std::string InstName{kNoInstrument};
    DataKind Kind = DataKind::None;
    // Which road list RoadRows holds, when Kind is Road.
    RoadList Road = RoadList::Intersections;
};

// The number the program reports for the data on show: 0 none, 1 records, 2 points, 3 codes,
// 4 3D points, then 5 to 8 for the road lists (intersection points, line elements, grade
// points, stakes).
int data_kind_number(const DataState& data);

// The settings values the file commands read.
struct FileSettings {
    Units units{kAngleDMS, kMetre};
    int order = kOrderNEZ;
    Gts7Reduction reduction{};
};

// One thing to show the user, in order: a text key of the language table, or a text shown as
// it is (with a caption when it has one).
struct UserMessage {
    enum class Kind { Key, Text } kind = Kind::Key;
    std::string value;
    std::string caption;
    std::string suffix;            // shown directly after a key's text (a count)
    std::vector<std::string> args; // the values of a key's text's "%1", "%2", ...

    static UserMessage key(std::string k, std::string suffix = {}) {
        return {Kind::Key, std::move(k), {}, std::move(suffix), {}};
    }
    static UserMessage key_with(std::string k, std::vector<std::string> args) {
        return {Kind::Key, std::move(k), {}, {}, std::move(args)};
    }
    static UserMessage text(std::string t, std::string caption = {}) {
        return {Kind::Text, std::move(t), std::move(caption), {}, {}};
    }
    friend bool operator==(const UserMessage&, const UserMessage&) = default;
};

using Messages = std::vector<UserMessage>;

// A message that says what a reader assumed about a file it read (a header line passed over,
// no elevation, stakes without coordinates left out): the data was read all the same.
inline bool is_reading_note(const UserMessage& m) {
    return m.kind == UserMessage::Kind::Key &&
           (m.value == "points_header_skipped" || m.value == "points_no_elevation" ||
            m.value == "stakes_left_out" || m.value == "stakes_read_as_piles");
}

// "The job breaks off at line N: the K complete records before it were loaded."
UserMessage job_cut_short_message(const JobCut& cut);

} // namespace telvane
