#include "design_fixtures.h"

#include "road/design/road_design.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace telvane::road {
namespace {

using testing::ChainOfKinds;
using testing::El;
using testing::Kinds;
using testing::WindingRoad;

RoadColumnTitles KeyTitles() {
    return RoadColumnTitles::FromTexts([](std::string_view key) { return std::string(key); });
}

LongSlopesInfo Grade(double K, double H, double s1, double s2, double R) {
    LongSlopesInfo p;
    p.Mileage = K;
    p.Height = H;
    p.Slope1 = s1;
    p.Slope2 = s2;
    p.Radius = R;
    p.CurveFlag = R != 0 && R != -1 ? 1 : 0;
    return p;
}

std::vector<Pile> StakesAt(std::initializer_list<double> chainages) {
    std::vector<Pile> stakes;
    for (double K : chainages) {
        Pile p;
        p.Mileage = K;
        stakes.push_back(p);
    }
    return stakes;
}

std::vector<Pile> StakesEvery(double from, double to, double step) {
    std::vector<Pile> stakes;
    for (double K = from; K <= to; K += step) {
        Pile p;
        p.Mileage = K;
        stakes.push_back(p);
    }
    return stakes;
}

// A road given by line elements: a straight, a right curve with spirals, a straight.
RoadData SimpleElementRoad() {
    RoadData d;
    d.InputMode = InputModeElements;
    d.PlaneElements = {El('L', 0, 0, 100, "", 3000, 500), El('S', 0, 200, 40, "R"),
                       El('A', 200, 200, 60, "R"), El('S', 200, 0, 40, "R"), El('L', 0, 0, 100)};
    d.Stakes = StakesAt({0, 50, 120, 200, 239});
    return d;
}

void ExpectSameStakes(const std::vector<Pile>& a, const std::vector<Pile>& b, double tolerance) {
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        const double pa[] = {a[k].MiddleN, a[k].MiddleE, a[k].MiddleZ, a[k].LeftN, a[k].LeftE,
                             a[k].LeftZ,   a[k].RightN,  a[k].RightE,  a[k].RightZ};
        const double pb[] = {b[k].MiddleN, b[k].MiddleE, b[k].MiddleZ, b[k].LeftN, b[k].LeftE,
                             b[k].LeftZ,   b[k].RightN,  b[k].RightE,  b[k].RightZ};
        for (std::size_t f = 0; f < 9; ++f) {
            EXPECT_NEAR(pa[f], pb[f], tolerance) << "stake at " << a[k].Mileage << ", field " << f;
        }
    }
}

TEST(RoadCalculation, EveryStopShowsItsMessage) {
    const RoadMessage dataEmpty{true, roadkeys::DataEmpty};
    const RoadMessage wrongFormat{true, roadkeys::WrongFormat};
    {
        // Nothing entered yet: the line-element path finds no elements.
        RoadData d;
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::DataEmpty);
        EXPECT_EQ(o.Message, dataEmpty);
        d.InputMode = InputModeIntersections;
        EXPECT_EQ(d.Calculate({}).Message, dataEmpty);
    }
    {
        // A chain the preparation refuses: wrong_format, its own text only as detail.
        RoadData d;
        d.PlaneElements = ChainOfKinds("LLL");
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::WrongFormat);
        EXPECT_EQ(o.Message, wrongFormat);
        EXPECT_EQ(o.Detail, "MainPile error 1 Data Type is wrong at 2");
        EXPECT_FALSE(o.RefillElements);
        EXPECT_FALSE(d.PlanePrepared);
    }
    {
        // A start box that is not a number where the first element needs it.
        RoadData d = SimpleElementRoad();
        d.PlaneElements[0].East = 0;
        EXPECT_EQ(d.Calculate({"", "", "east", "", ""}).Status, CalculationStatus::WrongFormat);
    }
    {
        // Start chainage or offset not a number: the conversion error, and nothing changed.
        for (const StartPointTexts& boxes :
             {StartPointTexts{"K1+200", "", "", "", ""}, StartPointTexts{"", "", "", "", "5 m"},
              StartPointTexts{" ", "", "", "", ""}}) {
            RoadData d = SimpleElementRoad();
            const CalculationOutcome o = d.Calculate(boxes);
            EXPECT_EQ(o.Status, CalculationStatus::StartNotNumber);
            ASSERT_TRUE(o.Message);
            EXPECT_FALSE(o.Message->IsKey);
            EXPECT_NE(o.Message->Text.find("is not a valid floating point value"),
                      std::string::npos);
            EXPECT_EQ(d.PlaneElements.size(), 5u);
            EXPECT_FALSE(d.PlanePrepared);
        }
    }
    {
        // The intersection-point method's own refusal.
        RoadData d;
        d.InputMode = InputModeIntersections;
        d.IntersectionPoints = {WindingRoad(1)[0], WindingRoad(1)[1]};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::IntersectionRefused);
        EXPECT_EQ(o.Message, (RoadMessage{false, ipmessages::TooFewPoints}));
    }
    {
        // A circle of radius 0 between given points passes the preparation; the engine refuses it.
        RoadData d;
        d.PlaneElements = {El('L', 0, 0, 10, "", 100, 100), El('A', 0, 0, 10, "R", 110, 100),
                           El('L', 0, 0, 10, "", 120, 100), El('L', 0, 0, 0, "", 130, 100)};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::PlaneRefused);
        EXPECT_EQ(o.Message, (RoadMessage{false, roadtexts::PlaneRefused}));
        EXPECT_TRUE(d.PlanePrepared);
    }
    {
        // A profile of one point.
        RoadData d = SimpleElementRoad();
        d.GradePoints = {Grade(0, 10, 0, 0, 0)};
        d.ProfileChanged = true;
        d.Stakes[0].MiddleN = 7;
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::ProfileRefused);
        EXPECT_EQ(o.Message, (RoadMessage{false, roadtexts::ProfileRefused}));
        EXPECT_TRUE(d.ProfileChanged);
        EXPECT_EQ(d.Stakes[0].MiddleN, 7); // no stake computed
    }
    {
        // A radius of 0 under spirals cannot be computed: wrong_format, lists as far as done.
        RoadData d;
        d.PlaneElements = {El('L', 0, 0, 10, "", 100, 100), El('S', 0, 0, 20), El('A', 0, 0, 30),
                           El('S', 0, 0, 20), El('L')};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::WrongFormat);
        EXPECT_FALSE(o.RefillElements);
        EXPECT_EQ(d.PlaneElements[1].Mileage, 10); // the chainages were done before the fault
    }
    {
        // The intersection points were converted but gave no elements: stop without a message.
        RoadData d;
        d.InputMode = InputModeIntersections;
        d.IntersectionPoints = WindingRoad(1);
        d.PlanePrepared = true;
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::NoElements);
        EXPECT_FALSE(o.Message);
    }
}

TEST(RoadCalculation, StakesOutsideTheAlignmentAreReportedOnce) {
    RoadData d = SimpleElementRoad();
    d.Stakes = StakesAt({-1, 10, 500, 20});
    d.Stakes[0].MiddleN = 7;
    const CalculationOutcome o = d.Calculate({"", "", "", "", "2"});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_FALSE(o.Refused());
    EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::OutLimit}));
    EXPECT_EQ(o.FailedStakes, 2u);
    EXPECT_EQ(d.Stakes[0].MiddleN, 7); // a failed stake keeps its values
    EXPECT_EQ(d.Stakes[2].MiddleN, 0);
    EXPECT_NEAR(d.Stakes[1].MiddleN, 3010, 1e-9);
    EXPECT_NEAR(d.Stakes[3].MiddleN, 3020, 1e-9);
    EXPECT_TRUE(o.RefillElements && o.RefillStakes && !o.RefillIntersections);
}

TEST(RoadCalculation, StartBoxesFillOnlyWhatTheFirstElementLacks) {
    RoadData d = SimpleElementRoad();
    d.PlaneElements[0].North = 0;
    d.PlaneElements[0].East = 0;
    d.Calculate({"", "4000", "600", "1.5707963267948966", ""});
    EXPECT_EQ(d.PlaneElements[0].North, 4000);
    EXPECT_EQ(d.PlaneElements[0].East, 600);
    EXPECT_EQ(d.PlaneElements[0].AzimuthAngle, HalfPi);
    EXPECT_NEAR(d.Stakes[1].MiddleE, 650, 1e-9); // heading East

    RoadData kept = SimpleElementRoad();
    kept.PlaneElements[0].AzimuthAngle = 0.5;
    kept.Calculate({"", "4000", "600", "1.2", ""});
    EXPECT_EQ(kept.PlaneElements[0].North, 3000);
    EXPECT_EQ(kept.PlaneElements[0].East, 500);
    EXPECT_EQ(kept.PlaneElements[0].AzimuthAngle, 0.5);
}

TEST(RoadCalculation, OffsetGivesTheSideStakes) {
    RoadData d = SimpleElementRoad();
    d.GradePoints = {Grade(0, 50, 0, 10, 0), Grade(400, 54, 10, 0, 0)};
    d.ProfileChanged = true;
    d.Calculate({"", "", "", "", ""});
    const Pile& centreOnly = d.Stakes[1];
    EXPECT_NEAR(centreOnly.MiddleZ, 50.5, 1e-9);
    EXPECT_EQ(centreOnly.LeftN, 0);
    EXPECT_EQ(centreOnly.LeftE, 0);
    EXPECT_EQ(centreOnly.LeftZ, 0);
    EXPECT_EQ(centreOnly.RightZ, 0);
    EXPECT_FALSE(d.ProfileChanged);

    d.Calculate({"", "", "", "", " 5 "});
    const Pile& sides = d.Stakes[1];
    EXPECT_NEAR(sides.LeftE, 495, 1e-9); // heading North: left is West
    EXPECT_NEAR(sides.RightE, 505, 1e-9);
    EXPECT_NEAR(sides.LeftZ, 50.5, 1e-9);
}

TEST(RoadCalculation, SpiralLengthBoundAtIntersectionPoints) {
    struct Case {
        double radius, spiral;
        bool accepted;
    } cases[] = {{10, 31.5, true}, {10, 31.6, false}, {-100, 0, false}, {300, 40, true}};
    for (const Case& c : cases) {
        for (const bool entry : {true, false}) {
            RoadData d;
            d.InputMode = InputModeIntersections;
            d.IntersectionPoints = WindingRoad(1);
            // A sharp corner, so that a small radius with long spirals still fits.
            d.IntersectionPoints[2].East = -2000;
            IntersectionPointInfo& p = d.IntersectionPoints[1];
            p.Radius = c.radius;
            p.ClothoidLength1 = entry ? c.spiral : 0;
            p.ClothoidLength2 = entry ? 0 : c.spiral;
            const CalculationOutcome o = d.Calculate({});
            EXPECT_EQ(o.Status,
                      c.accepted ? CalculationStatus::Done : CalculationStatus::WrongFormat)
                << c.radius << " " << c.spiral << " " << entry;
        }
    }
}

TEST(RoadCalculation, EmptyStakeListStillPreparesTheAlignment) {
    RoadData d;
    d.PlaneElements = ChainOfKinds("LAL");
    const CalculationOutcome o = d.Calculate({});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_FALSE(o.Message);
    EXPECT_TRUE(o.RefillElements);
    EXPECT_EQ(Kinds(d.PlaneElements), "LSASL");
    EXPECT_TRUE(d.PlanePrepared);
    EXPECT_TRUE(d.EngineReady);
}

TEST(RoadCalculation, SecondCalculationGivesTheSameStakes) {
    for (const int mode : {InputModeNone, InputModeElements, InputModeIntersections}) {
        RoadData d;
        d.InputMode = mode;
        if (mode == InputModeIntersections) {
            d.IntersectionPoints = WindingRoad(3);
            d.Stakes = StakesEvery(0, 2000, 97);
        } else {
            d.PlaneElements = ChainOfKinds("LSSALSASSASL");
            d.Stakes = StakesEvery(0, 105, 9.5);
        }
        ASSERT_EQ(d.Calculate({"", "", "", "", "3"}).Status, CalculationStatus::Done) << mode;
        const std::vector<Pile> first = d.Stakes;
        const std::vector<PlaneInfo> elements = d.PlaneElements;
        for (Pile& p : d.Stakes) {
            p = Pile{p.Mileage};
        }
        const CalculationOutcome again = d.Calculate({"", "", "", "", "3"});
        ASSERT_EQ(again.Status, CalculationStatus::Done) << mode;
        EXPECT_FALSE(again.Message) << mode;
        EXPECT_EQ(Kinds(d.PlaneElements), Kinds(elements)) << mode;
        ExpectSameStakes(d.Stakes, first, 0);
    }
}

// The intersection-point road, calculated, with its element chain written as a ".SEC" file.
struct IntersectionRoad {
    RoadData data;
    std::string secText;
};

IntersectionRoad CalculatedIntersectionRoad() {
    IntersectionRoad road;
    RoadData& d = road.data;
    d.InputMode = InputModeIntersections;
    d.IntersectionPoints = WindingRoad(4);
    d.GradePoints = {Grade(1000, 100, 0, 12, 0), Grade(2000, 112, 12, -8, 5000),
                     Grade(4000, 96, -8, 0, 0)};
    d.ProfileChanged = true;
    d.Stakes = StakesEvery(1000, 3600, 6.7);
    const CalculationOutcome o = d.Calculate({"1000", "", "", "", "4.5"});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_TRUE(o.RefillIntersections && o.RefillElements && o.RefillStakes);
    EXPECT_TRUE(d.PlanePrepared);
    road.secText = *ElementFileText(d.PlaneElements, KeyTitles());
    // Keep only the stakes on the alignment, so that both sides compute the same list.
    const double end = d.PlaneElements.back().Mileage - 1e-3;
    std::erase_if(d.Stakes, [end](const Pile& p) { return p.Mileage > end; });
    return road;
}

RoadData ElementRoadLike(const RoadData& from, std::vector<PlaneInfo> elements) {
    RoadData d;
    d.InputMode = InputModeElements;
    d.PlaneElements = std::move(elements);
    d.GradePoints = from.GradePoints;
    d.ProfileChanged = true;
    for (const Pile& p : from.Stakes) {
        d.Stakes.push_back(Pile{p.Mileage});
    }
    return d;
}

TEST(RoadCalculation, ElementChainOfIntersectionPointsGivesTheSameStakes) {
    const IntersectionRoad road = CalculatedIntersectionRoad();
    const ElementFileData loaded = ReadElementFile(road.secText);
    ASSERT_EQ(loaded.WrongFormat, 0);
    ASSERT_EQ(loaded.Elements.size(), road.data.PlaneElements.size());

    {
        // Every point given, as the file holds them.
        RoadData d = ElementRoadLike(road.data, loaded.Elements);
        const CalculationOutcome o = d.Calculate({"", "", "", "", "4.5"});
        ASSERT_EQ(o.Status, CalculationStatus::Done) << o.Detail;
        EXPECT_FALSE(o.Message);
        ExpectSameStakes(d.Stakes, road.data.Stakes, 1e-6);
        // The end element gets its chainage carried on.
        EXPECT_NEAR(d.PlaneElements.back().Mileage, road.data.PlaneElements.back().Mileage, 1e-6);
    }
    {
        // Only the start and the end given: every curve computes its own points.
        std::vector<PlaneInfo> elements = loaded.Elements;
        for (std::size_t k = 1; k + 1 < elements.size(); ++k) {
            elements[k].North = 0;
            elements[k].East = 0;
        }
        RoadData d = ElementRoadLike(road.data, elements);
        const CalculationOutcome o = d.Calculate({"", "", "", "", "4.5"});
        ASSERT_EQ(o.Status, CalculationStatus::Done) << o.Detail;
        EXPECT_FALSE(o.Message);
        ExpectSameStakes(d.Stakes, road.data.Stakes, 1e-6);
    }
}

TEST(RoadCalculation, LeftCurveTypedWithAPositiveRadiusStaysOnItsCurve) {
    // The direction column says left; the radius is typed as a plain 200 (or as -200). Stakes
    // must follow the curve the preparation computed: the closing point it wrote for the exit
    // straight is where the stake at that chainage lands.
    for (double typed : {200.0, -200.0}) {
        RoadData d;
        d.InputMode = InputModeElements;
        d.PlaneElements = {El('L', 0, 0, 100, "", 3000, 500), El('S', 0, typed, 40, "L"),
                           El('A', typed, typed, 60, "L"), El('S', typed, 0, 40, "L"),
                           El('L', 0, 0, 100)};
        d.Stakes = StakesAt({240, 300});
        const CalculationOutcome o = d.Calculate({"0", "", "", "0", "0"});
        ASSERT_EQ(o.Status, CalculationStatus::Done) << o.Detail;
        const PlaneInfo& exit = d.PlaneElements[4];
        EXPECT_NEAR(d.Stakes[0].MiddleN, exit.North, 1e-6) << typed;
        EXPECT_NEAR(d.Stakes[0].MiddleE, exit.East, 1e-6) << typed;
        // A left turn from due north ends up west of the start line.
        EXPECT_LT(d.Stakes[1].MiddleE, 500.0) << typed;
        // The table keeps the radius as it was typed.
        EXPECT_EQ(d.PlaneElements[2].StartRadius, typed);
    }
}

TEST(RoadCalculation, ReverseCurveKeepsItsStakesThroughASecFile) {
    // A right curve followed at once by a left curve; only the start is given.
    RoadData d;
    d.InputMode = InputModeElements;
    d.PlaneElements = {El('L', 0, 0, 100, "", 3000, 500), El('S', 0, 300, 40, "R"),
                       El('A', 300, 300, 80, "R"),        El('S', 300, 0, 40, "R"),
                       El('S', 0, -250, 30, "L"),         El('A', -250, -250, 60, "L"),
                       El('S', -250, 0, 30, "L"),         El('L', 0, 0, 100)};
    d.PlaneElements[0].AzimuthAngle = 0.2;
    d.Stakes = StakesEvery(0, 378, 3.3);
    ASSERT_EQ(d.Calculate({"", "", "", "", "6"}).Status, CalculationStatus::Done);
    EXPECT_EQ(Kinds(d.PlaneElements), "LSASLSASL");
    EXPECT_EQ(d.PlaneElements[4].Length, 0);
    testing::ExpectContinuous(d.PlaneElements, 1e-9);

    const ElementFileData loaded = ReadElementFile(*ElementFileText(d.PlaneElements, KeyTitles()));
    for (const PlaneInfo& e : loaded.Elements) {
        ASSERT_TRUE(IsGivenPoint(e));
    }
    RoadData again = ElementRoadLike(d, loaded.Elements);
    ASSERT_EQ(again.Calculate({"", "", "", "", "6"}).Status, CalculationStatus::Done);
    ExpectSameStakes(again.Stakes, d.Stakes, 1e-6);
}

TEST(RoadCalculation, RemovedProfileNoLongerGivesElevations) {
    RoadData d = SimpleElementRoad();
    d.GradePoints = {Grade(0, 50, 0, 10, 0), Grade(400, 54, 10, 0, 0)};
    d.ProfileChanged = true;
    d.Calculate({});
    EXPECT_NEAR(d.Stakes[1].MiddleZ, 50.5, 1e-9);
    d.GradePoints.clear();
    d.ProfileChanged = true;
    ASSERT_EQ(d.Calculate({}).Status, CalculationStatus::Done);
    EXPECT_EQ(d.Stakes[1].MiddleZ, 0);
    EXPECT_FALSE(d.ProfileChanged);
}

} // namespace
} // namespace telvane::road
