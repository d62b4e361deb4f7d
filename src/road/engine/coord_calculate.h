// Plane coordinate functions. North and East in metres, azimuths in radians from North clockwise.
// The functions expect finite arguments; the engine's operations check what they produce.
#pragma once

#include <numbers>

namespace telvane::road {

inline constexpr double Pi = std::numbers::pi;
inline constexpr double TwoPi = 2.0 * std::numbers::pi;
inline constexpr double HalfPi = 0.5 * std::numbers::pi;

struct EastNorth {
    double East = 0;
    double North = 0;
};

// Position of a point relative to a directed line.
struct LocalOffset {
    double Right = 0; // square to the line, positive on its right-hand side
    double Along = 0; // along the line, positive ahead of the origin
};

double Distance(double north1, double east1, double north2, double east2);

// Azimuth from point 1 to point 2 in [0, 2π); coincident points give 0.
double Azimuth(double north1, double east1, double north2, double east2);

// The point at the given azimuth and distance from (east0, north0).
EastNorth PolarPoint(double east0, double north0, double azimuth, double distance);

// The angle brought into [0, 2π).
double NormalizeAngle(double angle);

// a - b for two azimuths, corrected when they lie on either side of North. Azimuths more than π
// apart in the middle quadrants give a difference beyond ±π (callers fold it where it matters).
double AngleDifference(double a, double b);

// Offsets of (north, east) from the line through (north0, east0) in direction theta.
LocalOffset ToLocalFrame(double north, double east, double theta, double north0, double east0);

} // namespace telvane::road
