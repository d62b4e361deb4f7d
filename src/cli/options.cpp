#include "options.h"

#include "model/numtext.h"

#include <string_view>

namespace telvane::cli {

const char* const kUsage =
    "usage: telvane-cli convert INPUT OUTPUT [--as TYPE] [--angle dms|gon|mil]\n"
    "                           [--distance m|us-ft|int-ft] [--order nez|enz]\n"
    "                           [--k 0.00|0.14|0.20] [--grid FACTOR]\n"
    "       telvane-cli info INPUT [settings options]\n"
    "       telvane-cli dump INPUT\n"
    "       telvane-cli road (--phi FILE | --sec FILE) [--pvi FILE] --stakes FILE\n"
    "                        [--start-chainage K] [--start-north N] [--start-east E]\n"
    "                        [--start-azimuth RAD] [--offset W] [-o STAKES_OUT]\n"
    "                        [--elements SEC_OUT] [--points PHI_OUT]\n"
    "       telvane-cli --help\n"
    "\n"
    "convert opens INPUT as the Open command does (job text, point rows, code lists, DXF,\n"
    "road files, binary job and point files .mea .dat .job .jbf .coo .cor .pts .ptf) and\n"
    "writes it as the Save command does, as TYPE:\n"
    "  a job:    records, points, dxf, gt7-reduced, gt7-sd, gt7, points-code-last, job\n"
    "  points:   points, dxf, points-code-last\n"
    "  codes:    codes\n"
    "Without --as, .dxf means dxf, .gt7 means gt7, anything else the job text, point rows or\n"
    "code list of what was read.\n"
    "info prints the data kind the Open command reaches, the counts and the messages shown.\n"
    "dump prints the job text lines a binary file converts into.\n"
    "road loads the intersection points (.PHI) or line elements (.SEC), the profile (.PVI) and\n"
    "the stake chainages as the road window does (a load fills the start boxes; the --start-*\n"
    "options and --offset are typed over them), calculates, prints its messages on stderr and\n"
    "writes the stake file to STAKES_OUT (standard output without -o), and on request the\n"
    "prepared element file and the intersection points with their computed columns. Exit 1\n"
    "when the calculation is refused or a file cannot be read completely or written.\n"
    "Defaults: metres, degrees-minutes-seconds, NEZ, K 0.14, grid 1.00.\n"
    "Exit status: 0 success, 1 input refused or unreadable, 2 usage error.\n";

namespace {

bool pick(std::string_view value, std::initializer_list<std::pair<std::string_view, int>> table,
          int& out) {
    for (const auto& [name, code] : table) {
        if (value == name) {
            out = code;
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<Options> parse_options(int argc, char** argv, std::string& error) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg.size() > 2 && arg.substr(0, 2) == "--" && arg != "--help") {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return std::nullopt;
            }
            const std::string_view value = argv[++i];
            bool ok = true;
            if (arg == "--as") {
                o.as = std::string(value);
            } else if (arg == "--angle") {
                ok = pick(value, {{"dms", kAngleDMS}, {"gon", kAngleGon}, {"mil", kAngleMil}},
                          o.settings.units.angle);
            } else if (arg == "--distance") {
                ok = pick(value, {{"m", kMetre}, {"us-ft", kUsFoot}, {"int-ft", kIntFoot}},
                          o.settings.units.distance);
            } else if (arg == "--order") {
                ok = pick(value, {{"nez", kOrderNEZ}, {"enz", kOrderENZ}}, o.settings.order);
            } else if (arg == "--k") {
                int k = 0;
                ok = pick(value, {{"0.00", 0}, {"0.14", 14}, {"0.20", 20}}, k);
                o.settings.reduction.K = k / 100.0;
            } else if (arg == "--grid") {
                ok = try_parse_double(value, o.settings.reduction.grid_scale);
            } else {
                error = "unknown option " + std::string(arg);
                return std::nullopt;
            }
            if (!ok) {
                error = "bad value for " + std::string(arg) + ": " + std::string(value);
                return std::nullopt;
            }
        } else if (o.command.empty()) {
            o.command = std::string(arg);
        } else {
            o.positional.emplace_back(arg);
        }
    }
    if (o.command.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    return o;
}

} // namespace telvane::cli
