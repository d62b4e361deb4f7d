// Clothoid points against the exact clothoid, integrated numerically (reference_quadrature.h).
#include "reference_quadrature.h"

#include "road/engine/clothoid_integral.h"
#include "road/engine/coord_calculate.h"
#include "road/engine/elements.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace telvane::road {
namespace {

using testing::ReferenceClothoid;
using testing::ReferenceOffset;

// Largest distance between the engine's points and the reference over a spiral, sampled at
// `steps` points including both ends; entry and exit, turning right and left.
double WorstError(double R, double Ls, double theta, int steps) {
    double worst = 0;
    for (const bool entry : {true, false}) {
        for (const double sign : {1.0, -1.0}) {
            const Clothoid spiral{1000,     2000, theta,
                                  sign * R, Ls,   entry ? ClothoidEntry : ClothoidExit};
            for (int i = 1; i <= steps; ++i) {
                const double l = Ls * i / steps;
                AxisPoint p;
                EXPECT_TRUE(spiral.Evaluate(l, 0, p));
                const ReferenceOffset ref = ReferenceClothoid(entry, theta, sign * R, Ls, l);
                worst = std::max(worst, static_cast<double>(std::hypot(p.North - 2000 - ref.north,
                                                                       p.East - 1000 - ref.east)));
            }
        }
    }
    return worst;
}

TEST(ClothoidAccuracy, EveryTurnUpToAQuarterCircle) {
    // Spiral turns τ = Ls/2R from flat to π/2 for radii of tight ramps to highways.
    double worst = 0;
    for (const double R : {30.0, 100.0, 250.0, 1000.0, 5000.0}) {
        for (int k = 1; k <= 40; ++k) {
            const double tau = HalfPi * k / 40;
            worst = std::max(worst, WorstError(R, 2 * R * tau, 0.3 + k, 8));
        }
    }
    RecordProperty("worst_error_m", testing::Figure(worst));
    EXPECT_LT(worst, 1e-9);
}

TEST(ClothoidAccuracy, ExitSpiralsOfRealDesigns) {
    // Designs where a truncated exit-spiral expansion misses by millimetres to decimetres.
    struct Case {
        double R, Ls;
    } cases[] = {{250, 200}, {100, 100}, {30, 60}, {60, 120}};
    for (const Case& c : cases) {
        EXPECT_LT(WorstError(c.R, c.Ls, 2.0, 16), 1e-9) << c.R << " / " << c.Ls;
    }
}

TEST(ClothoidAccuracy, LongCoilingSpirals) {
    // Far past any road design the integral switches to its continued fraction (beyond 4 rad);
    // it must still meet the exact curve, on both sides of the switch.
    for (const double tau : {3.9, 4.1, 7.0, 20.0, 60.0}) {
        EXPECT_LT(WorstError(50, 100 * tau, 0.0, 32), 1e-9 * 100 * tau) << tau;
    }
}

TEST(ClothoidAccuracy, LocalSeriesMatchesKnownFresnelValues) {
    // Fresnel integrals C(1) = 0.7798934003768228, S(1) = 0.4382591473903548 (mpmath 1.3,
    // fresnelc/fresnels at 20 digits): with parameter A = 1/π the tangent angle is πs²/2, so X(1) =
    // C(1) and Y(1) = S(1).
    const ClothoidPoint p = ClothoidLocal(1.0, 1.0 / Pi);
    EXPECT_NEAR(p.X, 0.7798934003768228, 1e-15);
    EXPECT_NEAR(p.Y, 0.4382591473903548, 1e-15);
    const ClothoidPoint m = ClothoidLocal(-1.0, -1.0 / Pi); // odd in l, mirrored by the sign
    EXPECT_NEAR(m.X, -0.7798934003768228, 1e-15);
    EXPECT_NEAR(m.Y, 0.4382591473903548, 1e-15);
}

} // namespace
} // namespace telvane::road
