// What telvane-cli says: every refusal in words from the language file with its key, in English
// or Chinese, and names from GBK files shown in UTF-8.
#include "cli/encoding.h"
#include "cli/texts.h"
#include "cli_run.h"
#include "lebytes.h"
#include "road/design/road_texts.h"
#include "road/engine/intersection_point_calculate.h"
#include "tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>

using telvane::cli::CliTexts;
using telvane::testing::TempDir;

namespace {

// 测试 ("test") and 北门 ("north gate") in GBK, and the same in UTF-8.
const std::string kGbkJob = "\xb2\xe2\xca\xd4";
const std::string kUtf8Job = "\xe6\xb5\x8b\xe8\xaf\x95";
const std::string kGbkPoint = "\xb1\xb1\xc3\xc5";
const std::string kUtf8Point = "\xe5\x8c\x97\xe9\x97\xa8";

const std::string kJob = "JOB     " + kGbkJob + "\r\nINST    TS\r\nSTA     " + kGbkPoint +
                         ",1.5000,C\r\nXYZ     100.0000,200.0000,10.0000\r\n";

} // namespace

// Each kind of refusal, as one line: subject, the English text of the language file, the key.
TEST(CliMessages, EveryRefusalIsTheLanguageFilesTextWithItsKey) {
    TempDir dir;
    const std::string d = dir.path().string() + "/";
    dir.write("job.txt", kJob);
    dir.write("empty.txt", "");
    dir.write("blank.txt", "  \r\n");
    dir.write("junk.txt", "a b c\r\nd e f\r\n");
    dir.write("bad.mea", std::string("\x03\x01\x02", 3));
    dir.write("bad.txt", "JOB     J\r\nINST    I\r\nSTA     S,x,C\r\nXYZ     1,2,3\r\n");
    dir.write("p3.csv", "P1,1,2,3,4,5,6,C\r\n");
    dir.write("codes.txt", "TREE\r\nWALL\r\n");
    dir.write("nocoord.txt", "JOB     J\r\nINST    I\r\nNOTE    hello\r\n");
    telvane::testing::Record damaged(40);
    damaged.text(0, "X").f64(16, std::numeric_limits<double>::quiet_NaN());
    dir.write("damaged.ptf", damaged.bytes());
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{"convert", d + "day1.mea", d + "o"},
         1,
         d + "day1.mea: The file does not exist [file_not_exist]\n"},
        {{"dump", d + "day1.mea"}, 1, d + "day1.mea: The file does not exist [file_not_exist]\n"},
        {{"info", d + "day1.mea"}, 1, d + "day1.mea: The file does not exist [file_not_exist]\n"},
        {{"convert", d + "day1.txt", d + "o"},
         1,
         d + "day1.txt: The file cannot be opened [file_unable_open]\n"},
        {{"convert", d + "empty.txt", d + "o"},
         1,
         d + "empty.txt: The file is empty [file_is_empty]\n"},
        {{"convert", d + "blank.txt", d + "o"},
         1,
         d + "blank.txt: The file is empty. [open_empty_file]\n"},
        {{"convert", d + "junk.txt", d + "o"},
         1,
         d + "junk.txt: The data format is wrong. [wrong_format]\n"},
        {{"convert", d + "bad.mea", d + "o"},
         1,
         d + "bad.mea: The file format is wrong [file_wrong_format]\n"},
        {{"convert", d + "bad.txt", d + "o"},
         1,
         d + "bad.txt: The data format is wrong. [wrong_format] (ERROR: load record item "
             "failed)\n"},
        {{"convert", d + "p3.csv", d + "o.csv"},
         1,
         d + "p3.csv: There is no data to save. [no_data_to_save]\n"},
        {{"convert", d + "codes.txt", d + "o.csv", "--as", "points"},
         1,
         d + "codes.txt: This data cannot be written as this type [cli_cannot_write_as] (codes -> "
             "points)\n"},
        {{"convert", d + "job.txt", d + "o.txt", "--as", "gt7"},
         1,
         d + "o.txt: A GTS-7 file name must end in .gt7; nothing was saved. [gts7_name_not_gt7]\n"},
        {{"convert", d + "job.txt", d + "o.gt7", "--angle", "mil"},
         1,
         d + "o.gt7: GTS-7 files cannot be written with the mil angle unit. "
             "[gts7_not_support_mil]\n"},
        // Damaged records only: the count, and nothing is written.
        {{"convert", d + "damaged.ptf", d + "o.csv"},
         1,
         d + "damaged.ptf: The file holds damaged data; records left out: 1 [file_bad_data]\n"},
        {{"convert", d + "nocoord.txt", d + "o.dxf"},
         1,
         d + "o.dxf: The job holds no coordinates. [job_have_no_coord]\n"},
        // Usage errors.
        {{}, 2, "telvane-cli: No command was given [cli_no_command]\n"},
        {{"fly"}, 2, "fly: Unknown command [cli_unknown_command]\n"},
        {{"convert", d + "job.txt"}, 2, "convert: Wrong number of file names [cli_file_count]\n"},
        {{"info", d + "job.txt", "--colour", "red"},
         2,
         "--colour: Unknown option [cli_unknown_option]\n"},
        {{"info", d + "job.txt", "--angle"},
         2,
         "--angle: This option needs a value [cli_needs_value]\n"},
        {{"info", d + "job.txt", "--angle", "rad"},
         2,
         "--angle rad: This option does not take this value [cli_bad_value]\n"},
        {{"convert", d + "job.txt", d + "o", "--as", "dwg"},
         2,
         "dwg: Unknown output type [cli_unknown_type]\n"},
        {{"info", d + "job.txt", "--lang", "fr"},
         2,
         "fr: Unknown language [cli_unknown_language]\n"},
        {{"road", "--stakes", d + "s.csv"},
         2,
         "road: One alignment file is needed: --phi, --sec or --landxml [cli_road_alignment]\n"},
        {{"road", "--phi", d + "a.PHI"},
         2,
         "road: A stake file is needed: --stakes [cli_road_stakes]\n"},
        {{"road", "--phi", d + "a.PHI", "--stakes", d + "s.csv"},
         1,
         d + "a.PHI: The file does not exist [file_not_exist]\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = cli(c.args);
        const std::string what = c.args.empty() ? "" : c.args.front();
        EXPECT_EQ(r.status, c.status) << what << " " << r.err;
        EXPECT_EQ(r.err, c.err) << what;
        EXPECT_EQ(r.out, "") << what;
    }
    // The road calculation's refusals are the language file's texts, in both languages, naming
    // what is at fault.
    dir.write("two.SEC", "X0\r\n100,100,0,0\r\nh\r\nL,0,0,10\r\nL,0,0,0\r\n");
    dir.write("s.csv", "K\r\n0\r\n");
    EXPECT_EQ(cli({"road", "--sec", d + "two.SEC", "--stakes", d + "s.csv"}).err,
              "road: At least 3 line elements are needed [road_too_few_elements]\n");
    EXPECT_EQ(cli({"road", "--sec", d + "two.SEC", "--stakes", d + "s.csv", "--lang", "zh"}).err,
              "road: 线元数量不能少于3个 [road_too_few_elements]\n");
    dir.write("zero.PHI", "h\r\nJD0,3000,500,1000,0,0,0\r\nJD1,3500,690,0,0,0,0\r\n"
                          "JD2,4000,520,0,0,0,0\r\n");
    EXPECT_EQ(cli({"road", "--phi", d + "zero.PHI", "--stakes", d + "s.csv"}).err,
              "road: The radius at JD1 is 0: not a valid intersection point! [ip_zero_radius]\n");

    const CliRun unwritable = cli({"convert", d + "job.txt", d + "no/such/folder/o.txt"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err.rfind(
                  d + "no/such/folder/o.txt: The file cannot be written [cli_cannot_write] (", 0),
              0u)
        << unwritable.err;
}

// A damaged binary file that also holds good records: the warning, then the good records go on.
TEST(CliMessages, DamagedRecordsAreAWarningWhileGoodOnesRemain) {
    TempDir dir;
    const std::string d = dir.path().string() + "/";
    telvane::testing::Record good(40), bad(40);
    good.text(0, "A1").f64(16, 1).f64(24, 2).f64(32, 3);
    bad.text(0, "X").f64(24, std::numeric_limits<double>::infinity());
    dir.write("p.ptf", good.bytes() + bad.bytes() + bad.bytes());
    const CliRun r = cli({"convert", d + "p.ptf", d + "o.csv"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err,
              d + "p.ptf: The file holds damaged data; records left out: 2 [file_bad_data]\n");
    std::ifstream written(d + "o.csv", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(written), {}),
              "A1,,1.0000,2.0000,3.0000\r\n");
    EXPECT_EQ(cli({"convert", d + "p.ptf", d + "o.csv", "--lang", "zh"}).err,
              d + "p.ptf: 文件中的数据已损坏，未读入的记录条数：2 [file_bad_data]\n");
}

TEST(CliMessages, ChineseWithTheSameKeys) {
    TempDir dir;
    const std::string missing = dir.file("day1.mea");
    const CliRun r = cli({"--lang", "zh", "convert", missing, dir.file("o")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, missing + ": 文件不存在 [file_not_exist]\n");
    // The option may stand anywhere.
    EXPECT_EQ(cli({"fly", "--lang", "zh"}).err, "fly: 未知的命令 [cli_unknown_command]\n");
    const std::string blank = dir.write("blank.txt", " \r\n");
    EXPECT_EQ(cli({"convert", blank, dir.file("o"), "--lang", "zh"}).err,
              blank + ": 文件是空的。 [open_empty_file]\n");
}

// Every key the tool says has its own text in both languages, not the bare key.
TEST(CliMessages, EveryKeyOfTheToolHasBothTexts) {
    const char* const keys[] = {"cli_no_command",        "cli_unknown_command",
                                "cli_unknown_option",    "cli_needs_value",
                                "cli_bad_value",         "cli_file_count",
                                "cli_unknown_type",      "cli_cannot_write_as",
                                "gts7_name_not_gt7",     "cli_cannot_write",
                                "cli_road_alignment",    "cli_road_stakes",
                                "cli_not_road_file",     "cli_unknown_language",
                                "road_too_few_elements", "road_plane_refused",
                                "road_profile_refused",  "ip_too_few_points",
                                "ip_points_too_close",   "ip_same_bearing",
                                "ip_opposite_bearing",   "ip_zero_radius",
                                "ip_negative_spiral",    "ip_spirals_too_long",
                                "landxml_not_xml",       "landxml_not_landxml",
                                "landxml_bad_units",     "landxml_bad_value",
                                "landxml_unsupported",   "landxml_chain_gap",
                                "landxml_no_alignment",  "landxml_several_alignments",
                                "landxml_no_points",     "landxml_bad_profile",
                                "cli_landxml_station"};
    for (const char* lang : {"en", "zh"}) {
        const auto texts = CliTexts::for_language(lang);
        ASSERT_TRUE(texts);
        for (const char* key : keys)
            EXPECT_NE(texts->text(key), key) << lang << " " << key;
    }
    EXPECT_FALSE(CliTexts::for_language("de"));
}

// The road calculation's own texts (GBK) are found in the language file: the Chinese text is
// exactly the program's text. The intersection-point method names what it refuses by key and
// point names, which the words quote in UTF-8.
TEST(CliMessages, RoadTextsHaveKeysAndKeepTheirNames) {
    namespace rt = telvane::road::roadtexts;
    const auto zh = CliTexts::for_language("zh");
    const auto en = CliTexts::for_language("en");
    for (const char* text : {rt::TooFewElements, rt::PlaneRefused, rt::ProfileRefused}) {
        const std::string said = zh->road_text(text);
        EXPECT_EQ(said.substr(0, said.find(" [")), telvane::cli::gbk_to_utf8(text));
        EXPECT_NE(en->road_text(text).find("] "), 0u);
    }
    // A text the program does not know is shown as it is, in UTF-8.
    EXPECT_EQ(en->road_text(kGbkPoint), kUtf8Point);

    // "JD1->JD2 and JD2->北门 ...": the names in the order the text gives them.
    TempDir dir;
    const std::string phi = dir.write("straight.PHI", "IP name,North,East,Chainage,Radius,S1,S2\r\n"
                                                      "JD1,0,0,0,0,0,0\r\nJD2,100,0,0,50,0,0\r\n" +
                                                          kGbkPoint + ",200,0,0,0,0,0\r\n");
    const std::string stakes = dir.write("s.csv", "K\r\n10\r\n");
    const CliRun same = cli({"road", "--phi", phi, "--stakes", stakes});
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("JD1->JD2 and JD2->" + kUtf8Point +
                            " have the same azimuth: not a valid intersection point! "
                            "[ip_same_bearing]"),
              std::string::npos)
        << same.err;
    const CliRun chinese = cli({"--lang", "zh", "road", "--phi", phi, "--stakes", stakes});
    EXPECT_NE(chinese.err.find("[ip_same_bearing]"), std::string::npos) << chinese.err;
}

TEST(CliOutput, InfoShowsNamesInUtf8AndDumpKeepsBytesUnlessAsked) {
    TempDir dir;
    const CliRun info = cli({"info", dir.write("job.txt", kJob)});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("job " + kUtf8Job + "\n"), std::string::npos) << info.out;

    telvane::testing::Record sta(48);
    sta.i8(0, 1).text(1, kGbkPoint).f32(20, 1.5f).f64(24, 200).f64(32, 100).f64(40, 10);
    const std::string mea = dir.write("day1.mea", "\x01" + sta.bytes());
    const CliRun raw = cli({"dump", mea});
    EXPECT_EQ(raw.out.substr(0, 16), "STA     " + kGbkPoint + ",1.5");
    const CliRun utf8 = cli({"dump", "--utf8", mea});
    EXPECT_EQ(utf8.out.substr(0, 18), "STA     " + kUtf8Point + ",1.5");
    const CliRun job = cli({"info", mea});
    EXPECT_NE(job.out.find("job day1\n"), std::string::npos) << job.out;
    EXPECT_EQ(job.status, 0);

    // A file of which nothing could be read is described, and fails.
    for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"no.txt", "a b,c d\r\n"},
                                      {"empty.pts", std::string("\x01\x02", 2)}}) {
        const CliRun nothing = cli({"info", dir.write(name, bytes)});
        EXPECT_EQ(nothing.status, 1) << name << ": " << nothing.out;
        EXPECT_NE(nothing.out.find("kind "), std::string::npos) << name;
    }
}

TEST(CliOutput, VersionAndHelp) {
    const CliRun version = cli({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "telvane-cli 1.6\n");
    const CliRun help = cli({"convert", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Usage: telvane-cli", 0), 0u);
    EXPECT_EQ(help.out.find("window"), std::string::npos); // the user's terms, not the program's
}

TEST(CliEncoding, DamagedAndMissingCharactersStayReadable) {
    using telvane::cli::gbk_to_utf8;
    using telvane::cli::utf8_to_gbk;
    EXPECT_EQ(gbk_to_utf8("P1"), "P1");
    EXPECT_EQ(gbk_to_utf8(kGbkPoint + "x"), kUtf8Point + "x");
    // A lead byte without its trail, in the middle and at the end.
    EXPECT_EQ(gbk_to_utf8("A\x81\x20"
                          "B\xb1"),
              "A\xEF\xBF\xBD B\xEF\xBF\xBD");
    EXPECT_EQ(utf8_to_gbk(kUtf8Point), kGbkPoint);
    // An emoji (not in GBK) is one '?', not four.
    EXPECT_EQ(utf8_to_gbk("a\xF0\x9F\x98\x80"
                          "b"),
              "a?b");
}

TEST(CliPictures, PlotAndRoadWriteSvgDrawings) {
    TempDir dir;
    const std::string job = dir.write("job.txt", kJob);
    const std::string map = dir.file("map.svg");
    const CliRun plotted = cli({"plot", job, map, "--codes"});
    ASSERT_EQ(plotted.status, 0) << plotted.err;
    std::ifstream in(map);
    const std::string svg((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find(kUtf8Point + " C</text>"), std::string::npos); // the name in UTF-8, the code
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    // Nothing to draw, and a road drawn in plan and profile.
    const CliRun codes = cli({"plot", dir.write("codes.txt", "TREE\r\nWALL\r\n"), map});
    EXPECT_EQ(codes.status, 1);
    EXPECT_NE(codes.err.find("[job_have_no_coord]"), std::string::npos);
    const std::string phi =
        dir.write("r.PHI", "h\r\nJD0,3000,500,1000,0,0,0\r\nJD1,3500,690,0,300,40,50\r\n"
                           "JD2,4000,520,0,0,0,0\r\n");
    const std::string stakes = dir.write("s.csv", "h\r\n1000\r\n1200\r\n");
    const CliRun road = cli({"road", "--phi", phi, "--stakes", stakes, "-o", dir.file("o.csv"),
                             "--plan", dir.file("plan.svg"), "--profile", dir.file("profile.svg")});
    ASSERT_EQ(road.status, 0) << road.err;
    std::ifstream plan(dir.file("plan.svg"));
    const std::string plan_svg((std::istreambuf_iterator<char>(plan)),
                               std::istreambuf_iterator<char>());
    EXPECT_NE(plan_svg.find("<polyline"), std::string::npos);
    EXPECT_NE(plan_svg.find("ZH K1+"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(dir.file("profile.svg")));
}

TEST(CliMessages, AFolderGivenAsAFileIsAReadError) {
    TempDir dir;
    const std::string folder = dir.path().string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"dump", folder},
          {"info", folder},
          {"road", "--phi", dir.write("x.PHI", "h\r\nJD0,0,0,0,0,0,0\r\n"), "--stakes", folder}}) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.status, 1) << args[0];
        EXPECT_EQ(run.err.find("too large"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("[file_read_error]"), std::string::npos)
            << args[0] << ": " << run.err;
    }
}
