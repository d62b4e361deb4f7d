#include "model/codelist.h"
#include "model/gts7.h"
#include "model/jobtext.h"
#include "model/rows.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace telvane;

namespace {
Lines L(std::initializer_list<const char*> lines) {
    return Lines(lines.begin(), lines.end());
}

std::vector<std::string> codes_of(const std::vector<code_item>& codes) {
    std::vector<std::string> out;
    for (const auto& c : codes)
        out.push_back(c.code.str());
    return out;
}

record_item parsed(std::string_view joined) {
    record_item r;
    EXPECT_EQ(parse_record(joined, r), 0) << joined;
    return r;
}
} // namespace

TEST(CodeList, BothFormsAndRefusals) {
    struct Case {
        Lines lines;
        bool accepted;
        std::vector<std::string> codes;
    };
    const Case cases[] = {
        {L({"A01", "TREE", "\xD6\xD0\xD0\xC4"}), true, {"A01", "TREE", "\xD6\xD0\xD0\xC4"}},
        {L({"A 1"}), false, {}},
        {L({"TREE  ", "WALL"}), true, {"TREE  ", "WALL"}}, // trailing blanks allowed, kept
        {L({"A.1"}), false, {}},
        {L({"TREE:1:0:0:0:0:0:0:0:0", "WALL:2:0:0:0:0:0:0:0:0"}), true, {"TREE", "WALL"}},
        {L({"TREE:1:0:0:0:0:0:0:0"}), false, {}},           // nine fields
        {L({"TREE:1:0:0:0:0:0:0:0:0", "WALL"}), false, {}}, // one line of each form
        {L({"ABCDEFGHIJKLMNOPQRST"}), true, {"ABCDEFGHIJKLMNO"}},
        {{}, false, {}},
        {L({"A,B"}), false, {}},
    };
    for (const Case& c : cases) {
        std::vector<code_item> codes{code_item{"KEPT"}};
        EXPECT_EQ(read_code_list(c.lines, codes), c.accepted);
        if (c.accepted)
            EXPECT_EQ(codes_of(codes), c.codes);
        else
            EXPECT_EQ(codes_of(codes), std::vector<std::string>{"KEPT"});
    }
}

TEST(CodeList, WriteAndReadBack) {
    const std::vector<code_item> codes{{"A01"}, {"TREE"}, {""}, {"\xD6\xD0"}};
    const Lines lines = write_code_list(codes);
    EXPECT_EQ(lines, L({"A01", "TREE", "", "\xD6\xD0"}));
    std::vector<code_item> back;
    ASSERT_TRUE(read_code_list(lines, back));
    EXPECT_EQ(codes_of(back), codes_of(codes));
    EXPECT_TRUE(write_code_list({}).empty());
}

TEST(CoordRow, LayoutsOrdersAndUnits) {
    const coord_item p{"P1", "TREE", 1.0, 2.0, 3.0};
    const coord_item unnamed{"", "", 1.0, 2.0, 3.0};
    const Units m{kAngleDMS, kMetre};
    EXPECT_EQ(coord_row(p, 0, kOrderNEZ, m), "P1,TREE,1.0000,2.0000,3.0000");
    EXPECT_EQ(coord_row(p, 0, kOrderENZ, m), "P1,TREE,2.0000,1.0000,3.0000");
    EXPECT_EQ(coord_row(p, 2, kOrderNEZ, m), "P1,1.0000,2.0000,3.0000,TREE");
    EXPECT_EQ(coord_row(p, 2, kOrderENZ, m), "P1,2.0000,1.0000,3.0000,TREE");
    EXPECT_EQ(coord_row(p, 1, kOrderNEZ, m), "");
    EXPECT_EQ(coord_row(unnamed, 0, kOrderNEZ, m), "NONAME,,1.0000,2.0000,3.0000");
    EXPECT_EQ(coord_row(p, 0, kOrderNEZ, {kAngleDMS, kUsFoot}), "P1,TREE,3.2808,6.5617,9.8425");
}

TEST(RecordRow, EveryKindHasItsColumns) {
    const Units u{kAngleDMS, kMetre};
    record_item bs = parsed("BS      B,1.5|HVD     324000,324000,10");
    record_item bs_with = bs;
    bs_with.as<bs_data>().has_bss = 1;
    bs_with.as<bs_data>().bss_north = 2;
    bs_with.as<bs_data>().bss_east = 1;
    struct Case {
        record_item r;
        const char* row;
    };
    const Case cases[] = {
        {parsed("STA     S,1.5,C|XYZ     1,2,3"), "STA,S,1.5000,C,1.0000,2.0000,3.0000"},
        {bs, "SC,B,1.5000,,90.0000,90.0000,10.0000,,,"},
        {bs_with, "SC,B,1.5000,,90.0000,90.0000,10.0000,1.0000,2.0000,0.0000"},
        {parsed("SA      A,1,C|HV      3600,7200"), "SC,A,1.0000,C,1.0000,2.0000,,,,"},
        {parsed("SD      D,1,C|HVD     3600,7200,5"), "SC,D,1.0000,C,1.0000,2.0000,5.0000,,,"},
        {parsed("SC      P,1,C|HVD     3600,7200,5|ENZ     7,8,9"),
         "SC,P,1.0000,C,1.0000,2.0000,5.0000,7.0000,8.0000,9.0000"},
        {parsed("SC      P,1,C|ENZ     7,8,9"), "SC,P,1.0000,C,,,,7.0000,8.0000,9.0000"},
        {parsed("BKB     B,1,2"), ""},
        {parsed("NOTE    hi"), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(record_row(c.r, u), c.row);
    // The east value stands in the eighth column with and without an observation.
    for (int i : {5, 6}) {
        const std::string row = record_row(cases[i].r, u);
        std::size_t pos = 0;
        for (int k = 0; k < 7; ++k)
            pos = row.find(',', pos) + 1;
        EXPECT_EQ(row.substr(pos, 6), "7.0000");
    }
}

TEST(Gts7, Reduction) {
    Gts7Reduction p;
    p.K = 0.14;
    p.grid_scale = 1.0;
    ReducedDistance d = reduce_slope_distance(90.0, 100.0, p);
    EXPECT_EQ(distance_to_text(d.hd, kMetre), "100.0000");
    EXPECT_EQ(distance_to_text(d.vd, kMetre), "0.0007");
    d = reduce_slope_distance(90.0, 1000.0, p);
    EXPECT_NEAR(d.vd, 0.0675, 0.0001);

    // The grid factor applies strictly between 0.9 and 1.1.
    for (double s : {0.9, 1.1, 1.2, 0.0}) {
        p.grid_scale = s;
        EXPECT_NEAR(reduce_slope_distance(90.0, 1000.0, p).hd, 1000.0, 1e-6) << s;
    }
    p.grid_scale = 1.0002;
    EXPECT_NEAR(reduce_slope_distance(90.0, 1000.0, p).hd, 1000.2, 1e-6);

    // A sloped sight: horizontal part shortened by the curvature term, height from cos z.
    p.grid_scale = 1.0;
    p.K = 0.0;
    d = reduce_slope_distance(60.0, 200.0, p);
    const double z = 60.0 / 180.0 * 3.141592653;
    const double H = std::sin(z) * 200.0, V = std::cos(z) * 200.0;
    EXPECT_DOUBLE_EQ(d.hd, H - H * V * 2.0 / (2.0 * 6370000.0));
    EXPECT_DOUBLE_EQ(d.vd, V + H * H / (2.0 * 6370000.0));
}

TEST(Gts7, LinesOfEveryKind) {
    const Units u{kAngleDMS, kMetre};
    const Gts7Reduction p{0.14, 6370000.0, 1.0};
    record_item bs = parsed("BS      B,1.5|HVD     0,324000,100");
    record_item bs_with = bs;
    bs_with.as<bs_data>().has_bss = 1;
    bs_with.as<bs_data>().bss_east = 5;
    struct Case {
        record_item r;
        const char* lines;
    };
    const Case cases[] = {
        {parsed("STA     S,1.5,C|XYZ     1,2,3"),
         "STN     S,1.5000,C|XYZ     1.0000,2.0000,3.0000"},
        {bs, "BS      B,1.5000|HD      0.0000,100.0000,0.0007"},
        {bs_with, "BS      B,1.5000|HD      0.0000,100.0000,0.0007|SS      B,1.5000,BSS|"
                  "XYZ     5.0000,0.0000,0.0000"},
        {parsed("BKB     B,3600,7200"), "BKB     B,1.0000,2.0000"},
        {parsed("SA      A,1,C|HV      3600,7200"), "SS      A,1.0000,C|HV      1.0000,2.0000"},
        {parsed("SD      D,1,C|HVD     3600,324000,100"),
         "SS      D,1.0000,C|HD      1.0000,100.0000,0.0007"},
        {parsed("SC      P,1,C|ENZ     7,8,9"), "SS      P,1.0000,C|XYZ     7.0000,8.0000,9.0000"},
        {parsed("SC      P,1,C|HVD     0,324000,100|ENZ     7,8,9"),
         "SS      P,1.0000,C|HD      0.0000,100.0000,0.0007|XYZ     7.0000,8.0000,9.0000"},
        {parsed("NOTE    n"), "wrong type in record item"},
        {record_item{}, "wrong type in record item"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(gts7_record_lines(c.r, u, p), c.lines);
    EXPECT_EQ(gts7_record_lines(parsed("SA      A,1,C|HV      324000,0"), {kAngleGon, kUsFoot}, p),
              "SS      A,3.2808,C|HV      100.0000,0.0000");
}
