#include "model/numtext.h"
#include "model/units.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>

using namespace telvane;

TEST(AngleToText, EveryUnitAndRounding) {
    struct Case {
        double degrees;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {123.5, kAngleDMS, "123.3000"},
        {0.0, kAngleDMS, "0.0000"},
        {-0.5, kAngleDMS, "-0.3000"},
        {359.99999, kAngleDMS, "360.0000"}, // seconds round up into the degrees, no wrap
        {10.0 + 59.0 / 60 + 59.6 / 3600, kAngleDMS, "11.0000"},
        {1.0 + 2.0 / 60 + 3.0 / 3600, kAngleDMS, "1.0203"},
        {90.0, kAngleSeconds, "324000"},
        {0.5 / 3600, kAngleSeconds, "1"},
        {0.49 / 3600, kAngleSeconds, "0"},
        {-1.0, kAngleSeconds, "-3600"}, // half a second rounds away from zero, both signs
        {-1.0 / 3600, kAngleSeconds, "-1"},
        {-0.5 / 3600, kAngleSeconds, "-1"},
        {-0.49 / 3600, kAngleSeconds, "0"},
        {90.0, kAngleGon, "100.0000"},
        {90.0, kAngleMil, "1600.0000"},
        {90.0, 0, "90.0000"}, // unknown codes write degrees-minutes-seconds
        {90.0, 7, "90.0000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(angle_to_text(c.degrees, c.code), c.text) << c.degrees << " code " << c.code;
}

TEST(AngleToText, HugeValuesDoNotOverflow) {
    EXPECT_FALSE(angle_to_text(1e300, kAngleSeconds).empty());
    EXPECT_FALSE(angle_to_text(-1e300, kAngleDMS).empty());
}

TEST(DistanceConversion, UnitsBothWays) {
    EXPECT_EQ(distance_to_text(1.0, kUsFoot), "3.2808");
    EXPECT_EQ(distance_to_text(1.0, kIntFoot), "3.2808");
    EXPECT_EQ(distance_to_text(1000.0, kIntFoot), "3280.8399");
    EXPECT_EQ(distance_to_text(1000.0, kUsFoot), "3280.8333");
    EXPECT_EQ(distance_to_text(1.23456, 0), "1.2346");
    EXPECT_EQ(distance_to_text(-0.00004, kMetre), "-0.0000");
    EXPECT_DOUBLE_EQ(text_to_distance("1", kIntFoot), 0.3048);
    EXPECT_DOUBLE_EQ(text_to_distance("3937", kUsFoot), 1200.0);
    EXPECT_DOUBLE_EQ(text_to_distance("2.5", 9), 2.5);
    EXPECT_DOUBLE_EQ(text_to_angle("324000"), 90.0);
    EXPECT_DOUBLE_EQ(text_to_angle("1.8"), 0.0005);
}

TEST(ParseDouble, AcceptsDecimalsAndRefusesEverythingElse) {
    const std::pair<const char*, double> good[] = {
        {"12.5", 12.5}, {" 12.5\t", 12.5}, {"+3", 3}, {"-.5", -0.5},
        {"1e3", 1000},  {"0", 0},          {"7.", 7},
    };
    for (const auto& [text, value] : good)
        EXPECT_DOUBLE_EQ(parse_double(text), value) << text;
    const char* bad[] = {"",    " ",    "abc",  "inf", "-inf", "nan", "NAN", "1e999", "-1e999",
                         "1,5", "0x10", "1.5x", "--1", "+",    "-",   "1 2", "+-1"};
    for (const char* text : bad) {
        EXPECT_THROW(parse_double(text), ConversionError) << text;
        double v = 42;
        EXPECT_FALSE(try_parse_double(text, v)) << text;
        EXPECT_EQ(v, 42);
    }
}

TEST(NumberText, IndependentOfADecimalCommaLocale) {
    const char* previous = std::setlocale(LC_ALL, nullptr);
    const std::string saved = previous ? previous : "C";
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (scripts/install-deps.sh generates it)";
    // The C library now writes a decimal comma: the helpers must not.
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.4f", 1.5);
    EXPECT_STREQ(printed, "1,5000");

    EXPECT_EQ(format_fixed(1.5, 4), "1.5000");
    EXPECT_EQ(format_general(0.1), "0.1");
    EXPECT_EQ(angle_to_text(90.0, kAngleGon), "100.0000");
    EXPECT_EQ(distance_to_text(1.0, kUsFoot), "3.2808");
    EXPECT_DOUBLE_EQ(parse_double("1.5"), 1.5);
    EXPECT_THROW(parse_double("1,5"), ConversionError);
    EXPECT_DOUBLE_EQ(text_to_distance("2.25", kMetre), 2.25);
    std::setlocale(LC_ALL, saved.c_str());
}

TEST(FormatGeneral, FifteenSignificantDigitsAndExponents) {
    const std::pair<double, const char*> cases[] = {
        {1957.0796326794896, "1957.07963267949"},
        {100.0, "100"},
        {0.25, "0.25"},
        {0.001, "0.001"},
        {0.00001, "0.00001"}, // the smallest value without an exponent
        {0.0000099, "9.9E-6"},
        {1e-6, "1E-6"},
        {-2.5e-7, "-2.5E-7"},
        {123456789012345.0, "123456789012345"},
        {1234567890123456.0, "1.23456789012346E15"},
        {1e20, "1E20"},
        {-2.5, "-2.5"},
        {0.0, "0"},
        {-0.0, "0"},
        {0.1 + 0.2, "0.3"},          // 15 digits hide the binary noise
        {999999999999999.9, "1E15"}, // rounding carries into a new digit
        {3000.5, "3000.5"},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(format_general(v), text) << v;
}

TEST(BearingBetween, QuadrantsAndCoincidentPoints) {
    struct Case {
        double e2, n2, bearing;
    };
    const Case cases[] = {{0, 1, 0},    {1, 0, 90}, {0, -1, 180},
                          {-1, 0, 270}, {1, 1, 45}, {-1, 1, 315}};
    for (const Case& c : cases) {
        const auto b = bearing_between(0, 0, c.e2, c.n2);
        ASSERT_TRUE(b.has_value());
        EXPECT_NEAR(*b, c.bearing, 1e-12) << c.e2 << "," << c.n2;
        EXPECT_GE(*b, 0.0);
        EXPECT_LT(*b, 360.0);
    }
    EXPECT_FALSE(bearing_between(5, 7, 5, 7).has_value());
    EXPECT_TRUE(bearing_between(5, 7, 5, 8).has_value());
}

TEST(CheckedArithmetic, RefusesNonFiniteResults) {
    EXPECT_THROW(checked_div(1.0, 0.0), ArithmeticError);
    EXPECT_THROW(checked_div(1e308, 1e-308), ArithmeticError);
    EXPECT_THROW(checked(std::sqrt(-1.0), "invalid"), ArithmeticError);
    EXPECT_DOUBLE_EQ(checked_div(1.0, 4.0), 0.25);
    EXPECT_EQ(parse_int(" 42 "), 42);
    EXPECT_THROW(parse_int("4.2"), ConversionError);
}

TEST(TextToAngleIn, ReadsWhatEachUnitWrites) {
    struct Case {
        const char* text;
        int code;
        double degrees;
    };
    const Case good[] = {
        {"123.3000", kAngleDMS, 123.5},    {"-0.3000", kAngleDMS, -0.5},
        {"12.3", kAngleDMS, 12.5},         {"7", kAngleDMS, 7},
        {"0.0001", kAngleDMS, 1 / 3600.0}, {"10.00015", kAngleDMS, 10 + 1.5 / 3600},
        {"100.0000", kAngleGon, 90},       {"1600.0000", kAngleMil, 90},
        {"324000", kAngleSeconds, 90},     {"359.5959", 0, 359 + 59 / 60.0 + 59 / 3600.0},
    };
    for (const Case& c : good)
        EXPECT_NEAR(text_to_angle_in(c.text, c.code), c.degrees, 1e-12) << c.text;
    // Every angle each unit writes reads back to the same text.
    for (int code : {kAngleDMS, kAngleGon, kAngleMil, kAngleSeconds})
        for (double a : {0.0, 0.5, 45.25, 89.999, 181.0375, 359.9997, -12.3456})
            EXPECT_EQ(angle_to_text(text_to_angle_in(angle_to_text(a, code), code), code),
                      angle_to_text(a, code))
                << a << " in " << code;
    const char* bad[] = {"", "x", "12.60", "12.0060", "1e2", "12.3a", "1.5.5"};
    for (const char* text : bad)
        EXPECT_THROW(text_to_angle_in(text, kAngleDMS), ConversionError) << text;
    EXPECT_THROW(text_to_angle_in("abc", kAngleGon), ConversionError);
}
