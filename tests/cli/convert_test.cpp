#include "cli_run.h"
#include "lebytes.h"
#include "model/filebytes.h"
#include "tempdir.h"

#include <gtest/gtest.h>

using telvane::testing::TempDir;

namespace {

const char* const kJob = "JOB     J1\r\n"
                         "INST    TS\r\n"
                         "STA     S1,1.5000,C1\r\n"
                         "XYZ     100.0000,200.0000,10.0000\r\n"
                         "BS      B1,1.6000\r\n"
                         "HVD     0,324000,50.0000\r\n"
                         "SC      B1,1.6000,BSS\r\n"
                         "ENZ     1.0000,2.0000,3.0000\r\n"
                         "SC      P1,1.3000,TREE\r\n"
                         "HVD     3600,324000,12.3450\r\n"
                         "ENZ     5.0000,6.0000,7.0000\r\n"
                         "NOTE    done\r\n";

} // namespace

TEST(CliConvert, JobTextIsRewrittenByteForByte) {
    TempDir dir;
    const std::string in = dir.write("job.txt", kJob);
    ASSERT_EQ(cli({"convert", in, dir.file("out.txt")}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("out.txt")), kJob);
}

TEST(CliConvert, OutputTypesAndSettings) {
    TempDir dir;
    const std::string in = dir.write("job.txt", kJob);
    struct Case {
        std::vector<std::string> options;
        std::string expected;
    };
    const Case cases[] = {
        {{"--as", "points"},
         "S1,C1,200.0000,100.0000,10.0000\r\nB1,,2.0000,1.0000,3.0000\r\n"
         "P1,TREE,6.0000,5.0000,7.0000\r\n"},
        {{"--as", "points-code-last", "--order", "enz"},
         "S1,100.0000,200.0000,10.0000,C1\r\nB1,1.0000,2.0000,3.0000,\r\n"
         "P1,5.0000,6.0000,7.0000,TREE\r\n"},
        {{"--as", "records", "--angle", "gon", "--distance", "int-ft"},
         "STA,S1,4.9213,C1,328.0840,656.1680,32.8084\r\n"
         "SC,B1,5.2493,,0.0000,100.0000,164.0420,3.2808,6.5617,9.8425\r\n"
         "SC,P1,4.2651,TREE,1.1111,100.0000,40.5020,16.4042,19.6850,22.9659\r\n\r\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"convert", in, dir.file("out.csv")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        ASSERT_EQ(cli(args).status, 0);
        EXPECT_EQ(TempDir::read(dir.file("out.csv")), c.expected) << c.options[1];
    }
}

TEST(CliConvert, CodeLists) {
    TempDir dir;
    const std::string in =
        dir.write("codes.txt", "TREE:1:0:0:0:0:0:0:0:0\r\nWALL:2:0:0:0:0:0:0:0:0\r\n");
    ASSERT_EQ(cli({"convert", in, dir.file("codes.out")}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("codes.out")), "TREE\r\nWALL\r\n");
    EXPECT_EQ(cli({"convert", in, dir.file("x"), "--as", "points"}).status, 1);
}

TEST(CliConvert, ExitStatusAndMessages) {
    TempDir dir;
    const std::string job = dir.write("job.txt", kJob);
    const std::string bad =
        dir.write("bad.txt", "JOB     J\r\nINST    I\r\nSTA     S,x,C\r\nXYZ     1,2,3\r\n");
    const std::string rows = dir.write("rows.csv", "P1,C,1,2,3\r\n");

    const CliRun refused = cli({"convert", bad, dir.file("o")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("ERROR: load record item failed"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir.file("o")));

    EXPECT_NE(refused.err.find("wrong_format"), std::string::npos);
    EXPECT_EQ(cli({"convert", rows, dir.file("o")}).status, 0); // point rows
    EXPECT_EQ(cli({"convert", dir.write("blank.txt", " \r\n"), dir.file("o")})
                      .err.find("open_empty_file") != std::string::npos,
              true);
    EXPECT_EQ(cli({"convert", dir.file("missing"), dir.file("o")}).status, 1);
    EXPECT_EQ(cli({"convert", job}).status, 2);
    EXPECT_EQ(cli({"convert", job, dir.file("o"), "--as", "dwg"}).status, 2);
    EXPECT_EQ(cli({"convert", job, dir.file("o"), "--angle", "rad"}).status, 2);
    EXPECT_EQ(cli({"convert", job, dir.file("o"), "--grid", "abc"}).status, 2);
    EXPECT_EQ(cli({"convert", job, dir.file("o"), "--k"}).status, 2);
    EXPECT_EQ(cli({"convert", job, dir.file("no/such/folder/o")}).status, 1);
}

// A job cut short (a capture of a receive that stopped) converts with its complete records and
// a warning; one with no complete record is refused.
TEST(CliConvert, AJobCutShortGoesOnWithItsCompleteRecords) {
    TempDir dir;
    std::string text = kJob;
    text.resize(text.find("ENZ     5.0000") + 10); // the last point's coordinates cut off
    const std::string cut = dir.write("cut.txt", text);
    const CliRun run = cli({"convert", cut, dir.file("out.txt")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("[job_cut_short]"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("line 9"), std::string::npos) << run.err;
    const auto written = telvane::read_file_bytes(dir.file("out.txt"));
    ASSERT_TRUE(written);
    EXPECT_NE(written->find("BS      B1"), std::string::npos);
    EXPECT_EQ(written->find("P1"), std::string::npos);

    const std::string none = dir.write("none.txt", "JOB     J\r\nINST    I\r\nSC      P1,1.");
    EXPECT_EQ(cli({"convert", none, dir.file("none-out.txt")}).status, 1);
}

TEST(AtomicWrite, AFailedSaveLeavesTheOldFile) {
    TempDir dir;
    const std::string target = dir.write("keep.txt", "old contents");
    std::string error;
    EXPECT_TRUE(telvane::write_file_atomic(target, "new contents", &error));
    EXPECT_EQ(TempDir::read(target), "new contents");

    // A target that is a folder cannot be replaced: the write fails and nothing is left behind.
    std::filesystem::create_directory(dir.file("folder"));
    std::filesystem::path inside = dir.path() / "folder" / "x";
    std::ofstream(inside) << "inside";
    EXPECT_FALSE(telvane::write_file_atomic(dir.file("folder"), "data", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TempDir::read(inside.string()), "inside");
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 2u); // keep.txt and folder: no temporary file remains

    // An empty text without a buffer (a default string view) writes an empty file.
    EXPECT_TRUE(telvane::write_file_atomic(target, std::string_view(), &error)) << error;
    EXPECT_EQ(TempDir::read(target), "");
}

TEST(CliBinary, JobAndPointFilesConvertAndDump) {
    TempDir dir;
    telvane::testing::Record sta(48), sc(48);
    sta.i8(0, 1).text(1, "S1").f32(20, 1.5f).f64(24, 200).f64(32, 100).f64(40, 10);
    sc.i8(0, 8).text(1, "P1").text(10, "TREE").f32(20, 1.25f).f64(24, 6).f64(32, 5).f64(40, 7);
    const std::string mea = dir.write("day1.mea", "\x01" + sta.bytes() + sc.bytes());

    ASSERT_EQ(cli({"convert", mea, dir.file("day1.txt")}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("day1.txt")),
              "JOB     day1\r\nINST    TotalStation\r\nSTA     S1,1.5000,\r\n"
              "XYZ     100.0000,200.0000,10.0000\r\nSC      P1,1.2500,TREE\r\n"
              "ENZ     5.0000,6.0000,7.0000\r\n");
    ASSERT_EQ(cli({"convert", mea, dir.file("p.csv"), "--as", "points"}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("p.csv")),
              "S1,,200.0000,100.0000,10.0000\r\nP1,TREE,6.0000,5.0000,7.0000\r\n");

    const CliRun d = cli({"dump", mea});
    EXPECT_EQ(d.status, 0);
    EXPECT_EQ(d.out, "STA     S1,1.5000,\nXYZ     100.0000,200.0000,10.0000\n"
                     "SC      P1,1.2500,TREE\nENZ     5.0000,6.0000,7.0000\n");

    telvane::testing::Record pt(56);
    pt.i8(0, 11).text(1, "K1").text(16, "CP").f64(32, 1).f64(40, 2).f64(48, 3);
    const std::string pts = dir.write("known.pts", pt.bytes());
    ASSERT_EQ(cli({"convert", pts, dir.file("k.csv"), "--order", "enz"}).status, 0);
    EXPECT_EQ(TempDir::read(dir.file("k.csv")), "K1,CP,2.0000,1.0000,3.0000\r\n");
    EXPECT_EQ(cli({"convert", pts, dir.file("k.txt"), "--as", "job"}).status, 1);

    // A reader error exits 1 with its message key.
    const std::string bad = dir.write("bad.mea", std::string("\x03\x01\x02", 3));
    const CliRun refused = cli({"convert", bad, dir.file("x")});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("file_wrong_format"), std::string::npos);
    const CliRun bad_dump = cli({"dump", bad});
    EXPECT_EQ(bad_dump.status, 1);
    EXPECT_NE(bad_dump.err.find("file_wrong_format"), std::string::npos);
    EXPECT_EQ(bad_dump.out, "");
    // Binary bytes under an extension no reader knows.
    const std::string unknown = dir.write("data.bin", std::string("\x01\x02\x00\xFF", 4));
    EXPECT_NE(cli({"convert", unknown, dir.file("y")}).err.find("wrong_format"), std::string::npos);
}

// What convert writes, convert reads again: record rows and GTS-7 back into a job text, and
// point rows with a header or without elevation into points, with what was assumed on stderr.
TEST(CliConvert, WrittenFilesReadBack) {
    TempDir dir;
    const std::string job = dir.write("job.txt", kJob);
    const std::string text = kJob;
    const std::string without_note = text.substr(0, text.find("NOTE"));
    // Rows carry no job and instrument names.
    const std::string back =
        "JOB     NONAME\r\nINST    UNKNOW\r\n" + without_note.substr(without_note.find("STA"));
    struct Case {
        std::string as;   // the type job.txt is converted into first
        std::string file; // under this name
        std::string expected;
    };
    const Case cases[] = {
        {"records", "rows.csv", back},
        {"gt7", "job.gt7", without_note},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(cli({"convert", job, dir.file(c.file), "--as", c.as}).status, 0) << c.as;
        const CliRun run = cli({"convert", dir.file(c.file), dir.file("again.txt"), "--as", "job"});
        ASSERT_EQ(run.status, 0) << c.as << run.err;
        EXPECT_EQ(TempDir::read(dir.file("again.txt")), c.expected) << c.as;
    }
    const std::string rows = dir.write("rows.csv", "Name,N,E\r\nP1,1,2\r\n");
    const CliRun run = cli({"convert", rows, dir.file("p.csv")});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(TempDir::read(dir.file("p.csv")), "P1,,1.0000,2.0000,0.0000\r\n");
    EXPECT_NE(run.err.find("[points_header_skipped]"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("[points_no_elevation]"), std::string::npos) << run.err;
}
