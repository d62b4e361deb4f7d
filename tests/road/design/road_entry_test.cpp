// The road lists' entry forms without a window: what each form takes, what it refuses and names,
// what it shows for a record, and the element's side following its kind.
#include "road/design/road_entry.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace telvane;
using namespace telvane::road;

namespace {

struct Refused {
    const char* what;
    RoadList page;
    EntryTexts texts;
    std::size_t field;
    const char* key;
};

const EntryTexts kPoint{"JD1", "3000", "500", "0", "300", "40", "50"};
const EntryTexts kElement{"1", "300", "300", "80", "1", "", ""};
const EntryTexts kGrade{"100", "50", "-1", "10", "-5"};

EntryTexts with(EntryTexts t, std::size_t at, std::string v) {
    t[at] = std::move(v);
    return t;
}

} // namespace

TEST(RoadEntry, RefusalsNameTheFieldAtFault) {
    const Refused cases[] = {
        {"stake empty", RoadList::Stakes, {""}, 0, "input_empty"},
        {"stake abc", RoadList::Stakes, {"abc"}, 0, "input_not_number"},
        {"stake beyond a double", RoadList::Stakes, {"1e999"}, 0, "input_not_number"},
        {"stake of spaces", RoadList::Stakes, {"  "}, 0, "input_not_number"},
        {"point without a name", RoadList::Intersections, with(kPoint, 0, ""), 0, "input_empty"},
        {"point radius abc", RoadList::Intersections, with(kPoint, 4, "abc"), 4,
         "input_not_number"},
        {"point last spiral empty", RoadList::Intersections, with(kPoint, 6, ""), 6, "input_empty"},
        {"empty comes before no number", RoadList::Intersections, with(with(kPoint, 1, "x"), 5, ""),
         5, "input_empty"},
        {"element length empty", RoadList::Elements, with(kElement, 3, ""), 3, "input_empty"},
        {"element end radius abc", RoadList::Elements, with(kElement, 2, "r"), 2,
         "input_not_number"},
        {"element north abc with east", RoadList::Elements, with(with(kElement, 5, "n"), 6, "1"), 5,
         "input_not_number"},
        {"element east abc with north", RoadList::Elements, with(with(kElement, 5, "1"), 6, "e"), 6,
         "input_not_number"},
        {"grade slope 1 missing", RoadList::Profile, with(kGrade, 3, ""), 3, "input_empty"},
        {"grade height abc", RoadList::Profile, with(kGrade, 1, "h"), 1, "input_not_number"},
        {"too few fields", RoadList::Profile, {"1"}, 0, "data_empty"},
    };
    for (const Refused& c : cases) {
        const auto read = ReadEntry(c.page, c.texts);
        const auto* refused = std::get_if<EntryRefusal>(&read);
        ASSERT_NE(refused, nullptr) << c.what;
        EXPECT_EQ(refused->Field, c.field) << c.what;
        EXPECT_EQ(refused->Key, c.key) << c.what;
        EXPECT_TRUE(refused->Value.empty()) << c.what;
    }
    // Every box of the point's and the grade's forms must be filled, and the element's kind,
    // radii and length; its side and start point may stay empty.
    const struct {
        RoadList page;
        const EntryTexts& texts;
        std::size_t required; // the fields before this one are required, the rest are not
    } forms[] = {{RoadList::Intersections, kPoint, 7},
                 {RoadList::Elements, kElement, 4},
                 {RoadList::Profile, kGrade, 5}};
    for (const auto& form : forms) {
        for (std::size_t f = 0; f < form.texts.size(); ++f) {
            const auto read = ReadEntry(form.page, with(form.texts, f, ""));
            if (f < form.required) {
                const auto* refused = std::get_if<EntryRefusal>(&read);
                ASSERT_NE(refused, nullptr) << form.texts[0] << " field " << f;
                EXPECT_EQ(*refused, (EntryRefusal{f, "input_empty", {}})) << form.texts[0] << f;
            } else {
                EXPECT_TRUE(std::holds_alternative<RoadRecord>(read)) << "field " << f;
            }
        }
    }
}

TEST(RoadEntry, TakenFormsGiveTheirRecords) {
    const auto point = ReadEntry(RoadList::Intersections, kPoint);
    const auto& p = std::get<IntersectionPointInfo>(std::get<RoadRecord>(point));
    EXPECT_EQ(p.Name, "JD1");
    EXPECT_EQ((std::vector<double>{p.North, p.East, p.Mileage, p.Radius, p.ClothoidLength1,
                                   p.ClothoidLength2}),
              (std::vector<double>{3000, 500, 0, 300, 40, 50}));

    const auto element = ReadEntry(RoadList::Elements, kElement);
    const auto& e = std::get<PlaneInfo>(std::get<RoadRecord>(element));
    EXPECT_EQ(e.LineType, LineTypeCircle);
    EXPECT_EQ(e.Direction, "R");
    EXPECT_EQ((std::vector<double>{e.StartRadius, e.EndRadius, e.Length, e.North, e.East}),
              (std::vector<double>{300, 300, 80, 0, 0}));

    // The start point counts only with both of its boxes; one alone is passed over.
    const auto north_only = ReadEntry(RoadList::Elements, with(kElement, 5, "3000"));
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(north_only)).North, 0.0);
    const auto both = ReadEntry(RoadList::Elements, with(with(kElement, 5, "3000"), 6, "500"));
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(both)).North, 3000.0);
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(both)).East, 500.0);
    // The side list's blank entry, and a straight.
    const auto straight = ReadEntry(RoadList::Elements, {"0", "0", "0", "100", "2", "", ""});
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(straight)).Direction, "");
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(straight)).LineType, LineTypeLine);
    const auto left = ReadEntry(RoadList::Elements, with(kElement, 4, "0"));
    EXPECT_EQ(std::get<PlaneInfo>(std::get<RoadRecord>(left)).Direction, "L");

    // A grade point's curve: none for a radius of 0 or -1.
    for (const auto& [radius, flag] :
         {std::pair{"-1", 0}, std::pair{"0", 0}, std::pair{"3000", 1}, std::pair{"-3000", 1}}) {
        const auto grade = ReadEntry(RoadList::Profile, with(kGrade, 2, radius));
        const auto& g = std::get<LongSlopesInfo>(std::get<RoadRecord>(grade));
        EXPECT_EQ(g.CurveFlag, flag) << radius;
        EXPECT_EQ((std::vector<double>{g.Mileage, g.Height, g.Slope1, g.Slope2}),
                  (std::vector<double>{100, 50, 10, -5}));
    }
}

TEST(RoadEntry, StakesAreTypedAsStationsOfTheDesign) {
    const auto plain = ReadEntry(RoadList::Stakes, {"120.5"});
    EXPECT_EQ(std::get<Pile>(std::get<RoadRecord>(plain)).Mileage, 120.5);
    // Stations that jump by 100 at chainage 200.
    const auto chainage_of = [](double station) -> std::optional<double> {
        if (station < 200)
            return station;
        if (station < 300)
            return std::nullopt;
        return station - 100;
    };
    const auto after = ReadEntry(RoadList::Stakes, {"350"}, chainage_of);
    EXPECT_EQ(std::get<Pile>(std::get<RoadRecord>(after)).Mileage, 250.0);
    const auto gap = ReadEntry(RoadList::Stakes, {"250"}, chainage_of);
    EXPECT_EQ(std::get<EntryRefusal>(gap), (EntryRefusal{0, "cli_landxml_station", "250"}));
}

TEST(RoadEntry, FormsShowTheirRecordsAndReadThemBack) {
    IntersectionPointInfo p{};
    p.Name = "JD7";
    p.North = 3500.25;
    p.East = -690.125;
    p.Radius = 300;
    p.ClothoidLength1 = 40;
    p.ClothoidLength2 = 50;
    PlaneInfo e{};
    e.LineType = LineTypeClothoid;
    e.StartRadius = 1e30;
    e.EndRadius = 300;
    e.Length = 80;
    e.Direction = "L";
    e.North = 1;
    e.East = 2;
    LongSlopesInfo g{100, 1, 50, 3000, 10, -5};
    Pile s{};
    s.Mileage = 1234.567;
    for (const RoadRecord& r : {RoadRecord{p}, RoadRecord{e}, RoadRecord{g}, RoadRecord{s}}) {
        const RoadList page = static_cast<RoadList>(r.index());
        const EntryTexts shown = EntryTextsOf(r);
        ASSERT_EQ(shown.size(), EntryFormOf(page).Fields.size());
        const auto back = ReadEntry(page, shown);
        ASSERT_TRUE(std::holds_alternative<RoadRecord>(back)) << r.index();
        EXPECT_EQ(EntryTextsOf(std::get<RoadRecord>(back)), shown) << r.index();
    }
    EXPECT_EQ(EntryTextsOf(RoadRecord{e})[0], "2");
    EXPECT_EQ(EntryTextsOf(RoadRecord{e})[4], "0");
    EXPECT_EQ(EntryTextsOf(RoadRecord{p})[1], "3500.25");
}

TEST(RoadEntry, NewFormsAreEmptyAndTheSideFollowsTheKind) {
    for (const RoadList page :
         {RoadList::Intersections, RoadList::Elements, RoadList::Profile, RoadList::Stakes}) {
        const EntryTexts fresh = NewEntry(page);
        ASSERT_EQ(fresh.size(), EntryFormOf(page).Fields.size());
        for (std::size_t f = 0; f < fresh.size(); ++f) {
            if (EntryFormOf(page).Fields[f].ChoiceKeys.empty()) {
                EXPECT_EQ(fresh[f], "") << EntryFormOf(page).Fields[f].Name;
            }
        }
    }
    EntryTexts e = NewEntry(RoadList::Elements);
    EXPECT_EQ(e[0], "0"); // a straight
    EXPECT_EQ(e[4], "2"); // that turns nowhere
    const struct {
        const char* kind;
        const char* side_before;
        const char* side_after;
    } follows[] = {
        {"1", "2", "0"}, // a circle needs a side: left
        {"2", "2", "0"}, // a clothoid too
        {"1", "1", "1"}, // a side already chosen stays
        {"0", "1", "2"}, // a straight has none
    };
    for (const auto& f : follows) {
        EntryTexts t = NewEntry(RoadList::Elements);
        t[0] = f.kind;
        t[4] = f.side_before;
        FollowChoice(RoadList::Elements, t, 0);
        EXPECT_EQ(t[4], f.side_after) << f.kind << f.side_before;
        // Only the kind moves the side, and only on the element's form.
        EntryTexts other = t;
        other[4] = f.side_before;
        FollowChoice(RoadList::Elements, other, 4);
        EXPECT_EQ(other[4], f.side_before);
    }
    EntryTexts grade = kGrade;
    FollowChoice(RoadList::Profile, grade, 0);
    EXPECT_EQ(grade, kGrade);
    // A form cut short before its side list is left alone rather than written past its end.
    EntryTexts short_form{"1", "300", "300", "80"};
    FollowChoice(RoadList::Elements, short_form, 0);
    EXPECT_EQ(short_form, (EntryTexts{"1", "300", "300", "80"}));
}

// A spiral between two radii (read from LandXML) is shown as a clothoid, the nearest kind the
// form has, and edited as one it keeps its own kind; changed to another kind, it takes that kind.
TEST(RoadEntry, ASpiralBetweenRadiiKeepsItsKindWhenEdited) {
    RoadData data;
    PlaneInfo spiral{};
    spiral.LineType = LineTypeSpiralBetweenRadii;
    spiral.StartRadius = 500;
    spiral.EndRadius = 300;
    spiral.Length = 60;
    data.InsertElement(0, spiral);
    data.InsertElement(1, spiral);
    const EntryTexts shown = EntryTextsOf(RecordAt(data, RoadList::Elements, 0));
    EXPECT_EQ(shown[0], "2");
    const auto edited = ReadEntry(RoadList::Elements, with(shown, 3, "65"));
    UpdateRecord(data, 0, std::get<RoadRecord>(edited));
    EXPECT_EQ(data.PlaneElements()[0].LineType, LineTypeSpiralBetweenRadii);
    EXPECT_EQ(data.PlaneElements()[0].Length, 65.0);
    const auto circle = ReadEntry(RoadList::Elements, with(shown, 0, "1"));
    UpdateRecord(data, 1, std::get<RoadRecord>(circle));
    EXPECT_EQ(data.PlaneElements()[1].LineType, LineTypeCircle);
    // A clothoid stays a clothoid.
    data.InsertElement(2, PlaneInfo{});
    const auto clothoid = ReadEntry(RoadList::Elements, with(kElement, 0, "2"));
    UpdateRecord(data, 2, std::get<RoadRecord>(clothoid));
    EXPECT_EQ(data.PlaneElements()[2].LineType, LineTypeClothoid);
}
