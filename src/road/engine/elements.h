// The three element kinds of a horizontal alignment, evaluated at a distance along the element.
//
// Evaluate gives the tangent azimuth, the point on the axis and, for a side distance W ≠ 0, the
// left and right side points square to the tangent (at W for W > 0; on the axis point for W < 0).
// For W = 0 the side outputs keep what the caller put there. Evaluate returns false, leaving the
// output untouched, where a result would not be a finite number (a zero radius, a spiral of zero
// length asked for a point away from its start, overflowing input).
#pragma once

#include <cstdint>
#include <optional>

namespace telvane::road {

struct AxisPoint {
    double Azimuth = 0; // tangent azimuth; circles and clothoids do not normalise it
    double North = 0;
    double East = 0;
    double LeftNorth = 0;
    double LeftEast = 0;
    double RightNorth = 0;
    double RightEast = 0;
};

// A straight from point 1 towards point 2; l is not limited to the segment.
struct Line {
    double North1 = 0;
    double East1 = 0;
    double North2 = 0;
    double East2 = 0;

    bool Evaluate(double l, double W, AxisPoint& out) const;
};

// A circular arc from (East0, North0); (East1, North1) is a second point on it, used by ArcLength.
// R is signed: positive turns right (clockwise).
struct Circle {
    double East0 = 0;
    double North0 = 0;
    double East1 = 0;
    double North1 = 0;
    double R = 0;

    // theta0 is the tangent azimuth at the start point.
    bool Evaluate(double theta0, double l, double W, AxisPoint& out) const;

    // Length of the shorter arc from the start point to the second point (an arc of more than a
    // half circle is measured as its complement). Empty for R = 0 and for a chord longer than the
    // diameter beyond rounding.
    std::optional<double> ArcLength() const;
};

inline constexpr std::int32_t ClothoidEntry = 1; // curvature from 0 to 1/R over Ls
inline constexpr std::int32_t ClothoidExit = 2;  // curvature from 1/R to 0 over Ls (any other kind)

// A spiral from (East0, North0) with start azimuth Theta, signed radius R at its curved end and
// spiral length Ls.
struct Clothoid {
    double East0 = 0;
    double North0 = 0;
    double Theta = 0;
    double R = 0;
    double Ls = 0;
    std::int32_t ClothoidKind = ClothoidEntry;

    bool Evaluate(double l, double W, AxisPoint& out) const;
};

// A clothoid whose curvature runs linearly from 1/R1 at its start to 1/R2 at length Ls (both
// radii signed and finite, R1 ≠ R2): a piece cut out of the clothoid that starts straight.
struct SpiralBetweenRadii {
    double East0 = 0;
    double North0 = 0;
    double Theta = 0;
    double R1 = 0;
    double R2 = 0;
    double Ls = 0;

    bool Evaluate(double l, double W, AxisPoint& out) const;
};

// Writes the side points of out for side distance W around its axis point and azimuth.
void SetSidePoints(double W, AxisPoint& out);

bool IsFinite(const AxisPoint& p);

} // namespace telvane::road
