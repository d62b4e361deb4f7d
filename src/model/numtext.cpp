#include "numtext.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace telvane {

namespace {

bool is_blank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trim_blanks(std::string_view s) {
    while (!s.empty() && is_blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Built by appending: GCC 12 at -O3 takes `"'" + std::string(...)` for an overlapping copy and
// warns (-Wrestrict) where nothing overlaps.
std::string not_a_number_message(std::string_view text) {
    std::string message;
    message.reserve(text.size() + 40);
    message.append("'").append(text).append("' is not a valid floating point value");
    return message;
}

} // namespace

ConversionError::ConversionError(std::string_view text)
    : std::runtime_error(not_a_number_message(text)) {}

void append_fixed(std::string& out, double v, int decimals) {
    char buf[400];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (res.ec != std::errc()) {
        out += "0";
        return;
    }
    out.append(buf, res.ptr);
}

std::string format_fixed(double v, int decimals) {
    std::string s;
    append_fixed(s, v, decimals);
    return s;
}

std::string format_general(double v, int significant) {
    if (v == 0 || !std::isfinite(v))
        return "0";
    // d.ddd…e±x, rounded to the significant digits.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, significant - 1);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const bool negative = sci.front() == '-';
    const std::size_t e_pos = sci.find('e');
    std::string digits;
    for (char c : sci.substr(negative ? 1 : 0, e_pos - (negative ? 1 : 0)))
        if (c != '.')
            digits += c;
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    int exponent = 0;
    std::from_chars(sci.data() + e_pos + (sci[e_pos + 1] == '+' ? 2 : 1), sci.data() + sci.size(),
                    exponent);

    std::string out = negative ? "-" : "";
    const int n = static_cast<int>(digits.size());
    if (exponent >= -5 && exponent < significant) {
        if (exponent < 0) {
            out += "0.";
            out.append(static_cast<std::size_t>(-exponent - 1), '0');
            out += digits;
        } else if (exponent + 1 >= n) {
            out += digits;
            out.append(static_cast<std::size_t>(exponent + 1 - n), '0');
        } else {
            out += digits.substr(0, static_cast<std::size_t>(exponent + 1));
            out += '.';
            out += digits.substr(static_cast<std::size_t>(exponent + 1));
        }
        return out;
    }
    out += digits.front();
    if (n > 1) {
        out += '.';
        out += digits.substr(1);
    }
    out += 'E';
    append_int(out, exponent);
    return out;
}

void append_int(std::string& out, long long v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, res.ptr);
}

std::string format_int(long long v) {
    std::string s;
    append_int(s, v);
    return s;
}

bool try_parse_double(std::string_view text, double& out) {
    std::string_view s = trim_blanks(text);
    if (!s.empty() && s.front() == '+') {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '-')
            return false;
    }
    if (s.empty())
        return false;
    // from_chars would also read "inf", "nan" and hexadecimal forms: only plain decimals pass.
    const char first = s.front() == '-' && s.size() > 1 ? s[1] : s.front();
    if (!(first == '.' || (first >= '0' && first <= '9')))
        return false;
    double v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    if (res.ec != std::errc() || res.ptr != s.data() + s.size() || !std::isfinite(v))
        return false;
    out = v;
    return true;
}

double parse_double(std::string_view text) {
    double v = 0;
    if (!try_parse_double(text, v))
        throw ConversionError(text);
    return v;
}

long long parse_int(std::string_view text) {
    std::string_view s = trim_blanks(text);
    if (!s.empty() && s.front() == '+')
        s.remove_prefix(1);
    long long v = 0;
    auto res = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || res.ec != std::errc() || res.ptr != s.data() + s.size())
        throw ConversionError(text);
    return v;
}

double checked(double v, const char* what) {
    if (!std::isfinite(v))
        throw ArithmeticError(what);
    return v;
}

double checked_div(double a, double b) {
    if (b == 0.0)
        throw ArithmeticError("Floating point division by zero");
    return checked(a / b, "Floating point overflow");
}

} // namespace telvane
