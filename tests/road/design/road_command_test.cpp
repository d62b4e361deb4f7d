#include "road_samples.h"
#include "tempdir.h"

#include "cli/road_command.h"
#include "road/design/road_files.h"

#include "model/numtext.h"
#include "model/textlines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using telvane::testing::kSampleIntersections;
using telvane::testing::StakeTable;
using telvane::testing::TempDir;

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

CliRun Road(std::vector<std::string> args) {
    args.insert(args.begin(), {"telvane-cli", "road"});
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    std::ostringstream out;
    std::ostringstream err;
    static const auto english = telvane::cli::CliTexts::for_language("en");
    const int status =
        telvane::cli::run_road(static_cast<int>(argv.size()), argv.data(), *english, out, err);
    return {status, out.str(), err.str()};
}

const char* const kProfile = "K,H,i1,i2,R\r\n"
                             "1000,100,0,12,0\r\n"
                             "2000,112,12,-8,5000\r\n"
                             "4000,96,-8,0,0\r\n";
const char* const kStakes = "Chainage\r\n1000\r\n1100\r\n1500\r\n2000\r\n2600\r\n";

TEST(RoadCommand, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--stakes", "s.csv"},
             {"--phi", "a.PHI", "--sec", "a.SEC", "--stakes", "s.csv"},
             {"--phi", "a.PHI"},
             {"--phi", "a.PHI", "--stakes", "s.csv", "--angle", "gon"},
             {"--phi", "a.PHI", "--stakes"}}) {
        const CliRun r = Road(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_FALSE(r.err.empty());
    }
}

TEST(RoadCommand, IntersectionPointsAndTheirElementFileGiveTheSameStakes) {
    TempDir dir;
    const std::string phi = dir.write("road.PHI", kSampleIntersections);
    const std::string pvi = dir.write("road.PVI", kProfile);
    const std::string stakes = dir.write("stakes.csv", kStakes);

    const CliRun first = Road({"--phi", phi, "--pvi", pvi, "--stakes", stakes, "--offset", "5",
                               "-o", dir.file("a.csv"), "--elements", dir.file("out.SEC"),
                               "--points", dir.file("out.PHI")});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.err, "");
    const std::string written = TempDir::read(dir.file("a.csv"));
    EXPECT_EQ(written.rfind("Chainage,Centre North,Centre East,Centre Elevation,Left North,", 0),
              0u);
    // The start chainage came from the first point's chainage, as the load fills the box.
    const auto a = StakeTable(written);
    ASSERT_EQ(a.size(), 5u);
    EXPECT_EQ(a[0][1], 3000);
    EXPECT_EQ(a[0][2], 500);
    EXPECT_NEAR(a[1][3], 101.2, 1e-9);

    // The intersection points come back with their computed columns.
    const telvane::Lines points = telvane::split_lines(TempDir::read(dir.file("out.PHI")));
    ASSERT_EQ(points.size(), 5u);
    EXPECT_EQ(telvane::split_delimited(points[2], ',').size(), 17u);
    EXPECT_EQ(telvane::split_delimited(points[2], ',')[7], "L");

    // The element file, loaded again, to standard output.
    const CliRun second =
        Road({"--sec", dir.file("out.SEC"), "--pvi", pvi, "--stakes", stakes, "--offset", "5"});
    ASSERT_EQ(second.status, 0) << second.err;
    const auto b = StakeTable(second.out);
    ASSERT_EQ(b.size(), a.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
        for (std::size_t f = 0; f < a[k].size(); ++f) {
            EXPECT_NEAR(b[k][f], a[k][f], 1e-6) << k << " " << f;
        }
    }

    // Options are typed over what the load put into the boxes.
    const CliRun shifted = Road({"--phi", phi, "--stakes", stakes, "--start-chainage", "1100"});
    ASSERT_EQ(shifted.status, 0) << shifted.err;
    const auto c = StakeTable(shifted.out);
    EXPECT_NEAR(c[1][1], 3000, 1e-9); // chainage 1100 is now the start
    EXPECT_TRUE(std::isnan(c[0][1])); // 1000 lies before it: no position at all
}

TEST(RoadCommand, RefusalsAndIncompleteFiles) {
    TempDir dir;
    const std::string stakes = dir.write("s.csv", "K\r\n0\r\n5\r\n");
    {
        // A chain the preparation refuses: wrong_format with the reason, nothing written.
        const std::string sec = dir.write("bad.SEC", "X0\r\n100,100,0,0\r\nh\r\nL,0,0,10\r\n"
                                                     "L,0,0,10\r\nL,0,0,0\r\n");
        const CliRun r = Road({"--sec", sec, "--stakes", stakes, "-o", dir.file("out.csv")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, "road: Line element 3: this kind of element cannot follow the ones before "
                         "it (a curve reads straight, spiral, circle, spiral, straight) "
                         "[road_element_order]\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.csv")));
    }
    {
        // A stake file that stops at a stake name: the stakes before it are calculated and
        // written, and the status says the input was not read whole.
        const std::string sec = dir.write(
            "ok.SEC", "X0\r\n100,100,0,0\r\nh\r\nL,0,0,10\r\nA,1000,1000,10,R\r\nL,0,0,0\r\n");
        const std::string named = dir.write("named.csv", "K\r\n2\r\nP7,1\r\n");
        const CliRun r = Road({"--sec", sec, "--stakes", named, "-o", dir.file("out.csv")});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("named.csv: The data format is wrong."), std::string::npos);
        const auto rows = StakeTable(TempDir::read(dir.file("out.csv")));
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_NEAR(rows[0][1], 102, 1e-9);
    }
    {
        // A file that cannot be read stops the command.
        const CliRun r = Road({"--phi", dir.file("missing.PHI"), "--stakes", stakes});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err, dir.file("missing.PHI") + ": The file does not exist [file_not_exist]\n");
        EXPECT_EQ(r.out, "");
    }
}

} // namespace
