// Command-line options of telvane-cli.
#pragma once

#include "model/gts7.h"
#include "model/rows.h"
#include "model/units.h"

#include <optional>
#include <string>
#include <vector>

namespace telvane::cli {

// The values the program's settings would give: units, coordinate order, refraction, grid factor.
struct Settings {
    Units units{kAngleDMS, kMetre};
    int order = kOrderNEZ;
    Gts7Reduction reduction{};
};

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> as;
    bool utf8 = false;  // dump: names and notes in UTF-8 instead of the file's bytes
    bool codes = false; // plot: the points' codes beside their names
    Settings settings;
    // Transfers and the instrument simulator.
    std::string port;                   // --port DEVICE
    int baud = 115200;                  // --baud RATE
    std::optional<double> first;        // --first-line-timeout / --first-request-timeout, seconds
    std::optional<double> silence;      // --silence SECONDS
    std::optional<std::string> send;    // instrument --send FILE
    std::optional<std::string> receive; // instrument --receive OUTPUT
    std::optional<double> start_after;  // instrument --start-after SECONDS
};

// What is wrong with a command line: the message key and what it is about (an option, a value).
struct UsageError {
    std::string key;
    std::string subject;
};

// Parses argv; on a usage error returns nothing and says why in `error`.
std::optional<Options> parse_options(int argc, char** argv, UsageError& error);

// The options every command takes, wherever they stand: --lang, --help, --version.
struct GlobalOptions {
    std::string lang = "en";
    bool help = false;
    bool version = false;
    std::vector<std::string> rest; // argv without them, argv[0] first
};
std::optional<GlobalOptions> take_global_options(int argc, char** argv, UsageError& error);

extern const char* const kUsage;

} // namespace telvane::cli
