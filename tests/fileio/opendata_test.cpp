#include "fileio/dxf.h"
#include "fileio/opendata.h"
#include "lebytes.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

using namespace telvane;
using telvane::testing::TempDir;

namespace {

Lines L(std::initializer_list<const char*> lines) {
    return Lines(lines.begin(), lines.end());
}

// A state with something in every list, to see what each recogniser empties.
DataState full_state() {
    DataState d;
    d.RecordList.resize(2);
    d.CoordList.push_back({"OLD", "", 1, 2, 3});
    d.CodeList.push_back({"OLDCODE"});
    d.Coord3List.resize(1);
    d.RoadRows.push_back({"old"});
    d.Kind = DataKind::None; // no reader gives it: a file that is not taken leaves it
    return d;
}

std::vector<std::string> keys(const Messages& m) {
    std::vector<std::string> out;
    for (const auto& x : m)
        out.push_back(x.value);
    return out;
}

} // namespace

TEST(TextDispatch, EachStepInOrderWithTheListsItEmpties) {
    struct Case {
        const char* what;
        Lines lines;
        const char* ext;
        int kind; // as reported, from 0 for none to 8 for stakes
        std::size_t records, points, codes, points3, road_rows;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"blank", L({"", "  ", "\t"}), ".TXT", 0, 2, 1, 1, 1, 1, {"open_empty_file"}},
        {"phi",
         L({"head", "JD1,1,2,3,4,5,6", "", "JD2,1,2,3,4,5,6"}),
         ".PHI",
         5,
         0,
         0,
         0,
         1,
         2,
         {}},
        {"phi refused", L({"head", "JD1,1,2"}), ".PHI", 5, 2, 1, 1, 1, 0, {"wrong_format"}},
        {"phi without data", L({"head"}), ".PHI", 5, 2, 1, 1, 1, 0, {"wrong_format"}},
        {"pvi", L({"head", "0,10,0,0,0"}), ".PVI", 7, 0, 0, 0, 1, 1, {}},
        {"sec",
         L({"h", "0,100,200,0.5", "h", "0,0,0,0,0", "1,2,3,4,5,6,7"}),
         ".SEC",
         6,
         0,
         0,
         0,
         1,
         2,
         {}},
        {"sec four lines",
         L({"h", "0,100,200", "h", "0,0,0,0,0"}),
         ".SEC",
         6,
         2,
         1,
         1,
         1,
         1,
         {"wrong_format"}},
        {"sec short", L({"h", "0,100,200"}), ".SEC", 6, 2, 1, 1, 1, 0, {"wrong_format"}},
        {"pile list", L({"K", "0", "20.5", "", "40"}), ".TXT", 8, 0, 0, 0, 1, 3, {}},
        {"dxf",
         L({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "1", "20", "2", "30", "3", "0",
            "ENDSEC", "0", "EOF"}),
         ".TXT",
         2,
         0,
         1,
         0,
         1,
         1,
         {}},
        {"job",
         L({"JOB     J", "INST    I", "STA     S,1,C", "XYZ     1,2,3"}),
         ".TXT",
         1,
         1,
         0,
         0,
         1,
         1,
         {}},
        {"points code second", L({"P1,TREE,1,2,3", "P2,,4,5,6", ""}), ".csv", 2, 0, 2, 0, 1, 1, {}},
        {"points code last", L({"P1,1,2,3,TREE"}), ".csv", 2, 0, 1, 0, 1, 1, {}},
        {"points3", L({"P1,1,2,3,0.1,0.2,0.3,C"}), ".csv", 4, 0, 1, 0, 1, 1, {}},
        {"codes", L({"A01", "TREE"}), ".txt", 3, 0, 0, 2, 1, 1, {}},
        {"code table", L({"T:1:0:0:0:0:0:0:0:0"}), ".txt", 3, 0, 0, 1, 1, 1, {}},
        {"nothing fits", L({"a b c", "x.y"}), ".txt", 0, 2, 1, 1, 1, 1, {"wrong_format"}},
        // A job text that does not load goes on to the later recognisers.
        {"bad job",
         L({"JOB     J", "INST    I", "STA     S,x,C", "XYZ     1,2,3"}),
         ".txt",
         0,
         2,
         1,
         1,
         1,
         1,
         {"wrong_format"}},
    };
    for (const Case& c : cases) {
        DataState d = full_state();
        Messages m;
        open_text(c.lines, c.ext, d, FileSettings{}, m);
        EXPECT_EQ(data_kind_number(d), c.kind) << c.what;
        EXPECT_EQ(d.RecordList.size(), c.records) << c.what;
        EXPECT_EQ(d.CoordList.size(), c.points) << c.what;
        EXPECT_EQ(d.CodeList.size(), c.codes) << c.what;
        EXPECT_EQ(d.Coord3List.size(), c.points3) << c.what;
        EXPECT_EQ(d.RoadRows.size(), c.road_rows) << c.what;
        EXPECT_EQ(keys(m), c.messages) << c.what;
    }
}

TEST(TextDispatch, FirstMatchWins) {
    // A file of one-number lines after a header is a pile list before it could be a code list.
    DataState d;
    Messages m;
    open_text(L({"CHAINAGE", "10", "20"}), ".txt", d, {}, m);
    EXPECT_EQ(d.Kind, DataKind::Road);
    EXPECT_EQ(d.Road, RoadList::Stakes);
    // A bare code list of two or more lines is not a pile list: its codes are not chainages.
    d = {};
    open_text(L({"TREE", "WALL", "POLE"}), ".txt", d, {}, m);
    EXPECT_EQ(d.Kind, DataKind::Codes);
    // A job text that starts with a "0" line is not a DXF once a group code fails to read.
    d = {};
    open_text(L({"0", "JOB     J", "INST    I", "STA     S,1,C", "XYZ     1,2,3"}), ".txt", d, {},
              m);
    EXPECT_EQ(d.Kind, DataKind::Records);
    EXPECT_EQ(d.JobName, "J");
    // Name, three numbers and a code fail the first point form and read as the second.
    d = {};
    open_text(L({"P1,1,2,3,TREE"}), ".txt", d, {}, m);
    ASSERT_EQ(d.Kind, DataKind::Points);
    EXPECT_EQ(d.CoordList[0].code, "TREE");
    EXPECT_EQ(d.CoordList[0].north, 1);
}

TEST(PointRows, OrderUnitsAndNames) {
    FileSettings s;
    DataState d;
    Messages m;
    open_text(L({",C,1,2,3"}), ".csv", d, s, m);
    EXPECT_EQ(d.CoordList[0].name, "NONAME");
    EXPECT_EQ(d.CoordList[0].north, 1);
    EXPECT_EQ(d.CoordList[0].east, 2);
    s.order = kOrderENZ;
    s.units.distance = kIntFoot;
    open_text(L({"P,C,1,2,3"}), ".csv", d, s, m);
    EXPECT_DOUBLE_EQ(d.CoordList[0].east, 0.3048);
    EXPECT_DOUBLE_EQ(d.CoordList[0].north, 0.6096);
    EXPECT_DOUBLE_EQ(d.CoordList[0].elev, 0.9144);
}

TEST(ContentTest, TextBinaryAndChinese) {
    struct Case {
        std::string bytes;
        int result;
    };
    const Case cases[] = {
        {"", kContentEmpty},
        {"JOB     J\r\n", kContentText},
        {"\t\v\f\r\n", kContentText},
        {std::string("AB\0C", 4), kContentBinary},
        {"\x01\x02", kContentBinary},
        {"\x7F", kContentBinary},
        // A Chinese point name is text.
        {"\xD6\xD0\xD0\xC4,TREE,1,2,3\r\n", kContentText},
        {"\xD6\x7F", kContentBinary},                      // 0x7F is no GBK trail byte
        {"\xD6", kContentBinary},                          // a lead byte alone at the end
        {"\x80\x41", kContentBinary},                      // 0x80 is no GBK lead byte
        {std::string(99, 'A') + "\xD6\xD0", kContentText}, // a pair across the 100-byte limit
        {std::string(100, 'A') + "\x01", kContentText},    // only the first 100 bytes count
    };
    for (const Case& c : cases)
        EXPECT_EQ(content_test(c.bytes), c.result) << c.bytes;
}

TEST(OpenFile, BinaryAndTextFilesFromDisk) {
    TempDir dir;
    telvane::testing::Record sc(48);
    sc.i8(0, 8).text(1, "P1").f64(24, 1).f64(32, 2).f64(40, 3);
    struct Case {
        std::string name;
        std::string bytes;
        bool dispatched;
        int kind; // as reported
        std::vector<std::string> messages;
    };
    telvane::testing::Record pt(40);
    pt.text(0, "K").f64(16, 1);
    const Case cases[] = {
        {"job.mea", "\x01" + sc.bytes(), true, 1, {"BINARY"}},
        {"job.MEA", "\x09" + sc.bytes(), true, 1, {"file_wrong_format", "BINARY"}},
        {"pts.ptf", pt.bytes(), true, 2, {"BINARY"}},
        {"a.txt", "\x01\x02\x03", true, 0, {"wrong_format", "BINARY"}},
        {"empty.txt", "", false, 0, {"file_is_empty"}},
        {"road.PHI", "h\r\nJD,1,2,3,4,5,6\r\n", true, 5, {}},
        // Road files are text by their extension even with Chinese bytes in them.
        {"road.sec",
         "\xD6\xD0\r\n1,2,3\r\n\xD6\xD0\r\n1,2,3,4,5\r\n1,2,3,4,5,6,7\r\n",
         true,
         6,
         {}},
        {"chinese.txt", "\xD6\xD0\xD0\xC4,TREE,1,2,3\r\n", true, 2, {}},
        // A name holding commas no longer breaks the job text it converts into.
        {"comma.dat",
         std::string(96, '\0') +
             [] {
                 telvane::testing::Record r(96);
                 r.i8(0, 5).text(1, "A,B,C");
                 return r.bytes();
             }(),
         true,
         1,
         {"BINARY"}},
    };
    for (const Case& c : cases) {
        const std::string path = dir.write(c.name, c.bytes);
        DataState d;
        Messages m;
        EXPECT_EQ(open_data_file(path, d, {}, m), c.dispatched) << c.name;
        EXPECT_EQ(data_kind_number(d), c.kind) << c.name;
        EXPECT_EQ(keys(m), c.messages) << c.name;
    }
    DataState d;
    Messages m;
    EXPECT_FALSE(open_data_file(dir.file("missing.txt"), d, {}, m));
    EXPECT_EQ(keys(m), std::vector<std::string>{"file_unable_open"});
    // A folder opens but gives no bytes: a read error.
    m.clear();
    EXPECT_FALSE(open_data_file(dir.path().string(), d, {}, m));
    EXPECT_EQ(keys(m), std::vector<std::string>{"file_read_error"});
    // A folder with a dot in its name does not hide the extension.
    std::filesystem::create_directory(dir.path() / "j.smith");
    const std::string in_folder = (dir.path() / "j.smith" / "day.mea").string();
    std::ofstream(in_folder, std::ios::binary) << "\x01" + sc.bytes();
    d = {};
    m.clear();
    EXPECT_TRUE(open_data_file(in_folder, d, {}, m));
    EXPECT_EQ(d.Kind, DataKind::Records);
    EXPECT_EQ(d.JobName, "day");
    // The job name is the file name without its last extension; a name that is only an
    // extension has none.
    for (const auto& [file, job] :
         {std::pair{"day.mea.bak", "day.mea"}, std::pair{".mea", "NONAME"}}) {
        const std::string path = dir.write(file, "\x01" + sc.bytes());
        d = {};
        m.clear();
        EXPECT_TRUE(open_data_file(path, d, {}, m)) << file;
        EXPECT_EQ(d.JobName, job) << file;
    }
}

TEST(Dxf, ReaderRecognitionNamesAndOrder) {
    const Lines drawing = L(
        {"999", "comment", "0",      "SECTION", "2",  "HEADER",   "9", "$ACADVER", "1",  "AC1009",
         "0",   "ENDSEC",  "0",      "SECTION", "2",  "ENTITIES", "0", "POINT",    "8",  "0",
         "10",  "9",       "20",     "8",       "30", "7",        "0", "TEXT",     "8",  "PNTNO",
         "10",  "0",       "20",     "0",       "1",  "P1",       "0", "TEXT",     "8",  "PNTELEV",
         "1",   "99",      "0",      "TEXT",    "8",  "PNTDESC",  "1", "TREE",     "0",  "POINT",
         "10",  "500",     "20",     "300",     "30", "1",        "0", "LINE",     "10", "0",
         "20",  "0",       "0",      "POINT",   "",   "10",       "1", "20",       "2",  "30",
         "3",   "0",       "ENDSEC", "0",       "EOF"});
    FileSettings s;
    std::vector<coord_item> points;
    ASSERT_TRUE(read_dxf(drawing, s, points));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_TRUE(points[0].name.empty()); // before any PNTNO text
    EXPECT_EQ(points[1].name, "P1");
    EXPECT_EQ(points[1].code, "TREE");
    // X is east and Y is north, whatever the order of the rows.
    EXPECT_EQ(points[1].east, 500);
    EXPECT_EQ(points[1].north, 300);
    EXPECT_EQ(points[2].name, "P1"); // names stay in force
    s.order = kOrderENZ;
    ASSERT_TRUE(read_dxf(drawing, s, points));
    EXPECT_EQ(points[1].east, 500);
    EXPECT_EQ(points[1].north, 300);
    // An empty PNTNO text is read like any empty name.
    ASSERT_TRUE(read_dxf(L({"0", "SECTION", "2", "ENTITIES", "0", "TEXT", "8", "PNTNO", "1", "",
                            "0", "POINT", "10", "1", "0", "ENDSEC"}),
                         s, points));
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].name, "NONAME");

    struct Refusal {
        Lines lines;
        bool accepted;
    };
    const Refusal cases[] = {
        {L({"P1,C,1,2,3"}), false},
        {L({"", "", "", ""}), false},
        {L({"", "", "", "", "0"}), false},             // only the first four lines are looked at
        {L({"", "0", "EOF"}), true},                   // no ENTITIES: accepted, no points
        {L({"0", "SECTION", "x", "ENTITIES"}), false}, // a group code that is no integer
        {L({"0", "SECTION", "2", "ENTITIES", "0", "POINT", "10", "abc"}), false},
    };
    for (const Refusal& c : cases) {
        points = {coord_item{"KEEP", "", 0, 0, 0}};
        EXPECT_EQ(read_dxf(c.lines, {}, points), c.accepted) << c.lines.size();
        if (c.accepted)
            EXPECT_TRUE(points.empty());
        else
            EXPECT_EQ(points.size(), 1u);
    }
}

TEST(OpenFile, ADamagedBinaryFileLoadsItsGoodRecordsAndSaysHowManyWent) {
    TempDir dir;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    telvane::testing::Record good(40), bad(40);
    good.text(0, "A B").f64(16, 1).f64(24, 2).f64(32, 3);
    bad.text(0, "X").f64(16, nan);
    DataState d;
    Messages m;
    ASSERT_TRUE(open_data_file(dir.write("p.ptf", good.bytes() + bad.bytes()), d, {}, m));
    ASSERT_EQ(d.CoordList.size(), 1u);
    EXPECT_EQ(d.CoordList[0].name, "A B");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].value, "file_bad_data");
    EXPECT_EQ(m[0].suffix, "1");
    // Nothing good at all: said as well.
    d = {};
    m.clear();
    ASSERT_TRUE(open_data_file(dir.write("q.ptf", bad.bytes()), d, {}, m));
    EXPECT_TRUE(d.CoordList.empty());
    EXPECT_EQ(m[0].value, "file_bad_data");
}

TEST(OpenFile, BinaryJobsAndPointsThatGiveNothingSayWhy) {
    TempDir dir;
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> messages;
    };
    telvane::testing::Record job96(96);
    job96.i8(0, 5).text(1, "P").f64(40, std::numeric_limits<double>::infinity());
    const Case cases[] = {
        // A job of damaged records only: the damaged count, and the job is empty.
        {"j.dat", std::string(96, '\0') + job96.bytes(), {"file_bad_data", "BINARY"}},
        // A binary point file with a record of an unknown type.
        {"p.pts",
         std::string(1, '\x63') + std::string(55, '\0'),
         {"file_undefined_type", "BINARY"}},
        // A point file of no point at all.
        {"e.pts", std::string(56, '\x0a'), {"BINARY"}},
        // A file no binary reader takes.
        {"x.bin", std::string("\x01\x02", 2), {"wrong_format", "BINARY"}},
    };
    for (const Case& c : cases) {
        DataState d;
        Messages m;
        ASSERT_TRUE(open_data_file(dir.write(c.name, c.bytes), d, {}, m)) << c.name;
        std::vector<std::string> got;
        for (const UserMessage& u : m)
            got.push_back(u.value);
        if (std::string(c.name) == "e.pts") {
            EXPECT_TRUE(got.size() == 1 || got.front() == "file_no_valid_data") << c.name;
        } else {
            EXPECT_EQ(got, c.messages) << c.name;
        }
    }
}

TEST(TextDispatch, MainPileRowsOfSevenOrFiveFieldsAndRefusals) {
    struct Case {
        const char* text;
        std::size_t rows;
        bool accepted;
    };
    const Case cases[] = {
        {"t\r\n1,2,3\r\nt\r\n L , 0 , 0 , 10 , R ,6,7\r\nA,1,1,5,R\r\n\r\nS,0,0,5,L,1,2\r\n", 3,
         true},
        {"t\r\n1,2,3\r\nt\r\nL,0,0,10\r\nA,1,1,5,R\r\n", 0, false}, // line 4 of four fields
        {"t\r\n1,2,3\r\nt\r\nL,0,0,10,R\r\nA,1,1\r\n", 1, false},   // an element of three
        {"t\r\n1,2,3\r\nt\r\nL,0,0,10,R\r\n", 1, false},            // no element after it
        {"t\r\n1,2,3\r\n", 0, false},                               // too short
    };
    for (const Case& c : cases) {
        DataState d;
        Messages m;
        open_text(split_lines(c.text), ".SEC", d, {}, m);
        EXPECT_EQ(d.Kind, DataKind::Road) << c.text;
        EXPECT_EQ(d.Road, RoadList::Elements) << c.text;
        EXPECT_EQ(d.RoadRows.size(), c.rows) << c.text;
        EXPECT_EQ(m.empty(), c.accepted) << c.text;
        if (c.accepted) {
            EXPECT_EQ(d.RoadRows[0][0], "L"); // the first five of seven, without blanks
        }
    }
}

// LandXML points open by their root element: UTF-8 names (which the content test would take
// for binary bytes) become GBK; a LandXML file without points leaves the data as it was.
TEST(OpenFile, LandXmlPointsWithChineseNames) {
    TempDir dir;
    const std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\" "
        "date=\"2024-01-01\" time=\"00:00:00\"><Units><Metric areaUnit=\"squareMeter\" "
        "linearUnit=\"millimeter\" volumeUnit=\"cubicMeter\" temperatureUnit=\"celsius\" "
        "pressureUnit=\"HPA\"/></Units><CgPoints>"
        "<CgPoint name=\"\xe7\x82\xb9\" desc=\"\xe6\xa0\x91\">1000 2000 3</CgPoint>"
        "<CgPoint name=\"B\">-5 6</CgPoint></CgPoints></LandXML>";
    DataState d = full_state();
    Messages m;
    ASSERT_TRUE(open_data_file(dir.write("pts.dat", xml), d, FileSettings{}, m));
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(d.Kind, DataKind::Points);
    ASSERT_EQ(d.CoordList.size(), 2u);
    EXPECT_EQ(d.CoordList[0].name, "\xb5\xe3"); // 点 in GBK
    EXPECT_EQ(d.CoordList[0].code, "\xca\xf7"); // 树
    EXPECT_DOUBLE_EQ(d.CoordList[0].north, 1.0);
    EXPECT_DOUBLE_EQ(d.CoordList[0].east, 2.0);
    EXPECT_DOUBLE_EQ(d.CoordList[0].elev, 3.0); // elevations in metres unless the file says
    EXPECT_DOUBLE_EQ(d.CoordList[1].north, -0.005);
    EXPECT_TRUE(d.RecordList.empty());

    DataState kept = full_state();
    Messages refused;
    const std::string none = xml.substr(0, xml.find("<CgPoints>")) + "</LandXML>";
    EXPECT_FALSE(open_data_file(dir.write("none.xml", none), kept, FileSettings{}, refused));
    EXPECT_EQ(refused, Messages{UserMessage::key("landxml_no_points", "CgPoints")});
    EXPECT_EQ(kept.Kind, DataKind::None);
    EXPECT_EQ(kept.CoordList.size(), 1u);
}

TEST(LoosePointRows, HeaderNoCodeNoElevation) {
    struct Case {
        const char* what;
        Lines lines;
        int order;
        DataKind kind;
        std::vector<coord_item> points;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"header over name,code,N,E,Z",
         L({"Name,Code,N,E,Z", "P1,T,1,2,3"}),
         kOrderNEZ,
         DataKind::Points,
         {{"P1", "T", 1, 2, 3}},
         {"points_header_skipped"}},
        {"header over code-last rows",
         L({"", "Name,N,E,Z,Code", "P1,1,2,3,T"}),
         kOrderNEZ,
         DataKind::Points,
         {{"P1", "T", 1, 2, 3}},
         {"points_header_skipped"}},
        {"name,N,E,Z",
         L({"P1,1,2,3", "P2,4,5,6"}),
         kOrderNEZ,
         DataKind::Points,
         {{"P1", "", 1, 2, 3}, {"P2", "", 4, 5, 6}},
         {}},
        {"name,E,N,Z by the setting",
         L({"P1,1,2,3"}),
         kOrderENZ,
         DataKind::Points,
         {{"P1", "", 2, 1, 3}},
         {}},
        // Titles with blanks split into more fields than the rows have: still a header.
        {"name,N,E under a header, elevation 0 said once",
         L({"Point name,North,East", "P1,1,2", "P2,3,4"}),
         kOrderNEZ,
         DataKind::Points,
         {{"P1", "", 1, 2, 0}, {"P2", "", 3, 4, 0}},
         {"points_header_skipped", "points_no_elevation"}},
        {"rows of three and four fields mixed",
         L({"P1,1,2", "P2,1,2,3"}),
         kOrderNEZ,
         DataKind::None,
         {},
         {"wrong_format"}},
        {"a header alone", L({"Name,N,E,Z"}), kOrderNEZ, DataKind::None, {}, {"wrong_format"}},
        // A first line with a number in it is a broken row, not a header.
        {"broken first row",
         L({"P1,x,2,3", "P2,1,2,3"}),
         kOrderNEZ,
         DataKind::None,
         {},
         {"wrong_format"}},
        {"a second header",
         L({"Name,N,E,Z", "P1,1,2,3", "Name,N,E,Z"}),
         kOrderNEZ,
         DataKind::None,
         {},
         {"wrong_format"}},
    };
    for (const Case& c : cases) {
        DataState d;
        Messages m;
        FileSettings s;
        s.order = c.order;
        open_text(c.lines, ".csv", d, s, m);
        EXPECT_EQ(d.Kind, c.kind) << c.what;
        EXPECT_EQ(keys(m), c.messages) << c.what;
        ASSERT_EQ(d.CoordList.size(), c.points.size()) << c.what;
        for (std::size_t i = 0; i < c.points.size(); ++i) {
            EXPECT_EQ(d.CoordList[i].name, c.points[i].name.view()) << c.what;
            EXPECT_EQ(d.CoordList[i].code, c.points[i].code.view()) << c.what;
            EXPECT_EQ(d.CoordList[i].north, c.points[i].north) << c.what;
            EXPECT_EQ(d.CoordList[i].east, c.points[i].east) << c.what;
            EXPECT_EQ(d.CoordList[i].elev, c.points[i].elev) << c.what;
        }
    }
    // The distance unit applies to the short forms too.
    DataState d;
    Messages m;
    FileSettings feet;
    feet.units.distance = kIntFoot;
    open_text(L({"P1,1,2,10"}), ".csv", d, feet, m);
    ASSERT_EQ(d.CoordList.size(), 1u);
    EXPECT_DOUBLE_EQ(d.CoordList[0].elev, 3.048);
}

TEST(RecordRows, KindsFromTheFilledColumnsAndRefusals) {
    DataState d;
    Messages m;
    // A row without code straight after the station (blank rows of BKB and NOTE between) is
    // its backsight; further on it is an observation.
    open_text(
        L({"STA,K1,1.5000,ST,500.0000,1000.0000,12.3450", "",
           "SC,K2,1.6000,,0.0000,90.3000,85.2210,,,", "SC,P1,1.7000,,10.0000,90.0000,5.0000,,,",
           "SC,P2,0.0000,C,,,,1.0000,2.0000,3.0000"}),
        ".csv", d, {}, m);
    ASSERT_EQ(d.Kind, DataKind::Records);
    ASSERT_EQ(d.RecordList.size(), 4u);
    EXPECT_EQ(d.RecordList[1].type(), kKindBS);
    EXPECT_DOUBLE_EQ(d.RecordList[1].as<bs_data>().va, 90.5);
    EXPECT_EQ(d.RecordList[1].as<bs_data>().has_bss, 0);
    EXPECT_EQ(d.RecordList[2].type(), kKindSD);
    EXPECT_EQ(d.RecordList[3].as<sc_data>().north, 2);
    EXPECT_EQ(d.RecordList[3].as<sc_data>().east, 1);
    EXPECT_EQ(d.JobName, "NONAME");

    const Lines refused[] = {
        L({"SC,P,1,C,10,20,,4,5,6"}),     // coordinates with angles but no distance
        L({"SC,P,1,C,10,20,30,4,,6"}),    // a coordinate missing
        L({"SC,P,1,C,10.6000,20,30,,,"}), // 60 minutes
        L({"SD,P,1,C,10,20,30,,,"}),      // no such row keyword
        L({"STA,K1,1.5,ST,500,1000"}),    // a station row of six columns
        L({"STA,K1,1.5,ST,500,1000,x"}),  // not a number
    };
    for (const Lines& lines : refused) {
        d = {};
        m.clear();
        open_text(lines, ".csv", d, {}, m);
        EXPECT_EQ(d.Kind, DataKind::None) << lines[0];
        EXPECT_EQ(keys(m), std::vector<std::string>{"wrong_format"}) << lines[0];
    }
}

TEST(Gts7Open, HeaderUnitsReducedLinesAndRefusals) {
    DataState d;
    Messages m;
    // A job of notes only writes the three header lines: an empty job, named without the
    // JOB line's own comma.
    open_text(L({"JOB     DAY1,", "INST    TS", "UNITS   M,D"}), ".gt7", d, {}, m);
    EXPECT_EQ(d.Kind, DataKind::Records);
    EXPECT_TRUE(d.RecordList.empty());
    EXPECT_EQ(d.JobName, "DAY1");
    EXPECT_EQ(d.InstName, "TS");
    EXPECT_TRUE(m.empty());

    // "F" is the foot of the settings, or the international foot when they say metres.
    const Lines feet = L({"JOB     J,", "INST    I", "UNITS   F,G", "STN     S,1.0000,",
                          "XYZ     1.0000,2.0000,3.0000"});
    FileSettings us;
    us.units.distance = kUsFoot;
    open_text(feet, ".gt7", d, us, m);
    ASSERT_EQ(d.RecordList.size(), 1u);
    EXPECT_DOUBLE_EQ(d.RecordList[0].as<sta_data>().north, 2 * 1200.0 / 3937.0);
    open_text(feet, ".gt7", d, {}, m);
    EXPECT_DOUBLE_EQ(d.RecordList[0].as<sta_data>().north, 2 * 0.3048);

    // A reduced line gives the observation whose horizontal distance and height difference
    // are the written ones.
    open_text(L({"JOB     J,", "INST    I", "UNITS   M,G", "SS      P,1.5000,C",
                 "HD      100.0000,30.0000,-40.0000"}),
              ".gt7", d, {}, m);
    ASSERT_EQ(d.RecordList.size(), 1u);
    const auto& sd = d.RecordList[0].as<sd_data>();
    EXPECT_DOUBLE_EQ(sd.ha, 90);
    EXPECT_DOUBLE_EQ(sd.sd, 50);
    EXPECT_NEAR(sd.sd * std::sin(sd.va * std::numbers::pi / 180), 30, 1e-12);
    EXPECT_NEAR(sd.sd * std::cos(sd.va * std::numbers::pi / 180), -40, 1e-12);

    const Lines refused[] = {
        L({"JOB     J,", "INST    I", "UNITS   M,X"}),                  // no such unit
        L({"JOB     J,", "INST    I", "UNITS   M,D", "PRISM   0"}),     // unknown line
        L({"JOB     J,", "INST    I", "UNITS   M,D", "SS      P,1,C"}), // no values
        L({"JOB     J,", "INST    I", "UNITS   M,D", "STN     S,1,", "HV      1,2"}), // no XYZ
    };
    for (const Lines& lines : refused) {
        d = {};
        m.clear();
        open_text(lines, ".gt7", d, {}, m);
        EXPECT_EQ(d.Kind, DataKind::None) << lines.back();
        EXPECT_EQ(keys(m), std::vector<std::string>{"wrong_format"}) << lines.back();
    }
}

TEST(RoadFilesLongForms, CutToTheShortRowsAndStakeNames) {
    DataState d;
    Messages m;
    // The long and the short intersection line may stand in one file; another count refuses.
    open_text(L({"h", "JD1,1,2,3,4,5,6,R,0.5,1,2,3,4,5,6,7,8", "JD2,1,2,3,4,5,6"}), ".PHI", d, {},
              m);
    EXPECT_EQ(d.Kind, DataKind::Road);
    EXPECT_EQ(d.Road, RoadList::Intersections);
    EXPECT_EQ(d.RoadRows, (std::vector<RoadRow>{{"JD1", "1", "2", "3", "4", "5", "6"},
                                                {"JD2", "1", "2", "3", "4", "5", "6"}}));
    EXPECT_TRUE(m.empty());
    open_text(L({"h", "JD1,1,2,3,4,5,6,R,0.5,1,2,3"}), ".PHI", d, {}, m);
    EXPECT_EQ(keys(m), std::vector<std::string>{"wrong_format"});

    m.clear();
    open_text(L({"X0 ,Y0 ,S0 ,Azi0 ", "100.5,200.5,0,1.5", "h", "L,0,0,50,,100.5,200.5,0,1.5",
                 "A,300,300,40,R,130,240,50,1.5", "L,0,0,0,,150,260,90,2"}),
              ".SEC", d, {}, m);
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(d.RoadRows,
              (std::vector<RoadRow>{{"L", "0", "0", "50", "", "100.5", "200.5", "0", "1.5"},
                                    {"A", "300", "300", "40", "R", "130", "240"},
                                    {"L", "0", "0", "0", "", "150", "260"}}));

    // Stake names: kilometres and metres of the chainage, rounded to the millimetre.
    d = {};
    m.clear();
    open_text(L({"h", "-20,1,2,3,,,,,,", "999.9996,1,2,3,,,,,,", "12345.678,1,2,3,,,,,,"}), ".csv",
              d, {}, m);
    ASSERT_EQ(d.Kind, DataKind::Points);
    ASSERT_EQ(d.CoordList.size(), 3u);
    EXPECT_EQ(d.CoordList[0].name, "-K0+020.000");
    EXPECT_EQ(d.CoordList[1].name, "K1+000.000");
    EXPECT_EQ(d.CoordList[2].name, "K12+345.678");
    // Half a position is no position.
    open_text(L({"h", "20,1,2,,,,,,,"}), ".csv", d, {}, m);
    EXPECT_EQ(keys(m).back(), "wrong_format");
}
