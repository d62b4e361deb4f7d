// Whole-file reading and atomic replacement.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace telvane {

// The file's bytes, or nothing when it cannot be read (error text in *error when given).
std::optional<std::string> read_file_bytes(const std::string& path, std::string* error = nullptr);

// Writes bytes to a temporary file beside `path` and renames it over `path`, so a failed save
// never leaves a half-written or emptied file behind. Returns false (with *error) on failure;
// the old file is then as it was.
bool write_file_atomic(const std::string& path, std::string_view bytes,
                       std::string* error = nullptr);

} // namespace telvane
