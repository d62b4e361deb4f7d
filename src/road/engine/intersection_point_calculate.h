// The intersection-point method: a polygon of intersection points with a circular curve and two
// clothoids at every interior point, turned into an element chain, plus the curve's main values.
#pragma once

#include "road/engine/road_records.h"

#include <optional>
#include <string>
#include <vector>

namespace telvane::road {

// Messages are bytes in the program's code page (GBK), like the point names they quote; "%s"
// stands for a point name.
namespace ipmessages {
// 交点数量不能少于3个
inline constexpr const char* TooFewPoints =
    "\xbd\xbb\xb5\xe3\xca\xfd\xc1\xbf\xb2\xbb\xc4\xdc\xc9\xd9\xd3\xda"
    "3\xb8\xf6";
// 两交点之间距离偏小,请检查是否输入有误
inline constexpr const char* PointsTooClose =
    "\xc1\xbd\xbd\xbb\xb5\xe3\xd6\xae\xbc\xe4\xbe\xe0\xc0\xeb\xc6\xab\xd0\xa1,"
    "\xc7\xeb\xbc\xec\xb2\xe9\xca\xc7\xb7\xf1\xca\xe4\xc8\xeb\xd3\xd0\xce\xf3";
// %s→%s与%s→%s的方位角一致,并非合法的交点!  (names of A, B, B, C)
inline constexpr const char* SameBearing =
    "%s\xa1\xfa%s\xd3\xeb%s\xa1\xfa%s\xb5\xc4\xb7\xbd\xce\xbb\xbd\xc7\xd2\xbb\xd6\xc2,"
    "\xb2\xa2\xb7\xc7\xba\xcf\xb7\xa8\xb5\xc4\xbd\xbb\xb5\xe3!";
// %s→%s与%s→%s的方位角相反,并非合法的交点!  (names of A, B, B, C: the road turns straight back)
inline constexpr const char* OppositeBearing =
    "%s\xa1\xfa%s\xd3\xeb%s\xa1\xfa%s\xb5\xc4\xb7\xbd\xce\xbb\xbd\xc7\xcf\xe0\xb7\xb4,"
    "\xb2\xa2\xb7\xc7\xba\xcf\xb7\xa8\xb5\xc4\xbd\xbb\xb5\xe3!";
// %s的半径为0,并非合法的交点!
inline constexpr const char* ZeroRadius =
    "%s\xb5\xc4\xb0\xeb\xbe\xb6\xce\xaa"
    "0,\xb2\xa2\xb7\xc7\xba\xcf\xb7\xa8\xb5\xc4\xbd\xbb\xb5\xe3!";
// %s的缓和曲线长度小于0,请检查是否输入有误
inline constexpr const char* NegativeSpiral =
    "%s\xb5\xc4\xbb\xba\xba\xcd\xc7\xfa\xcf\xdf\xb3\xa4\xb6\xc8\xd0\xa1\xd3\xda"
    "0,\xc7\xeb\xbc\xec\xb2\xe9\xca\xc7\xb7\xf1\xca\xe4\xc8\xeb\xd3\xd0\xce\xf3";
// %s的缓和曲线过长,圆曲线长度小于0,请检查是否输入有误
inline constexpr const char* SpiralsTooLong =
    "%s\xb5\xc4\xbb\xba\xba\xcd\xc7\xfa\xcf\xdf\xb9\xfd\xb3\xa4,"
    "\xd4\xb2\xc7\xfa\xcf\xdf\xb3\xa4\xb6\xc8\xd0\xa1\xd3\xda"
    "0,\xc7\xeb\xbc\xec\xb2\xe9\xca\xc7\xb7\xf1\xca\xe4\xc8\xeb\xd3\xd0\xce\xf3";
} // namespace ipmessages

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
                                std::vector<PlaneInfo>& chain, std::string& message);

} // namespace telvane::road
