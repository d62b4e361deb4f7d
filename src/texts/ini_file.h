// The program's INI files, read and written byte for byte.
//
// Sections and entries stay in file order (FileType.cfg lists its filters by section order) and
// values are bytes in the file's code page (GBK texts must survive untouched). Writing a value
// rewrites only that entry's line; every other line, comment and line ending stays as it was.
// Names compare without regard to ASCII letter case, as INI readers have always done.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane {

class IniFile {
public:
    IniFile() = default;
    static IniFile from_bytes(std::string_view bytes);

    // A file that is missing or cannot be read gives an empty INI (no section).
    static IniFile load(const std::filesystem::path& path);

    // Replaces the file in one step (a temporary file beside it, then a rename), so a failed
    // write never leaves half a file. Returns false when the file could not be written.
    bool save(const std::filesystem::path& path) const;

    std::string to_bytes() const;

    // Section names in file order, each once (the first spelling of a repeated name).
    std::vector<std::string> sections() const;
    bool has_section(std::string_view section) const;

    // The value of the first entry of that name in the first section of that name, with outer
    // blanks removed and one pair of enclosing double quotes taken off.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;

    std::string read_string(std::string_view section, std::string_view key,
                            std::string_view fallback) const;
    // A missing entry or one that is not a whole number gives the fallback.
    long long read_int(std::string_view section, std::string_view key, long long fallback) const;
    // A missing entry or one that is not a finite number gives the fallback.
    double read_double(std::string_view section, std::string_view key, double fallback) const;

    void write_string(std::string_view section, std::string_view key, std::string_view value);
    void write_int(std::string_view section, std::string_view key, long long value);
    // Written with up to 15 significant digits ("%.15g").
    void write_double(std::string_view section, std::string_view key, double value);

private:
    struct Line {
        std::string text; // without its line ending
        std::string eol;  // "\r\n", "\n", "\r" or "" for a last line without an end
    };
    struct Span {
        std::size_t header; // index of the "[name]" line
        std::size_t end;    // one past the last line of the section
    };

    std::optional<Span> find_section(std::string_view section) const;
    std::optional<std::size_t> find_key(const Span& span, std::string_view key) const;
    std::string new_line_end() const;

    std::vector<Line> lines_;
};

// ASCII-only case-insensitive comparison; bytes of 128 and above must be equal.
bool equal_ignoring_ascii_case(std::string_view a, std::string_view b);

} // namespace telvane
