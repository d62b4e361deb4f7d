// The road window's four lists as text: table rows, and the ".PHI", ".SEC", ".PVI" and stake
// files, which are the tables written out row by row under a header line of column titles.
//
// Files are bytes in the program's code page, lines ended by CR LF; numbers are written in the
// general format with up to 15 significant digits and read back whatever their form.
#pragma once

#include "model/road_list.h"
#include "road/engine/road_records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::road {

// Default extension of a saved file and the key of the file-dialog filter, by list.
const char* DefaultExtension(RoadList list);
const char* FileFilterKey(RoadList list);

// The column titles of the road tables, which also head the files; each member holds the text
// of the language key it is named after.
struct RoadColumnTitles {
    std::string JD_CODE, strgrid_N, strgrid_E, strgrid_Z, Mileage, Radius, ClothoidLength,
        Direction, DeflectionAngle, TangentLength, CurveLength, ExternalLength, strgrid_ZH,
        strgrid_HY, strgrid_YH, strgrid_HZ, LineType, strgrid_Start, strgrid_End, strgrid_Length,
        AzimuthAngle, Height, Slope_i, MiddlePile, LeftPile, RightPile;

    // Every title from `text`, called with each key (the window passes its language lookup).
    static RoadColumnTitles FromTexts(const std::function<std::string(std::string_view)>& text);
};

using TableRow = std::vector<std::string>;

// Header rows: 17, 9, 5 and 10 titles.
TableRow IntersectionHeader(const RoadColumnTitles& titles);
TableRow ElementHeader(const RoadColumnTitles& titles);
TableRow GradePointHeader(const RoadColumnTitles& titles);
TableRow StakeHeader(const RoadColumnTitles& titles);

// One record as the cells of its table row.
TableRow IntersectionRow(const IntersectionPointInfo& p);
TableRow ElementRow(const PlaneInfo& e);
TableRow GradePointRow(const LongSlopesInfo& p);
TableRow StakeRow(const Pile& p);

// A number as a table cell: up to 15 significant digits, no trailing zeros.
std::string FormatCell(double v);

// Kind letters of the element table: "L" straight, "A" circle, "S" clothoid. When read, "L" and
// "A" give a straight and a circle, any other text a clothoid.
const char* KindLetter(std::int32_t lineType);
std::int32_t LineTypeOfLetter(std::string_view letter);

// The first two lines of a ".SEC" file: a fixed title line and the first element's North, East,
// Mileage and AzimuthAngle with 15 decimals each.
inline constexpr std::string_view SecTitleLine = "X0 ,Y0 ,S0 ,Azi0 ";
std::string SecStartLine(const PlaneInfo& first);

// The whole file for a list, or nothing for an empty list (which is not saved).
std::optional<std::string> IntersectionFileText(const std::vector<IntersectionPointInfo>& points,
                                                const RoadColumnTitles& titles);
std::optional<std::string> ElementFileText(const std::vector<PlaneInfo>& elements,
                                           const RoadColumnTitles& titles);
std::optional<std::string> GradePointFileText(const std::vector<LongSlopesInfo>& points,
                                              const RoadColumnTitles& titles);
std::optional<std::string> StakeFileText(const std::vector<Pile>& stakes,
                                         const RoadColumnTitles& titles);

// The start of the alignment as the user gives it, the texts as typed (a blank is "not given"):
// its chainage, North, East, the azimuth of the first element (radians) and the side offset of
// the stakes. A load gives the first four from the file's first point or element.
struct StartPoint {
    std::string Chainage, North, East, Azimuth, Offset;
};
// The boxes in that order.
enum class StartBox { Chainage, North, East, Azimuth, Offset };
// The first box that holds text that is no number, if any: an empty box is not given, and so is
// a box of spaces, but for the chainage.
std::optional<StartBox> FirstBoxNotNumber(const StartPoint& start);
// The side offset of the stakes: 0 when it is not given or no number.
double OffsetOf(const StartPoint& start);

// What a reader got. Reading stops at the first field that is not a number; what was read before
// stays. `WrongFormat` counts the times the text of wrong_format is to be shown; `WrongLines`
// gives the file's line (from 1) of each where there is one.
// An intersection point from its name and its six numbers in the order the files and the entry
// form give them: North, East, chainage, radius, the entry and the exit spiral's lengths.
IntersectionPointInfo IntersectionPointOf(std::string name, const std::array<double, 6>& values);

struct IntersectionFileData {
    std::vector<std::size_t> WrongLines;
    std::vector<IntersectionPointInfo> Points;
    int WrongFormat = 0;
    std::optional<StartPoint> Boxes; // from the first point, when one was read
};
struct ElementFileData {
    std::vector<std::size_t> WrongLines;
    std::vector<PlaneInfo> Elements;
    int WrongFormat = 0;
    std::optional<StartPoint> Boxes; // from the first element, when one was read
};
struct GradePointFileData {
    std::vector<std::size_t> WrongLines;
    std::vector<LongSlopesInfo> Points;
    int WrongFormat = 0;
};
struct StakeFileData {
    std::vector<std::size_t> WrongLines;
    std::vector<Pile> Stakes;
    int WrongFormat = 0;
};

// Line 0 is the header and is skipped; blank lines are skipped. A line is split at commas only
// when it has a first field (a comma at its second position or later); a ".PHI" or ".PVI" line
// that lacks a field keeps the value of the line before (0 before the first), and an empty number
// field is 0 in a ".PHI" file and not a number elsewhere.
IntersectionFileData ReadIntersectionFile(std::string_view bytes);
// Line 1 gives the first element's point, chainage and azimuth, line 3 its kind, radii, length
// and direction; the lines from 4 on give one element each (a line without a first field is left
// out with a wrong_format). A file of fewer than 4 lines gives nothing and one wrong_format.
ElementFileData ReadElementFile(std::string_view bytes);
GradePointFileData ReadGradePointFile(std::string_view bytes);
// Each line's first comma-separated item (blanks end it, double quotes group it) is a chainage.
StakeFileData ReadStakeFile(std::string_view bytes);

} // namespace telvane::road
