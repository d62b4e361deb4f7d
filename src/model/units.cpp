#include "units.h"

#include "numtext.h"
#include "textlines.h"

#include <cmath>
#include <numbers>

namespace telvane {

double distance_factor_from_metres(int code) {
    switch (code) {
    case kUsFoot:
        return 3937.0 / 1200.0;
    case kIntFoot:
        return 1.0 / 0.3048;
    default:
        return 1.0;
    }
}

double distance_factor_to_metres(int code) {
    switch (code) {
    case kUsFoot:
        return 1200.0 / 3937.0;
    case kIntFoot:
        return 0.3048;
    default:
        return 1.0;
    }
}

namespace {

// Whole arc-seconds: half a second rounds away from zero. Adding 0.5 and truncating toward zero
// on the signed value would move a negative angle up by a second on every save (-1" written
// as 0"), so the magnitude is rounded and the sign put back, as the D.MMSS form does.
long long whole_seconds_of(double arcseconds) {
    const double s = std::fabs(arcseconds) + 0.5;
    // Out-of-range readings are clamped instead of overflowing the integer conversion.
    const long long whole = s < 9.0e18 ? static_cast<long long>(s) : 9000000000000000000LL;
    return arcseconds < 0 ? -whole : whole;
}

long long whole_seconds(double degrees) {
    return whole_seconds_of(degrees * 3600.0);
}

void append_two_digits(std::string& out, long long v) {
    out += static_cast<char>('0' + v / 10);
    out += static_cast<char>('0' + v % 10);
}

} // namespace

void append_angle(std::string& out, double degrees, int code) {
    switch (code) {
    case kAngleGon:
        append_fixed(out, degrees * 3600.0 / 3240.0, 4);
        return;
    case kAngleMil:
        append_fixed(out, degrees * 3600.0 / 202.5, 4);
        return;
    case kAngleSeconds:
        append_int(out, whole_seconds(degrees));
        return;
    default: {
        // D.MMSS: the sign is taken off first so that -0.5 degrees reads -0.3000.
        const bool negative = degrees < 0;
        const long long s = whole_seconds(std::fabs(degrees));
        if (negative)
            out += '-';
        append_int(out, s / 3600);
        out += '.';
        append_two_digits(out, (s % 3600) / 60);
        append_two_digits(out, s % 60);
        return;
    }
    }
}

void append_angle_within_turn(std::string& out, double degrees, int code) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0)
        d += 360.0;
    d += 0.0; // no negative zero
    std::string text = angle_to_text(d, code);
    if (text == angle_to_text(360.0, code))
        text = angle_to_text(0.0, code);
    out += text;
}

void append_whole_seconds(std::string& out, double arcseconds) {
    append_int(out, whole_seconds_of(arcseconds));
}

std::string angle_to_text(double degrees, int code) {
    std::string s;
    append_angle(s, degrees, code);
    return s;
}

double text_to_angle(std::string_view text) {
    return parse_double(text) / 3600.0;
}

double text_to_angle_in(std::string_view text, int code) {
    switch (code) {
    case kAngleGon:
        return parse_double(text) * (3240.0 / 3600.0);
    case kAngleMil:
        return parse_double(text) * (202.5 / 3600.0);
    case kAngleSeconds:
        return text_to_angle(text);
    default:
        break;
    }
    // D.MMSS is read digit by digit: as a decimal number 12.3 would be 12.3 degrees.
    parse_double(text); // a number at all, or the conversion error
    std::string_view t = trim(text);
    const bool negative = !t.empty() && t.front() == '-';
    if (!t.empty() && (t.front() == '-' || t.front() == '+'))
        t.remove_prefix(1);
    const std::size_t dot = t.find('.');
    const std::string_view whole = t.substr(0, dot);
    std::string fraction(dot == std::string_view::npos ? std::string_view() : t.substr(dot + 1));
    for (char c : fraction)
        if (c < '0' || c > '9')
            throw ConversionError(text);
    for (char c : whole)
        if (c < '0' || c > '9')
            throw ConversionError(text);
    if (fraction.size() < 4)
        fraction.append(4 - fraction.size(), '0');
    const double degrees = whole.empty() ? 0.0 : parse_double(whole);
    const double minutes = (fraction[0] - '0') * 10 + (fraction[1] - '0');
    std::string seconds_text = fraction.substr(2, 2);
    if (fraction.size() > 4)
        seconds_text += "." + fraction.substr(4);
    const double seconds = parse_double(seconds_text);
    if (minutes >= 60 || seconds >= 60)
        throw ConversionError(text);
    const double value = degrees + minutes / 60.0 + seconds / 3600.0;
    return negative ? -value : value;
}

void append_distance(std::string& out, double metres, int code) {
    append_fixed(out, metres * distance_factor_from_metres(code), 4);
}

std::string distance_to_text(double metres, int code) {
    std::string s;
    append_distance(s, metres, code);
    return s;
}

double text_to_distance(std::string_view text, int code) {
    return parse_double(text) * distance_factor_to_metres(code);
}

std::optional<double> bearing_between(double east1, double north1, double east2, double north2) {
    if (east1 == east2 && north1 == north2)
        return std::nullopt;
    double b = std::atan2(east2 - east1, north2 - north1) * 180.0 * (1.0 / std::numbers::pi);
    if (b < 0)
        b += 360.0;
    return b;
}

} // namespace telvane
