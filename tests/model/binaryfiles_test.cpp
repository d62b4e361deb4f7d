#include "lebytes.h"
#include "model/binaryfiles.h"
#include "model/jobtext.h"
#include "model/pointlisting.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <limits>

#include <random>

using namespace telvane;
using telvane::testing::Record;

namespace {

Lines L(std::initializer_list<const char*> lines) {
    return Lines(lines.begin(), lines.end());
}

struct Read {
    int rc;
    Lines lines;
};

template <typename Reader> Read run(Reader reader, const std::string& bytes) {
    Read r{0, {}};
    r.rc = reader(bytes, r.lines, nullptr);
    return r;
}

// 48-byte records.
Record r48(int type, std::string_view name, std::string_view code, float height) {
    Record r(48);
    r.i8(0, type).text(1, name).text(10, code).f32(20, height);
    return r;
}
Record r48_point(int type, std::string_view name, std::string_view code, float h, double n,
                 double e, double z) {
    Record r = r48(type, name, code, h);
    r.f64(24, n).f64(32, e).f64(40, z);
    return r;
}
Record r48_obs(int type, std::string_view name, std::string_view code, float h, std::uint32_t va,
               std::uint32_t ha, float sd) {
    Record r = r48(type, name, code, h);
    r.u32(24, va).u32(28, ha).f32(40, sd);
    return r;
}

} // namespace

TEST(Job48, EveryRecordTypeAndTheBearingRule) {
    const std::string file =
        std::string("\x01") + r48_point(1, "STN1", "CP", 1.5f, 1000.0, 2000.0, 50.0).bytes() +
        r48_point(4, "BK1", "", 1.5f, 1000.0, 2100.0, 0).bytes() +
        r48_obs(2, "A1", "C2", 1.25f, 324000, 3600, 0).bytes() +
        r48_obs(5, "", "", 1.0f, 1, 2, 0).bytes() +
        r48_obs(3, "B1", "X", 1.5f, 324000, 0, 12.5f).bytes() + r48(13, "SKIP", "", 0).bytes() +
        r48_obs(6, "D1", "W", 1.5f, 300000, 7200, 100.25f).bytes() +
        r48_obs(7, "D2", "W", 1.5f, 1, 1, 1.0f).bytes() +
        r48_point(8, "P1", "TREE", 1.3f, 3.0, 4.0, 5.0).bytes();
    const Read r = run(read_job48, file);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.lines,
              L({"STA     STN1,1.5000,CP", "XYZ     2000.0000,1000.0000,50.0000",
                 "BKB     BK1,0.0000,324000", // due east of the station
                 "SA      A1,1.2500,C2", "HV      3600,324000", "SA      NONAME,1.0000,",
                 "HV      2,1", "BS      B1,1.5000", "HVD     0,324000,12.5000",
                 "SD      D1,1.5000,W", "HVD     7200,300000,100.2500", "SD      D2,1.5000,W",
                 "HVD     1,1,1.0000", "SC      P1,1.3000,TREE", "ENZ     4.0000,3.0000,5.0000"}));
}

TEST(Job48, BacksightBearingOnlyRightAfterAStation) {
    const std::string sta = r48_point(1, "S", "", 1, 0, 0, 0);
    struct Case {
        std::string records;
        std::size_t bkb_lines;
    };
    const Case cases[] = {
        {sta + r48_point(4, "B", "", 0, 0, 0, 0).bytes(), 0},  // same point: no bearing
        {sta + r48_point(4, "B", "", 0, -1, 0, 0).bytes(), 1}, // south: 180 degrees
        {sta + r48_obs(2, "A", "", 0, 0, 0, 0).bytes() + r48_point(4, "B", "", 0, 5, 5, 0).bytes(),
         0},
        // A type 4 that produced nothing leaves "last" at the station: the next one counts.
        {sta + r48_point(4, "B", "", 0, 0, 0, 0).bytes() +
             r48_point(4, "C", "", 0, 1, 0, 0).bytes(),
         1},
        // One that produced its line makes the next one "after a backsight".
        {sta + r48_point(4, "B", "", 0, 1, 0, 0).bytes() +
             r48_point(4, "C", "", 0, 1, 0, 0).bytes(),
         1},
        // A skipped record in between does not change what came last.
        {sta + r48(13, "", "", 0).bytes() + r48_point(4, "B", "", 0, 1, 0, 0).bytes(), 1},
    };
    for (const Case& c : cases) {
        const Read r = run(read_job48, "\x02" + c.records);
        ASSERT_EQ(r.rc, 0);
        std::size_t bkb = 0;
        for (const auto& l : r.lines)
            bkb += l.rfind("BKB", 0) == 0;
        EXPECT_EQ(bkb, c.bkb_lines);
    }
    const Read south = run(read_job48, "\x01" + sta + r48_point(4, "B", "", 0, -1, 0, 0).bytes());
    EXPECT_EQ(south.lines.back(), "BKB     B,0.0000,648000");
}

TEST(Job56, RecordTypesDeletedRecordsAndCodes) {
    auto rec = [](int type, std::string_view name, std::string_view code) {
        Record r(56);
        r.i8(0, type).text(1, name).text(10, code).f32(20, 1.5f);
        return r;
    };
    Record sta = rec(1, "S1", "");
    sta.f64(24, 10).f64(32, 20).f64(40, 30);
    Record sa = rec(2, "A", "C");
    sa.i32(24, 324000).i32(28, -3600);
    Record sd = rec(7, "D", "C");
    sd.i32(24, 1).i32(28, 2).f64(40, 99.5);
    Record sc = rec(4, "", "T");
    sc.f64(24, 1).f64(32, 2).f64(40, 3);
    Record deleted = rec(9,
                         "\x7F"
                         "DEL",
                         ""); // even an unknown type is ignored when deleted
    const std::string file =
        "\x02" + sta.bytes() + sa.bytes() + deleted.bytes() + sd.bytes() + sc.bytes();
    const Read r = run(read_job56, file);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.lines, L({"STA     S1,1.5000,NONAME", "XYZ     20.0000,10.0000,30.0000",
                          "SA      A,1.5000,C", "HV      -3600,324000", "SD      D,1.5000,C",
                          "HVD     2,1,99.5000", "SC      NONAME,1.5000,T",
                          "ENZ     2.0000,1.0000,3.0000"}));
    for (int bad : {0, 9, 100, -1})
        EXPECT_EQ(run(read_job56, "\x01" + rec(bad, "X", "").bytes()).rc, -4) << bad;
}

TEST(Job96, RecordTypesAndNotes) {
    auto rec = [](int type, std::string_view name, std::string_view code) {
        Record r(96);
        r.i8(0, type).text(1, name).text(10, code);
        r.f64(32, 12.5).f64(40, 3600).f64(48, 324000.4).f64(56, 100).f64(64, 200).f64(72, 5);
        r.f64(80, 1.55).f64(88, 1.8);
        return r;
    };
    Record note(96);
    note.i8(0, 8).text(1, "line one\r\nline two");
    std::string file(96, '\xAB'); // header: read, not interpreted
    for (int t : {1, 2, 3, 4, 5, 6, 7, 10, 11})
        file += rec(t, "N" + std::to_string(t), "CODE_OF_TWENTY_TWO_CH").bytes();
    file += note.bytes();
    const Read r = run(read_job96, file);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(r.lines,
              L({"STA     N1,1.5500,CODE_OF_TWENTY_TWO_CH", "XYZ     200.0000,100.0000,5.0000",
                 "BS      N2,1.8000", "HVD     3600,324000,12.5000",
                 "SA      N3,1.8000,CODE_OF_TWENTY_TWO_CH", "HV      3600,324000",
                 "SD      N4,1.8000,CODE_OF_TWENTY_TWO_CH", "HVD     3600,324000,12.5000",
                 "BKB     N5,3600,324000", "SC      N6,1.8000,CODE_OF_TWENTY_TWO_CH",
                 "HVD     3600,324000,12.5000", "ENZ     200.0000,100.0000,5.0000",
                 "SC      N7,1.8000,CODE_OF_TWENTY_TWO_CH", "ENZ     200.0000,100.0000,5.0000",
                 "SC      N11,1.8000,CODE_OF_TWENTY_TWO_CH", "ENZ     200.0000,100.0000,5.0000",
                 "NOTE    line one  line two"}));
    for (int bad : {0, 9, 12, -5})
        EXPECT_EQ(run(read_job96, std::string(96, '\0') + rec(bad, "X", "").bytes()).rc, -4);
}

TEST(Job112, RecordTypesBacksightBearingAndNotes) {
    auto rec = [](int type, std::string_view name, double sd) {
        Record r(112);
        r.i8(0, type).text(1, name).text(31, "CODE");
        r.f64(48, 10).f64(56, 20).f64(64, 30).f64(72, 7200).f64(80, 270000).f64(88, sd);
        r.f64(96, 1.6).f64(104, 2.0);
        return r;
    };
    Record note(112);
    note.i8(0, 8).text(1, "a\nb");
    std::string file(112, '\0');
    file += rec(1, "A_NAME_OF_THIRTY_CHARACTERS_XY", 5).bytes() + rec(2, "B", 5).bytes() +
            rec(2, "K", 0).bytes() + rec(3, "C", 5).bytes() + rec(4, "D", 5).bytes() +
            rec(5, "E", 5).bytes() + rec(6, "F", 5).bytes() + rec(7, "G", 5).bytes() +
            rec(9, "H", 5).bytes() + rec(10, "I", 5).bytes() + rec(11, "J", 5).bytes() +
            note.bytes();
    const Read r = run(read_job112, file);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(
        r.lines,
        L({"STA     A_NAME_OF_THIRTY_CHARACTERS_XY,1.6000,CODE", "XYZ     20.0000,10.0000,30.0000",
           "BS      B,2.0000", "HVD     7200,270000,5.0000", "BKB     K,7200,270000",
           "SA      C,2.0000,CODE", "HV      7200,270000", "SD      D,2.0000,CODE",
           "HVD     7200,270000,5.0000", "SC      F,2.0000,CODE", "ENZ     20.0000,10.0000,30.0000",
           "SC      G,2.0000,CODE", "HVD     7200,270000,5.0000", "ENZ     20.0000,10.0000,30.0000",
           "SC      J,2.0000,CODE", "ENZ     20.0000,10.0000,30.0000", "NOTE    a b"}));
    EXPECT_EQ(run(read_job112, std::string(112, '\0') + rec(12, "X", 0).bytes()).rc, -4);
    EXPECT_EQ(run(read_job112, std::string(112, '\0') + rec(0, "X", 0).bytes()).rc, -4);
}

TEST(Job136, RecordTypesAndTheEmptyCodeField) {
    auto rec = [](int type, bool bss) {
        Record r(136);
        r.i8(0, type).text(16, "PT" + std::to_string(type)).i8(27, bss ? 1 : 0).f32(28, 1.5f);
        r.f64(56, 1000).f64(64, 2000).f64(72, 30).f64(96, 11).f64(104, 22).f64(112, 33);
        r.f64(48, 0); // overwritten below where the format stores a float there
        return r;
    };
    Record sta = rec(1, false);
    sta.f64(48, 7);
    Record obs = rec(3, false);
    obs.f32(48, 1.75f);
    Record side = rec(5, false);
    side.f32(48, 1.25f);
    Record bs = rec(6, true);
    bs.f32(48, 2.0f);
    Record bs_plain = rec(6, false);
    bs_plain.f32(48, 2.0f);
    std::string file(48, '\0');
    file += sta.bytes() + rec(2, false).bytes() + obs.bytes() + rec(4, false).bytes() +
            side.bytes() + bs.bytes() + rec(7, false).bytes() + bs_plain.bytes() +
            rec(0, false).bytes() + rec(-3, false).bytes();
    const Read r = run(read_job136, file);
    EXPECT_EQ(r.rc, 0);
    EXPECT_EQ(
        r.lines,
        L({"STA     PT1,1.5000,", "XYZ     7.0000,1000.0000,2000.0000", "SC      PT2,0.0000,",
           "NEZ     1000.0000,2000.0000,30.0000", "SC      PT3,1.7500,",
           "HVD     2000,1000,30.0000", "NEZ     11.0000,22.0000,33.0000", "SC      PT5,1.2500,",
           "NEZ     1000.0000,2000.0000,30.0000", "BS      PT6,2.0000", "HVD     2000,1000,30.0000",
           "SC      PT6,2.0000,", "NEZ     11.0000,22.0000,33.0000", "BS      PT6,2.0000",
           "HVD     2000,1000,30.0000"}));
    // The lines load as a job.
    Lines text = L({"JOB     X", "INST    TotalStation"});
    text.insert(text.end(), r.lines.begin(), r.lines.end());
    Job job;
    EXPECT_EQ(load_job_text(text, job), kLoadOk);
}

TEST(BinaryJobs, HeadersTruncationAndResultCodes) {
    const std::string rec48 = r48_point(8, "P", "", 0, 1, 2, 3);
    struct Case {
        const char* what;
        int (*reader)(std::string_view, Lines&, std::size_t*);
        std::string bytes;
        int rc;
    };
    const Case cases[] = {
        {"48 empty", read_job48, "", -2},
        {"48 version 3", read_job48, "\x03" + rec48, -6},
        {"48 version 0", read_job48, std::string(1, '\0'), -6},
        {"48 header only", read_job48, "\x01", 0},
        {"48 cut record", read_job48, "\x01" + rec48.substr(0, 47), -3},
        {"48 one byte of a record", read_job48, "\x01\x08", -3},
        {"48 unknown type", read_job48, "\x01" + r48(9, "", "", 0).bytes(), -4},
        {"48 negative type", read_job48, "\x01" + r48(-128, "", "", 0).bytes(), -4},
        {"56 empty", read_job56, "", -2},
        {"56 version 7", read_job56, "\x07", -6},
        {"56 cut record", read_job56, "\x01" + std::string(55, '\x01'), -3},
        {"96 empty", read_job96, "", -2},
        {"96 short header", read_job96, std::string(95, '\0'), -2},
        {"96 header only", read_job96, std::string(96, '\0'), 0},
        {"96 cut record", read_job96, std::string(96 + 50, '\0'), -3},
        {"112 short header", read_job112, std::string(111, '\0'), -2},
        {"112 cut record", read_job112, std::string(112 + 1, '\x01'), -3},
        {"136 empty", read_job136, "", -2},
        {"136 cut record", read_job136, std::string(48 + 135, '\0'), -3},
        {"pts empty", read_points56, "", 0},
        {"ptf empty", read_points40, "", 0},
        {"pts cut", read_points56, std::string(55, '\x0B'), -3},
        {"ptf cut", read_points40, std::string(39, 'A'), -3},
    };
    for (const Case& c : cases)
        EXPECT_EQ(run(c.reader, c.bytes).rc, c.rc) << c.what;
}

TEST(BinaryJobs, NamesWithoutTerminatorStayInsideTheirSpan) {
    // Name and code spans full to the last byte, followed by non-NUL bytes: each text ends at
    // its span, never in the next field.
    Record r = r48_point(8, "123456789", "ABCDEFGHIJ", 1, 0, 0, 0);
    r.f32(20, 1.0f);
    const Read read = run(read_job48, "\x01" + r.bytes());
    ASSERT_EQ(read.rc, 0);
    EXPECT_EQ(read.lines[0], "SC      123456789,1.0000,ABCDEFGHIJ");

    Record note(96);
    note.i8(0, 8);
    for (std::size_t i = 1; i < 96; ++i)
        note.text(i, "x");
    const Read n = run(read_job96, std::string(96, '\0') + note.bytes());
    ASSERT_EQ(n.rc, 0);
    EXPECT_EQ(n.lines[0].size(), 8u + 95u);
}

TEST(BinaryPoints, FiftySixAndFortyByteFormats) {
    auto pt = [](int type, std::string_view name, std::string_view code) {
        Record r(56);
        r.i8(0, type).text(1, name).text(16, code).f64(32, 100.5).f64(40, 200.25).f64(48, 3);
        return r;
    };
    const Read pts = run(read_points56, pt(11, "P1", "TREE").bytes() + pt(10, "SKIP", "").bytes() +
                                            pt(11, "FIFTEEN_CHARS_X", "SIXTEEN_CHARS_XY").bytes() +
                                            pt(12, "BAD", "").bytes() + pt(11, "LATE", "").bytes());
    EXPECT_EQ(pts.rc, -4);
    EXPECT_EQ(pts.lines, L({"SC      P1,0.0000,TREE", "ENZ     200.2500,100.5000,3.0000",
                            "SC      FIFTEEN_CHARS_X,0.0000,SIXTEEN_CHARS_XY",
                            "ENZ     200.2500,100.5000,3.0000"}));

    Record a(40), b(40);
    a.text(0, "K1").f64(16, 1).f64(24, 2).f64(32, 3);
    b.f64(16, -1).f64(24, -2).f64(32, -3);
    const Read ptf = run(read_points40, a.bytes() + b.bytes());
    EXPECT_EQ(ptf.rc, 0);
    EXPECT_EQ(ptf.lines, L({"SC      K1,0,", "NEZ     1.0000,2.0000,3.0000", "SC      ,0,",
                            "NEZ     -1.0000,-2.0000,-3.0000"}));

    std::vector<coord_item> points;
    read_point_listing(ptf.lines, points);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].name, "K1");
    EXPECT_EQ(points[0].north, 1);
    EXPECT_EQ(points[0].east, 2);
    EXPECT_EQ(points[1].name, "NONAME"); // an empty name read from the listing
}

TEST(PointListing, ValuesKeywordsAndDamagedLines) {
    std::vector<coord_item> points{coord_item{"KEEP", "", 0, 0, 0}};
    read_point_listing(L({"ENZ     1,2,3", "SC      P,0,C", "XYZ     9,9,9", "NEZ     4,5,6"}),
                       points);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_TRUE(points[0].name.empty()); // a point before any SC line has no name or code
    EXPECT_EQ(points[0].east, 1);
    EXPECT_EQ(points[0].north, 2);
    EXPECT_EQ(points[1].code, "C");
    EXPECT_EQ(points[1].north, 4);

    // A damaged line is left out and counted; the good points around it load.
    for (const char* bad : {"SC      P,0", "ENZ     1,2,3,4", "ENZ     1,x,3", "ENZ     nan,2,3"}) {
        std::size_t skipped = 0;
        read_point_listing(L({"SC      A,0,", "ENZ     1,2,3", bad, "ENZ     7,8,9"}), points,
                           &skipped);
        EXPECT_EQ(points.size(), 2u) << bad;
        EXPECT_EQ(skipped, 1u) << bad;
    }
}

TEST(PointListing, ABinaryPointNameWithABlankOrACommaLoadsWithTheOthers) {
    telvane::testing::Record a(40), b(40), c(40);
    a.text(0, "A B").f64(16, 1).f64(24, 2).f64(32, 3);
    b.text(0, "C,D").f64(16, 4).f64(24, 5).f64(32, 6);
    c.text(0, "E").f64(16, std::numeric_limits<double>::quiet_NaN()).f64(24, 5).f64(32, 6);
    Lines lines;
    std::size_t dropped = 0;
    ASSERT_EQ(read_points40(a.bytes() + b.bytes() + c.bytes(), lines, &dropped), 0);
    EXPECT_EQ(dropped, 1u); // the point holding a NaN
    std::vector<coord_item> points;
    std::size_t skipped = 0;
    read_point_listing(lines, points, &skipped);
    EXPECT_EQ(skipped, 0u);
    ASSERT_EQ(points.size(), 2u);
    EXPECT_EQ(points[0].name, "A B");
    EXPECT_EQ(points[1].name, "C;D"); // the comma no longer splits its line
    EXPECT_EQ(points[1].north, 4);
}

TEST(BinaryJobs, ARecordHoldingNanOrInfinityIsLeftOutAndCounted) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    telvane::testing::Record good(96), bad_north(96), bad_angle(96);
    good.i8(0, 5).text(1, "P1").f64(40, 1).f64(48, 2).f64(56, 3);
    bad_north.i8(0, 5).text(1, "P2").f64(40, nan).f64(48, 2).f64(56, 3);
    bad_angle.i8(0, 6).text(1, "P3").f64(64, inf);
    Lines lines;
    std::size_t dropped = 0;
    ASSERT_EQ(
        read_job96(std::string(96, '\0') + good.bytes() + bad_north.bytes() + bad_angle.bytes(),
                   lines, &dropped),
        0);
    EXPECT_EQ(dropped, 2u);
    for (const std::string& l : lines) {
        EXPECT_EQ(l.find("nan"), std::string::npos) << l;
        EXPECT_EQ(l.find("P2"), std::string::npos) << l;
    }
    EXPECT_NE(lines.front().find("P1"), std::string::npos);
}

TEST(BinaryDispatch, ExtensionsInPathOrder) {
    const std::string file48 = "\x01" + r48_point(8, "P", "", 0, 1, 2, 3).bytes();
    Record rec56(56);
    rec56.i8(0, 8).text(1, "Q");
    const std::string file56 = "\x01" + rec56.bytes() + rec56.bytes(); // 113 bytes: not 48-byte
    std::string file96(96, '\0');
    Record r96(96);
    r96.i8(0, 7).text(1, "R");
    file96 += r96.bytes();

    struct Case {
        const char* path;
        std::string bytes;
        int rc;
        const char* first_line;
    };
    const Case cases[] = {
        {"A.MEA", file48, 0, "SC      P,0.0000,"},
        {"a.mea", file56, 0, "SC      Q,0.0000,"},         // 48 fails, 56 reads
        {"old.mea/x.dat", file96, 0, "SC      R,0.0000,"}, // a folder's name never decides
        {"old.mea\\x.dat", file96, 0, "SC      R,0.0000,"},
        {"x.mea.dat", file48, 0, "SC      P,0.0000,"}, // from the name's first dot
        {"x.dat", file96, 0, "SC      R,0.0000,"},
        {"x.txt", file48, 0, nullptr}, // no reader: nothing, 0
        {"empty.mea", "", -2, nullptr},
        {"three.mea", "\x03", -6, nullptr},
    };
    for (const Case& c : cases) {
        Lines out{"JOB     J"};
        EXPECT_EQ(convert_job_bytes(c.path, c.bytes, out), c.rc) << c.path;
        if (c.first_line) {
            ASSERT_GE(out.size(), 2u) << c.path;
            EXPECT_EQ(out[1], c.first_line) << c.path;
        } else if (c.rc != 0 && std::string(c.path) != "three.mea") {
            EXPECT_EQ(out.size(), 1u) << c.path;
        }
    }
    // A failed 48-byte attempt leaves none of its lines behind.
    std::string half48 = file48 + "\x08";
    Lines out;
    EXPECT_EQ(convert_job_bytes("x.mea", half48, out), -3);
    EXPECT_TRUE(out.empty());

    // Coordinate files: ".coo" goes through 48 then 56; ".cor" is the 96-byte job format.
    Lines coords{"old"};
    EXPECT_EQ(convert_coord_bytes("p.coo", file56, coords), 0);
    EXPECT_EQ(coords[0], "SC      Q,0.0000,");
    EXPECT_EQ(convert_coord_bytes("p.cor", file96, coords), 0);
    EXPECT_EQ(coords, L({"SC      R,0.0000,", "ENZ     0.0000,0.0000,0.0000"}));
    // A point file in a folder whose name holds another extension is read by its own name.
    Record point(56);
    point.i8(0, 11).text(1, "K").f64(32, 1).f64(40, 2).f64(48, 3);
    for (const char* path : {"site.cord/p.pts", "C:\\site.cord\\P.PTS"}) {
        EXPECT_EQ(convert_coord_bytes(path, point.bytes(), coords), 0) << path;
        EXPECT_EQ(coords, L({"SC      K,0.0000,", "ENZ     2.0000,1.0000,3.0000"})) << path;
    }
    EXPECT_EQ(binary_extension("a.b/NAME.Mea"), ".mea");
    EXPECT_EQ(binary_extension("a.b/name"), "");
}

TEST(BinaryDispatch, FilesOnDisk) {
    telvane::testing::TempDir dir;
    const std::string path =
        dir.write("job.mea", "\x01" + r48_point(1, "S", "", 1, 1, 2, 3).bytes());
    Lines out;
    EXPECT_EQ(convert_job_file(path, out), 0);
    EXPECT_EQ(out.size(), 2u);
    EXPECT_EQ(convert_job_file(dir.file("missing.mea"), out), -1);
    EXPECT_EQ(convert_coord_file(dir.file("missing.pts"), out), -1);
    EXPECT_EQ(binary_result_key(-1), "file_not_exist");
    EXPECT_EQ(binary_result_key(-5), "file_bad_data");
    EXPECT_EQ(binary_result_key(-6), "file_wrong_format");
    EXPECT_EQ(binary_result_key(-7), "file_undefined_error_code");
}

TEST(BinaryReaders, RandomBytesNeverReadOutside) {
    // Every reader over random files of every small size: a result code, nothing else. The
    // sanitizer build turns any read outside the bytes into a failure.
    std::mt19937 rng(12345);
    int (*const readers[])(std::string_view, Lines&, std::size_t*) = {
        read_job48, read_job56, read_job96, read_job112, read_job136, read_points56, read_points40};
    for (std::size_t size = 0; size < 400; ++size) {
        std::string bytes(size, '\0');
        for (char& c : bytes)
            c = static_cast<char>(rng());
        for (auto reader : readers) {
            Lines out;
            const int rc = reader(bytes, out, nullptr);
            EXPECT_TRUE(rc == 0 || rc == -2 || rc == -3 || rc == -4 || rc == -6) << rc;
        }
    }
}
