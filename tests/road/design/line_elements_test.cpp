#include "design_fixtures.h"

#include "road/design/line_elements.h"
#include "road/design/road_texts.h"

#include "model/numtext.h"

#include <gtest/gtest.h>

#include <limits>

#include <string>
#include <vector>

namespace telvane::road {
namespace {

using testing::AngleGap;
using testing::ChainOfKinds;
using testing::El;
using testing::ExpectContinuous;
using testing::Kinds;

TEST(PrepareLineElements, CaseTableRowByRow) {
    struct Row {
        const char* input;
        const char* result;  // kinds after preparation (also after a refusal)
        const char* message; // empty when the chain passes
    } rows[] = {
        // Insertions.
        {"LAL", "LSASL", ""},             // A: a circle without clothoids
        {"SASL", "LSASL", ""},            // B: a curve that opens the chain
        {"LSSL", "LSASL", ""},            // C: two clothoids of equal radius, no circle
        {"LSS", "LSASL", ""},             // F: the same at the end of a 3-element chain
        {"LSSAL", "LSASLSASL", ""},       // G, then A for the next curve
        {"SAS", "LSASL", ""},             // H
        {"SASAL", "LSASLSASL", ""},       // I, then A
        {"LSASSASL", "LSASLSASL", ""},    // J: reverse curve without a straight
        {"LSASL", "LSASL", ""},           // canonical: nothing inserted
        {"LSASLSA", "LSASLSA", ""},       // ends inside a curve: the open group stays
        {"LSASLSASLL", "LSASLSASLL", ""}, // two groups and an end marker
        {"LSA", "LSA", ""},               // three elements, no group
        // Refusals, with the index of the element examined.
        {"LL", "LL", roadtexts::TooFewElements},
        {"LLL", "LLL", "MainPile error 1 Data Type is wrong at 2"},
        {"LSAL", "LSAL", "MainPile error 2 Data Type is wrong at 3"},
        {"LAAL", "LAAL", "MainPile error 2 Data Type is wrong at 3"},
        {"LSAAL", "LSAAL", "MainPile error 4 Data Type is wrong at 3"},
        {"LASL", "LASL", "MainPile error 5 Data Type is wrong at 2"},
        {"LSSS", "LSSS", "MainPile error 6 Data Type is wrong at 3"},
        {"SASS", "SASS", "MainPile error 6 Data Type is wrong at 3"},
        // A refusal after a group keeps that group's fillers.
        {"LALLL", "LSASLLL", "MainPile error 1 Data Type is wrong at 6"},
    };
    for (const Row& row : rows) {
        std::vector<PlaneInfo> chain = ChainOfKinds(row.input);
        std::string message = "untouched";
        const bool passed = PrepareLineElements(chain, message);
        const std::string expected = row.message;
        EXPECT_EQ(passed, expected.empty()) << row.input;
        EXPECT_EQ(passed ? std::string() : message, expected) << row.input;
        EXPECT_EQ(Kinds(chain), row.result) << row.input;
    }
}

TEST(PrepareLineElements, RadiiOfTwoClothoidsMustMeet) {
    std::vector<PlaneInfo> chain = ChainOfKinds("LSSL");
    chain[2].StartRadius = 101; // the entry clothoid ends at 100
    std::string message;
    EXPECT_FALSE(PrepareLineElements(chain, message));
    EXPECT_EQ(message, "MainPile error 2 Data Type is wrong at 3");
}

TEST(PrepareLineElements, FillersCarryTheValuesTheirCaseGives) {
    {
        // Case A: entry clothoid at the circle's point, heading like the first straight; exit
        // clothoid at the closing straight's point; both of length 0 into the circle's radius.
        std::vector<PlaneInfo> chain = {El('L', 0, 0, 50, "", 100, 200), El('A', -80, -80, 30, "L"),
                                        El('L', 0, 0, 0, "", 170, 260)};
        chain[0].AzimuthAngle = 0.3;
        std::string message;
        ASSERT_TRUE(PrepareLineElements(chain, message));
        ASSERT_EQ(Kinds(chain), "LSASL");
        const PlaneInfo& entry = chain[1];
        const PlaneInfo& exit = chain[3];
        EXPECT_EQ(entry.Length, 0);
        EXPECT_EQ(entry.StartRadius, 0);
        EXPECT_EQ(entry.EndRadius, -80);
        EXPECT_EQ(entry.Direction, "");
        EXPECT_EQ(exit.Length, 0);
        EXPECT_EQ(exit.StartRadius, -80);
        EXPECT_EQ(exit.EndRadius, 0);
        EXPECT_EQ(exit.Direction, "");
        EXPECT_EQ(entry.Role, RoleEntryClothoid);
        EXPECT_EQ(chain[2].Role, RoleOther);
        EXPECT_EQ(exit.Role, RoleExitClothoid);
        // The closing point is given: no point moves, and the exit filler sits on it.
        EXPECT_EQ(exit.North, 170);
        EXPECT_EQ(exit.East, 260);
    }
    {
        // Case B: the leading straight copies the first element's chainage, point and azimuth.
        std::vector<PlaneInfo> chain = ChainOfKinds("SASL");
        chain[0].Mileage = 1234.5;
        std::string message;
        ASSERT_TRUE(PrepareLineElements(chain, message));
        EXPECT_EQ(chain[0].LineType, LineTypeLine);
        EXPECT_EQ(chain[0].Length, 0);
        EXPECT_EQ(chain[0].Mileage, 1234.5);
        EXPECT_EQ(chain[0].North, 1000);
        EXPECT_EQ(chain[0].East, 500);
        EXPECT_EQ(chain[0].AzimuthAngle, Pi / 4);
        EXPECT_EQ(chain[1].Mileage, 1234.5); // a filler of length 0 shares the next chainage
    }
    {
        // Case C: the circle takes the clothoids' radii and their turn.
        std::vector<PlaneInfo> chain = {El('L', 0, 0, 40, "", 1000, 500), El('S', 0, -150, 30, "L"),
                                        El('S', -150, 0, 30, "L"), El('L', 0, 0, 0)};
        std::string message;
        ASSERT_TRUE(PrepareLineElements(chain, message));
        ASSERT_EQ(Kinds(chain), "LSASL");
        EXPECT_EQ(chain[2].StartRadius, -150);
        EXPECT_EQ(chain[2].EndRadius, -150);
        EXPECT_EQ(chain[2].Length, 0);
        EXPECT_EQ(chain[2].Direction, "L");
    }
}

TEST(PrepareLineElements, CircleFillerTurnsWithItsClothoids) {
    // Two left spirals meeting without a circle: the whole curve turns left, and its points are
    // where the engine's spirals (which take the sign of the radius) put them.
    std::vector<PlaneInfo> chain = {El('L', 0, 0, 40, "", 1000, 500), El('S', 0, -150, 30, "L"),
                                    El('S', -150, 0, 30, "L"), El('L', 0, 0, 60)};
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message));
    // Heading North, turning left by 2 × 30/300.
    EXPECT_NEAR(chain[4].AzimuthAngle, TwoPi - 0.2, 1e-12);
    EXPECT_LT(chain[4].East, 500);
    ExpectContinuous(chain, 1e-9);
}

TEST(PrepareLineElements, ChainagesRunThroughGroupsAndBeyond) {
    // L S A S L S A S L L, nothing given but the start: the group chainages add the lengths;
    // the element after the last group carries the chainage on.
    std::vector<PlaneInfo> chain = {El('L', 0, 0, 100, "", 5000, 2000),
                                    El('S', 0, 300, 40, "R"),
                                    El('A', 300, 300, 80, "R"),
                                    El('S', 300, 0, 50, "R"),
                                    El('L', 0, 0, 120),
                                    El('S', 0, -200, 30, "L"),
                                    El('A', -200, -200, 60, "L"),
                                    El('S', -200, 0, 30, "L"),
                                    El('L', 0, 0, 75),
                                    El('L', 0, 0, 0)};
    chain[0].Mileage = 250;
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message));
    const double expected[] = {250, 350, 390, 470, 520, 640, 670, 730, 760, 835};
    for (std::size_t k = 0; k < chain.size(); ++k) {
        EXPECT_DOUBLE_EQ(chain[k].Mileage, expected[k]) << k;
    }
    // The end element was not part of a group: its point stays as it was.
    EXPECT_EQ(chain[9].North, 0);
    EXPECT_EQ(chain[9].East, 0);
}

// A curve with unequal spirals from a straight heading North-East at (North 2000, East 1000).
std::vector<PlaneInfo> UnequalSpiralCurve(const char* direction, double R) {
    std::vector<PlaneInfo> chain = {El('L', 0, 0, 70, "", 2000, 1000), El('S', 0, R, 80, direction),
                                    El('A', R, R, 120, direction), El('S', R, 0, 35, direction),
                                    El('L', 0, 0, 50)};
    chain[0].AzimuthAngle = Pi / 4;
    return chain;
}

TEST(ComputeCurveGroup, ComputedClosingPointLiesOnTheCurve) {
    // Nothing given after the first point: the group writes every point, and the engine's
    // spirals and circle run through them. With unequal spirals only the exact tangent lengths
    // put the closing point at the exit spiral's end.
    for (const char* direction : {"R", "L"}) {
        const double R = direction[0] == 'L' ? -200.0 : 200.0;
        std::vector<PlaneInfo> chain = UnequalSpiralCurve(direction, R);
        ASSERT_TRUE(ComputeCurveGroup(chain, 0, 4));
        const double alpha = 80 / 400.0 + 120 / 200.0 + 35 / 400.0;
        const double g = R < 0 ? -1 : 1;
        EXPECT_LT(AngleGap(chain[4].AzimuthAngle, Pi / 4 + g * alpha), 1e-12) << direction;
        EXPECT_GE(chain[4].AzimuthAngle, 0) << direction;
        // The curve starts at the straight's end.
        EXPECT_NEAR(chain[1].North, 2000 + 70 * std::cos(Pi / 4), 1e-9);
        EXPECT_NEAR(chain[1].East, 1000 + 70 * std::sin(Pi / 4), 1e-9);
        ExpectContinuous(chain, 1e-9);
        EXPECT_EQ(chain[1].Role, RoleEntryClothoid);
        EXPECT_EQ(chain[2].Role, RoleOther);
        EXPECT_EQ(chain[3].Role, RoleExitClothoid);
        const double mileages[] = {0, 70, 150, 270, 305};
        for (std::size_t k = 0; k < 5; ++k) {
            EXPECT_DOUBLE_EQ(chain[k].Mileage, mileages[k]);
        }
    }
}

TEST(ComputeCurveGroup, CircleWithoutSpiralsClosesAtTheTangentLength) {
    // L A L after Case A: the closing straight starts R·tan(Lc/2R) beyond the intersection point.
    std::vector<PlaneInfo> chain = {El('L', 0, 0, 100, "", 1000, 1000), El('A', 50, 50, 50, "R"),
                                    El('L', 0, 0, 10)};
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message));
    // The closing straight of 10 m gets the end marker at its end.
    ASSERT_EQ(Kinds(chain), "LSASLL");
    const double T = 50 * std::tan(0.5);
    EXPECT_NEAR(chain[5].North, chain[4].North + 10 * std::cos(1.0), 1e-9);
    EXPECT_NEAR(chain[5].East, chain[4].East + 10 * std::sin(1.0), 1e-9);
    EXPECT_NEAR(chain[5].Mileage, chain[4].Mileage + 10, 1e-9);
    EXPECT_EQ(chain[5].Length, 0);
    EXPECT_NEAR(chain[2].North, 1100, 1e-12);
    EXPECT_NEAR(chain[2].East, 1000, 1e-12);
    EXPECT_NEAR(chain[4].North, 1100 + T + T * std::cos(1.0), 1e-9);
    EXPECT_NEAR(chain[4].East, 1000 + T * std::sin(1.0), 1e-9);
    EXPECT_DOUBLE_EQ(chain[4].AzimuthAngle, 1.0);
    ExpectContinuous(chain, 1e-9);
}

TEST(ComputeCurveGroup, HalfTurnClosesBesideItsStart) {
    // A hairpin: the tangents are parallel and meet nowhere, yet the closing point is 2R to the
    // side of the curve start.
    std::vector<PlaneInfo> hairpin = {El('L', 0, 0, 100, "", 1000, 1000),
                                      El('A', 50, 50, 50 * Pi, "R"), El('L', 0, 0, 10)};
    std::string message;
    ASSERT_TRUE(PrepareLineElements(hairpin, message));
    EXPECT_NEAR(hairpin[4].North, 1100, 1e-9);
    EXPECT_NEAR(hairpin[4].East, 1100, 1e-9);
    EXPECT_DOUBLE_EQ(hairpin[4].AzimuthAngle, Pi);
    ExpectContinuous(hairpin, 1e-9);

    // With unequal spirals, turning left by a little less and a little more than half a circle,
    // on both sides of where the curve is walked instead.
    for (const double miss : {-2.1e-3, -1.9e-3, -1e-9, 0.0, 1e-9, 1.9e-3, 2.1e-3}) {
        std::vector<PlaneInfo> chain = UnequalSpiralCurve("L", -100);
        chain[2].Length = 100 * (Pi + miss) - 40 - 17.5;
        ASSERT_TRUE(ComputeCurveGroup(chain, 0, 4));
        ExpectContinuous(chain, 1e-9);
    }
}

TEST(ComputeCurveGroup, ClosingPointModes) {
    // The computed curve, then the same curve with its points given.
    std::vector<PlaneInfo> computed = UnequalSpiralCurve("R", 200);
    computed.push_back(El('L'));
    ASSERT_TRUE(ComputeCurveGroup(computed, 0, 4));
    std::vector<PlaneInfo> given = UnequalSpiralCurve("R", 200);
    for (std::size_t k = 1; k < 5; ++k) {
        given[k].North = computed[k].North;
        given[k].East = computed[k].East;
    }

    {
        // Given at the end: the points stay, the azimuths come from the curve.
        std::vector<PlaneInfo> chain = given;
        chain[4].East += 0.25; // a given point is never moved, even when it is off the curve
        ASSERT_TRUE(ComputeCurveGroup(chain, 0, 4));
        EXPECT_EQ(chain[4].East, given[4].East + 0.25);
        for (std::size_t k = 1; k < 4; ++k) {
            EXPECT_EQ(chain[k].North, given[k].North);
            EXPECT_LT(AngleGap(chain[k].AzimuthAngle, computed[k].AzimuthAngle), 1e-12) << k;
        }
        EXPECT_LT(AngleGap(chain[4].AzimuthAngle, computed[4].AzimuthAngle), 1e-12);
    }
    {
        // Given with a successor: the exit direction is the chord to the next element.
        std::vector<PlaneInfo> chain = given;
        chain.push_back(El('L', 0, 0, 0, "", chain[4].North + 30, chain[4].East + 40));
        ASSERT_TRUE(ComputeCurveGroup(chain, 0, 4));
        EXPECT_DOUBLE_EQ(chain[4].AzimuthAngle, std::atan2(40.0, 30.0));
        EXPECT_EQ(chain[4].North, given[4].North);
        // The exit spiral is walked back from the closing point along that direction.
        EXPECT_NE(chain[3].AzimuthAngle, computed[3].AzimuthAngle);
    }
    for (const double shortStraight : {0.0, 0.005}) {
        // A closing straight shorter than 1 cm has no direction of its own: the curve gives it,
        // however far the next element is off.
        std::vector<PlaneInfo> chain = given;
        chain[4].Length = shortStraight;
        chain.push_back(El('S', 0, 0, 0, "", chain[4].North - 500, chain[4].East + 1));
        ASSERT_TRUE(ComputeCurveGroup(chain, 0, 4));
        EXPECT_LT(AngleGap(chain[4].AzimuthAngle, computed[4].AzimuthAngle), 1e-12);
        EXPECT_LT(AngleGap(chain[3].AzimuthAngle, computed[3].AzimuthAngle), 1e-12);
    }
}

TEST(ComputeCurveGroup, GroupOutsideTheListIsNotComputed) {
    std::vector<PlaneInfo> chain = ChainOfKinds("LSASL");
    EXPECT_FALSE(ComputeCurveGroup(chain, 1, 5));
    EXPECT_FALSE(ComputeCurveGroup(chain, 0, 3));
}

TEST(PrepareLineElements, CurvesThatCannotExistAreArithmeticFaults) {
    struct Case {
        const char* what;
        std::vector<PlaneInfo> chain;
    } cases[] = {
        {"radius 0 with spirals",
         {El('L', 0, 0, 10, "", 100, 100), El('S', 0, 0, 20), El('A', 0, 0, 30), El('S', 0, 0, 20),
          El('L')}},
        {"radius 0 without spirals", {El('L', 0, 0, 10, "", 100, 100), El('A', 0, 0, 30), El('L')}},
        {"overflowing lengths",
         {El('L', 0, 0, 1e308, "", 100, 100), El('A', 10, 10, 1e308), El('L', 0, 0, 1e308)}},
    };
    for (Case& c : cases) {
        const std::size_t before = c.chain.size();
        std::string message;
        EXPECT_THROW(PrepareLineElements(c.chain, message), ArithmeticError) << c.what;
        // The list is kept as far as it was done.
        EXPECT_GE(c.chain.size(), before) << c.what;
    }
}

TEST(PrepareLineElements, SecondRunLeavesAPreparedChainAsItIs) {
    std::vector<PlaneInfo> chain = ChainOfKinds("LSSALSASSASL");
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message)) << message;
    const std::vector<PlaneInfo> once = chain;
    ASSERT_TRUE(PrepareLineElements(chain, message));
    ASSERT_EQ(Kinds(chain), Kinds(once));
    for (std::size_t k = 0; k < chain.size(); ++k) {
        EXPECT_DOUBLE_EQ(chain[k].North, once[k].North) << k;
        EXPECT_DOUBLE_EQ(chain[k].East, once[k].East) << k;
        EXPECT_DOUBLE_EQ(chain[k].Mileage, once[k].Mileage) << k;
        EXPECT_LT(AngleGap(chain[k].AzimuthAngle, once[k].AzimuthAngle), 1e-12) << k;
    }
}

TEST(PrepareLineElements, FirstAzimuthFromTheFirstTwoGivenPoints) {
    std::vector<PlaneInfo> chain = {El('L', 0, 0, 50, "", 100, 100), El('A', 100, 100, 20, "R"),
                                    El('L', 0, 0, 0)};
    chain[1].North = 100;
    chain[1].East = 150; // due East of the start
    std::string message;
    ASSERT_TRUE(PrepareLineElements(chain, message));
    EXPECT_DOUBLE_EQ(chain[0].AzimuthAngle, HalfPi);
    // A point closer to 0 than 1 in both coordinates does not count as given.
    EXPECT_FALSE(IsGivenPoint(El('L', 0, 0, 0, "", 0.9, -0.9)));
    EXPECT_TRUE(IsGivenPoint(El('L', 0, 0, 0, "", 0, -1)));
}

} // namespace
} // namespace telvane::road

namespace telvane::road {

// A value that is not a finite number in any field of an element is an arithmetic fault of the
// preparation, never a chain handed on.
TEST(LineElements, AnElementHoldingANonFiniteValueIsAFault) {
    double PlaneInfo::*const fields[] = {&PlaneInfo::East,         &PlaneInfo::North,
                                         &PlaneInfo::AzimuthAngle, &PlaneInfo::StartRadius,
                                         &PlaneInfo::EndRadius,    &PlaneInfo::Length};
    for (double PlaneInfo::*field : fields) {
        std::vector<PlaneInfo> chain = testing::ChainOfKinds("LSASLL");
        chain.back().*field = std::numeric_limits<double>::quiet_NaN();
        std::string message;
        EXPECT_THROW(PrepareLineElements(chain, message), ArithmeticError);
    }
}

} // namespace telvane::road

namespace telvane::road {

// Orders of kinds that make no curve are refused, each at its own place.
TEST(LineElements, KindsInAnOrderThatMakesNoCurveAreRefused) {
    for (const char* kinds : {"LSL", "LSAL", "LAS", "LSSS", "LAAL"}) {
        std::vector<PlaneInfo> chain = testing::ChainOfKinds(kinds);
        std::string message;
        EXPECT_FALSE(PrepareLineElements(chain, message)) << kinds;
        EXPECT_FALSE(message.empty()) << kinds;
    }
}

} // namespace telvane::road
