// telvane-cli road --check: stakes calculated by the tool, measured with known errors, come back
// in the report with those errors and their verdicts; tolerances from the options; a job's points;
// files that give no points; the picture with its factor.
#include "cli_run.h"
#include "road_samples.h"
#include "tempdir.h"

#include "model/numtext.h"
#include "model/textlines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using telvane::testing::kSampleIntersections;
using telvane::testing::kSampleProfile;
using telvane::testing::TempDir;

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Cells(const std::string& line) {
    return telvane::split_delimited(line, ',');
}

struct Road {
    TempDir dir;
    std::string phi = dir.write("road.PHI", kSampleIntersections);
    std::string pvi = dir.write("road.PVI", kSampleProfile);
    // Centre, left and right of a stake (north, east, elevation), as the tool calculates them.
    std::vector<double> Stake(double chainage) {
        const std::string stakes =
            dir.write("stakes.csv", "K\r\n" + telvane::format_general(chainage) + "\r\n");
        const CliRun run =
            cli({"road", "--phi", phi, "--pvi", pvi, "--stakes", stakes, "--offset", "5"});
        EXPECT_EQ(run.status, 0) << run.err;
        const telvane::Lines lines = telvane::split_lines(run.out);
        std::vector<double> v;
        for (const std::string& cell : Cells(lines.at(1)))
            v.push_back(telvane::parse_double(cell));
        return v;
    }
};

TEST(RoadCheckCli, ReportGivesBackTheErrorsOfStakedPointsAndTheirVerdicts) {
    Road road;
    const std::vector<double> a = road.Stake(1100), b = road.Stake(1500);
    // 1 cm north of K1+100, the left stake of K1+500 as it is but 3 cm high, a plain point 2 m
    // to the side of the axis, and a point before the start.
    const std::string measured = road.dir.write(
        "measured.csv", "K1+100.000,," + telvane::format_fixed(a[1] + 0.01, 6) + "," +
                            telvane::format_fixed(a[2], 6) + "," + telvane::format_fixed(a[3], 6) +
                            "\r\n" + "K1+500.000L,," + telvane::format_fixed(b[4], 6) + "," +
                            telvane::format_fixed(b[5], 6) + "," +
                            telvane::format_fixed(b[6] + 0.03, 6) + "\r\n" +
                            "P1,,3200,570,102\r\n" + "P2,,2990,495,99\r\n");
    const std::string report = road.dir.file("report.csv");
    const std::string plan = road.dir.file("check.svg");
    const CliRun run = cli({"road", "--phi", road.phi, "--pvi", road.pvi, "--offset", "5",
                            "--check", measured, "-o", report, "--plan", plan});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(
        run.err.find("4 points checked: 1 within tolerance, 2 out of tolerance, 1 outside the "
                     "road, 0 with nothing to check [cli_check_summary]"),
        std::string::npos)
        << run.err;
    const telvane::Lines lines = telvane::split_lines(Read(report));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "Name,North,East,Elevation,Chainage,Offset,\"Design elevation\",dH,Stake,"
                        "Along,Across,Distance,Verdict,Note");
    const std::vector<std::string> first = Cells(lines[1]), second = Cells(lines[2]),
                                   third = Cells(lines[3]), fourth = Cells(lines[4]);
    EXPECT_EQ(first[8], "K1+100.000");
    EXPECT_EQ(first[11], "0.0100");
    EXPECT_EQ(first[12], "Within tolerance");
    EXPECT_EQ(second[8], "K1+500.000L");
    EXPECT_EQ(second[9], "0.0000");
    EXPECT_EQ(second[10], "0.0000");
    EXPECT_EQ(second[5], "-5.0000");
    EXPECT_EQ(second[7], "0.0300");
    EXPECT_EQ(second[12], "Out of tolerance");
    EXPECT_EQ(third[8], "");
    EXPECT_EQ(third[12], "Out of tolerance");
    EXPECT_EQ(fourth[4], "");
    EXPECT_EQ(fourth[12], "Outside the road");
    EXPECT_NE(Read(plan).find("Deviation arrows exaggerated"), std::string::npos);

    // Wider tolerances pass the high side stake; the report goes to standard output.
    const CliRun wide =
        cli({"road", "--phi", road.phi, "--pvi", road.pvi, "--offset", "5", "--check", measured,
             "--tolerance-height", "0.05", "--tolerance-plan", "0.005"});
    ASSERT_EQ(wide.status, 0) << wide.err;
    const telvane::Lines out = telvane::split_lines(wide.out);
    EXPECT_EQ(Cells(out.at(1))[12], "Out of tolerance"); // 1 cm from its stake, 5 mm allowed
    EXPECT_EQ(Cells(out.at(2))[12], "Within tolerance");
}

TEST(RoadCheckCli, AJobsPointsAreCheckedAndOtherFilesRefused) {
    Road road;
    const std::string job = road.dir.write(
        "job.txt", "JOB     test\r\nINST    TS\r\nSTA     S1,1.5000,\r\nXYZ     520,3100,100\r\n"
                   "SC      K1+100.000,1.3000,\r\nENZ     535.52,3093.48,101.2\r\n");
    const CliRun run =
        cli({"road", "--phi", road.phi, "--pvi", road.pvi, "--offset", "5", "--check", job});
    ASSERT_EQ(run.status, 0) << run.err;
    const telvane::Lines lines = telvane::split_lines(run.out);
    ASSERT_EQ(lines.size(), 3u); // the station and the measured point
    EXPECT_EQ(Cells(lines[2])[0], "K1+100.000");
    EXPECT_EQ(Cells(lines[2])[8], "K1+100.000");

    const std::string codes = road.dir.write("codes.txt", "ROAD\r\nTREE\r\n");
    const CliRun refused = cli({"road", "--phi", road.phi, "--check", codes});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("[cli_check_no_points]"), std::string::npos) << refused.err;
    const CliRun missing = cli({"road", "--phi", road.phi, "--check", road.dir.file("none.csv")});
    EXPECT_EQ(missing.status, 1);
    for (const char* bad : {"-1", "abc"}) {
        const CliRun usage =
            cli({"road", "--phi", road.phi, "--check", job, "--tolerance-plan", bad});
        EXPECT_EQ(usage.status, 2) << bad;
        EXPECT_NE(usage.err.find("[cli_bad_value]"), std::string::npos) << usage.err;
    }
    EXPECT_EQ(cli({"road", "--phi", road.phi, "--check", job, "--arrow-factor", "0"}).status, 2);
}

} // namespace
