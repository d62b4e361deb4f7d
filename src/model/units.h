// Angle and distance conversions between the records' inner units (decimal degrees, metres)
// and text, selected by the unit codes of the settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace telvane {

// Angle unit codes. Any other code (0 among them) writes degrees-minutes-seconds.
enum AngleUnit : int { kAngleDMS = 1, kAngleGon = 2, kAngleMil = 3, kAngleSeconds = 4 };
// Distance unit codes. Any other code (0 among them) means metres.
enum DistanceUnit : int { kMetre = 1, kUsFoot = 2, kIntFoot = 3 };

// The pair of unit codes a text format is written and read with. The job text always uses
// whole arc-seconds and metres.
struct Units {
    int angle = kAngleDMS;
    int distance = kMetre;
    // Angles written within one full turn, [0, 360) degrees after rounding (GTS-7 readers
    // refuse negative directions).
    bool within_turn = false;
};
inline constexpr Units kJobTextUnits{kAngleSeconds, kMetre};

double distance_factor_from_metres(int code);
double distance_factor_to_metres(int code);

std::string angle_to_text(double degrees, int code);

// Whole arc-seconds of a value already in arc-seconds: the integer part of v + 0.5.
void append_whole_seconds(std::string& out, double arcseconds);
void append_angle(std::string& out, double degrees, int code);
// The same direction taken into [0, 360) degrees first; a value that rounds to a full turn is
// written as zero.
void append_angle_within_turn(std::string& out, double degrees, int code);

// Reads arc-seconds (the only angle unit the program reads) and returns degrees.
// Throws ConversionError for text that is not a number.
double text_to_angle(std::string_view text);

// Reads an angle as the rows and GTS-7 lines write it in unit `code`: D.MMSS (codes 1 and any
// unknown code; "12.3" is 12 degrees 30 minutes, further digits are fractions of a second),
// gon, mil or arc-seconds. Returns degrees. Throws ConversionError for text that is not such an
// angle (minutes or seconds of 60 and more among them).
double text_to_angle_in(std::string_view text, int code);

std::string distance_to_text(double metres, int code);
void append_distance(std::string& out, double metres, int code);

// Throws ConversionError for text that is not a number.
double text_to_distance(std::string_view text, int code);

// Bearing in degrees [0, 360) from point 1 to point 2; no result when the points coincide.
std::optional<double> bearing_between(double east1, double north1, double east2, double north2);

} // namespace telvane
