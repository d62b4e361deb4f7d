// Letter case of ASCII letters only. The C library's tolower and toupper follow the locale, and
// a byte of a GBK character is no letter here: names and keys must compare the same wherever
// the program runs.
#pragma once

#include <string>
#include <string_view>

namespace telvane {

constexpr char ascii_lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}
constexpr char ascii_upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - ('a' - 'A')) : c;
}
inline std::string ascii_lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = ascii_lower(c);
    return out;
}
inline std::string ascii_upper(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = ascii_upper(c);
    return out;
}
constexpr bool ascii_iequal(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    return true;
}

} // namespace telvane
