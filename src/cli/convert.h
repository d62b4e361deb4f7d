// The convert, info and dump commands: read survey data, write it in another form or describe it.
#pragma once

#include "options.h"
#include "texts.h"

#include <iosfwd>

namespace telvane::cli {

// Returns the exit status: 0 written, 1 input refused or unreadable / output not written,
// 2 usage error. Messages go to `err`.
int run_convert(const Options& options, const CliTexts& texts, std::ostream& err);

// Prints the kind of data a file holds, the counts, the job's names (UTF-8) and the messages.
int run_info(const Options& options, const CliTexts& texts, std::ostream& out, std::ostream& err);

// Prints the job text lines a binary job or point file converts into, before any job load: as
// the file's bytes, or in UTF-8 with options.utf8.
int run_dump(const Options& options, const CliTexts& texts, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
