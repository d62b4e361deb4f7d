#include "road/design/road_entry.h"

#include "model/numtext.h"
#include "model/textlines.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace telvane::road {

namespace {

// The positions of the line element's form.
enum ElementField : std::size_t {
    kKind = 0,
    kStartRadius,
    kEndRadius,
    kLength,
    kSide,
    kNorth,
    kEast,
};
// The side list: left, right, none.
constexpr int kLeft = 0, kRight = 1, kNoSide = 2;

const std::array<EntryForm, 4>& forms() {
    static const std::array<EntryForm, 4> all = {
        EntryForm{"TFormIntersectionInport",
                  "dlg_title_intersection",
                  {{"Edit1", "JD_CODE", {}, "", {}, true},
                   {"Edit2", "strgrid_N", {}, "", {}, true},
                   {"Edit3", "strgrid_E", {}, "", {}, true},
                   {"Edit4", "Mileage", {}, "", {}, true},
                   {"Edit5", "Radius", {}, "", {}, true},
                   {"Edit6", "ClothoidLength", {}, "1", {}, true},
                   {"Edit7", "ClothoidLength", {}, "2", {}, true}}},
        EntryForm{"TFormMainPileInport",
                  "dlg_title_element",
                  {{"ComboBox1", "LineType", {}, "", {"Line", "Circle", "Clothoid"}, true},
                   {"Edit2", "strgrid_Start", "Radius", "", {}, true},
                   {"Edit3", "strgrid_End", "Radius", "", {}, true},
                   {"Edit4", "strgrid_Length", {}, "", {}, true},
                   {"ComboBox2", "Direction", {}, "", {"strgrid_Left", "strgrid_Right", ""}, false},
                   {"Edit1", "strgrid_N", {}, "", {}, false},
                   {"Edit5", "strgrid_E", {}, "", {}, false}}},
        EntryForm{"TFormlongSlopesInport",
                  "dlg_title_grade",
                  {{"Edit1", "Mileage", {}, "", {}, true},
                   {"Edit2", "Height", {}, "", {}, true},
                   {"Edit3", "Radius", {}, "", {}, true},
                   {"Edit4", "Slope_i", {}, "1", {}, true},
                   {"Edit5", "Slope_i", {}, "2", {}, true}}},
        EntryForm{"TFormPileInport", "dlg_title_stake", {{"Edit1", "Mileage", {}, "", {}, true}}},
    };
    return all;
}

std::string number(double v) {
    return FormatCell(v);
}

std::string position(int i) {
    return std::to_string(i);
}

int side_of(const std::string& direction) {
    return direction == "L" ? kLeft : direction == "R" ? kRight : kNoSide;
}

// The numbers of `fields`, in order; the first field that is no number refuses the form.
std::variant<std::vector<double>, EntryRefusal> numbers(const EntryTexts& texts,
                                                        std::initializer_list<std::size_t> fields) {
    std::vector<double> values;
    for (const std::size_t f : fields) {
        double v = 0;
        if (!try_parse_double(texts[f], v))
            return EntryRefusal{f, "input_not_number", {}};
        values.push_back(v);
    }
    return values;
}

} // namespace

const EntryForm& EntryFormOf(RoadList page) {
    switch (page) {
    case RoadList::Intersections:
        return forms()[0];
    case RoadList::Elements:
        return forms()[1];
    case RoadList::Profile:
        return forms()[2];
    case RoadList::Stakes:
        break;
    }
    return forms()[3];
}

EntryTexts NewEntry(RoadList page) {
    EntryTexts texts(EntryFormOf(page).Fields.size());
    if (page == RoadList::Elements) {
        texts[kKind] = position(LineTypeLine);
        texts[kSide] = position(kNoSide);
    }
    return texts;
}

EntryTexts EntryTextsOf(const RoadRecord& record) {
    struct Texts {
        EntryTexts operator()(const IntersectionPointInfo& p) const {
            return {p.Name,
                    number(p.North),
                    number(p.East),
                    number(p.Mileage),
                    number(p.Radius),
                    number(p.ClothoidLength1),
                    number(p.ClothoidLength2)};
        }
        EntryTexts operator()(const PlaneInfo& e) const {
            return {position(std::clamp(e.LineType, 0, 2)),
                    number(e.StartRadius),
                    number(e.EndRadius),
                    number(e.Length),
                    position(side_of(e.Direction)),
                    number(e.North),
                    number(e.East)};
        }
        EntryTexts operator()(const LongSlopesInfo& g) const {
            return {number(g.Mileage), number(g.Height), number(g.Radius), number(g.Slope1),
                    number(g.Slope2)};
        }
        EntryTexts operator()(const Pile& s) const { return {number(s.Mileage)}; }
    };
    return std::visit(Texts{}, record);
}

std::variant<RoadRecord, EntryRefusal>
ReadEntry(RoadList page, const EntryTexts& texts,
          const std::function<std::optional<double>(double)>& chainage_of) {
    const EntryForm& form = EntryFormOf(page);
    if (texts.size() != form.Fields.size())
        return EntryRefusal{0, "data_empty", {}};
    for (std::size_t f = 0; f < texts.size(); ++f)
        if (form.Fields[f].Required && texts[f].empty())
            return EntryRefusal{f, "input_empty", {}};

    switch (page) {
    case RoadList::Intersections: {
        auto v = numbers(texts, {1, 2, 3, 4, 5, 6});
        if (auto* refused = std::get_if<EntryRefusal>(&v))
            return *refused;
        const auto& n = std::get<std::vector<double>>(v);
        return RoadRecord{IntersectionPointOf(texts[0], {n[0], n[1], n[2], n[3], n[4], n[5]})};
    }
    case RoadList::Elements: {
        auto v = numbers(texts, {kStartRadius, kEndRadius, kLength});
        if (auto* refused = std::get_if<EntryRefusal>(&v))
            return *refused;
        const auto& n = std::get<std::vector<double>>(v);
        PlaneInfo e{};
        const int kind = std::atoi(texts[kKind].c_str());
        e.LineType = std::clamp(kind, 0, 2);
        e.StartRadius = n[0];
        e.EndRadius = n[1];
        e.Length = n[2];
        const int side = texts[kSide].empty() ? kNoSide : std::atoi(texts[kSide].c_str());
        e.Direction = side == kLeft ? "L" : side == kRight ? "R" : "";
        // The start point counts only when both of its boxes are filled.
        if (!trim(texts[kNorth]).empty() && !trim(texts[kEast]).empty()) {
            auto start = numbers(texts, {kNorth, kEast});
            if (auto* refused = std::get_if<EntryRefusal>(&start))
                return *refused;
            e.North = std::get<std::vector<double>>(start)[0];
            e.East = std::get<std::vector<double>>(start)[1];
        }
        return RoadRecord{e};
    }
    case RoadList::Profile: {
        auto v = numbers(texts, {0, 1, 2, 3, 4});
        if (auto* refused = std::get_if<EntryRefusal>(&v))
            return *refused;
        const auto& n = std::get<std::vector<double>>(v);
        LongSlopesInfo g{};
        g.Mileage = n[0];
        g.Height = n[1];
        g.Radius = n[2];
        g.Slope1 = n[3];
        g.Slope2 = n[4];
        // A radius of 0 or -1 says there is no vertical curve on the point.
        g.CurveFlag = g.Radius != 0 && g.Radius != -1 ? 1 : 0;
        return RoadRecord{g};
    }
    case RoadList::Stakes: {
        auto v = numbers(texts, {0});
        if (auto* refused = std::get_if<EntryRefusal>(&v))
            return *refused;
        Pile s{};
        s.Mileage = std::get<std::vector<double>>(v)[0];
        if (chainage_of) {
            const std::optional<double> chainage = chainage_of(s.Mileage);
            if (!chainage)
                return EntryRefusal{0, "cli_landxml_station", number(s.Mileage)};
            s.Mileage = *chainage;
        }
        return RoadRecord{s};
    }
    }
    return EntryRefusal{0, "data_empty", {}};
}

void FollowChoice(RoadList page, EntryTexts& texts, std::size_t changed) {
    if (page != RoadList::Elements || changed != kKind || texts.size() <= kSide)
        return;
    if (texts[kKind] == position(LineTypeLine))
        texts[kSide] = position(kNoSide);
    else if (texts[kSide] == position(kNoSide) || texts[kSide].empty())
        texts[kSide] = position(kLeft);
}

RoadRecord RecordAt(const RoadData& data, RoadList page, std::size_t k) {
    switch (page) {
    case RoadList::Intersections:
        return data.IntersectionPoints().at(k);
    case RoadList::Elements:
        return data.PlaneElements().at(k);
    case RoadList::Profile:
        return data.GradePoints().at(k);
    case RoadList::Stakes:
        break;
    }
    return data.Stakes().at(k);
}

void InsertRecord(RoadData& data, std::size_t at, const RoadRecord& record) {
    struct Insert {
        RoadData& data;
        std::size_t at;
        void operator()(const IntersectionPointInfo& p) const { data.InsertPoint(at, p); }
        void operator()(const PlaneInfo& e) const { data.InsertElement(at, e); }
        void operator()(const LongSlopesInfo& g) const { data.InsertGradePoint(at, g); }
        void operator()(const Pile& s) const { data.InsertStake(at, s); }
    };
    std::visit(Insert{data, at}, record);
}

void UpdateRecord(RoadData& data, std::size_t k, const RoadRecord& record) {
    // The form lists three kinds of element. A spiral between two radii (from an exchange file)
    // is shown as a clothoid, and stays what it is when edited as one.
    if (const auto* e = std::get_if<PlaneInfo>(&record);
        e && e->LineType == LineTypeClothoid && k < data.PlaneElements().size() &&
        data.PlaneElements()[k].LineType == LineTypeSpiralBetweenRadii) {
        PlaneInfo kept = *e;
        kept.LineType = LineTypeSpiralBetweenRadii;
        data.UpdateElement(k, kept);
        return;
    }
    struct Update {
        RoadData& data;
        std::size_t k;
        void operator()(const IntersectionPointInfo& p) const { data.UpdatePoint(k, p); }
        void operator()(const PlaneInfo& e) const { data.UpdateElement(k, e); }
        void operator()(const LongSlopesInfo& g) const { data.UpdateGradePoint(k, g); }
        void operator()(const Pile& s) const { data.UpdateStake(k, s); }
    };
    std::visit(Update{data, k}, record);
}

} // namespace telvane::road
