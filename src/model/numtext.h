// Locale-free conversions between numbers and text.
//
// The window program switches the C library to the user's locale, where printf("%.4f") and strtod
// may write and read "1,5". Every number that goes into or comes out of a file or the serial line
// passes through these helpers instead, which always use "." as the decimal point.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace telvane {

// Raised for text that is not a finite number ("", "abc", "inf", "nan", "1e999").
class ConversionError : public std::runtime_error {
public:
    explicit ConversionError(std::string_view text);
};

// Raised by the checked arithmetic helpers instead of producing an infinity or NaN.
class ArithmeticError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "%.<decimals>f" of v; negative zero prints without its sign bit only when printf would too.
std::string format_fixed(double v, int decimals);
void append_fixed(std::string& out, double v, int decimals);

// The general format of the road tables and files: up to 15 significant digits without trailing
// zeros ("100", "0.25"); a value below 0.00001 or with more digits before the point than the
// precision takes an exponent: "1E-6", "1.5E20", "-2.5E-7".
std::string format_general(double v, int significant = 15);

// "%d" of an integer.
std::string format_int(long long v);
void append_int(std::string& out, long long v);

// Reads a decimal number. Blanks and control characters (code 32 and below) around the number
// are passed over; a leading "+" is accepted. Anything else throws ConversionError, as does a
// value that is not finite.
double parse_double(std::string_view text);

// Like parse_double, without the exception.
bool try_parse_double(std::string_view text, double& out);

// Reads a whole decimal integer (same blank rules); throws ConversionError.
long long parse_int(std::string_view text);

// Checked arithmetic: throws ArithmeticError where the result would not be finite.
double checked(double v, const char* what);
double checked_div(double a, double b);

} // namespace telvane
