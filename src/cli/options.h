// Command-line options of telvane-cli.
#pragma once

#include "model/gts7.h"
#include "model/rows.h"
#include "model/units.h"

#include <optional>
#include <string>
#include <vector>

namespace telvane::cli {

// The values the settings dialog would give: units, coordinate order, refraction, grid factor.
struct Settings {
    Units units{kAngleDMS, kMetre};
    int order = kOrderNEZ;
    Gts7Reduction reduction{};
};

struct Options {
    std::string command;
    std::vector<std::string> positional;
    std::optional<std::string> as;
    Settings settings;
};

// Parses argv; on a usage error returns nothing and puts the reason in `error`.
std::optional<Options> parse_options(int argc, char** argv, std::string& error);

extern const char* const kUsage;

} // namespace telvane::cli
