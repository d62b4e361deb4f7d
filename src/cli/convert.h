// The convert command: read survey data, write it in another form.
#pragma once

#include "options.h"

#include <iosfwd>

namespace telvane::cli {

// Returns the exit status: 0 written, 1 input refused or unreadable / output not written,
// 2 usage error. Messages go to `err`.
int run_convert(const Options& options, std::ostream& err);

// Prints the data kind the Open command would reach, the counts, and the messages shown.
int run_info(const Options& options, std::ostream& out, std::ostream& err);

// Prints the job text lines a binary job or point file converts into, before any job load.
int run_dump(const Options& options, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
