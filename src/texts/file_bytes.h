// Whole-file reading and atomic whole-file writing of bytes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace telvane {

// The file's bytes, or nothing when it is missing or cannot be read.
std::optional<std::string> read_file_bytes(const std::filesystem::path& path);

// Writes the bytes to a temporary file beside the target and renames it over the target, so a
// failure leaves the old file as it was. Returns false on any failure.
bool replace_file_bytes(const std::filesystem::path& path, std::string_view bytes);

} // namespace telvane
