#include "options.h"

#include "model/numtext.h"

#include <string_view>

namespace telvane::cli {

const char* const kUsage =
    R"(Usage: telvane-cli COMMAND [OPTIONS]

Converts and inspects the files of the total station and calculates road stake-out
tables. What a file holds is found from its contents; only the road files (.PHI, .SEC,
.PVI) and the instrument's binary files are known by their names. LandXML files (.xml)
are known by their root element.

Commands:
  convert INPUT OUTPUT [--as TYPE] [unit options]
      Reads survey data and writes it in another form. INPUT may be a job text, point
      rows, a code list, a DXF drawing, the points (CgPoints) of a LandXML file, or a
      binary job (.mea .dat .job .jbf) or point file (.coo .cor .pts .ptf) of the
      instrument. TYPE is one of:
        job               the instrument's job text (a job only)
        records           one comma-separated row per record (a job only)
        points            points as rows: name, code, then the three coordinates
        points-code-last  points as rows: name, the three coordinates, then code
        dxf               a DXF drawing of the points
        gt7               GTS-7 as recorded (a job only)
        gt7-sd            GTS-7 with coordinates turned into observations
        gt7-reduced       gt7-sd with distances reduced by --k and --grid
        codes             one feature code per line (a code list only)
        landxml           the points as LandXML 1.2 CgPoints (metres)
      Without --as, an OUTPUT ending in .dxf gets a drawing, one ending in .gt7 gets
      GTS-7, one ending in .xml LandXML points, any other the same kind of data as
      INPUT: job text, point rows or codes.

  info INPUT [unit options]
      Tells what INPUT holds: the kind of data, the numbers of records, points and codes,
      the job's name and instrument, and every message reading it gives. For a LandXML
      file: its alignments (name, start station, length, numbers of lines, curves and
      spirals, profiles, and why one cannot be read) and the number of its points.

  dump INPUT [--utf8]
      Prints the job text lines a binary job or point file holds, with names in the
      instrument's code page (GBK) as they are; --utf8 prints them in UTF-8.

  plot INPUT OUTPUT.svg [--codes] [unit options]
      Draws the points INPUT holds (points, or the points of a job) North up with their
      names, and with --codes their codes, as an SVG drawing.

  road (--phi FILE | --sec FILE | --landxml FILE [--alignment NAME]) [--pvi FILE]
       --stakes FILE [road options]
      Calculates the stakes of a road from its alignment, given as intersection points
      (.PHI), line elements (.SEC) or a LandXML 1.2 design, its vertical profile (.PVI)
      and the list of stake chainages, and writes the stake file. A LandXML design
      brings its profile, which --pvi replaces; --alignment chooses among several
      alignments; stake chainages in and out are the design's stations (its station
      equations honoured). Road options:
        --start-chainage K   chainage of the start of the alignment
        --start-north N      north of the start point
        --start-east E       east of the start point
        --start-azimuth A    azimuth of the first element, in radians
        --offset W           distance of the left and right stakes from the centre line
        -o FILE              write the stakes to FILE instead of standard output
        --elements FILE      also write the completed line elements (.SEC)
        --points FILE        also write the intersection points with their curve values
        --plan FILE.svg      draw the road in plan: the alignment, tangents, main points, stakes
        --profile FILE.svg   draw the profile: grade line, vertical curves, stake elevations
        --landxml-out FILE   write the alignment, its profile and the stakes as LandXML
      The start values given here replace those the alignment file holds.

  road (--phi FILE | --sec FILE | --landxml FILE) [--pvi FILE] --check POINTS
       [-o REPORT.csv] [--plan check.svg] [--tolerance-plan M] [--tolerance-height M]
       [--offset W] [--arrow-factor F] [--order nez|enz]
      Checks measured points against the calculated road: for each point of POINTS (any
      file Open reads as points, or a job, whose points are used) the chainage and offset
      of its foot on the axis, the design elevation there and the height difference, and
      for a point named after a stake (K0+120.000, K0+120.000L, K0+120.000R) its deviation
      from that stake along and across the axis and in plan (side stakes at --offset W).
      Each point is within tolerance (plan 0.02 m, height 0.01 m unless given), out of
      tolerance, outside the road, or has nothing to check. -o writes the report (CSV;
      standard output without it), --plan the points on the road with their deviation
      arrows exaggerated by F (chosen from the deviations unless given, written on the
      picture). A summary of the verdicts goes to standard error. --elements, --points,
      --profile and --landxml-out are written as without --check.

  receive OUTPUT --port DEVICE [--baud RATE] [--as TYPE] [unit options]
                 [--first-line-timeout SECONDS] [--silence SECONDS]
      Listens on the serial line as the instrument sends a job, a point list or a code
      list, and when the line falls silent (2 s after the last line; 20 s for the first)
      writes what arrived to OUTPUT as convert would write it. The number of lines so far
      is shown while they arrive.

  send INPUT --port DEVICE [--baud RATE] [unit options]
                 [--first-request-timeout SECONDS] [--silence SECONDS]
      Sends points, codes or a road table (.PHI, .SEC, .PVI, stakes) to the instrument:
      one line each time the instrument asks for the next one. Start it, then start the
      instrument's receive. Done when every line has gone.

  instrument (--send FILE | --receive OUTPUT) [--baud RATE] [--start-after SECONDS]
      Plays the instrument on a new pseudo-terminal and prints its device name first, so
      that the program or telvane-cli can be tried without an instrument. --send sends
      FILE's lines, paced as the baud rate paces them, after the delay or when Enter is
      pressed; --receive asks for lines as the instrument does and writes what arrived
      to OUTPUT when the line falls silent.

Unit options, as in the program's settings:
  --angle dms|gon|mil          angle unit (default dms, degrees-minutes-seconds)
  --distance m|us-ft|int-ft    distance unit (default m)
  --order nez|enz              which coordinate comes first in point rows (default nez)
  --k 0.00|0.14|0.20           refraction coefficient for gt7-reduced (default 0.14)
  --grid FACTOR                grid scale factor for gt7-reduced (default 1.00)

Other options:
  --lang en|zh   messages in English (the default) or Chinese
  --help         show this text
  --version      show the version

Every message ends with its key in brackets, the same in every language:
  day1.mea: The file does not exist [file_not_exist]
Exit status: 0 done, 1 the input was refused or a file could not be read or written (for
a transfer: the port could not be opened, nothing arrived or was recognised, a line could
not be written, or the instrument stopped asking before the last line), 2 the command line
is wrong.
)";

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

std::optional<Options> usage_error(UsageError& error, std::string key, std::string subject) {
    error = {std::move(key), std::move(subject)};
    return std::nullopt;
}

} // namespace

std::optional<GlobalOptions> take_global_options(int argc, char** argv, UsageError& error) {
    GlobalOptions g;
    g.rest.emplace_back(argc > 0 ? argv[0] : "telvane-cli");
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            g.help = true;
        } else if (arg == "--version") {
            g.version = true;
        } else if (arg == "--lang") {
            if (i + 1 >= argc) {
                error = {"cli_needs_value", std::string(arg)};
                return std::nullopt;
            }
            g.lang = argv[++i];
        } else {
            g.rest.emplace_back(arg);
        }
    }
    return g;
}

std::optional<Options> parse_options(int argc, char** argv, UsageError& error) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--utf8") {
            o.utf8 = true;
        } else if (arg == "--codes") {
            o.codes = true;
        } else if (arg.size() > 2 && arg.substr(0, 2) == "--") {
            if (i + 1 >= argc)
                return usage_error(error, "cli_needs_value", std::string(arg));
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
            } else if (arg == "--port") {
                o.port = std::string(value);
            } else if (arg == "--baud") {
                double rate = 0;
                ok = try_parse_double(value, rate) && rate >= 50 && rate <= 4000000 &&
                     rate == static_cast<int>(rate);
                o.baud = static_cast<int>(rate);
            } else if (arg == "--first-line-timeout" || arg == "--first-request-timeout" ||
                       arg == "--silence" || arg == "--start-after") {
                double seconds = 0;
                ok = try_parse_double(value, seconds) && seconds >= 0 && seconds <= 86400;
                (arg == "--silence"       ? o.silence
                 : arg == "--start-after" ? o.start_after
                                          : o.first) = seconds;
            } else if (arg == "--send") {
                o.send = std::string(value);
            } else if (arg == "--receive") {
                o.receive = std::string(value);
            } else {
                return usage_error(error, "cli_unknown_option", std::string(arg));
            }
            if (!ok)
                return usage_error(error, "cli_bad_value",
                                   std::string(arg) + " " + std::string(value));
        } else if (o.command.empty()) {
            o.command = std::string(arg);
        } else {
            o.positional.emplace_back(arg);
        }
    }
    if (o.command.empty())
        return usage_error(error, "cli_no_command", "telvane-cli");
    return o;
}

} // namespace telvane::cli
