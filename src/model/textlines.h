// Lines of text and the field splitting shared by every text format.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace telvane {

using Lines = std::vector<std::string>;

// Blanks are spaces and control characters: every byte of code 32 and below.
inline bool is_blank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
inline std::string_view trim_left(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && is_blank(s[i]))
        ++i;
    return s.substr(i);
}
inline std::string_view trim_right(std::string_view s) {
    std::size_t n = s.size();
    while (n > 0 && is_blank(s[n - 1]))
        --n;
    return s.substr(0, n);
}
inline std::string_view trim(std::string_view s) {
    return trim_right(trim_left(s));
}

// Splits file bytes into lines at CR LF, LF or a lone CR. A last line without an end is kept;
// an end at the very end of the bytes adds no empty line.
Lines split_lines(std::string_view bytes);

// The same lines as views into `bytes`, for reading big files without a copy of every line.
std::vector<std::string_view> split_line_views(std::string_view bytes);

// A name, code or note as a field of a comma-separated line: a comma inside becomes ';', so the
// line keeps its fields when it is read back (notes have always been written so).
void append_field(std::string& out, std::string_view text);
// The same for rows, which are read with quotes: a field that also holds a blank or starts with a
// double quote is written in double quotes (a quote inside doubled).
void append_row_field(std::string& out, std::string_view text);

// Views of lines held as strings, for the readers that take views.
std::vector<std::string_view> views_of(std::span<const std::string> lines);

// Joins lines, each followed by CR LF, as the files and the serial line carry them.
std::string join_lines(std::span<const std::string> lines);

// Delimited-list splitting (commas in rows, colons in code tables):
// leading blanks are skipped; a field ends at the delimiter or at a blank; a field that starts
// with a double quote runs to the closing quote (two quotes stand for one); after a field blanks
// are skipped and one delimiter is consumed with the blanks after it; a delimiter at the very end
// adds an empty last field; two delimiters in a row give an empty field. Bytes of 128 and above
// are ordinary field characters.
std::vector<std::string> split_delimited(std::string_view text, char delimiter);
// The same into `fields`, whose strings are reused (for reading many lines).
void split_delimited_into(std::string_view text, char delimiter, std::vector<std::string>& fields);

// A message text with its places filled by `args`: "%1" to "%9" take the value of that number,
// and each "%s" takes the next value in order. Bytes in, bytes out (GBK stays GBK); a place
// without a value stays as it is, and a value is never searched for places again.
std::string fill_places(std::string_view text, const std::vector<std::string>& args);

} // namespace telvane
