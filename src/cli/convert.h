// The convert, info and dump commands: read survey data, write it in another form or describe it.
#pragma once

#include "options.h"

#include "fileio/datastate.h"

#include "texts.h"
#include <optional>
#include <string>

#include <iosfwd>

namespace telvane::cli {

// Returns the exit status: 0 written, 1 input refused or unreadable / output not written,
// 2 usage error. Messages go to `err`.
int run_convert(const Options& options, const CliTexts& texts, std::ostream& err);

// Writes `data` to `output` as convert does: as `as`, or the type the name and the data choose.
// `subject` names the data in messages. Returns the exit status.
int write_output(const DataState& data, const std::string& subject, const std::string& output,
                 const std::optional<std::string>& as, const FileSettings& settings,
                 const CliTexts& texts, std::ostream& err);

// Opens a file as the Open command does. False when nothing usable was read; then the messages
// it gave are written to `err` in words. Damaged records left out of a file that gave good ones
// are a warning on `err`, and the good ones are used.
bool open_for_command(const std::string& input, const FileSettings& settings, DataState& data,
                      const CliTexts& texts, std::ostream& err);

FileSettings file_settings(const Settings& settings);
// Whether `type` names an output type of convert (--as).
bool is_known_type(const std::string& type);

// Draws the points of a file as an SVG map.
int run_plot(const Options& options, const CliTexts& texts, std::ostream& err);

// Prints the kind of data a file holds, the counts, the job's names (UTF-8) and the messages.
int run_info(const Options& options, const CliTexts& texts, std::ostream& out, std::ostream& err);

// Prints the job text lines a binary job or point file converts into, before any job load: as
// the file's bytes, or in UTF-8 with options.utf8.
int run_dump(const Options& options, const CliTexts& texts, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
