#include "fileio/dxf.h"
#include "fileio/linkdata.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/jobtext.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <map>

#include <algorithm>
#include <cmath>
#include <filesystem>

using namespace telvane;
using telvane::testing::TempDir;

namespace {

Lines L(std::initializer_list<const char*> lines) {
    return Lines(lines.begin(), lines.end());
}

DataState job_state(const Lines& text) {
    DataState d;
    Job job;
    EXPECT_EQ(load_job_text(text, job), kLoadOk);
    d.RecordList = job.RecordList;
    d.JobName = job.JobName;
    d.InstName = job.InstName;
    d.Kind = DataKind::Records;
    return d;
}

const Lines kJob =
    L({"JOB     SCHOOL", "INST    TS", "STA     S1,1.5000,CP", "XYZ     100.0000,200.0000,10.0000",
       "BS      B1,1.6000", "HVD     0,324000,100.0000", "SC      B1,1.6000,BSS",
       "ENZ     1.0000,2.0000,3.0000", "BKB     B1,0,3600", "SA      A1,1.2000,",
       "HV      3600,324000", "SD      SCHOOL,1.3000,HVD", "HVD     7200,324000,100.0000",
       "SC      P1,1.3000,TREE", "HVD     3600,324000,100.0000", "ENZ     5.0000,6.0000,7.0000",
       "SC      P2,1.3000,", "ENZ     8.0000,9.0000,10.0000", "NOTE    n"});

} // namespace

TEST(Gts7Export, HeaderAndThreeVariantsOnExactLines) {
    const DataState d = job_state(kJob);
    FileSettings s;
    Messages m;
    const Lines header = L({"JOB     SCHOOL,", "INST    TS", "UNITS   M,D"});
    Lines v1 = header;
    for (const char* l :
         {"STN     S1,1.5000,CP", "XYZ     100.0000,200.0000,10.0000", "BS      B1,1.6000",
          "SD      0.0000,90.0000,100.0000", "SS      B1,1.6000,BSS",
          "XYZ     1.0000,2.0000,3.0000", "BKB     B1,0.0000,1.0000", "SS      A1,1.2000,",
          "HV      1.0000,90.0000",
          // The point named SCHOOL with the code HVD keeps both: only keyword fields change.
          "SS      SCHOOL,1.3000,HVD", "SD      2.0000,90.0000,100.0000", "SS      P1,1.3000,TREE",
          "SD      1.0000,90.0000,100.0000", "XYZ     5.0000,6.0000,7.0000", "SS      P2,1.3000,",
          "XYZ     8.0000,9.0000,10.0000"})
        v1.push_back(l);
    EXPECT_EQ(gts7_export(d, 1, false, "out.gt7", s, m), v1);

    const Lines v2 = [&] {
        Lines l = header;
        for (const char* x :
             {"STN     S1,1.5000,CP", "XYZ     100.0000,200.0000,10.0000", "BS      B1,1.6000",
              "SD      0.0000,90.0000,100.0000", "BKB     B1,0.0000,1.0000", "SS      A1,1.2000,",
              "HV      1.0000,90.0000", "SS      SCHOOL,1.3000,HVD",
              "SD      2.0000,90.0000,100.0000", "SS      P1,1.3000,TREE",
              "SD      1.0000,90.0000,100.0000"})
            l.push_back(x);
        return l;
    }();
    EXPECT_EQ(gts7_export(d, 2, false, "out.gt7", s, m), v2);

    const Lines reduced = [&] {
        Lines l = header;
        for (const char* x :
             {"STN     S1,1.5000,CP", "XYZ     100.0000,200.0000,10.0000", "BS      B1,1.6000",
              "HD      0.0000,100.0000,0.0007", "BKB     B1,0.0000,1.0000", "SS      A1,1.2000,",
              "HV      1.0000,90.0000", "SS      SCHOOL,1.3000,HVD",
              "HD      2.0000,100.0000,0.0007", "SS      P1,1.3000,TREE",
              "HD      1.0000,100.0000,0.0007"})
            l.push_back(x);
        return l;
    }();
    EXPECT_EQ(gts7_export(d, 2, true, "out.gt7", s, m), reduced);
    EXPECT_TRUE(m.empty());

    // Units letters, and the cases that export nothing.
    s.units = {kAngleGon, kUsFoot};
    const Lines feet = gts7_export(d, 1, false, "ab.gt7", s, m);
    ASSERT_GE(feet.size(), 3u);
    EXPECT_EQ(feet[2], "UNITS   F,G");
    EXPECT_TRUE(m.empty());
    EXPECT_EQ(gts7_export(d, 1, false, "a.gt7", s, m), feet); // one character is a name
    EXPECT_TRUE(gts7_export(d, 1, false, "ab.GT7", s, m).empty());
    s.units.angle = kAngleMil;
    EXPECT_TRUE(gts7_export(d, 1, false, "ab.gt7", s, m).empty());
    EXPECT_EQ(m, (Messages{UserMessage::key("gts7_name_not_gt7"),
                           UserMessage::key("gts7_not_support_mil")}));
    m.clear();

    const DataState notes = job_state(L({"JOB     J", "INST    I", "NOTE    a", "NOTE    b"}));
    EXPECT_EQ(gts7_export(notes, 1, false, "xy.gt7", FileSettings{}, m),
              L({"JOB     J,", "INST    I", "UNITS   M,D"}));
}

TEST(Gts7Export, AnglesStayWithinOneTurnAfterRounding) {
    // Hand-edited directions: a negative one, one a hair under a full turn, one beyond it.
    const DataState d =
        job_state(L({"JOB     J", "INST    I", "SD      A,1.0000,", "HVD     -3600,-1,10.0000",
                     "SD      B,1.0000,", "HVD     1295999.9,1296000,10.0000", "SD      C,1.0000,",
                     "HVD     1299600,324000,10.0000"}));
    struct Case {
        Units units;
        const char* a;
        const char* b;
        const char* c;
    };
    const Case cases[] = {
        {{kAngleDMS, kMetre},
         "SD      359.0000,359.5959,10.0000",
         "SD      0.0000,0.0000,10.0000",
         "SD      1.0000,90.0000,10.0000"},
        {{kAngleGon, kMetre},
         "SD      398.8889,399.9997,10.0000",
         "SD      0.0000,0.0000,10.0000",
         "SD      1.1111,100.0000,10.0000"},
    };
    for (const Case& c : cases) {
        FileSettings s;
        s.units = c.units;
        Messages m;
        const Lines out = gts7_export(d, 1, false, "jj.gt7", s, m);
        ASSERT_EQ(out.size(), 9u);
        EXPECT_EQ(out[4], c.a);
        EXPECT_EQ(out[6], c.b);
        EXPECT_EQ(out[8], c.c);
        for (const std::string& line : out)
            EXPECT_EQ(line.find(",-"), std::string::npos) << line;
    }
}

TEST(SaveTypes, JobPointsAndCodesByPosition) {
    const DataState d = job_state(kJob);
    FileSettings s;
    struct Case {
        int position;
        std::size_t lines;
        const char* first;
    };
    const Case cases[] = {
        {1, 8, "STA,S1,1.5000,CP,100.0000,200.0000,10.0000"},
        {2, 8, "STA,S1,1.5000,CP,100.0000,200.0000,10.0000"},
        {3, 4, "S1,CP,200.0000,100.0000,10.0000"},
        {4, 30 + 4 * 48, "0"},
        {8, 4, "S1,200.0000,100.0000,10.0000,CP"},
        {9, kJob.size(), "JOB     SCHOOL"},
        {10, 13, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}, // LandXML, 4 points
    };
    for (const Case& c : cases) {
        const SaveOutcome o = build_save(d, c.position, "x.txt", s);
        EXPECT_TRUE(o.write) << c.position;
        EXPECT_EQ(o.lines().size(), c.lines) << c.position;
        if (c.first) {
            EXPECT_EQ(o.lines().front(), c.first) << c.position;
        }
    }
    EXPECT_EQ(build_save(d, 9, "x", s).lines(), kJob);
    // "a.gt7" is as much a GTS-7 name as a longer one, with or without folders.
    for (const char* name : {"a.gt7", "dir/a.gt7", "d.gt7.x/a.gt7"}) {
        const SaveOutcome o = build_save(d, 7, name, s);
        EXPECT_TRUE(o.write) << name;
        EXPECT_TRUE(o.messages.empty()) << name;
        EXPECT_EQ(o.lines().front(), "JOB     SCHOOL,") << name;
    }
    for (const char* name : {".gt7", "dir/.gt7", "a.GT7", "a.gt7/x"})
        EXPECT_FALSE(build_save(d, 7, name, s).write) << name;
    // A GTS-7 type under a name without ".gt7", or in mil, writes nothing and says why, so a
    // good file of that name is never replaced by an empty one.
    for (int position : {5, 6, 7}) {
        const SaveOutcome wrong_name = build_save(d, position, "x.txt", s);
        EXPECT_FALSE(wrong_name.write);
        EXPECT_EQ(wrong_name.messages, Messages{UserMessage::key("gts7_name_not_gt7")});
        FileSettings mil = s;
        mil.units.angle = kAngleMil;
        const SaveOutcome in_mil = build_save(d, position, "xy.gt7", mil);
        EXPECT_FALSE(in_mil.write);
        EXPECT_EQ(in_mil.messages, Messages{UserMessage::key("gts7_not_support_mil")});
    }

    DataState pts;
    pts.Kind = DataKind::Points;
    pts.CoordList = {{"P", "C", 1, 2, 3}};
    EXPECT_EQ(build_save(pts, 1, "x", s).lines(), L({"P,C,1.0000,2.0000,3.0000"}));
    EXPECT_EQ(build_save(pts, 5, "x", s).lines(), L({"P,1.0000,2.0000,3.0000,C"}));
    EXPECT_EQ(build_save(pts, 2, "x.csv", s).lines().front(), "0"); // DXF whatever the name

    DataState codes;
    codes.Kind = DataKind::Codes;
    codes.CodeList = {{"B"}, {"A"}};
    EXPECT_EQ(build_save(codes, 1, "x", s).lines(), L({"B", "A"}));

    // A type the data has no writer for writes nothing (not an empty file) and says so.
    const std::pair<const DataState*, int> unknown[] = {
        {&d, 0}, {&d, 11}, {&pts, 0}, {&pts, 7}, {&codes, 2}};
    for (const auto& [data, position] : unknown) {
        const SaveOutcome o = build_save(*data, position, "x.txt", s);
        EXPECT_FALSE(o.write) << data_kind_number(*data) << " " << position;
        EXPECT_EQ(o.messages, Messages{UserMessage::key("save_type_unknown")});
    }

    // Nothing to save, and the cases the program used to write silently or wrongly.
    for (DataKind kind :
         {DataKind::Records, DataKind::Points, DataKind::Codes, DataKind::Points3}) {
        DataState empty;
        empty.Kind = kind;
        empty.Coord3List.resize(kind == DataKind::Points3 ? 1 : 0);
        const SaveOutcome o = build_save(empty, 1, "x", s);
        EXPECT_FALSE(o.write) << data_kind_number(empty);
        ASSERT_EQ(o.messages.size(), 1u);
        EXPECT_EQ(o.messages[0].value, "no_data_to_save");
    }
    const DataState no_points =
        job_state(L({"JOB     J", "INST    I", "SA      A,1,C", "HV      1,2"}));
    const SaveOutcome dxf = build_save(no_points, 4, "x.dxf", s);
    EXPECT_FALSE(dxf.write);
    ASSERT_EQ(dxf.messages.size(), 1u);
    EXPECT_EQ(dxf.messages[0].value, "job_have_no_coord");
}

// The one save-type table: every type's name leads to a writer of its kind that writes what its
// extension says, and a name given twice stands for its first (comma-separated) type.
TEST(SaveTypes, TheTableOfTypesNamesWritersOfWhatTheirExtensionSays) {
    const DataState job = job_state(kJob);
    DataState points;
    points.Kind = DataKind::Points;
    points.CoordList = {{"P", "C", 1, 2, 3}};
    DataState codes;
    codes.Kind = DataKind::Codes;
    codes.CodeList = {{"TREE"}};
    FileSettings s;
    std::map<DataKind, int> per_kind;
    for (const SaveType& t : save_types()) {
        const DataState& d = t.kind == DataKind::Records  ? job
                             : t.kind == DataKind::Points ? points
                                                          : codes;
        EXPECT_EQ(t.position, ++per_kind[t.kind]) << t.name; // in the dialog's order, from 1
        const SaveOutcome o = build_save(d, t.position, "x.gt7", s);
        ASSERT_TRUE(o.write) << t.name << " " << t.position;
        const std::string first = o.lines().front();
        if (t.extension == ".dxf")
            EXPECT_EQ(first, "0") << t.position;
        else if (t.extension == ".xml")
            EXPECT_EQ(first.substr(0, 5), "<?xml") << t.position;
        else if (t.extension == ".gt7")
            EXPECT_EQ(first.substr(0, 3), "JOB") << t.position;
        else
            EXPECT_EQ(first.find("<?xml"), std::string::npos) << t.position;
        const std::optional<int> named = save_position(t.kind, t.name);
        ASSERT_TRUE(named);
        EXPECT_LE(*named, t.position);
    }
    EXPECT_EQ(save_position(DataKind::Points, "dxf"), std::optional<int>(2));
    EXPECT_EQ(save_position(DataKind::Records, "points"), std::optional<int>(3));
    EXPECT_EQ(save_position(DataKind::Records, "job"), std::optional<int>(9));
    EXPECT_EQ(save_position(DataKind::Codes, "dxf"), std::nullopt);
    EXPECT_EQ(save_position(DataKind::Points3, "points"), std::nullopt);
}

TEST(Dxf, ExportIsWellFormedPairByPairWithXEastAndYNorthInEitherOrder) {
    FileSettings s;
    const std::vector<coord_item> points = {{"P1", "TREE", 100, 200, 10}, {"", "", 90, 210, 12}};
    const Lines out = write_dxf(points, s);
    ASSERT_EQ(out.size() % 2, 0u);
    // Every group code is an integer and the values follow the layout exactly; X is east and
    // Y is north, so a CAD program shows the points as a map does, not mirrored.
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"0", "SECTION"},   {"2", "HEADER"},    {"9", "$EXTMIN"},   {"10", "200.0000"},
        {"20", "90.0000"},  {"30", "10.0000"},  {"9", "$EXTMAX"},   {"10", "210.0000"},
        {"20", "100.0000"}, {"30", "12.0000"},  {"0", "ENDSEC"},    {"0", "SECTION"},
        {"2", "ENTITIES"},  {"0", "TEXT"},      {"8", "PNTNO"},     {"10", "200.0000"},
        {"20", "101.0000"}, {"40", "0.8"},      {"1", "P1"},        {"0", "TEXT"},
        {"8", "PNTELEV"},   {"10", "200.0000"}, {"20", "100.0000"}, {"40", "0.8"},
        {"1", "10.0000"},   {"0", "TEXT"},      {"8", "PNTDESC"},   {"10", "200.0000"},
        {"20", "99.0000"},  {"40", "0.8"},      {"1", "TREE"},      {"0", "POINT"},
        {"8", "0"},         {"62", "1"},        {"10", "200.0000"}, {"20", "100.0000"},
        {"30", "10.0000"},  {"0", "TEXT"},      {"8", "PNTNO"},     {"10", "210.0000"},
        {"20", "91.0000"},  {"40", "0.8"},      {"1", "NONAME"},    {"0", "TEXT"},
        {"8", "PNTELEV"},   {"10", "210.0000"}, {"20", "90.0000"},  {"40", "0.8"},
        {"1", "12.0000"},   {"0", "TEXT"},      {"8", "PNTDESC"},   {"10", "210.0000"},
        {"20", "89.0000"},  {"40", "0.8"},      {"1", " "},         {"0", "POINT"},
        {"8", "0"},         {"62", "1"},        {"10", "210.0000"}, {"20", "90.0000"},
        {"30", "12.0000"},  {"0", "ENDSEC"},    {"0", "EOF"}};
    ASSERT_EQ(out.size(), expected.size() * 2);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NO_THROW((void)std::stoi(out[2 * i])) << i;
        EXPECT_EQ(out[2 * i], expected[i].first) << i;
        EXPECT_EQ(out[2 * i + 1], expected[i].second) << i;
    }
    s.order = kOrderENZ;
    EXPECT_EQ(write_dxf(points, s), out); // the row order never turns the drawing
    EXPECT_TRUE(write_dxf({}, s).empty());
}

TEST(RoundTrips, PointsThroughRowsAndDxfInEveryOrderAndUnit) {
    TempDir dir;
    const std::vector<coord_item> points = {{"P1", "TREE", 3000123.4567, 500321.1234, 45.6789},
                                            {"\xD6\xD0\xD0\xC4", "", -12.5, 0.0001, -3.25},
                                            {"P3", "WALL", 0, 0, 0}};
    for (int order : {kOrderNEZ, kOrderENZ}) {
        for (int unit : {kMetre, kUsFoot, kIntFoot}) {
            FileSettings s;
            s.order = order;
            s.units.distance = unit;
            DataState d;
            d.Kind = DataKind::Points;
            d.CoordList = points;
            for (int position : {1, 2, 5}) {
                const std::string path = dir.file("points" + std::to_string(position) + ".txt");
                std::string error;
                ASSERT_TRUE(write_save(path, build_save(d, position, path, s), &error)) << error;
                DataState back;
                Messages m;
                ASSERT_TRUE(open_data_file(path, back, s, m));
                ASSERT_EQ(back.Kind, DataKind::Points) << position;
                ASSERT_EQ(back.CoordList.size(), points.size());
                // Four decimals in the unit: half a unit of the last place, in metres.
                const double tolerance = 0.00005 * distance_factor_to_metres(unit) + 1e-9;
                for (std::size_t i = 0; i < points.size(); ++i) {
                    const coord_item& a = points[i];
                    const coord_item& b = back.CoordList[i];
                    EXPECT_EQ(b.name, a.name.empty() ? std::string_view("NONAME") : a.name.view());
                    EXPECT_EQ(trim(b.code.view()), a.code.view());
                    EXPECT_NEAR(b.north, a.north, tolerance);
                    EXPECT_NEAR(b.east, a.east, tolerance);
                    EXPECT_NEAR(b.elev, a.elev, tolerance);
                }
            }
        }
    }
}

TEST(RoundTrips, JobTextThroughSaveAndOpen) {
    TempDir dir;
    const DataState d = job_state(kJob);
    const std::string path = dir.file("job.txt");
    ASSERT_TRUE(write_save(path, build_save(d, 9, path, {}), nullptr));
    DataState back;
    Messages m;
    ASSERT_TRUE(open_data_file(path, back, {}, m));
    ASSERT_EQ(back.Kind, DataKind::Records);
    EXPECT_EQ(back.JobName, d.JobName);
    ASSERT_EQ(back.RecordList.size(), d.RecordList.size());
    for (std::size_t i = 0; i < d.RecordList.size(); ++i)
        EXPECT_EQ(format_record(back.RecordList[i]), format_record(d.RecordList[i]));
}

// A name or code holding the delimiter of a format never breaks its line: job text, rows and
// GTS-7 write a comma as ';', rows quote a field with a blank, point send lines join with '_'.
TEST(Writers, ANameOrCodeHoldingTheDelimiterNeverBreaksItsLine) {
    DataState d;
    d.Kind = DataKind::Records;
    record_item r;
    r.data = sc_data{"A,B", "C D", 1.5, 10, 20, 30, 0, 0, 0, 0};
    d.RecordList = {r};
    d.JobName = "J";
    d.InstName = "I";
    const FileSettings s;
    // Job text, read back whole.
    Job job;
    ASSERT_EQ(load_job_text(build_save(d, 9, "x.txt", s).lines(), job), kLoadOk);
    ASSERT_EQ(job.RecordList.size(), 1u);
    EXPECT_EQ(job.RecordList[0].as<sc_data>().name, "A;B");
    EXPECT_EQ(job.RecordList[0].as<sc_data>().code, "C D");
    // Point rows, read back by Open's recogniser with the blank kept.
    TempDir dir;
    const std::string rows = dir.write("p.csv", build_save(d, 3, "p.csv", s).bytes);
    DataState back;
    Messages m;
    ASSERT_TRUE(open_data_file(rows, back, s, m));
    ASSERT_EQ(back.Kind, DataKind::Points);
    ASSERT_EQ(back.CoordList.size(), 1u);
    EXPECT_EQ(back.CoordList[0].name, "A;B");
    EXPECT_EQ(back.CoordList[0].code, "C D");
    // GTS-7 keeps its number of fields.
    const Lines gts = gts7_export(d, 1, false, "xy.gt7", s, m);
    ASSERT_GE(gts.size(), 4u);
    EXPECT_EQ(std::count(gts[3].begin(), gts[3].end(), ','), 2) << gts[3];
    // The instrument's point line.
    EXPECT_EQ(point_send_line({"A B", "C D", 1, 2, 3}),
              "A_B C_D 0 1.000000 2.000000 3.000000 0\r\n");
}

// Saves stream into a temporary file that replaces the target once whole: the same bytes as a
// save built in memory, for every type and kind, across many buffer fills, and nothing left
// behind when no file is to be written or the file system refuses.
TEST(StreamedSave, SameBytesAsInMemoryAndTheOldFileKeptWhenNothingIsWritten) {
    TempDir dir;
    const FileSettings s;
    DataState job = job_state(kJob);
    DataState many;
    many.Kind = DataKind::Points;
    for (int i = 0; i < 20000; ++i) // some 6 MB of DXF: several buffers
        many.CoordList.push_back({"P" + std::to_string(i), i % 3 ? "TREE" : "", 1000.0 + i * 0.37,
                                  500.0 - i * 0.21, 40.0 + i % 100});
    DataState codes;
    codes.Kind = DataKind::Codes;
    codes.CodeList = {{"B"}, {"A"}};
    const std::pair<const DataState*, std::vector<int>> saves[] = {
        {&job, {1, 2, 3, 4, 5, 6, 7, 8, 9}}, {&many, {1, 2, 3, 4, 5}}, {&codes, {1}}};
    for (const auto& [data, positions] : saves) {
        for (int position : positions) {
            const std::string path = dir.file("out" + std::to_string(position) + ".gt7");
            const SaveOutcome built = build_save(*data, position, path, s);
            const SaveResult streamed = save_to_file(path, *data, position, s);
            ASSERT_TRUE(streamed.written) << position << " " << streamed.error;
            EXPECT_TRUE(streamed.messages.empty());
            EXPECT_EQ(TempDir::read(path), built.bytes)
                << data_kind_number(*data) << " " << position;
        }
    }
    // No file to write: the old one stays, and no temporary file is left.
    const std::string kept = dir.write("kept.txt", "old");
    const SaveResult refused = save_to_file(kept, job, 7, s); // GTS-7 under a name without .gt7
    EXPECT_FALSE(refused.written);
    EXPECT_EQ(refused.messages, Messages{UserMessage::key("gts7_name_not_gt7")});
    EXPECT_EQ(TempDir::read(kept), "old");
    const SaveResult unknown = save_to_file(kept, many, 9, s);
    EXPECT_EQ(unknown.messages, Messages{UserMessage::key("save_type_unknown")});
    EXPECT_EQ(TempDir::read(kept), "old");
    // A folder that does not exist: the reason, and nothing written.
    const SaveResult nowhere = save_to_file(dir.file("no/such/x.dxf"), many, 2, s);
    EXPECT_FALSE(nowhere.written);
    EXPECT_FALSE(nowhere.error.empty());
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
        ++files;
    }
    EXPECT_EQ(files, 10u); // out1 to out9 (the kinds share names) and kept.txt
}
