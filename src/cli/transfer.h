// Receive and send from the command line, over the program's own serial port and link, and an
// instrument simulator on a pseudo-terminal.
#pragma once

#include "options.h"
#include "texts.h"

#include <iosfwd>

namespace telvane::cli {

// Both return the exit status: 0 received and written / every line sent; 1 the port could not
// be opened, nothing arrived or was recognised, a line could not be written or the instrument
// stopped asking; 2 a usage error.
int run_receive(const Options& options, const CliTexts& texts, std::ostream& err);
int run_send(const Options& options, const CliTexts& texts, std::ostream& err);

// Plays the instrument on a new pseudo-terminal; its device name is the first line of `out`.
int run_instrument(const Options& options, const CliTexts& texts, std::ostream& out,
                   std::ostream& err);

} // namespace telvane::cli
