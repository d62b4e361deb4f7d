#include "road/engine/clothoid_integral.h"

#include <cmath>
#include <complex>
#include <numbers>

namespace telvane::road {
namespace {

// Below this turn angle the power series is used; its largest term is t^k/k! at k ≈ t, so up to
// a turn of 4 rad at most one decimal digit is lost to cancellation. Beyond it the continued
// fraction converges quickly.
constexpr double SeriesLimit = 4.0;

// ∫₀¹ exp(i·t·u²) du as the power series Σ (i·t)^k / (k!·(2k+1)), summed until a term no longer
// changes the result. The real part is the along-track share, the imaginary part the offset.
std::complex<double> UnitClothoidSeries(double t) {
    double sx = 1.0;
    double sy = 0.0;
    double power = 1.0; // t^k / k!
    for (int k = 1; k < 200; ++k) {
        power *= t / k;
        const double term = power / (2 * k + 1);
        switch (k & 3) {
        case 0:
            sx += term;
            break;
        case 1:
            sy += term;
            break;
        case 2:
            sx -= term;
            break;
        default:
            sy -= term;
            break;
        }
        // The sums are of order one (the along-track sum stays above 0.4 up to SeriesLimit).
        if (std::fabs(term) < 1e-18) {
            break;
        }
    }
    return {sx, sy};
}

// The same integral for t > SeriesLimit: the whole clothoid's limit point minus the tail
// ∫₁^∞ exp(i·t·u²) du, which is exp(i·t)·h with h the continued fraction of the complementary
// error function of (1 - i)·√(t/2), evaluated by the modified Lentz method.
std::complex<double> UnitClothoidFraction(double t) {
    using Complex = std::complex<double>;
    constexpr double Tiny = 1e-300;
    Complex b(1.0, -2.0 * t);
    Complex c(1.0 / Tiny, 0.0);
    Complex d = 1.0 / b;
    Complex h = d;
    double n = -1.0;
    for (int k = 2; k < 1000; ++k) {
        n += 2.0;
        const double a = -n * (n + 1.0);
        b += 4.0;
        d = 1.0 / (a * d + b);
        c = b + a / c;
        const Complex step = c * d;
        h *= step;
        if (std::fabs(step.real() - 1.0) + std::fabs(step.imag()) < 1e-16) {
            break;
        }
    }
    const double half_limit = 0.5 * std::sqrt(std::numbers::pi / (2.0 * t));
    return Complex(half_limit, half_limit) - std::polar(1.0, t) * h;
}

} // namespace

ClothoidPoint ClothoidLocal(double l, double parameter) {
    const double t = l * l / (2.0 * parameter);
    std::complex<double> unit;
    if (std::fabs(t) <= SeriesLimit) {
        unit = UnitClothoidSeries(t);
    } else {
        unit = UnitClothoidFraction(std::fabs(t));
        if (t < 0) {
            unit = std::conj(unit);
        }
    }
    return {l * unit.real(), l * unit.imag()};
}

} // namespace telvane::road
