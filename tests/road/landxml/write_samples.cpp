// Writes every kind of LandXML file the program writes into the folder given as argument: the
// golden roads with profile and stakes, a station equation, a spiral between two arcs, points,
// and the files of telvane-cli. The schema check then validates each of them.
#include "landxml_fixtures.h"

#include "cli/cli.h"
#include "model/filebytes.h"

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace telvane::road;

bool Write(const std::filesystem::path& dir, const std::string& name, const std::string& text) {
    std::string error;
    if (!telvane::write_file_atomic((dir / name).string(), text, &error)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
        return false;
    }
    return true;
}

int RunCli(std::vector<std::string> args) {
    args.insert(args.begin(), "telvane-cli");
    std::vector<char*> argv;
    for (auto& a : args)
        argv.push_back(a.data());
    std::ostringstream out, err;
    const int status = telvane::cli::run_cli(static_cast<int>(argv.size()), argv.data(), out, err);
    if (status != 0)
        std::fprintf(stderr, "telvane-cli %s: %s\n", args[1].c_str(), err.str().c_str());
    return status;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    bool ok = true;
    int n = 0;
    for (const testing::GoldenRoad& road : testing::GoldenRoads()) {
        DesignAxisCalculate axis;
        axis.SetPlaneElements(road.Chain.front().Mileage, road.Chain);
        axis.SetLongSlopes(road.Profile);
        landxml::DesignToWrite d;
        d.Name = road.Name;
        d.Elements = road.Chain;
        d.Stations = road.Stations;
        d.Profile = road.Profile;
        if (n == 0)
            d.Stations.Equations.push_back({road.Chain.front().Mileage + 200, 0, 5000});
        for (const double k : testing::StakeChainages(road.Chain, 50)) {
            Pile p;
            p.Mileage = k;
            if (axis.CalculatePile(k, n % 2 == 0 ? 5 : 0, p))
                d.Stakes.push_back(p);
        }
        const auto text = landxml::write_design(d);
        ok = ok && text && Write(dir, "road-" + std::to_string(++n) + ".xml", *text.Value);
    }
    landxml::DesignToWrite compound;
    compound.Name = "\xd4\xd1\xb5\xc0"; // 匝道
    compound.Elements = testing::CompoundChain();
    const auto text = landxml::write_design(compound);
    ok = ok && text && Write(dir, "compound.xml", *text.Value);

    std::vector<landxml::Point> points = {{"\xb5\xe3"
                                           "1",
                                           "TREE", 1, 2, 3, true},
                                          {"\xb5\xe3"
                                           "1",
                                           "", 4, 5, 0, false},
                                          {"", "<&>\"", 7, 8, 9, true},
                                          {"tab\tbell\x07", "", 1, 1, 1, true}};
    ok = ok && Write(dir, "points.xml", landxml::write_points(points));

    // The command-line tool's files.
    const std::filesystem::path work = dir / "cli-input";
    std::filesystem::create_directories(work);
    ok = ok && Write(work, "road.PHI",
                     "IP,N,E,K,R,S1,S2\r\nJD0,3000,500,1000,0,0,0\r\nJD1,3500,690,0,300,40,50\r\n"
                     "JD2,4000,520,0,250,35,35\r\nJD3,4600,800,0,0,0,0\r\n");
    ok = ok && Write(work, "road.PVI",
                     "K,H,i1,i2,R\r\n1000,100,12,12,0\r\n2000,112,12,-8,5000\r\n"
                     "2500,108,-8,-8,0\r\n");
    ok = ok && Write(work, "stakes.csv", "K\r\n1000\r\n1100\r\n1500\r\n2000\r\n");
    ok = ok && Write(work, "points.csv", "P1,TREE,100.5,200.25,10\r\nP1,,101,201,11\r\n");
    ok = ok && RunCli({"road", "--phi", (work / "road.PHI").string(), "--pvi",
                       (work / "road.PVI").string(), "--stakes", (work / "stakes.csv").string(),
                       "--offset", "4", "-o", (work / "out.csv").string(), "--landxml-out",
                       (dir / "cli-road.xml").string()}) == 0;
    ok = ok && RunCli({"convert", (work / "points.csv").string(),
                       (dir / "cli-points.xml").string()}) == 0;
    std::filesystem::remove_all(work);
    return ok ? 0 : 1;
}
