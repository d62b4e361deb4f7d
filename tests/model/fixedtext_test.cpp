#include "model/fixedtext.h"
#include "model/records.h"

#include <gtest/gtest.h>

using namespace telvane;

namespace {
// "中心" in GBK is D6 D0 D0 C4.
const std::string kZhong = "\xD6\xD0";
const std::string kXin = "\xD0\xC4";

std::string repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}
} // namespace

TEST(NameField, CutsAtFifteenBytesWithoutSplittingACharacter) {
    struct Case {
        std::string input;
        std::string stored;
    };
    const Case cases[] = {
        {"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO"},
        {"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
        {"", ""},
        // Eight Chinese characters are 16 bytes: seven whole ones fit, never seven and a half.
        {repeat(kZhong, 8), repeat(kZhong, 7)},
        {"A" + repeat(kXin, 8), "A" + repeat(kXin, 7)},
        {"AB" + repeat(kXin, 7), "AB" + repeat(kXin, 6)},
        {repeat(kXin, 7) + "A", repeat(kXin, 7) + "A"},
        {std::string("AB\0CD", 5), "AB"}, // text ends at its NUL
    };
    for (const Case& c : cases) {
        NameField f(c.input);
        EXPECT_EQ(f.str(), c.stored);
        EXPECT_LE(f.size(), 15u);
    }
}

TEST(NameField, GbkPairRecognition) {
    const std::string s = kZhong + "A\x81\x7F\x81\x40\xFF";
    EXPECT_TRUE(is_gbk_pair(s, 0));
    EXPECT_FALSE(is_gbk_pair(s, 2)); // ASCII
    EXPECT_FALSE(is_gbk_pair(s, 3)); // trail 0x7F is not a GBK trail byte
    EXPECT_TRUE(is_gbk_pair(s, 5));  // 81 40
    EXPECT_FALSE(is_gbk_pair(s, 7)); // lone lead byte at the end
}

TEST(JobPoints, StationsBacksightsAndCoordinatesInRecordOrder) {
    std::vector<record_item> records(6);
    records[0].data = sta_data{"S1", "C", 1.5, 100, 200, 10};
    bs_data bs_without;
    bs_without.name = "B0";
    bs_without.bss_north = 9; // ignored: has_bss is 0
    records[1].data = bs_without;
    bs_data bs_with;
    bs_with.name = "B1";
    bs_with.has_bss = 1;
    bs_with.bss_north = 1;
    bs_with.bss_east = 2;
    bs_with.bss_elev = 3;
    records[2].data = bs_with;
    records[3].data = sd_data{"P0", "X", 1, 2, 3, 4};
    sc_data sc;
    sc.name = "P1";
    sc.code = "TREE";
    sc.north = 5;
    sc.east = 6;
    sc.elev = 7;
    records[4].data = sc;
    records[5].data = note_data{"n"};

    std::vector<coord_item> points;
    append_job_points(records, points);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].name, "S1");
    EXPECT_EQ(points[0].north, 200); // the station stores east first
    EXPECT_EQ(points[0].east, 100);
    EXPECT_EQ(points[1].name, "B1");
    EXPECT_TRUE(points[1].code.empty());
    EXPECT_EQ(points[1].north, 1);
    EXPECT_EQ(points[1].east, 2);
    EXPECT_EQ(points[2].code, "TREE");
    EXPECT_EQ(points[2].east, 6);
}
