#include "road/engine/elements.h"

#include "road/engine/clothoid_integral.h"
#include "road/engine/coord_calculate.h"

#include <algorithm>
#include <cmath>

namespace telvane::road {
namespace {

// Rotates the local offset (along, right) of a frame with azimuth beta into North/East and adds it
// to the frame's origin.
void PlaceLocal(double north0, double east0, double beta, double along, double right,
                AxisPoint& p) {
    const double s = std::sin(beta);
    const double c = std::cos(beta);
    p.North = north0 + along * c - right * s;
    p.East = east0 + along * s + right * c;
}

// Commits the result only when every value is finite.
bool Commit(double W, AxisPoint& result, AxisPoint& out) {
    SetSidePoints(W, result);
    if (!IsFinite(result)) {
        return false;
    }
    out = result;
    return true;
}

} // namespace

bool IsFinite(const AxisPoint& p) {
    return std::isfinite(p.Azimuth) && std::isfinite(p.North) && std::isfinite(p.East) &&
           std::isfinite(p.LeftNorth) && std::isfinite(p.LeftEast) && std::isfinite(p.RightNorth) &&
           std::isfinite(p.RightEast);
}

void SetSidePoints(double W, AxisPoint& out) {
    if (W == 0) {
        return;
    }
    const double s = W > 0 ? W : 0.0;
    // Left at azimuth - 90°, right at azimuth + 90°.
    const double sn = std::sin(out.Azimuth);
    const double cs = std::cos(out.Azimuth);
    out.LeftNorth = out.North + s * sn;
    out.LeftEast = out.East - s * cs;
    out.RightNorth = out.North - s * sn;
    out.RightEast = out.East + s * cs;
}

bool Line::Evaluate(double l, double W, AxisPoint& out) const {
    AxisPoint p = out;
    p.Azimuth = Azimuth(North1, East1, North2, East2);
    const EastNorth at = PolarPoint(East1, North1, p.Azimuth, l);
    p.North = at.North;
    p.East = at.East;
    return Commit(W, p, out);
}

bool Circle::Evaluate(double theta0, double l, double W, AxisPoint& out) const {
    if (R == 0) {
        return false;
    }
    AxisPoint p = out;
    // Chord of half-angle l/2R along the mean azimuth: the same point as
    // R·(sin φ - sin θ0), -R·(cos φ - cos θ0), without their cancellation on flat arcs.
    const double half = l / (2.0 * R);
    const double chord = 2.0 * R * std::sin(half);
    const double mean = theta0 + half;
    p.Azimuth = theta0 + l / R;
    p.North = North0 + chord * std::cos(mean);
    p.East = East0 + chord * std::sin(mean);
    return Commit(W, p, out);
}

std::optional<double> Circle::ArcLength() const {
    const double r = std::fabs(R);
    if (r == 0) {
        return std::nullopt;
    }
    const double ratio = Distance(North0, East0, North1, East1) / (2.0 * r);
    if (!(ratio <= 1.0 + 1e-12)) {
        return std::nullopt;
    }
    const double length = 2.0 * r * std::asin(std::min(ratio, 1.0));
    if (!std::isfinite(length)) {
        return std::nullopt;
    }
    return length;
}

bool Clothoid::Evaluate(double l, double W, AxisPoint& out) const {
    AxisPoint p = out;
    if (l == 0) {
        p.Azimuth = Theta;
        p.North = North0;
        p.East = East0;
        return Commit(W, p, out);
    }
    const double parameter = R * Ls; // the sign carries the turn
    if (parameter == 0 || !std::isfinite(parameter)) {
        return false;
    }
    if (ClothoidKind == ClothoidEntry) {
        const ClothoidPoint local = ClothoidLocal(l, parameter);
        p.Azimuth = Theta + l * l / (2.0 * parameter);
        PlaceLocal(North0, East0, Theta, local.X, local.Y, p);
    } else {
        // An exit spiral is the entry spiral of the same parameter run backwards from its end:
        // its point at l is the chord of the entry spiral between arc lengths Ls - l and Ls,
        // mirrored across and turned into the frame of the full turn Theta + Ls/2R.
        const ClothoidPoint end = ClothoidLocal(Ls, parameter);
        const ClothoidPoint from = ClothoidLocal(Ls - l, parameter);
        const double full_turn = Theta + Ls * Ls / (2.0 * parameter);
        p.Azimuth = Theta + l * Ls / parameter - l * l / (2.0 * parameter);
        PlaceLocal(North0, East0, full_turn, end.X - from.X, -(end.Y - from.Y), p);
    }
    return Commit(W, p, out);
}

bool SpiralBetweenRadii::Evaluate(double l, double W, AxisPoint& out) const {
    if (R1 == 0 || R2 == 0 || R1 == R2 || !(Ls > 0)) {
        return false;
    }
    AxisPoint p = out;
    const double k1 = 1.0 / R1;
    const double k2 = 1.0 / R2;
    // The clothoid of parameter C has curvature s/C at arc length s; this spiral is its piece
    // from s1 = k1·C to s1 + Ls. Its point at l is the chord between s1 and s1 + l, turned back
    // by the heading s1²/2C that the full clothoid has at s1.
    const double parameter = Ls / (k2 - k1);
    const double s1 = k1 * parameter;
    const ClothoidPoint from = ClothoidLocal(s1, parameter);
    const ClothoidPoint to = ClothoidLocal(s1 + l, parameter);
    const double heading = s1 * s1 / (2.0 * parameter);
    const double dx = to.X - from.X;
    const double dy = to.Y - from.Y;
    const double c = std::cos(heading);
    const double s = std::sin(heading);
    const double along = dx * c + dy * s;
    const double right = -dx * s + dy * c;
    p.Azimuth = Theta + k1 * l + (k2 - k1) * l * l / (2.0 * Ls);
    PlaceLocal(North0, East0, Theta, along, right, p);
    return Commit(W, p, out);
}

} // namespace telvane::road
