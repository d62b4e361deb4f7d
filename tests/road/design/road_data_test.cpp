#include "design_fixtures.h"
#include "tempdir.h"

#include "road/design/road_design.h"

#include <gtest/gtest.h>

#include <functional>

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
    EditRoadState(d).InputMode = RoadList::Elements;
    EditRoadState(d).PlaneElements = {El('L', 0, 0, 100, "", 3000, 500), El('S', 0, 200, 40, "R"),
                                      El('A', 200, 200, 60, "R"), El('S', 200, 0, 40, "R"),
                                      El('L', 0, 0, 100)};
    EditRoadState(d).Stakes = StakesAt({0, 50, 120, 200, 239});
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
        EditRoadState(d).InputMode = RoadList::Intersections;
        EXPECT_EQ(d.Calculate({}).Message, dataEmpty);
    }
    {
        // A chain the preparation refuses: wrong_format, its own text only as detail.
        RoadData d;
        EditRoadState(d).PlaneElements = ChainOfKinds("LLL");
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::WrongFormat);
        // Named by the row the table shows it in.
        EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::ElementOrder, {"3"}}));
        EXPECT_EQ(o.Detail, "MainPile error 1 Data Type is wrong at 2");
        EXPECT_TRUE(o.RefillElements);
        EXPECT_FALSE(EditRoadState(d).PlanePrepared);
    }
    {
        // A start box that is not a number where the first element needs it.
        RoadData d = SimpleElementRoad();
        EditRoadState(d).PlaneElements[0].East = 0;
        EXPECT_EQ(d.Calculate({"", "", "east", "", ""}).Status, CalculationStatus::WrongFormat);
    }
    {
        // Start chainage or offset not a number: the conversion error, and nothing changed.
        for (const StartPoint& boxes :
             {StartPoint{"K1+200", "", "", "", ""}, StartPoint{"", "", "", "", "5 m"},
              StartPoint{" ", "", "", "", ""}}) {
            RoadData d = SimpleElementRoad();
            const CalculationOutcome o = d.Calculate(boxes);
            EXPECT_EQ(o.Status, CalculationStatus::StartNotNumber);
            ASSERT_TRUE(o.Message);
            EXPECT_FALSE(o.Message->IsKey);
            EXPECT_NE(o.Message->Text.find("is not a valid floating point value"),
                      std::string::npos);
            EXPECT_EQ(EditRoadState(d).PlaneElements.size(), 5u);
            EXPECT_FALSE(EditRoadState(d).PlanePrepared);
        }
    }
    {
        // The intersection-point method's own refusal.
        RoadData d;
        EditRoadState(d).InputMode = RoadList::Intersections;
        EditRoadState(d).IntersectionPoints = {WindingRoad(1)[0], WindingRoad(1)[1]};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::IntersectionRefused);
        EXPECT_EQ(o.Message, (RoadMessage{true, "ip_too_few_points"}));
    }
    {
        // A circle of radius 0 between given points passes the preparation; the engine refuses it.
        RoadData d;
        EditRoadState(d).PlaneElements = {
            El('L', 0, 0, 10, "", 100, 100), El('A', 0, 0, 10, "R", 110, 100),
            El('L', 0, 0, 10, "", 120, 100), El('L', 0, 0, 0, "", 130, 100)};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::PlaneRefused);
        EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::ElementRadiusZero, {"3"}}));
        EXPECT_TRUE(EditRoadState(d).PlanePrepared);
    }
    {
        // A profile of one point.
        RoadData d = SimpleElementRoad();
        EditRoadState(d).GradePoints = {Grade(0, 10, 0, 0, 0)};
        EditRoadState(d).ProfileChanged = true;
        EditRoadState(d).Stakes[0].MiddleN = 7;
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::ProfileRefused);
        EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::ProfileTooFew}));
        EXPECT_TRUE(EditRoadState(d).ProfileChanged);
        // No stake computed, and none keeps a result of an earlier road.
        EXPECT_EQ(EditRoadState(d).Stakes[0].MiddleN, 0);
        EXPECT_FALSE(EditRoadState(d).Stakes[0].HasCentre);
    }
    {
        // A radius of 0 under spirals cannot be computed: wrong_format, lists as far as done.
        RoadData d;
        EditRoadState(d).PlaneElements = {El('L', 0, 0, 10, "", 100, 100), El('S', 0, 0, 20),
                                          El('A', 0, 0, 30), El('S', 0, 0, 20), El('L')};
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::WrongFormat);
        EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::ElementRadiusZero, {"3"}}));
        EXPECT_TRUE(o.RefillElements);
        EXPECT_EQ(EditRoadState(d).PlaneElements[1].Mileage,
                  10); // the chainages were done before the fault
    }
    {
        // The intersection points were converted but gave no elements: stop without a message.
        RoadData d;
        EditRoadState(d).InputMode = RoadList::Intersections;
        EditRoadState(d).IntersectionPoints = WindingRoad(1);
        EditRoadState(d).PlanePrepared = true;
        const CalculationOutcome o = d.Calculate({});
        EXPECT_EQ(o.Status, CalculationStatus::NoElements);
        EXPECT_FALSE(o.Message);
    }
}

TEST(RoadCalculation, StakesOutsideTheAlignmentAreNamedAndLeftEmpty) {
    RoadData d = SimpleElementRoad();
    EditRoadState(d).Stakes = StakesAt({-1, 10, 500, 20});
    EditRoadState(d).Stakes[0].MiddleN = 7;
    EditRoadState(d).Stakes[0].HasCentre = true;
    const CalculationOutcome o = d.Calculate({"", "", "", "", "2"});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_FALSE(o.Refused());
    // How many, and the first of them.
    EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::StakesOutOfRange, {"2", "-1"}}));
    EXPECT_EQ(o.FailedStakes, 2u);
    EXPECT_NEAR(EditRoadState(d).Stakes[1].MiddleN, 3010, 1e-9);
    EXPECT_NEAR(EditRoadState(d).Stakes[3].MiddleN, 3020, 1e-9);
    EXPECT_TRUE(o.RefillElements && o.RefillStakes && !o.RefillIntersections);
    // A stake outside the road keeps nothing of an earlier result and is never 0,0 in the
    // table or the file; a stake without an offset has no side points there either.
    const std::vector<std::string> none{"-1", "", "", "", "", "", "", "", "", ""};
    EXPECT_FALSE(EditRoadState(d).Stakes[0].HasCentre);
    EXPECT_EQ(StakeRow(EditRoadState(d).Stakes[0]), none);
    EXPECT_EQ(StakeRow(EditRoadState(d).Stakes[2])[1], "");
    EXPECT_EQ(StakeRow(EditRoadState(d).Stakes[1])[4],
              FormatCell(EditRoadState(d).Stakes[1].LeftN));
    const std::string file = *d.FileText(RoadList::Stakes, KeyTitles());
    EXPECT_NE(file.find("\r\n-1,,,,,,,,,\r\n"), std::string::npos) << file;
    d.Calculate({"", "", "", "", ""});
    const TableRow centreOnly = StakeRow(EditRoadState(d).Stakes[1]);
    EXPECT_EQ(centreOnly[1], "3010");
    EXPECT_EQ(std::vector<std::string>(centreOnly.begin() + 4, centreOnly.end()),
              std::vector<std::string>(6, ""));
}

TEST(RoadCalculation, AClosingStraightWithALengthIsPartOfTheRoad) {
    // The closing straight of 100 m starts at 240: the road now ends at 340.
    RoadData d = SimpleElementRoad();
    EditRoadState(d).Stakes = StakesAt({240, 300, 340, 341});
    const CalculationOutcome o = d.Calculate({"", "", "", "", ""});
    EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::StakesOutOfRange, {"1", "341"}}));
    const std::vector<PlaneInfo>& chain = EditRoadState(d).PlaneElements;
    ASSERT_EQ(Kinds(chain), "LSASLL");
    EXPECT_EQ(chain.back().Length, 0);
    EXPECT_NEAR(chain.back().Mileage, 340, 1e-9);
    const std::vector<Pile>& stakes = EditRoadState(d).Stakes;
    ASSERT_TRUE(stakes[1].HasCentre && stakes[2].HasCentre);
    // Along the closing straight's azimuth, 60 and 100 m from its start.
    const PlaneInfo& closing = chain[chain.size() - 2];
    for (const auto& [k, along] : {std::pair{1, 60.0}, std::pair{2, 100.0}}) {
        EXPECT_NEAR(stakes[k].MiddleN, closing.North + along * std::cos(closing.AzimuthAngle),
                    1e-6);
        EXPECT_NEAR(stakes[k].MiddleE, closing.East + along * std::sin(closing.AzimuthAngle), 1e-6);
    }
    // Calculated again (also after an edit), the chain stays as it is.
    EXPECT_EQ(d.Calculate({"", "", "", "", ""}).Message, o.Message);
    d.UpdateStake(0, stakes[0]);
    EXPECT_EQ(Kinds(EditRoadState(d).PlaneElements), "LSASLL");

    // A chain that ends with an element of length 0, as a saved one does, gets no marker and
    // gives the stakes it always gave.
    RoadData saved = SimpleElementRoad();
    EditRoadState(saved).PlaneElements[4].Length = 0;
    EditRoadState(saved).Stakes = StakesAt({100, 200, 240, 241});
    const CalculationOutcome kept = saved.Calculate({"", "", "", "", ""});
    EXPECT_EQ(Kinds(EditRoadState(saved).PlaneElements), "LSASL");
    EXPECT_EQ(kept.FailedStakes, 1u);
    EXPECT_TRUE(EditRoadState(saved).Stakes[2].HasCentre);
}

TEST(RoadCalculation, ARefusedCalculationClearsTheResultsItWouldHaveReplaced) {
    for (const auto& [name, mode] : {std::pair{"elements", RoadList::Elements},
                                     std::pair{"intersection points", RoadList::Intersections}}) {
        RoadData d;
        EditRoadState(d).InputMode = mode;
        if (mode == RoadList::Intersections) {
            EditRoadState(d).IntersectionPoints = WindingRoad(3);
            EditRoadState(d).Stakes = StakesEvery(0, 2000, 97);
        } else {
            EditRoadState(d).PlaneElements = ChainOfKinds("LSASL");
            EditRoadState(d).Stakes = StakesEvery(0, 105, 9.5);
        }
        ASSERT_EQ(d.Calculate({"", "", "", "", "3"}).Status, CalculationStatus::Done) << name;
        ASSERT_TRUE(EditRoadState(d).Stakes[1].HasCentre);
        // The profile is refused now: no result of the last road stays on show or savable.
        EditRoadState(d).GradePoints = {Grade(100, 10, 0, 0, 0), Grade(50, 10, 0, 0, 0)};
        EditRoadState(d).ProfileChanged = true;
        const CalculationOutcome o = d.Calculate({"", "", "", "", "3"});
        EXPECT_EQ(o.Status, CalculationStatus::ProfileRefused);
        EXPECT_EQ(o.Message, (RoadMessage{true, roadkeys::GradeOrder, {"2", "50"}}));
        EXPECT_TRUE(o.RefillStakes && o.RefillElements);
        EXPECT_FALSE(d.EngineReady());
        for (const Pile& p : EditRoadState(d).Stakes) {
            EXPECT_FALSE(p.HasCentre);
            EXPECT_EQ(p.MiddleN, 0);
        }
        // Elements and curve values computed from intersection points go; typed elements stay.
        EXPECT_EQ(EditRoadState(d).PlaneElements.empty(), mode == RoadList::Intersections);
        for (const IntersectionPointInfo& p : EditRoadState(d).IntersectionPoints) {
            EXPECT_EQ(p.ZH, 0);
            EXPECT_EQ(p.TangentLength1, 0);
            EXPECT_TRUE(p.Direction.empty());
        }
        EXPECT_EQ(o.RefillIntersections, mode == RoadList::Intersections);
        // Fixed, the next calculation gives the road again.
        EditRoadState(d).GradePoints.clear();
        EXPECT_EQ(d.Calculate({"", "", "", "", "3"}).Status, CalculationStatus::Done) << name;
        EXPECT_TRUE(EditRoadState(d).Stakes[1].HasCentre);
    }
}

TEST(RoadCalculation, AStartBoxChangedAfterACalculationIsTakenByTheNext) {
    RoadData d = SimpleElementRoad();
    EditRoadState(d).PlaneElements[0].North = 0;
    EditRoadState(d).PlaneElements[0].East = 0;
    EditRoadState(d).Stakes = StakesAt({50, 200});
    d.Calculate({"", "4000", "600", "0", ""});
    EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleN, 4050, 1e-9); // heading North
    // The azimuth typed afterwards turns the whole road, curve included.
    d.Calculate({"", "4000", "600", "1.5707963267948966", ""});
    EXPECT_EQ(EditRoadState(d).PlaneElements[0].AzimuthAngle, HalfPi);
    EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleE, 650, 1e-9); // heading East
    EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleN, 4000, 1e-9);
    RoadData east = SimpleElementRoad();
    EditRoadState(east).PlaneElements[0].North = 0;
    EditRoadState(east).PlaneElements[0].East = 0;
    EditRoadState(east).Stakes = StakesAt({50, 200});
    east.Calculate({"", "4000", "600", "1.5707963267948966", ""});
    ExpectSameStakes(EditRoadState(d).Stakes, EditRoadState(east).Stakes, 1e-9);
    EXPECT_EQ(Kinds(EditRoadState(d).PlaneElements), Kinds(EditRoadState(east).PlaneElements));
    // A new start point as well.
    d.Calculate({"", "5000", "600", "1.5707963267948966", ""});
    EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleN, 5000, 1e-9);
}

TEST(RoadMessages, TwoIntersectionPointsOnOneSpotAreNamed) {
    RoadData d;
    EditRoadState(d).InputMode = RoadList::Intersections;
    EditRoadState(d).IntersectionPoints = WindingRoad(3);
    EditRoadState(d).IntersectionPoints[2].North = EditRoadState(d).IntersectionPoints[1].North;
    EditRoadState(d).IntersectionPoints[2].East = EditRoadState(d).IntersectionPoints[1].East;
    const CalculationOutcome o = d.Calculate({});
    EXPECT_EQ(o.Status, CalculationStatus::IntersectionRefused);
    EXPECT_EQ(o.Message, (RoadMessage{true,
                                      roadkeys::PointsCoincide,
                                      {EditRoadState(d).IntersectionPoints[1].Name,
                                       EditRoadState(d).IntersectionPoints[2].Name}}));
}

TEST(RoadMessages, TextsOfTheMethodBecomeKeysWithWhatTheyName) {
    EXPECT_EQ(MessageOfText(roadtexts::TooFewElements),
              (RoadMessage{true, roadkeys::TooFewElements}));
    EXPECT_EQ(MessageOfText("MainPile error 4 Data Type is wrong at 7"),
              (RoadMessage{true, roadkeys::ElementOrder, {"8"}}));
    EXPECT_EQ(MessageOfText("other"), (RoadMessage{false, "other"}));
    EXPECT_EQ(FillMessage("%s->%s at %s", {"A", "B"}), "A->B at %s");
    // Saves say what they did with the file, in a sentence.
    EXPECT_EQ(SaveMessage(SaveStatus::Saved, "r.PHI", ""),
              (RoadMessage{true, roadkeys::Saved, {"r.PHI"}}));
    EXPECT_EQ(SaveMessage(SaveStatus::Failed, "r.PHI", "/d/r.PHI.tmp1: Permission denied"),
              (RoadMessage{true, roadkeys::SaveFailed, {"r.PHI", "Permission denied"}}));
    EXPECT_FALSE(SaveMessage(SaveStatus::NothingToSave, "r.PHI", ""));
}

TEST(RoadCalculation, StartBoxesFillOnlyWhatTheFirstElementLacks) {
    RoadData d = SimpleElementRoad();
    EditRoadState(d).PlaneElements[0].North = 0;
    EditRoadState(d).PlaneElements[0].East = 0;
    d.Calculate({"", "4000", "600", "1.5707963267948966", ""});
    EXPECT_EQ(EditRoadState(d).PlaneElements[0].North, 4000);
    EXPECT_EQ(EditRoadState(d).PlaneElements[0].East, 600);
    EXPECT_EQ(EditRoadState(d).PlaneElements[0].AzimuthAngle, HalfPi);
    EXPECT_NEAR(EditRoadState(d).Stakes[1].MiddleE, 650, 1e-9); // heading East

    RoadData kept = SimpleElementRoad();
    EditRoadState(kept).PlaneElements[0].AzimuthAngle = 0.5;
    kept.Calculate({"", "4000", "600", "1.2", ""});
    EXPECT_EQ(EditRoadState(kept).PlaneElements[0].North, 3000);
    EXPECT_EQ(EditRoadState(kept).PlaneElements[0].East, 500);
    EXPECT_EQ(EditRoadState(kept).PlaneElements[0].AzimuthAngle, 0.5);
}

TEST(RoadCalculation, OffsetGivesTheSideStakes) {
    RoadData d = SimpleElementRoad();
    EditRoadState(d).GradePoints = {Grade(0, 50, 0, 10, 0), Grade(400, 54, 10, 0, 0)};
    EditRoadState(d).ProfileChanged = true;
    d.Calculate({"", "", "", "", ""});
    const Pile& centreOnly = EditRoadState(d).Stakes[1];
    EXPECT_NEAR(centreOnly.MiddleZ, 50.5, 1e-9);
    EXPECT_EQ(centreOnly.LeftN, 0);
    EXPECT_EQ(centreOnly.LeftE, 0);
    EXPECT_EQ(centreOnly.LeftZ, 0);
    EXPECT_EQ(centreOnly.RightZ, 0);
    EXPECT_FALSE(EditRoadState(d).ProfileChanged);

    d.Calculate({"", "", "", "", " 5 "});
    const Pile& sides = EditRoadState(d).Stakes[1];
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
            EditRoadState(d).InputMode = RoadList::Intersections;
            EditRoadState(d).IntersectionPoints = WindingRoad(1);
            // A sharp corner, so that a small radius with long spirals still fits.
            EditRoadState(d).IntersectionPoints[2].East = -2000;
            IntersectionPointInfo& p = EditRoadState(d).IntersectionPoints[1];
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
    EditRoadState(d).PlaneElements = ChainOfKinds("LAL");
    const CalculationOutcome o = d.Calculate({});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_FALSE(o.Message);
    EXPECT_TRUE(o.RefillElements);
    EXPECT_EQ(Kinds(EditRoadState(d).PlaneElements), "LSASL");
    EXPECT_TRUE(EditRoadState(d).PlanePrepared);
    EXPECT_TRUE(EditRoadState(d).EngineReady);
}

TEST(RoadCalculation, SecondCalculationGivesTheSameStakes) {
    for (const auto& [name, mode] :
         {std::pair<const char*, std::optional<RoadList>>{"none yet", std::nullopt},
          std::pair<const char*, std::optional<RoadList>>{"elements", RoadList::Elements},
          std::pair<const char*, std::optional<RoadList>>{"intersection points",
                                                          RoadList::Intersections}}) {
        RoadData d;
        EditRoadState(d).InputMode = mode;
        if (mode == RoadList::Intersections) {
            EditRoadState(d).IntersectionPoints = WindingRoad(3);
            EditRoadState(d).Stakes = StakesEvery(0, 2000, 97);
        } else {
            EditRoadState(d).PlaneElements = ChainOfKinds("LSSALSASSASL");
            EditRoadState(d).Stakes = StakesEvery(0, 105, 9.5);
        }
        ASSERT_EQ(d.Calculate({"", "", "", "", "3"}).Status, CalculationStatus::Done) << name;
        const std::vector<Pile> first = EditRoadState(d).Stakes;
        const std::vector<PlaneInfo> elements = EditRoadState(d).PlaneElements;
        for (Pile& p : EditRoadState(d).Stakes) {
            p = Pile{p.Mileage};
        }
        const CalculationOutcome again = d.Calculate({"", "", "", "", "3"});
        ASSERT_EQ(again.Status, CalculationStatus::Done) << name;
        EXPECT_FALSE(again.Message) << name;
        EXPECT_EQ(Kinds(EditRoadState(d).PlaneElements), Kinds(elements)) << name;
        ExpectSameStakes(EditRoadState(d).Stakes, first, 0);
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
    EditRoadState(d).InputMode = RoadList::Intersections;
    EditRoadState(d).IntersectionPoints = WindingRoad(4);
    EditRoadState(d).GradePoints = {Grade(1000, 100, 0, 12, 0), Grade(2000, 112, 12, -8, 5000),
                                    Grade(4000, 96, -8, 0, 0)};
    EditRoadState(d).ProfileChanged = true;
    EditRoadState(d).Stakes = StakesEvery(1000, 3600, 6.7);
    const CalculationOutcome o = d.Calculate({"1000", "", "", "", "4.5"});
    EXPECT_EQ(o.Status, CalculationStatus::Done);
    EXPECT_TRUE(o.RefillIntersections && o.RefillElements && o.RefillStakes);
    EXPECT_TRUE(EditRoadState(d).PlanePrepared);
    road.secText = *ElementFileText(EditRoadState(d).PlaneElements, KeyTitles());
    // Keep only the stakes on the alignment, so that both sides compute the same list.
    const double end = EditRoadState(d).PlaneElements.back().Mileage - 1e-3;
    std::erase_if(EditRoadState(d).Stakes, [end](const Pile& p) { return p.Mileage > end; });
    return road;
}

RoadData ElementRoadLike(const RoadData& from, std::vector<PlaneInfo> elements) {
    RoadData d;
    EditRoadState(d).InputMode = RoadList::Elements;
    EditRoadState(d).PlaneElements = std::move(elements);
    EditRoadState(d).GradePoints = EditRoadState(from).GradePoints;
    EditRoadState(d).ProfileChanged = true;
    for (const Pile& p : EditRoadState(from).Stakes) {
        EditRoadState(d).Stakes.push_back(Pile{p.Mileage});
    }
    return d;
}

TEST(RoadCalculation, ElementChainOfIntersectionPointsGivesTheSameStakes) {
    const IntersectionRoad road = CalculatedIntersectionRoad();
    const ElementFileData loaded = ReadElementFile(road.secText);
    ASSERT_EQ(loaded.WrongFormat, 0);
    ASSERT_EQ(loaded.Elements.size(), EditRoadState(road.data).PlaneElements.size());

    {
        // Every point given, as the file holds them.
        RoadData d = ElementRoadLike(road.data, loaded.Elements);
        const CalculationOutcome o = d.Calculate({"", "", "", "", "4.5"});
        ASSERT_EQ(o.Status, CalculationStatus::Done) << o.Detail;
        EXPECT_FALSE(o.Message);
        ExpectSameStakes(EditRoadState(d).Stakes, EditRoadState(road.data).Stakes, 1e-6);
        // The end element gets its chainage carried on.
        EXPECT_NEAR(EditRoadState(d).PlaneElements.back().Mileage,
                    EditRoadState(road.data).PlaneElements.back().Mileage, 1e-6);
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
        ExpectSameStakes(EditRoadState(d).Stakes, EditRoadState(road.data).Stakes, 1e-6);
    }
}

TEST(RoadCalculation, LeftCurveTypedWithAPositiveRadiusStaysOnItsCurve) {
    // The direction column says left; the radius is typed as a plain 200 (or as -200). Stakes
    // must follow the curve the preparation computed: the closing point it wrote for the exit
    // straight is where the stake at that chainage lands.
    for (double typed : {200.0, -200.0}) {
        RoadData d;
        EditRoadState(d).InputMode = RoadList::Elements;
        EditRoadState(d).PlaneElements = {
            El('L', 0, 0, 100, "", 3000, 500), El('S', 0, typed, 40, "L"),
            El('A', typed, typed, 60, "L"), El('S', typed, 0, 40, "L"), El('L', 0, 0, 100)};
        EditRoadState(d).Stakes = StakesAt({240, 300});
        const CalculationOutcome o = d.Calculate({"0", "", "", "0", "0"});
        ASSERT_EQ(o.Status, CalculationStatus::Done) << o.Detail;
        const PlaneInfo& exit = EditRoadState(d).PlaneElements[4];
        EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleN, exit.North, 1e-6) << typed;
        EXPECT_NEAR(EditRoadState(d).Stakes[0].MiddleE, exit.East, 1e-6) << typed;
        // A left turn from due north ends up west of the start line.
        EXPECT_LT(EditRoadState(d).Stakes[1].MiddleE, 500.0) << typed;
        // The table keeps the radius as it was typed.
        EXPECT_EQ(EditRoadState(d).PlaneElements[2].StartRadius, typed);
    }
}

TEST(RoadCalculation, ReverseCurveKeepsItsStakesThroughASecFile) {
    // A right curve followed at once by a left curve; only the start is given.
    RoadData d;
    EditRoadState(d).InputMode = RoadList::Elements;
    EditRoadState(d).PlaneElements = {
        El('L', 0, 0, 100, "", 3000, 500), El('S', 0, 300, 40, "R"),  El('A', 300, 300, 80, "R"),
        El('S', 300, 0, 40, "R"),          El('S', 0, -250, 30, "L"), El('A', -250, -250, 60, "L"),
        El('S', -250, 0, 30, "L"),         El('L', 0, 0, 100)};
    EditRoadState(d).PlaneElements[0].AzimuthAngle = 0.2;
    EditRoadState(d).Stakes = StakesEvery(0, 378, 3.3);
    ASSERT_EQ(d.Calculate({"", "", "", "", "6"}).Status, CalculationStatus::Done);
    EXPECT_EQ(Kinds(EditRoadState(d).PlaneElements), "LSASLSASLL"); // the end marker
    EXPECT_EQ(EditRoadState(d).PlaneElements[4].Length, 0);
    testing::ExpectContinuous(EditRoadState(d).PlaneElements, 1e-9);

    const ElementFileData loaded =
        ReadElementFile(*ElementFileText(EditRoadState(d).PlaneElements, KeyTitles()));
    for (const PlaneInfo& e : loaded.Elements) {
        ASSERT_TRUE(IsGivenPoint(e));
    }
    RoadData again = ElementRoadLike(d, loaded.Elements);
    ASSERT_EQ(again.Calculate({"", "", "", "", "6"}).Status, CalculationStatus::Done);
    ExpectSameStakes(EditRoadState(again).Stakes, EditRoadState(d).Stakes, 1e-6);
}

TEST(RoadCalculation, RemovedProfileNoLongerGivesElevations) {
    RoadData d = SimpleElementRoad();
    EditRoadState(d).GradePoints = {Grade(0, 50, 0, 10, 0), Grade(400, 54, 10, 0, 0)};
    EditRoadState(d).ProfileChanged = true;
    d.Calculate({});
    EXPECT_NEAR(EditRoadState(d).Stakes[1].MiddleZ, 50.5, 1e-9);
    EditRoadState(d).GradePoints.clear();
    EditRoadState(d).ProfileChanged = true;
    ASSERT_EQ(d.Calculate({}).Status, CalculationStatus::Done);
    EXPECT_EQ(EditRoadState(d).Stakes[1].MiddleZ, 0);
    EXPECT_FALSE(EditRoadState(d).ProfileChanged);
}

} // namespace
} // namespace telvane::road

namespace telvane::road {
namespace {

IntersectionPointInfo Point(const char* name, double north) {
    IntersectionPointInfo p{};
    p.Name = name;
    p.North = north;
    return p;
}

PlaneInfo Element(double length) {
    PlaneInfo e{};
    e.LineType = LineTypeLine;
    e.Length = length;
    return e;
}

} // namespace

// Every row of the input-mode table, reached through the editing operations.
TEST(RoadEditing, InputModeFollowsWhatWasEntered) {
    struct Step {
        const char* what;
        std::optional<RoadList> mode_before;
        RoadList page;
        bool asks;
        RoadList mode_after;
    };
    const Step steps[] = {
        {"point on a new road", std::nullopt, RoadList::Intersections, false,
         RoadList::Intersections},
        {"element on a new road", std::nullopt, RoadList::Elements, false, RoadList::Elements},
        {"point after points", RoadList::Intersections, RoadList::Intersections, false,
         RoadList::Intersections},
        {"element after elements", RoadList::Elements, RoadList::Elements, false,
         RoadList::Elements},
        {"point after elements", RoadList::Elements, RoadList::Intersections, true,
         RoadList::Intersections},
        {"element after points", RoadList::Intersections, RoadList::Elements, true,
         RoadList::Elements},
    };
    for (const Step& s : steps) {
        RoadData d;
        if (s.mode_before == RoadList::Intersections)
            d.InsertPoint(0, Point("JD0", 0));
        if (s.mode_before == RoadList::Elements)
            d.InsertElement(0, Element(5));
        ASSERT_EQ(d.InputMode(), s.mode_before) << s.what;
        EXPECT_EQ(d.LoadQuestion(s.page).has_value(), s.asks) << s.what;
        if (s.asks)
            d.SwitchAlignment(s.page);
        if (s.page == RoadList::Intersections)
            d.InsertPoint(d.Count(s.page), Point("JD1", 1));
        else
            d.InsertElement(d.Count(s.page), Element(10));
        EXPECT_EQ(d.InputMode(), s.mode_after) << s.what;
        // Confirming empties the other list; the new record is the only one when it asked.
        EXPECT_EQ(d.Count(s.page), s.asks || s.mode_before == std::nullopt ? 1u : 2u) << s.what;
        EXPECT_EQ(d.Count(s.page == RoadList::Intersections ? RoadList::Elements
                                                            : RoadList::Intersections),
                  0u)
            << s.what;
        EXPECT_FALSE(d.PlanePrepared()) << s.what;
    }
    // An update gives its list's mode without a question; the other list stays.
    RoadData d;
    d.InsertElement(0, Element(5));
    EditRoadState(d).IntersectionPoints = {Point("JD0", 0)};
    ASSERT_TRUE(d.UpdatePoint(0, Point("JD9", 9)));
    EXPECT_EQ(d.InputMode(), RoadList::Intersections);
    EXPECT_EQ(d.PlaneElements().size(), 1u);
    ASSERT_TRUE(d.UpdateElement(0, Element(7)));
    EXPECT_EQ(d.InputMode(), RoadList::Elements);
    EXPECT_FALSE(d.UpdateElement(1, Element(7)));
    // Clear: every list, the mode and the flags.
    d.InsertGradePoint(0, LongSlopesInfo{});
    d.InsertStake(0, Pile{});
    d.ClearAll();
    EXPECT_EQ(d.InputMode(), std::nullopt);
    for (RoadList p :
         {RoadList::Intersections, RoadList::Elements, RoadList::Profile, RoadList::Stakes})
        EXPECT_EQ(d.Count(p), 0u);
    EXPECT_FALSE(d.ProfileChanged());
    EXPECT_FALSE(d.EngineReady());
}

TEST(RoadEditing, EveryChangeResetsWhatItInvalidates) {
    struct Case {
        const char* what;
        std::function<void(RoadData&)> change;
        bool plane_prepared; // after the change, starting from prepared and unchanged
        bool profile_changed;
    };
    const Case cases[] = {
        {"insert point", [](RoadData& d) { d.InsertPoint(0, Point("X", 0)); }, false, false},
        {"update point", [](RoadData& d) { d.UpdatePoint(0, Point("X", 1)); }, false, false},
        {"delete point", [](RoadData& d) { d.Remove(RoadList::Intersections, 0); }, false, false},
        {"insert element", [](RoadData& d) { d.InsertElement(0, Element(3)); }, false, false},
        {"delete element", [](RoadData& d) { d.Remove(RoadList::Elements, 0); }, false, false},
        {"insert grade", [](RoadData& d) { d.InsertGradePoint(0, LongSlopesInfo{}); }, true, true},
        {"update grade", [](RoadData& d) { d.UpdateGradePoint(0, LongSlopesInfo{}); }, true, true},
        {"delete the only grade", [](RoadData& d) { d.Remove(RoadList::Profile, 0); }, true, true},
        {"insert stake", [](RoadData& d) { d.InsertStake(0, Pile{}); }, true, false},
        {"delete stake", [](RoadData& d) { d.Remove(RoadList::Stakes, 0); }, true, false},
        {"nothing to delete", [](RoadData& d) { d.Remove(RoadList::Stakes, 5); }, true, false},
    };
    for (const Case& c : cases) {
        RoadData d;
        RoadState& s = EditRoadState(d);
        s.IntersectionPoints = {Point("A", 0)};
        s.PlaneElements = {Element(1)};
        s.GradePoints = {LongSlopesInfo{}};
        s.Stakes = {Pile{}};
        s.PlanePrepared = true;
        s.ProfileChanged = false;
        c.change(d);
        EXPECT_EQ(d.PlanePrepared(), c.plane_prepared) << c.what;
        EXPECT_EQ(d.ProfileChanged(), c.profile_changed) << c.what;
    }
}

TEST(RoadEditing, InsertAtTheSelectedRowAndUpdateOneElement) {
    RoadData d;
    for (double length : {1.0, 2.0, 3.0, 4.0, 5.0})
        d.InsertElement(d.Count(RoadList::Elements), Element(length));
    // Row 2 selected: the new element becomes index 1, the old one moves to 2.
    d.InsertElement(1, Element(99));
    ASSERT_EQ(d.PlaneElements().size(), 6u);
    EXPECT_EQ(d.PlaneElements()[1].Length, 99);
    EXPECT_EQ(d.PlaneElements()[2].Length, 2);
    d.Remove(RoadList::Elements, 1);
    // Element 3 of 5 (index 2) changes, and only it.
    PlaneInfo arc = Element(30);
    arc.LineType = LineTypeCircle;
    arc.StartRadius = arc.EndRadius = 200;
    ASSERT_TRUE(d.UpdateElement(2, arc));
    for (std::size_t k = 0; k < 5; ++k)
        EXPECT_EQ(d.PlaneElements()[k].Length, k == 2 ? 30 : static_cast<double>(k + 1));
    EXPECT_EQ(d.PlaneElements()[2].LineType, LineTypeCircle);
    // An empty list takes an insert at its first place.
    d.InsertStake(0, Pile{7});
    d.InsertStake(0, Pile{3});
    EXPECT_EQ(d.Stakes()[0].Mileage, 3);
    // A stake's new chainage has no results yet.
    Pile moved{9, 1, 2, 3};
    ASSERT_TRUE(d.UpdateStake(1, moved));
    EXPECT_EQ(d.Stakes()[1].Mileage, 9);
    EXPECT_EQ(d.Stakes()[1].MiddleE, 0);
}

} // namespace telvane::road

namespace telvane::road {

// Operations on records that are not there, the pages' counts, and a stake asked for before the
// engine took a road.
TEST(RoadEditing, OperationsOnMissingRecordsChangeNothing) {
    RoadData d;
    EXPECT_FALSE(d.UpdatePoint(0, IntersectionPointInfo{}));
    EXPECT_FALSE(d.UpdateGradePoint(0, LongSlopesInfo{}));
    EXPECT_FALSE(d.UpdateStake(0, Pile{}));
    for (RoadList p :
         {RoadList::Intersections, RoadList::Elements, RoadList::Profile, RoadList::Stakes})
        EXPECT_FALSE(d.Remove(p, 0));
    EXPECT_EQ(d.InputMode(), std::nullopt);
    EXPECT_FALSE(d.ProfileChanged());
    Pile stake{100};
    EXPECT_FALSE(d.CalculateStake(stake, 0));
    // Switching without the other list in use changes nothing either.
    d.SwitchAlignment(RoadList::Profile);
    EXPECT_EQ(d.InputMode(), std::nullopt);
}

} // namespace telvane::road

namespace telvane::road {

TEST(RoadCalculation, RefusalsOnTheIntersectionPathAndStartBoxes) {
    // Intersection points with a profile whose chainages go backwards: the profile is refused.
    RoadData d;
    RoadState& s = EditRoadState(d);
    s.IntersectionPoints = testing::WindingRoad(2);
    s.InputMode = RoadList::Intersections;
    LongSlopesInfo a{}, b{};
    a.Mileage = 500;
    b.Mileage = 100;
    s.GradePoints = {a, b};
    s.ProfileChanged = true;
    const CalculationOutcome refused = d.Calculate({});
    EXPECT_EQ(refused.Status, CalculationStatus::ProfileRefused);
    EXPECT_EQ(refused.Message, (RoadMessage{true, roadkeys::GradeOrder, {"2", "100"}}));
    EXPECT_TRUE(d.ProfileChanged());
    // A start box that is not a number, on the element path.
    RoadData e;
    EditRoadState(e).PlaneElements = testing::ChainOfKinds("LAL");
    EditRoadState(e).PlaneElements[0].North = 0;
    EXPECT_EQ(e.Calculate({"", "abc", "", "", ""}).Status, CalculationStatus::WrongFormat);
    EXPECT_EQ(e.Calculate({"x", "", "", "", ""}).Status, CalculationStatus::StartNotNumber);
    EXPECT_EQ(e.Calculate({"", "", "", "", "5m"}).Status, CalculationStatus::StartNotNumber);
}

TEST(RoadFiles, ALineThatCannotBeReadIsNamedByItsNumber) {
    telvane::testing::TempDir dir;
    RoadData d;
    const std::string stakes = dir.write("s.csv", "K\r\n0\r\n\r\nP7,1\r\n20\r\n");
    const LoadOutcome o = d.Load(RoadList::Stakes, stakes);
    EXPECT_EQ(d.Stakes().size(), 1u);
    EXPECT_EQ(LoadMessages(o, "s.csv"),
              (std::vector<RoadMessage>{{true, roadkeys::FileLineWrong, {"4", "s.csv"}}}));
    const LoadOutcome grades =
        d.Load(RoadList::Profile, dir.write("p.PVI", "h\r\n0,1,0,0,0\r\n5,x,0,0,0\r\n"));
    EXPECT_EQ(LoadMessages(grades, "p.PVI"),
              (std::vector<RoadMessage>{{true, roadkeys::FileLineWrong, {"3", "p.PVI"}}}));
    // A file too short to name a line says so in general.
    const LoadOutcome shortSec = d.Load(RoadList::Elements, dir.write("e.SEC", "h\r\n"));
    EXPECT_EQ(LoadMessages(shortSec, "e.SEC"),
              (std::vector<RoadMessage>{{true, roadkeys::WrongFormat}}));
}

TEST(RoadFiles, AnExtensionInSmallLettersLoadsToo) {
    telvane::testing::TempDir dir;
    const std::string path = dir.write("road.phi", "h\r\nJD0,1,2,3,0,0,0\r\nJD1,4,5,0,0,0,0\r\n");
    RoadData d;
    const LoadOutcome o = d.Load(RoadList::Intersections, path);
    EXPECT_TRUE(o.Read);
    EXPECT_EQ(d.IntersectionPoints().size(), 2u);
    // A profile file under another extension is not read, but the profile counts as changed.
    const LoadOutcome other = d.Load(RoadList::Profile, dir.write("p.txt", "h\r\n0,1,0,0,0\r\n"));
    EXPECT_FALSE(other.Read);
    EXPECT_TRUE(d.ProfileChanged());
    EXPECT_TRUE(d.GradePoints().empty());
}

} // namespace telvane::road

namespace telvane::road {
namespace {

using telvane::testing::TempDir;

// Every command is one step of the history: undo gives back the lists, flags and engine as they
// were before it, redo what it made; a page whose list is back to what its file holds is saved.
TEST(RoadHistory, EveryOperationUndoesAndRedoes) {
    TempDir dir;
    const std::string pvi = dir.write("p.PVI", "K,H,i1,i2,R\r\n0,100,10,10,0\r\n"
                                               "500,105,10,-5,3000\r\n2000,97.5,-5,-5,0\r\n");
    struct Case {
        const char* name;
        std::function<void(RoadData&)> command;
    };
    const Case cases[] = {
        {"insert a point", [](RoadData& d) { d.InsertPoint(1, WindingRoad(1)[1]); }},
        {"switch and insert an element",
         [](RoadData& d) {
             d.SwitchAlignment(RoadList::Elements);
             d.InsertElement(0, El('L'));
         }},
        {"update a grade point",
         [](RoadData& d) {
             d.UpdateGradePoint(0, LongSlopesInfo{5, 0, 7});
         }},
        {"remove a stake", [](RoadData& d) { d.Remove(RoadList::Stakes, 2); }},
        {"clear", [](RoadData& d) { d.ClearAll(); }},
        {"calculate",
         [](RoadData& d) {
             d.Calculate({"", "", "", "", "3"});
         }},
        {"load a profile", [&pvi](RoadData& d) { d.Load(RoadList::Profile, pvi); }},
    };
    for (const Case& c : cases) {
        RoadData d;
        EditRoadState(d).InputMode = RoadList::Intersections;
        EditRoadState(d).IntersectionPoints = WindingRoad(3);
        EditRoadState(d).GradePoints = {LongSlopesInfo{0, 0, 100}, LongSlopesInfo{3000, 0, 110}};
        EditRoadState(d).Stakes = StakesEvery(0, 1000, 250);
        for (RoadList p : {RoadList::Intersections, RoadList::Profile, RoadList::Stakes})
            d.MarkSaved(p);
        ASSERT_FALSE(d.HasUnsavedChanges()) << c.name;
        const RoadState before = d.State();
        d.BeginChange();
        c.command(d);
        d.EndChange();
        const RoadState after = d.State();
        ASSERT_NE(after, before) << c.name;
        ASSERT_TRUE(d.CanUndo()) << c.name;
        d.Undo();
        EXPECT_EQ(d.State(), before) << c.name;
        EXPECT_FALSE(d.HasUnsavedChanges()) << c.name; // back to what the files hold
        EXPECT_FALSE(d.CanUndo()) << c.name;           // one command, one step
        d.Redo();
        EXPECT_EQ(d.State(), after) << c.name;
    }
}

TEST(RoadHistory, TheEngineComesBackWithItsStakesAndEmptyStepsAreNone) {
    RoadData d;
    EditRoadState(d).InputMode = RoadList::Elements;
    EditRoadState(d).PlaneElements = ChainOfKinds("LSASL");
    EditRoadState(d).Stakes = StakesEvery(0, 60, 10);
    d.BeginChange();
    ASSERT_EQ(d.Calculate({"", "", "", "", "3"}).Status, CalculationStatus::Done);
    d.EndChange();
    const std::vector<Pile> first = d.Stakes();
    d.BeginChange();
    d.ClearAll();
    d.EndChange();
    EXPECT_FALSE(d.EngineReady());
    d.Undo();
    // The engine is back with the alignment it had: a stake asked for now is where it was.
    ASSERT_TRUE(d.EngineReady());
    Pile again{first[2].Mileage};
    ASSERT_TRUE(d.CalculateStake(again, 3));
    EXPECT_DOUBLE_EQ(again.MiddleN, first[2].MiddleN);
    // A command that changes nothing (a refused update, a cancelled one) leaves no step.
    d.BeginChange();
    EXPECT_FALSE(d.UpdateStake(99, Pile{1}));
    d.EndChange();
    d.Undo();
    EXPECT_FALSE(d.CanUndo()); // the one step left was the calculation
    // Nested brackets make one step.
    d.BeginChange();
    d.BeginChange();
    d.InsertStake(0, Pile{1});
    d.EndChange();
    d.InsertStake(0, Pile{2});
    d.EndChange();
    EXPECT_EQ(d.Stakes().size(), first.size() + 2);
    d.Undo();
    EXPECT_EQ(d.Stakes().size(), first.size());
    EXPECT_TRUE(d.HasUnsavedChanges()); // calculated stakes are in no file
    d.MarkSaved(RoadList::Stakes);
    EXPECT_FALSE(d.PageUnsaved(RoadList::Stakes));
    EXPECT_TRUE(d.PageUnsaved(RoadList::Elements)); // the prepared chain is in no file either
}

// A design with station equations: stations jump from 150 to 1000 at chainage 150.
Stationing Jump() {
    Stationing s;
    s.Equations.push_back({150, 150, 1000});
    return s;
}

TEST(RoadStations, ADesignKeepsItsStationsThroughItsStakesAndItsHistory) {
    TempDir dir;
    RoadData d;
    EXPECT_EQ(d.StationOf(160), 160.0); // no design: stations are chainages
    EXPECT_EQ(d.ChainageOf(1010), std::optional<double>(1010));
    d.BeginChange();
    d.LoadDesign({El('L', 0, 0, 300)}, {}, "Main street", Jump());
    d.EndChange();
    EXPECT_EQ(d.DesignName(), "Main street");
    EXPECT_EQ(d.StationOf(160), 1010.0);
    EXPECT_EQ(d.ChainageOf(1010), std::optional<double>(160));
    EXPECT_EQ(d.ChainageOf(500), std::nullopt); // in the jump

    // A stake file gives stations; one in the jump is left out and named.
    const std::string file = dir.write("s.csv", "K\r\n100\r\n500\r\n1010\r\n");
    d.BeginChange();
    d.Load(RoadList::Stakes, file);
    EXPECT_EQ(d.StakesFromStations(), std::vector<double>{500});
    d.EndChange();
    ASSERT_EQ(d.Stakes().size(), 2u);
    EXPECT_EQ(d.Stakes()[1].Mileage, 160.0);
    // Saved under their stations.
    const std::optional<std::string> text = d.FileText(RoadList::Stakes, KeyTitles());
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("\r\n1010,"), std::string::npos) << *text;
    EXPECT_EQ(text->find("\r\n160,"), std::string::npos) << *text;

    // An alignment loaded from its own file is no design of LandXML any more.
    const std::string sec = dir.write("a.SEC", "");
    d.BeginChange();
    d.Load(RoadList::Elements, sec);
    d.EndChange();
    EXPECT_EQ(d.Stations(), std::nullopt);
    EXPECT_EQ(d.DesignName(), "");
    EXPECT_EQ(d.StakesFromStations(), std::vector<double>{}); // nothing to convert
    // Undo brings the design's stations back with its elements, and undoing the design's load
    // takes them away with it.
    d.Undo();
    EXPECT_EQ(d.Stations(), Jump());
    EXPECT_EQ(d.StationOf(160), 1010.0);
    d.Undo();
    d.Undo();
    EXPECT_EQ(d.Stations(), std::nullopt);
    d.Redo();
    EXPECT_EQ(d.DesignName(), "Main street");
    // Clear forgets the design.
    d.ClearAll();
    EXPECT_EQ(d.Stations(), std::nullopt);
    EXPECT_EQ(d.DesignName(), "");
}

TEST(RoadStartBoxes, TheFirstBoxThatIsNoNumberIsNamed) {
    const struct {
        StartPoint start;
        std::optional<StartBox> refused;
        double offset;
    } cases[] = {
        {{"", "", "", "", ""}, std::nullopt, 0},
        {{"100", "3000.5", "-20", "1.2", "5"}, std::nullopt, 5},
        {{"100", " ", "  ", "", " "}, std::nullopt, 0}, // spaces: not given
        {{" ", "", "", "", ""}, StartBox::Chainage, 0}, // but the chainage must be a number
        {{"1e999", "", "", "", ""}, StartBox::Chainage, 0},
        {{"100", "x", "y", "", ""}, StartBox::North, 0},
        {{"100", "", "", "1,2", ""}, StartBox::Azimuth, 0},
        {{"100", "", "", "", "left"}, StartBox::Offset, 0},
        {{"100", "", "e", "", "3"}, StartBox::East, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FirstBoxNotNumber(c.start), c.refused) << c.start.Chainage << c.start.North;
        EXPECT_EQ(OffsetOf(c.start), c.offset) << c.start.Offset;
    }
}

} // namespace
} // namespace telvane::road
