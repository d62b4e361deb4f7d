// The road command: the road window's Load, Calculate and Save without the window.
#pragma once

#include "texts.h"

#include <iosfwd>

namespace telvane::cli {

// telvane-cli road (--phi FILE | --sec FILE) [--pvi FILE] --stakes FILE [--start-chainage K]
// [--start-north N] [--start-east E] [--start-azimuth RAD] [--offset W] [-o STAKES_OUT]
// [--elements SEC_OUT] [--points PHI_OUT]; argv[1] is "road".
// Returns the exit status: 0 calculated and written, 1 a file could not be read completely or
// written, or the calculation was refused, 2 usage error. Messages go to `err` in words; the
// stake file goes to `out` when no -o is given.
int run_road(int argc, char** argv, const CliTexts& texts, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
