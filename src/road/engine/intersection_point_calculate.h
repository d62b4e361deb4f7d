// The intersection-point method: a polygon of intersection points with a circular curve and two
// clothoids at every interior point, turned into an element chain, plus the curve's main values.
#pragma once

#include "road/engine/road_records.h"

#include <optional>
#include <string>
#include <vector>

namespace telvane::road {

// What the method refuses, as a key of the language table and the point names its "%s"
// places quote (bytes of the program's code page, as the names are).
struct IpMessage {
    std::string Key;
    std::vector<std::string> Names;

    bool empty() const { return Key.empty(); }
    bool operator==(const IpMessage&) const = default;
};

namespace ipkeys {
inline constexpr const char* TooFewPoints = "ip_too_few_points";
inline constexpr const char* PointsTooClose = "ip_points_too_close";
// Names of A, B, B, C: the azimuths A->B and B->C are the same.
inline constexpr const char* SameBearing = "ip_same_bearing";
// Names of A, B, B, C: the road turns straight back at B.
inline constexpr const char* OppositeBearing = "ip_opposite_bearing";
inline constexpr const char* ZeroRadius = "ip_zero_radius";
inline constexpr const char* NegativeSpiral = "ip_negative_spiral";
inline constexpr const char* SpiralsTooLong = "ip_spirals_too_long";
} // namespace ipkeys

// Shift p of the circle from the tangent and extension q of the tangent for a spiral of length Ls
// leading into a circle of radius |R|, from the exact clothoid: p = Y(Ls) - r(1 - cos τ),
// q = X(Ls) - r·sin τ with τ = Ls/2r. Empty for R = 0 or a result that is not finite.
struct SpiralShift {
    double p = 0;
    double q = 0;
};
std::optional<SpiralShift> SpiralShiftOf(double R, double Ls);

// Tangent length T and external distance E of a curve of radius |R| with spirals of length Ls on
// both sides and deflection alpha (0 < alpha < π): T = (r + p)·tan(α/2) + q,
// E = (r + p)/cos(α/2) - r. Empty where a result would not be finite.
struct TangentLengthInfo {
    double T = 0;
    double E = 0;
};
std::optional<TangentLengthInfo> TangentLength(double R, double Ls, double alpha);

// Tangent lengths of a curve with an entry spiral Ls1 and an exit spiral Ls2, which may differ:
// T1 = q1 + (r + p1)·tan(α/2) + (p2 - p1)/sin α, T2 = q2 + (r + p2)·tan(α/2) - (p2 - p1)/sin α.
// E is the external distance computed with the entry spiral. Empty where a result would not be
// finite.
struct CurveTangentInfo {
    double T1 = 0;
    double T2 = 0;
    double E = 0;
};
std::optional<CurveTangentInfo> CurveTangentLengths(double R, double Ls1, double Ls2, double alpha);

// Builds the chain for the intersection points (2 + 4·(n - 2) elements: a line, then per interior
// point entry clothoid, circle, exit clothoid and line, then the end marker) starting at chainage
// K0, and writes the curve values into every interior point. On failure returns false with the
// message set; the chain and the points keep what was done before the failing point. An empty
// message with false means an arithmetic fault (a result that would not be a finite number); the
// caller reports it as a format error.
bool IntersectionPointCalculate(double K0, std::vector<IntersectionPointInfo>& points,
                                std::vector<PlaneInfo>& chain, IpMessage& message);

} // namespace telvane::road
