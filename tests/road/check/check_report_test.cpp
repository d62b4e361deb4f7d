// The report's bytes: title line, numbers with four decimals, empty fields where a value does
// not apply, quoted names, CR LF.
#include "check_fixtures.h"

#include <gtest/gtest.h>

namespace telvane::road::check {
namespace {

TEST(CheckReport, BytesOfEveryKindOfLine) {
    const std::vector<PlaneInfo> chain =
        testing::BuildChain(1000, 500, 0, 100, {{LineTypeLine, 0, 0, 200}});
    const StakeCheck check(
        testing::Design(chain, {testing::Grade(100, 50, 0, 0), testing::Grade(300, 50, 0, 0)}), 5,
        {});
    const std::vector<PointCheck> rows = check.CheckAll({
        {"K0+120.000L", 1020.01, 495, 50.004},     // a side stake 1 cm ahead
        {"P,1 \"x\"", 1050, 502.5, 49.9},          // a plain point with a name to quote
        {"K0+090.000", 990, 500, 50},              // before the start, as its stake
        {"K0+900.000R", 1150, 505, 50},            // a stake that is not on the road
        {"\xb2\xe2\xb5\xe3", 1199.99994, 500, 50}, // a GBK name; the foot at the very end
    });
    const std::string expected =
        "check_col_name,check_col_north,check_col_east,check_col_elevation,check_col_chainage,"
        "check_col_offset,check_col_design_elevation,check_col_dh,check_col_stake,"
        "check_col_along,check_col_across,check_col_distance,check_col_verdict,check_col_note\r\n"
        "K0+120.000L,1020.0100,495.0000,50.0040,120.0100,-5.0000,50.0000,0.0040,K0+120.000L,"
        "0.0100,0.0000,0.0100,check_within,\r\n"
        "\"P,1 \"\"x\"\"\",1050.0000,502.5000,49.9000,150.0000,2.5000,50.0000,-0.1000,,,,,"
        "check_exceeded,\r\n"
        "K0+090.000,990.0000,500.0000,50.0000,,,,,K0+090.000,,,,check_outside,"
        "\"check_note_before_start; check_note_stake_not_on_road\"\r\n"
        "K0+900.000R,1150.0000,505.0000,50.0000,250.0000,5.0000,50.0000,0.0000,K0+900.000R,,,,"
        "check_within,check_note_stake_not_on_road\r\n"
        "\xb2\xe2\xb5\xe3,1199.9999,500.0000,50.0000,299.9999,0.0000,50.0000,0.0000,,,,,"
        "check_within,\r\n";
    EXPECT_EQ(report_csv(rows, [](std::string_view key) { return std::string(key); }), expected);
}

TEST(CheckReport, NotesSayWhatIsMissingAndWhy) {
    // Keys compared as text: the same literal may have two addresses.
    const auto keys = [](const PointCheck& c) {
        std::vector<std::string> out;
        for (const char* k : note_keys(c))
            out.emplace_back(k);
        return out;
    };
    PointCheck nothing;
    EXPECT_EQ(keys(nothing), std::vector<std::string>{"check_note_no_position"});
    PointCheck tie;
    tie.Found = true;
    tie.Where.Tie = true;
    tie.StakeState = StakeStatus::NoSidePoint;
    EXPECT_EQ(keys(tie), (std::vector<std::string>{"check_note_tie", "check_note_no_side_point"}));
    const std::string text =
        report_csv({tie}, [](std::string_view key) { return std::string(key).substr(6); });
    EXPECT_NE(text.find("unchecked,\"note_tie; note_no_side_point\"\r\n"), std::string::npos)
        << text;
}

} // namespace
} // namespace telvane::road::check
