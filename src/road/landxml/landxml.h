// Road designs and points in LandXML 1.2, the exchange format of design programs: alignments
// (straights, arcs, clothoids) with their stationing, vertical profiles, and COGO points.
//
// Inside the program everything is metres, radians from North clockwise, signed radii and per
// mille grades, as in the engine's records; names and codes are bytes in the program's code page
// (GBK). A LandXML file carries UTF-8 and the units its Units element names; reader and writer
// convert at the door.
#pragma once

#include "road/engine/road_records.h"
#include "road/design/stations.h"

#include "model/records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road::landxml {

// Message keys of the language file. Every refusal names the file's element too (its XML name and
// its "name" attribute or position), in LandXmlError::Subject.
namespace keys {
inline constexpr const char* NotXml = "landxml_not_xml";           // not well-formed XML
inline constexpr const char* NotLandXml = "landxml_not_landxml";   // no LandXML root
inline constexpr const char* BadUnits = "landxml_bad_units";       // unit we cannot convert
inline constexpr const char* BadValue = "landxml_bad_value";       // missing or bad number
inline constexpr const char* Unsupported = "landxml_unsupported";  // cannot be represented
inline constexpr const char* ChainGap = "landxml_chain_gap";       // ends 1 mm or more apart
inline constexpr const char* NoAlignment = "landxml_no_alignment"; // none, or not that name
inline constexpr const char* SeveralAlignments = "landxml_several_alignments"; // choose one
inline constexpr const char* NoPoints = "landxml_no_points";     // no CgPoint in the file
inline constexpr const char* BadProfile = "landxml_bad_profile"; // profile out of order
} // namespace keys

struct LandXmlError {
    std::string Key;     // a key of keys::
    std::string Subject; // the element it is about (GBK), e.g. `Spiral "SP2"` or `Curve #4`
};

// Element counts of an alignment as the file gives them.
struct ElementCounts {
    std::size_t Lines = 0;
    std::size_t Curves = 0;
    std::size_t Spirals = 0;
};

// One alignment, ready for the design axis.
struct Alignment {
    std::string Name; // GBK
    // The element chain for DesignAxisCalculate::SetPlaneElements, in internal chainage (the
    // continuous distance along the axis from the start station), end marker included. Spirals
    // from or to an infinite radius are clothoids (LineType 2) with the engine's neighbour rule
    // satisfied by circles of length 0 where the file has none; a spiral between two finite radii
    // is LineTypeSpiralBetweenRadii. Circles carry Direction "R" or "L" matching their sign.
    std::vector<PlaneInfo> Elements;
    Stationing Stations;                 // start station and station equations
    std::vector<LongSlopesInfo> Profile; // grade points in internal chainage; may be empty
    std::string ProfileName;             // GBK; empty without a profile
    std::size_t ProfileCount = 0;        // ProfAlign elements of the alignment
    ElementCounts Counts;
    double Length = 0; // metres, from the elements
};

// What `info` lists about an alignment, also for one that could not be read.
struct AlignmentSummary {
    std::string Name;        // GBK
    double StartStation = 0; // metres
    double Length = 0;       // metres, the file's "length" attribute
    ElementCounts Counts;
    std::vector<std::string> Profiles; // ProfAlign names, GBK
    std::optional<LandXmlError> Error; // why the alignment cannot be read, if it cannot
};

struct Document {
    std::vector<AlignmentSummary> Alignments;
    std::size_t PointCount = 0;
};

// One COGO point.
struct Point {
    std::string Name; // GBK
    std::string Code; // GBK: the "code" attribute, else "desc"
    double North = 0;
    double East = 0;
    double Elevation = 0;
    bool HasElevation = false;
};

template <typename T> struct Result {
    std::optional<T> Value;
    LandXmlError Error; // when Value is empty

    explicit operator bool() const { return Value.has_value(); }
};

// True when the bytes look like a LandXML document (its root element named within the first
// kilobytes), for the Open command's dispatch.
bool looks_like_landxml(std::string_view bytes);

// The alignments and the number of points of a file, for listing.
Result<Document> read_document(std::string_view bytes);

// The alignment called `name`, or the only one of the file when `name` is empty (a file with
// several refuses with keys::SeveralAlignments: the user chooses). `profile`, when not empty,
// chooses the ProfAlign by name; otherwise the first is read.
Result<Alignment> read_alignment(std::string_view bytes, std::string_view name = {},
                                 std::string_view profile = {});

// Every CgPoint of the file (nested collections included), in file order.
Result<std::vector<Point>> read_points(std::string_view bytes);

// A design to write: the prepared element chain as the engine takes it (end marker included),
// with its stationing, its profile and, optionally, the stakes as points.
struct DesignToWrite {
    std::string Name = "Road"; // GBK
    std::vector<PlaneInfo> Elements;
    Stationing Stations;
    std::vector<LongSlopesInfo> Profile; // written when it has 2 points or more
    std::vector<Pile> Stakes;            // written as CgPoints when not empty
};

// The file text (UTF-8). Fails with keys::Unsupported naming an element that cannot be
// written (a clothoid that the engine could not evaluate, an unknown kind).
Result<std::string> write_design(const DesignToWrite& design);

// The points as a CgPoints file. A name that occurs again gets "_2", "_3", ... appended so that
// every name is written once, as the schema requires.
std::string write_points(const std::vector<Point>& points);
std::string write_points(const std::vector<coord_item>& points);

} // namespace telvane::road::landxml
