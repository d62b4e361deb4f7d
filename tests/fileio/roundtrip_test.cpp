// Save, then Open: every save type of every kind, and every file the road window writes, reads
// back into the data it came from, as far as the written format carries it (its decimals, and
// what the format has no place for). One table, run under two sets of settings; it prints what
// each type opened as.
#include "fileio/dataview.h"
#include "fileio/linkdata.h"
#include "fileio/opendata.h"
#include "fileio/savedata.h"
#include "model/gts7.h"
#include "road/design/road_files.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <iostream>
#include <numbers>

using namespace telvane;
using telvane::testing::TempDir;

namespace {

const char kChinese[] = "\xD6\xD0\xD0\xC4"; // a Chinese point name

std::vector<record_item> every_record_kind() {
    std::vector<record_item> r(9);
    r[0].data = sta_data{"K1", "ST", 1.5, 500, 1000, 12.345};
    r[1].data = bs_data{"K2", 1.6, 0.0, 90.5, 85.221, 1, 1085.221, 500, 12.345};
    r[2].data = bkb_data{"K2", 0.0, 359.5};
    r[3].data = sa_data{"P1", "TREE", 1.7, 45.5, 88.25};
    r[4].data = sd_data{"P2", "WALL", 1.7, 120.1234, 91.0, 33.3333};
    r[5].data = sc_data{kChinese, "LAMP", 1.7, 1020.5, 530.25, 13.1, 1, 56.2, 89.5, 36.5};
    r[6].data = sc_data{"P4", "", 0, 990.125, 480.5, 11.75, 0, 0, 0, 0};
    r[7].data = note_data{"a note"};
    r[8].data = sd_data{"P5", "", 1.2, 300.75, 92.0, 12.5};
    return r;
}

// What the variants with coordinates turned into observations keep of a job: an SC with its
// observation becomes an SD, an SC without one goes, a backsight loses its point.
std::vector<record_item> as_observations(const std::vector<record_item>& job) {
    std::vector<record_item> out;
    for (record_item r : job) {
        if (r.type() == kKindNOTE)
            continue;
        if (auto* sc = std::get_if<sc_data>(&r.data)) {
            if (sc->has_obs != 1)
                continue;
            r.data = sd_data{sc->name, sc->code, sc->target_height, sc->ha, sc->va, sc->sd};
        } else if (auto* bs = std::get_if<bs_data>(&r.data)) {
            bs->has_bss = 0;
            bs->bss_north = bs->bss_east = bs->bss_elev = 0;
        }
        out.push_back(r);
    }
    return out;
}

std::vector<record_item> without(const std::vector<record_item>& job, std::vector<int> kinds) {
    std::vector<record_item> out;
    for (const record_item& r : job)
        if (std::find(kinds.begin(), kinds.end(), r.type()) == kinds.end())
            out.push_back(r);
    return out;
}

struct Tolerance {
    double metres;  // half a unit of the written distances' last decimal
    double degrees; // the same for angles
};

double angle_gap(double a, double b) {
    const double d = std::fmod(std::fabs(a - b), 360.0);
    return std::min(d, 360.0 - d);
}

// The horizontal distance and height difference a reduced GTS-7 file writes of an
// observation: what an HD line read back must give again.
struct Reduced {
    double hd, vd;
};
Reduced reduced_of(double va, double sd, const Gts7Reduction& p) {
    const ReducedDistance r = reduce_slope_distance(va, sd, p);
    return {r.hd, r.vd};
}

// Compares two records field by field. With `reduced`, observations are compared by their
// horizontal distance and height difference, reduced from the expected ones.
void expect_same_record(const record_item& got, const record_item& want, Tolerance t,
                        const Gts7Reduction* reduced, const std::string& what) {
    ASSERT_EQ(got.type(), want.type()) << what;
    auto dist = [&](double a, double b, const char* f) {
        EXPECT_NEAR(a, b, t.metres) << what << " " << f;
    };
    auto angle = [&](double a, double b, const char* f) {
        EXPECT_LE(angle_gap(a, b), t.degrees) << what << " " << f << ": " << a << " vs " << b;
    };
    auto obs = [&](double ha, double va, double sd, double wha, double wva, double wsd) {
        angle(ha, wha, "ha");
        if (reduced) {
            const Reduced r = reduced_of(wva, wsd, *reduced);
            const double z = va * std::numbers::pi / 180.0;
            dist(sd * std::sin(z), r.hd, "hd");
            dist(sd * std::cos(z), r.vd, "vd");
        } else {
            angle(va, wva, "va");
            dist(sd, wsd, "sd");
        }
    };
    std::visit(
        [&](const auto& g) {
            using T = std::decay_t<decltype(g)>;
            const T& w = std::get<T>(want.data);
            if constexpr (std::is_same_v<T, sta_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                EXPECT_EQ(g.code, w.code.view()) << what;
                dist(g.inst_height, w.inst_height, "ih");
                dist(g.east, w.east, "e");
                dist(g.north, w.north, "n");
                dist(g.elev, w.elev, "z");
            } else if constexpr (std::is_same_v<T, bs_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                dist(g.target_height, w.target_height, "th");
                obs(g.ha, g.va, g.sd, w.ha, w.va, w.sd);
                EXPECT_EQ(g.has_bss, w.has_bss) << what;
                dist(g.bss_north, w.bss_north, "bss n");
                dist(g.bss_east, w.bss_east, "bss e");
                dist(g.bss_elev, w.bss_elev, "bss z");
            } else if constexpr (std::is_same_v<T, bkb_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                angle(g.ha, w.ha, "ha");
                angle(g.azimuth, w.azimuth, "azimuth");
            } else if constexpr (std::is_same_v<T, sa_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                EXPECT_EQ(g.code, w.code.view()) << what;
                dist(g.target_height, w.target_height, "th");
                angle(g.ha, w.ha, "ha");
                angle(g.va, w.va, "va");
            } else if constexpr (std::is_same_v<T, sd_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                EXPECT_EQ(g.code, w.code.view()) << what;
                dist(g.target_height, w.target_height, "th");
                obs(g.ha, g.va, g.sd, w.ha, w.va, w.sd);
            } else if constexpr (std::is_same_v<T, sc_data>) {
                EXPECT_EQ(g.name, w.name.view()) << what;
                EXPECT_EQ(g.code, w.code.view()) << what;
                dist(g.target_height, w.target_height, "th");
                dist(g.north, w.north, "n");
                dist(g.east, w.east, "e");
                dist(g.elev, w.elev, "z");
                EXPECT_EQ(g.has_obs, w.has_obs) << what;
                if (w.has_obs == 1)
                    obs(g.ha, g.va, g.sd, w.ha, w.va, w.sd);
            } else if constexpr (std::is_same_v<T, note_data>) {
                EXPECT_EQ(g.text, w.text) << what;
            }
        },
        got.data);
}

void expect_same_points(const std::vector<coord_item>& got, const std::vector<coord_item>& want,
                        double metres, const std::string& what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i) {
        // The text formats write an empty name as NONAME; LandXML keeps it empty.
        if (got[i].name.empty())
            EXPECT_TRUE(want[i].name.empty()) << what << " point " << i;
        else
            EXPECT_EQ(got[i].name, output_name(want[i].name)) << what << " point " << i;
        // DXF keeps an empty code as one blank.
        EXPECT_EQ(trim(got[i].code.view()), trim(want[i].code.view())) << what << " point " << i;
        EXPECT_NEAR(got[i].north, want[i].north, metres) << what << " point " << i;
        EXPECT_NEAR(got[i].east, want[i].east, metres) << what << " point " << i;
        EXPECT_NEAR(got[i].elev, want[i].elev, metres) << what << " point " << i;
    }
}

const char* kind_word(const DataState& d) {
    static const char* const words[] = {"none",         "job",        "points",
                                        "codes",        "points3",    "intersections",
                                        "element rows", "grade rows", "piles"};
    return words[data_kind_number(d)];
}

struct Settings {
    const char* what;
    FileSettings s;
};

} // namespace

TEST(SaveThenOpen, EverySaveTypeOfEveryKindOpensAsWhatWasSaved) {
    FileSettings feet;
    feet.units = {kAngleGon, kUsFoot};
    feet.order = kOrderENZ;
    FileSettings dms_metres;
    dms_metres.reduction.grid_scale = 1.0002; // the reduction must show in the HD lines
    const Settings settings[] = {{"DMS, metres, NEZ", dms_metres}, {"gon, US feet, ENZ", feet}};

    DataState job;
    job.RecordList = every_record_kind();
    job.JobName = "DAY1";
    job.InstName = "TS-02";
    job.Kind = DataKind::Records;
    std::vector<coord_item> job_points;
    append_job_points(job.RecordList, job_points);

    DataState points;
    points.CoordList = {{"A1", "TREE", 1000.1234, 500.5678, 12.3456},
                        {kChinese, "", -20.5, 3.25, 0},
                        {"", "C 1", 7, 8, 9}};
    points.Kind = DataKind::Points;
    DataState codes;
    codes.CodeList = {{"A01"}, {"TREE"}, {kChinese}};
    codes.Kind = DataKind::Codes;

    const std::vector<record_item> all_but_notes = without(job.RecordList, {kKindNOTE});
    const std::vector<record_item> rows_keep = without(job.RecordList, {kKindNOTE, kKindBKB});
    const std::vector<record_item> observations = as_observations(job.RecordList);

    struct Case {
        const char* kind;
        const DataState* data;
        int type;
        const char* file;
        DataKind opens_as;
        // the records expected back (a job), or the points, or the codes
        const std::vector<record_item>* records;
        const std::vector<coord_item>* pts;
        bool reduced;
        bool whole_seconds; // the job text writes whole arc-seconds and metres
    };
    const Case cases[] = {
        {"job", &job, 1, "j1.csv", DataKind::Records, &rows_keep, nullptr, false, false},
        {"job", &job, 2, "j2.txt", DataKind::Records, &rows_keep, nullptr, false, false},
        {"job", &job, 3, "j3.csv", DataKind::Points, nullptr, &job_points, false, false},
        {"job", &job, 4, "j4.dxf", DataKind::Points, nullptr, &job_points, false, false},
        {"job", &job, 5, "j5.gt7", DataKind::Records, &observations, nullptr, true, false},
        {"job", &job, 6, "j6.gt7", DataKind::Records, &observations, nullptr, false, false},
        {"job", &job, 7, "j7.gt7", DataKind::Records, &all_but_notes, nullptr, false, false},
        {"job", &job, 8, "j8.csv", DataKind::Points, nullptr, &job_points, false, false},
        {"job", &job, 9, "j9.txt", DataKind::Records, &job.RecordList, nullptr, false, true},
        {"job", &job, 10, "j10.xml", DataKind::Points, nullptr, &job_points, false, false},
        {"points", &points, 1, "p1.csv", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"points", &points, 2, "p2.dxf", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"points", &points, 3, "p3.txt", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"points", &points, 4, "p4.dat", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"points", &points, 5, "p5.csv", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"points", &points, 6, "p6.xml", DataKind::Points, nullptr, &points.CoordList, false,
         false},
        {"codes", &codes, 1, "c1.txt", DataKind::Codes, nullptr, nullptr, false, false},
    };
    TempDir dir;
    for (const Settings& set : settings) {
        const FileSettings& s = set.s;
        const double unit = distance_factor_to_metres(s.units.distance);
        for (const Case& c : cases) {
            const std::string what =
                std::string(set.what) + ": " + c.kind + " type " + std::to_string(c.type);
            const std::string path = dir.file(c.file);
            const SaveResult saved = save_to_file(path, *c.data, c.type, s);
            ASSERT_TRUE(saved.written) << what;
            ASSERT_TRUE(saved.messages.empty()) << what;
            DataState back;
            Messages m;
            ASSERT_TRUE(open_data_file(path, back, s, m)) << what;
            EXPECT_TRUE(m.empty()) << what << ": " << (m.empty() ? "" : m[0].value);
            std::cout << "  " << what << " (" << c.file << ") -> " << kind_word(back) << ", "
                      << list_size(back) << "\n";
            ASSERT_EQ(back.Kind, c.opens_as) << what;
            if (c.records) {
                const Tolerance t = c.whole_seconds
                                        ? Tolerance{0.00005 + 1e-9, 0.5 / 3600 + 1e-9}
                                        : Tolerance{0.00005 * unit + 1e-9, 0.5 / 3600 + 1e-9};
                ASSERT_EQ(back.RecordList.size(), c.records->size()) << what;
                for (std::size_t i = 0; i < back.RecordList.size(); ++i)
                    expect_same_record(back.RecordList[i], (*c.records)[i], t,
                                       c.reduced ? &s.reduction : nullptr,
                                       what + " record " + std::to_string(i));
                if ((c.type >= 5 && c.type <= 7) || c.type == 9) {
                    EXPECT_EQ(back.JobName, job.JobName) << what;
                    EXPECT_EQ(back.InstName, job.InstName) << what;
                }
            } else if (c.pts) {
                // LandXML writes metres with its own decimals, whatever the settings say.
                const double tol = c.type == 6 || c.type == 10 ? 0.0005 : 0.00005 * unit + 1e-9;
                expect_same_points(back.CoordList, *c.pts, tol, what);
            } else {
                ASSERT_EQ(back.CodeList.size(), codes.CodeList.size()) << what;
                for (std::size_t i = 0; i < codes.CodeList.size(); ++i)
                    EXPECT_EQ(back.CodeList[i].code, codes.CodeList[i].code.view()) << what;
            }
        }
    }
}

// The road window's four files open in the main window as the rows of the short forms, which
// Send accepts; the stake file with coordinates opens as points.
TEST(SaveThenOpen, RoadWindowFilesOpenAsTheShortForms) {
    using namespace telvane::road;
    const RoadColumnTitles titles = RoadColumnTitles::FromTexts(
        [](std::string_view key) { return "T " + std::string(key); }); // blanks in the titles
    std::vector<IntersectionPointInfo> ips(3);
    ips[0] = {"JD0", 500, 1000, 0, 0, 0, 0, "", 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ips[1] = {"JD1", 800, 1400, 300, 40,  60,  500.5, "R", 0.25,
              90,    91,  180,  3.5, 410, 450, 530,   590};
    ips[2] = {"JD2", 900, 1900, 0, 0, 0, 1009.75, "", 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::vector<PlaneInfo> elements(3);
    elements[0] = {100, LineTypeLine, 500, 1000, 0.9272952180016122, 0, 0, 420.5, ""};
    elements[1] = {520.5, LineTypeClothoid, 800, 1400, 1.1, 0, 300, 40, "R"};
    elements[2] = {560.5, LineTypeCircle, 820, 1420, 1.2, 300, 300, 95.25, "R"};
    std::vector<LongSlopesInfo> grades(2);
    grades[0] = {0, 0, 10.5, 0, 0, 12.5};
    grades[1] = {400, 1, 15.5, 3000, 12.5, -8};
    std::vector<Pile> stakes(3);
    stakes[0] = {120, 500.25, 1000.5, 10.75, 495, 1004, 10.5, 505, 997, 10.5};
    stakes[0].HasCentre = stakes[0].HasSides = true;
    stakes[1] = {140, 510, 1010, 11, 0, 0, 0, 0, 0, 0};
    stakes[1].HasCentre = true;                      // no offset: the centre only
    stakes[2] = {1160.5, 0, 0, 0, 0, 0, 0, 0, 0, 0}; // outside the road: not calculated

    // The short forms, as the instrument software always kept them: the long lines cut to the
    // fields the main window reads.
    auto short_form = [](const std::string& text, std::size_t from, std::size_t keep,
                         std::size_t first_keep) {
        std::string out;
        Lines lines = split_lines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string line = lines[i];
            const std::size_t n = i == from ? first_keep : keep;
            if (i >= from) {
                std::size_t at = 0;
                for (std::size_t k = 0; k < n && at != std::string::npos; ++k)
                    at = line.find(',', at + (k ? 1 : 0));
                if (at != std::string::npos)
                    line.resize(at);
            }
            out += line + "\r\n";
        }
        return out;
    };
    struct Case {
        const char* what;
        std::string file;
        std::string text;
        std::string short_text; // empty: no short form to compare with
        RoadList list;
        std::size_t rows;
    };
    const std::string phi = *IntersectionFileText(ips, titles);
    const std::string sec = *ElementFileText(elements, titles);
    const std::string pvi = *GradePointFileText(grades, titles);
    const Case cases[] = {
        {"intersection points with curve values", "road.PHI", phi, short_form(phi, 1, 7, 7),
         RoadList::Intersections, 3},
        {"line elements, long form", "road.SEC", sec, short_form(sec, 3, 7, 5), RoadList::Elements,
         3},
        {"vertical profile", "road.PVI", pvi, "", RoadList::Profile, 2},
    };
    TempDir dir;
    for (const Case& c : cases) {
        DataState opened, short_opened;
        Messages m;
        ASSERT_TRUE(open_data_file(dir.write(c.file, c.text), opened, {}, m)) << c.what;
        EXPECT_TRUE(m.empty()) << c.what << ": " << m[0].value;
        std::cout << "  road window " << c.what << " (" << c.file << ") -> " << kind_word(opened)
                  << ", " << opened.RoadRows.size() << "\n";
        ASSERT_EQ(opened.Kind, DataKind::Road) << c.what;
        ASSERT_EQ(opened.Road, c.list) << c.what;
        EXPECT_EQ(opened.RoadRows.size(), c.rows) << c.what;
        const SendPlan plan = prepare_send_lines(opened);
        EXPECT_TRUE(plan.refusal.empty()) << c.what;
        EXPECT_EQ(plan.lines.size(), c.rows) << c.what;
        if (!c.short_text.empty()) {
            ASSERT_TRUE(
                open_data_file(dir.write("short" + c.file, c.short_text), short_opened, {}, m));
            EXPECT_EQ(opened.RoadRows, short_opened.RoadRows) << c.what;
        }
    }

    // Stakes with coordinates: a point per calculated position, named after the chainage.
    DataState d;
    Messages m;
    FileSettings feet; // road files are metres whatever the settings say
    feet.units.distance = kIntFoot;
    ASSERT_TRUE(
        open_data_file(dir.write("stakes.csv", *StakeFileText(stakes, titles)), d, feet, m));
    std::cout << "  road window stakes (stakes.csv) -> " << kind_word(d) << ", "
              << d.CoordList.size() << "\n";
    ASSERT_EQ(d.Kind, DataKind::Points);
    const std::vector<coord_item> want = {{"K0+120.000", "C", 1000.5, 500.25, 10.75},
                                          {"K0+120.000L", "L", 1004, 495, 10.5},
                                          {"K0+120.000R", "R", 997, 505, 10.5},
                                          {"K0+140.000", "C", 1010, 510, 11}};
    expect_same_points(d.CoordList, want, 1e-9, "stakes");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0], UserMessage::key_with("stakes_left_out", {"1"}));
    EXPECT_TRUE(prepare_send_lines(d).refusal.empty());

    // Stakes before any calculation: their chainages, as a pile list.
    for (Pile& p : stakes)
        p.HasCentre = p.HasSides = false;
    d = {};
    m.clear();
    ASSERT_TRUE(open_data_file(dir.write("plain.csv", *StakeFileText(stakes, titles)), d, {}, m));
    EXPECT_EQ(d.Kind, DataKind::Road);
    EXPECT_EQ(d.Road, RoadList::Stakes);
    EXPECT_EQ(d.RoadRows, (std::vector<RoadRow>{{"120"}, {"140"}, {"1160.5"}}));
    EXPECT_EQ(m, Messages{UserMessage::key("stakes_read_as_piles")});
}
