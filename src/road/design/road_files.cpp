#include "road/design/road_files.h"

#include "model/numtext.h"
#include "model/textlines.h"

#include <array>
#include <cstddef>

namespace telvane::road {
namespace {

// The fields of a trimmed line split at commas, each without blanks at both ends; nothing when
// the line has no comma or starts with one.
std::optional<std::vector<std::string_view>> SplitFields(std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos || comma == 0) {
        return std::nullopt;
    }
    std::vector<std::string_view> fields;
    std::size_t from = 0;
    while (true) {
        const std::size_t to = line.find(',', from);
        if (to == std::string_view::npos) {
            fields.push_back(trim(line.substr(from)));
            return fields;
        }
        fields.push_back(trim(line.substr(from, to - from)));
        from = to + 1;
    }
}

// Field k as a number; a field the line lacks gives `missing`.
double NumberField(const std::vector<std::string_view>& fields, std::size_t k, double missing) {
    return k < fields.size() ? parse_double(fields[k]) : missing;
}

std::string JoinRow(const TableRow& cells) {
    std::string line;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) {
            line += ',';
        }
        line += cells[k];
    }
    return line;
}

template <class Record, class RowOf>
Lines TableLines(const TableRow& header, const std::vector<Record>& records, RowOf rowOf) {
    Lines lines;
    lines.reserve(records.size() + 3);
    lines.push_back(JoinRow(header));
    for (const Record& r : records) {
        lines.push_back(JoinRow(rowOf(r)));
    }
    return lines;
}

TableRow Cells(std::initializer_list<double> values) {
    TableRow row;
    row.reserve(values.size());
    for (double v : values) {
        row.push_back(FormatCell(v));
    }
    return row;
}

} // namespace

const char* DefaultExtension(RoadList list) {
    switch (list) {
    case RoadList::Intersections:
        return ".PHI";
    case RoadList::Elements:
        return ".SEC";
    case RoadList::Profile:
        return ".PVI";
    case RoadList::Stakes:
        break;
    }
    return ".csv";
}

const char* FileFilterKey(RoadList list) {
    switch (list) {
    case RoadList::Intersections:
        return "OPEN_PHI_FILTER";
    case RoadList::Elements:
        return "OPEN_SEC_FILTER";
    case RoadList::Profile:
        return "OPEN_PVI_FILTER";
    case RoadList::Stakes:
        break;
    }
    return "OPEN_PILE_FILTER";
}

RoadColumnTitles
RoadColumnTitles::FromTexts(const std::function<std::string(std::string_view)>& text) {
    RoadColumnTitles t;
    t.JD_CODE = text("JD_CODE");
    t.strgrid_N = text("strgrid_N");
    t.strgrid_E = text("strgrid_E");
    t.strgrid_Z = text("strgrid_Z");
    t.Mileage = text("Mileage");
    t.Radius = text("Radius");
    t.ClothoidLength = text("ClothoidLength");
    t.Direction = text("Direction");
    t.DeflectionAngle = text("DeflectionAngle");
    t.TangentLength = text("TangentLength");
    t.CurveLength = text("CurveLength");
    t.ExternalLength = text("ExternalLength");
    t.strgrid_ZH = text("strgrid_ZH");
    t.strgrid_HY = text("strgrid_HY");
    t.strgrid_YH = text("strgrid_YH");
    t.strgrid_HZ = text("strgrid_HZ");
    t.LineType = text("LineType");
    t.strgrid_Start = text("strgrid_Start");
    t.strgrid_End = text("strgrid_End");
    t.strgrid_Length = text("strgrid_Length");
    t.AzimuthAngle = text("AzimuthAngle");
    t.Height = text("Height");
    t.Slope_i = text("Slope_i");
    t.MiddlePile = text("MiddlePile");
    t.LeftPile = text("LeftPile");
    t.RightPile = text("RightPile");
    return t;
}

TableRow IntersectionHeader(const RoadColumnTitles& t) {
    return {t.JD_CODE,
            t.strgrid_N,
            t.strgrid_E,
            t.Mileage,
            t.Radius,
            t.ClothoidLength + "1",
            t.ClothoidLength + "2",
            t.Direction,
            t.DeflectionAngle,
            t.TangentLength + "1",
            t.TangentLength + "2",
            t.CurveLength,
            t.ExternalLength,
            t.strgrid_ZH,
            t.strgrid_HY,
            t.strgrid_YH,
            t.strgrid_HZ};
}

TableRow ElementHeader(const RoadColumnTitles& t) {
    return {t.LineType,
            t.strgrid_Start + t.Radius,
            t.strgrid_End + t.Radius,
            t.strgrid_Length,
            t.Direction,
            t.strgrid_N,
            t.strgrid_E,
            t.Mileage,
            t.AzimuthAngle};
}

TableRow GradePointHeader(const RoadColumnTitles& t) {
    return {t.Mileage, t.Height, t.Slope_i + "1", t.Slope_i + "2", t.Radius};
}

TableRow StakeHeader(const RoadColumnTitles& t) {
    TableRow row{t.Mileage};
    for (const std::string* side : {&t.MiddlePile, &t.LeftPile, &t.RightPile}) {
        for (const std::string* axis : {&t.strgrid_N, &t.strgrid_E, &t.strgrid_Z}) {
            row.push_back(*side + *axis);
        }
    }
    return row;
}

std::string FormatCell(double v) {
    return format_general(v);
}

TableRow IntersectionRow(const IntersectionPointInfo& p) {
    TableRow row{p.Name};
    for (double v : {p.North, p.East, p.Mileage, p.Radius, p.ClothoidLength1, p.ClothoidLength2}) {
        row.push_back(FormatCell(v));
    }
    row.push_back(p.Direction);
    for (double v : {p.DeflectionAngle, p.TangentLength1, p.TangentLength2, p.CurveLength,
                     p.ExternalLength, p.ZH, p.HY, p.YH, p.HZ}) {
        row.push_back(FormatCell(v));
    }
    return row;
}

TableRow ElementRow(const PlaneInfo& e) {
    return {KindLetter(e.LineType),
            FormatCell(e.StartRadius),
            FormatCell(e.EndRadius),
            FormatCell(e.Length),
            e.Direction,
            FormatCell(e.North),
            FormatCell(e.East),
            FormatCell(e.Mileage),
            FormatCell(e.AzimuthAngle)};
}

TableRow GradePointRow(const LongSlopesInfo& p) {
    return Cells({p.Mileage, p.Height, p.Slope1, p.Slope2, p.Radius});
}

TableRow StakeRow(const Pile& p) {
    // What was not calculated stays empty: 0,0 would read as a position.
    TableRow row = Cells({p.Mileage, p.MiddleN, p.MiddleE, p.MiddleZ, p.LeftN, p.LeftE, p.LeftZ,
                          p.RightN, p.RightE, p.RightZ});
    for (std::size_t k = 1; k < row.size(); ++k) {
        if (!p.HasCentre || (k >= 4 && !p.HasSides)) {
            row[k].clear();
        }
    }
    return row;
}

const char* KindLetter(std::int32_t lineType) {
    switch (lineType) {
    case LineTypeLine:
        return "L";
    case LineTypeCircle:
        return "A";
    default:
        return "S";
    }
}

std::int32_t LineTypeOfLetter(std::string_view letter) {
    if (letter == "L") {
        return LineTypeLine;
    }
    if (letter == "A") {
        return LineTypeCircle;
    }
    return LineTypeClothoid;
}

std::string SecStartLine(const PlaneInfo& first) {
    std::string line;
    for (double v : {first.North, first.East, first.Mileage, first.AzimuthAngle}) {
        if (!line.empty()) {
            line += ',';
        }
        append_fixed(line, v, 15);
    }
    return line;
}

std::optional<std::string> IntersectionFileText(const std::vector<IntersectionPointInfo>& points,
                                                const RoadColumnTitles& titles) {
    if (points.empty()) {
        return std::nullopt;
    }
    return join_lines(TableLines(IntersectionHeader(titles), points, IntersectionRow));
}

std::optional<std::string> ElementFileText(const std::vector<PlaneInfo>& elements,
                                           const RoadColumnTitles& titles) {
    if (elements.empty()) {
        return std::nullopt;
    }
    Lines lines{std::string(SecTitleLine), SecStartLine(elements.front())};
    Lines table = TableLines(ElementHeader(titles), elements, ElementRow);
    lines.insert(lines.end(), std::make_move_iterator(table.begin()),
                 std::make_move_iterator(table.end()));
    return join_lines(lines);
}

std::optional<std::string> GradePointFileText(const std::vector<LongSlopesInfo>& points,
                                              const RoadColumnTitles& titles) {
    if (points.empty()) {
        return std::nullopt;
    }
    return join_lines(TableLines(GradePointHeader(titles), points, GradePointRow));
}

std::optional<std::string> StakeFileText(const std::vector<Pile>& stakes,
                                         const RoadColumnTitles& titles) {
    if (stakes.empty()) {
        return std::nullopt;
    }
    return join_lines(TableLines(StakeHeader(titles), stakes, StakeRow));
}

IntersectionPointInfo IntersectionPointOf(std::string name, const std::array<double, 6>& values) {
    IntersectionPointInfo p;
    p.Name = std::move(name);
    p.North = values[0];
    p.East = values[1];
    p.Mileage = values[2];
    p.Radius = values[3];
    p.ClothoidLength1 = values[4];
    p.ClothoidLength2 = values[5];
    return p;
}

IntersectionFileData ReadIntersectionFile(std::string_view bytes) {
    IntersectionFileData out;
    const std::vector<std::string_view> lines = split_line_views(bytes);
    // North, East, Mileage, Radius, ClothoidLength1, ClothoidLength2, kept from line to line.
    std::array<double, 6> values{};
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = trim(lines[n]);
        if (line.empty()) {
            continue;
        }
        std::string name;
        if (const auto fields = SplitFields(line)) {
            name = std::string((*fields)[0]);
            try {
                for (std::size_t k = 1; k <= values.size() && k < fields->size(); ++k) {
                    const std::string_view f = (*fields)[k];
                    values[k - 1] = f.empty() ? 0.0 : parse_double(f);
                }
            } catch (const ConversionError&) {
                ++out.WrongFormat;
                out.WrongLines.push_back(n + 1);
                break;
            }
        }
        out.Points.push_back(IntersectionPointOf(std::move(name), values));
    }
    if (!out.Points.empty()) {
        const IntersectionPointInfo& first = out.Points.front();
        out.Boxes = StartPoint{format_fixed(first.Mileage, 6), format_fixed(first.North, 6),
                               format_fixed(first.East, 6), "", ""};
    }
    return out;
}

ElementFileData ReadElementFile(std::string_view bytes) {
    ElementFileData out;
    const std::vector<std::string_view> lines = split_line_views(bytes);
    if (lines.size() < 4) {
        out.WrongFormat = 1;
        return out;
    }
    // Kind, radii, length, direction and (from line 4 on) the point of one element line; fields
    // the line lacks stay 0.
    auto readElement = [](const std::vector<std::string_view>& f, PlaneInfo& e, bool withPoint) {
        e.LineType = LineTypeOfLetter(f[0]);
        e.StartRadius = NumberField(f, 1, 0);
        e.EndRadius = NumberField(f, 2, 0);
        e.Length = NumberField(f, 3, 0);
        e.Direction = f.size() > 4 ? std::string(f[4]) : std::string();
        if (withPoint) {
            e.North = NumberField(f, 5, 0);
            e.East = NumberField(f, 6, 0);
        }
    };
    std::size_t at = 1; // the line being read
    try {
        PlaneInfo first;
        if (const auto f = SplitFields(trim(lines[1]))) {
            first.North = NumberField(*f, 0, 0);
            first.East = NumberField(*f, 1, 0);
            first.Mileage = NumberField(*f, 2, 0);
            first.AzimuthAngle = NumberField(*f, 3, 0);
        }
        at = 3;
        if (const auto f = SplitFields(trim(lines[3]))) {
            readElement(*f, first, false);
        }
        out.Elements.push_back(std::move(first));
        for (std::size_t n = 4; n < lines.size(); ++n) {
            at = n;
            const std::string_view line = trim(lines[n]);
            if (line.empty()) {
                continue;
            }
            const auto f = SplitFields(line);
            if (!f) {
                ++out.WrongFormat; // the line is left out and reading goes on
                out.WrongLines.push_back(n + 1);
                continue;
            }
            PlaneInfo e;
            readElement(*f, e, true);
            out.Elements.push_back(std::move(e));
        }
    } catch (const ConversionError&) {
        ++out.WrongFormat;
        out.WrongLines.push_back(at + 1);
    }
    if (!out.Elements.empty()) {
        const PlaneInfo& first = out.Elements.front();
        out.Boxes =
            StartPoint{format_fixed(first.Mileage, 6), format_fixed(first.North, 15),
                       format_fixed(first.East, 15), format_fixed(first.AzimuthAngle, 15), ""};
    }
    return out;
}

GradePointFileData ReadGradePointFile(std::string_view bytes) {
    GradePointFileData out;
    const std::vector<std::string_view> lines = split_line_views(bytes);
    // Mileage, Height, Slope1, Slope2, Radius, kept from line to line.
    std::array<double, 5> values{};
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const std::string_view line = trim(lines[n]);
        if (line.empty()) {
            continue;
        }
        if (const auto fields = SplitFields(line)) {
            try {
                for (std::size_t k = 0; k < values.size() && k < fields->size(); ++k) {
                    values[k] = parse_double((*fields)[k]);
                }
            } catch (const ConversionError&) {
                ++out.WrongFormat;
                out.WrongLines.push_back(n + 1);
                break;
            }
        }
        LongSlopesInfo p;
        p.Mileage = values[0];
        p.Height = values[1];
        p.Slope1 = values[2];
        p.Slope2 = values[3];
        p.Radius = values[4];
        p.CurveFlag = (p.Radius != 0 && p.Radius != -1) ? 1 : 0;
        out.Points.push_back(p);
    }
    return out;
}

StakeFileData ReadStakeFile(std::string_view bytes) {
    StakeFileData out;
    const std::vector<std::string_view> lines = split_line_views(bytes);
    for (std::size_t n = 1; n < lines.size(); ++n) {
        if (trim(lines[n]).empty()) {
            continue;
        }
        const std::vector<std::string> items = split_delimited(lines[n], ',');
        double mileage = 0;
        if (items.empty() || !try_parse_double(items.front(), mileage)) {
            ++out.WrongFormat;
            out.WrongLines.push_back(n + 1);
            break;
        }
        Pile p;
        p.Mileage = mileage;
        out.Stakes.push_back(p);
    }
    return out;
}

std::optional<StartBox> FirstBoxNotNumber(const StartPoint& start) {
    const std::pair<StartBox, const std::string*> boxes[] = {{StartBox::Chainage, &start.Chainage},
                                                             {StartBox::North, &start.North},
                                                             {StartBox::East, &start.East},
                                                             {StartBox::Azimuth, &start.Azimuth},
                                                             {StartBox::Offset, &start.Offset}};
    for (const auto& [box, text] : boxes) {
        const bool blank_allowed = box != StartBox::Chainage;
        double v = 0;
        if (!text->empty() && !(blank_allowed && trim(*text).empty()) &&
            !try_parse_double(*text, v))
            return box;
    }
    return std::nullopt;
}

double OffsetOf(const StartPoint& start) {
    double offset = 0;
    return try_parse_double(start.Offset, offset) ? offset : 0.0;
}

} // namespace telvane::road
