// The instrument's binary job and coordinate files, converted into job text lines.
//
// Readers take a whole file's bytes and append lines of the job text format to `out`; on a
// non-zero result the lines already appended stay there and the caller discards them.
#pragma once

#include "textlines.h"

#include <string>
#include <string_view>

namespace telvane {

enum BinaryResult : int {
    kBinaryOk = 0,          // read to its end
    kBinaryCannotOpen = -1, // the file cannot be opened
    kBinaryEmpty = -2,      // the file ends before its header could be read
    kBinaryReadError = -3,  // a read failed or a record is cut short
    kBinaryUnknownType = -4,
    kBinaryBadData = -5,    // returned by no reader: damaged records are counted and left out
    kBinaryWrongFormat = -6 // the first byte of a 48- or 56-byte file is neither 1 nor 2
};

// The message key shown for a reader's result.
std::string_view binary_result_key(int result);

// Every reader leaves out a record holding a value that is not a finite number (a damaged
// record) and counts it in *dropped; the other records are read.
int read_job48(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_job56(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_job96(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_job112(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_job136(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_points56(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);
int read_points40(std::string_view bytes, Lines& out, std::size_t* dropped = nullptr);

// The extension that picks a binary reader: the four characters from the first '.' of the file's
// own name (after the last '/' or '\\'), in lower case; empty without a '.'. Folders never count,
// so "site.cord/a.pts" is a ".pts" file.
std::string binary_extension(std::string_view path);

// What a binary file holds by its extension: a job, points, or nothing the readers know.
enum class BinaryKind { None, Job, Points };
BinaryKind binary_kind(std::string_view path);

// The reader chosen by the binary extension: ".mea" (48, then 56 bytes), ".dat" (96), ".job"
// (112), ".jbf" (136); any other reads nothing and gives 0.
int convert_job_bytes(std::string_view path, std::string_view bytes, Lines& out,
                      std::size_t* dropped = nullptr);
int convert_job_file(const std::string& path, Lines& out);

// ".cor" (96), ".pts" (56-byte points), ".ptf" (40-byte points), anything else 48 then 56 bytes.
// `out` is emptied first.
int convert_coord_bytes(std::string_view path, std::string_view bytes, Lines& out,
                        std::size_t* dropped = nullptr);
int convert_coord_file(const std::string& path, Lines& out);

} // namespace telvane
