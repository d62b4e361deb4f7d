// The clothoid in its own frame, to full double precision.
#pragma once

namespace telvane::road {

// Local coordinates of a clothoid that starts at the origin heading along +x with curvature 0.
struct ClothoidPoint {
    double X = 0; // along the start tangent
    double Y = 0; // square to it, positive to the right for a positive parameter
};

// The point at arc length l of the clothoid whose tangent has turned by l²/(2·parameter) there,
// i.e. X = ∫₀ˡ cos(s²/2A) ds and Y = ∫₀ˡ sin(s²/2A) ds with A = parameter = R·Ls (signed: a
// negative parameter mirrors the curve to the left). Needs parameter ≠ 0. Accurate to a few units
// in the last place of l for every turn angle; the result is not finite only for overflowing input.
ClothoidPoint ClothoidLocal(double l, double parameter);

} // namespace telvane::road
