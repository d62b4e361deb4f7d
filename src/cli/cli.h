// telvane-cli as a function: the command line in, the exit status out.
#pragma once

#include <iosfwd>

namespace telvane::cli {

// Runs one command line (argv[0] is the program's name). What the command prints goes to `out`,
// every message to `err`. Returns the exit status: 0 done, 1 the input was refused or a file could
// not be read or written, 2 the command line is wrong.
int run_cli(int argc, char** argv, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
