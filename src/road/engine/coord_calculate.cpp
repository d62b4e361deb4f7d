#include "road/engine/coord_calculate.h"

#include <cmath>

namespace telvane::road {

double Distance(double north1, double east1, double north2, double east2) {
    // hypot: no overflow for far-apart points where the squares would be infinite.
    return std::hypot(north1 - north2, east1 - east2);
}

double Azimuth(double north1, double east1, double north2, double east2) {
    const double dN = north2 - north1;
    const double dE = east2 - east1;
    double a = 0;
    if (std::fabs(dN) > 0) {
        // atan of the quotient: for a subnormal dN the quotient is infinite and atan gives π/2,
        // which is the right bearing.
        a = std::atan(dE / dN);
    } else if (dE == 0) {
        return 0;
    } else {
        a = HalfPi;
    }
    double result = a;
    if (dN < 0) {
        result = a + Pi;
    } else if (dN == 0) {
        result = dE <= 0 ? a + Pi : a;
    } else if (dE <= 0) {
        result = a + TwoPi;
    }
    return result == TwoPi ? 0.0 : result;
}

EastNorth PolarPoint(double east0, double north0, double azimuth, double distance) {
    if (azimuth < 0) {
        azimuth += TwoPi;
    } else if (azimuth >= TwoPi) {
        azimuth -= TwoPi;
    }
    return {east0 + distance * std::sin(azimuth), north0 + distance * std::cos(azimuth)};
}

double NormalizeAngle(double angle) {
    if (!std::isfinite(angle)) {
        return angle;
    }
    // A few turns are taken off one at a time, which keeps the usual results bit for bit; far
    // out of range a remainder first, so that a huge angle cannot keep the loop running forever.
    if (std::fabs(angle) > 64 * TwoPi) {
        angle = std::fmod(angle, TwoPi);
    }
    while (angle < 0) {
        angle += TwoPi;
    }
    while (angle >= TwoPi) {
        angle -= TwoPi;
    }
    return angle;
}

double AngleDifference(double a, double b) {
    a = NormalizeAngle(a);
    b = NormalizeAngle(b);
    if (a <= HalfPi && b >= 3 * HalfPi) {
        return a + TwoPi - b;
    }
    if (b <= HalfPi && a >= 3 * HalfPi) {
        return a - TwoPi - b;
    }
    return a - b;
}

LocalOffset ToLocalFrame(double north, double east, double theta, double north0, double east0) {
    const double dN = north - north0;
    const double dE = east - east0;
    const double s = std::sin(theta);
    const double c = std::cos(theta);
    return {-dN * s + dE * c, dN * c + dE * s};
}

} // namespace telvane::road
