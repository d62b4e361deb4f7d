// Independent reference values for curve points: the defining integrals of a curve with tangent
// angle φ(s), ∫cos φ ds (North share) and ∫sin φ ds (East share), by composite 20-point
// Gauss-Legendre quadrature in long double. The nodes come from Newton's method on the Legendre
// polynomial; nothing here shares code or series with the engine.
#pragma once

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <string>

namespace telvane::road::testing {

struct GaussLegendre20 {
    std::array<long double, 20> node{};
    std::array<long double, 20> weight{};

    GaussLegendre20() {
        constexpr int n = 20;
        for (int i = 0; i < n; ++i) {
            long double x = std::cos(std::numbers::pi_v<long double> * (i + 0.75L) / (n + 0.5L));
            long double dp = 0;
            for (int iter = 0; iter < 100; ++iter) {
                long double p0 = 1;
                long double p1 = x;
                for (int k = 2; k <= n; ++k) {
                    const long double p2 = ((2 * k - 1) * x * p1 - (k - 1) * p0) / k;
                    p0 = p1;
                    p1 = p2;
                }
                dp = n * (x * p1 - p0) / (x * x - 1);
                const long double dx = p1 / dp;
                x -= dx;
                if (std::fabs(dx) < 1e-19L) {
                    break;
                }
            }
            node[i] = x;
            weight[i] = 2 / ((1 - x * x) * dp * dp);
        }
    }
};

struct ReferenceOffset {
    long double north = 0;
    long double east = 0;
};

// ∫ₐᵇ (cos φ(s), sin φ(s)) ds for a smooth tangent angle φ; `turn` bounds |φ(b) - φ(a)| and sets
// the number of panels.
template <class Phase>
ReferenceOffset IntegrateTangent(Phase phi, long double a, long double b, long double turn) {
    static const GaussLegendre20 rule;
    const int panels = 8 + static_cast<int>(8 * std::fabs(turn));
    const long double h = (b - a) / panels;
    ReferenceOffset sum;
    for (int p = 0; p < panels; ++p) {
        const long double mid = a + (p + 0.5L) * h;
        for (int i = 0; i < 20; ++i) {
            const long double angle = phi(mid + 0.5L * h * rule.node[i]);
            sum.north += rule.weight[i] * std::cos(angle);
            sum.east += rule.weight[i] * std::sin(angle);
        }
    }
    sum.north *= 0.5L * h;
    sum.east *= 0.5L * h;
    return sum;
}

// Point of a clothoid starting at the origin with azimuth theta, signed radius R, spiral length
// Ls, at distance l: entry (curvature s/(R·Ls)) or exit (curvature (Ls - s)/(R·Ls)).
inline ReferenceOffset ReferenceClothoid(bool entry, long double theta, long double R,
                                         long double Ls, long double l) {
    const long double C = R * Ls;
    if (entry) {
        return IntegrateTangent([&](long double s) { return theta + s * s / (2 * C); }, 0, l,
                                l * l / (2 * C));
    }
    return IntegrateTangent([&](long double s) { return theta + (Ls * s - s * s / 2) / C; }, 0, l,
                            Ls * l / C);
}

// A measured figure for the test report, e.g. "3.125e-13".
inline std::string Figure(double v) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, v, std::chars_format::scientific, 3);
    return std::string(text, end.ptr);
}

} // namespace telvane::road::testing
