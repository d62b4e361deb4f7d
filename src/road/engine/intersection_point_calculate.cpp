#include "road/engine/intersection_point_calculate.h"

#include "road/engine/clothoid_integral.h"
#include "road/engine/coord_calculate.h"
#include "road/engine/elements.h"

#include <array>
#include <cmath>
#include <initializer_list>
#include <string_view>

namespace telvane::road {
namespace {

// The method's refusal naming the points it is about.
IpMessage Refusal(const char* key, std::initializer_list<std::string_view> names) {
    IpMessage m{key, {}};
    for (std::string_view n : names)
        m.Names.emplace_back(n);
    return m;
}

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v)) {
            return false;
        }
    }
    return true;
}

PlaneInfo MakeElement(double mileage, std::int32_t type, EastNorth at, double azimuth,
                      double startRadius, double endRadius, double length,
                      const std::string& direction) {
    PlaneInfo e;
    e.Mileage = mileage;
    e.LineType = type;
    e.East = at.East;
    e.North = at.North;
    e.AzimuthAngle = azimuth;
    e.StartRadius = startRadius;
    e.EndRadius = endRadius;
    e.Length = length;
    e.Direction = direction;
    return e;
}

// T and E of a symmetric curve of radius r whose spirals shift the circle by s.
std::optional<TangentLengthInfo> TangentFromShift(double r, SpiralShift s, double alpha) {
    TangentLengthInfo t{(r + s.p) * std::tan(alpha / 2.0) + s.q,
                        (r + s.p) / std::cos(alpha / 2.0) - r};
    if (!AllFinite({t.T, t.E})) {
        return std::nullopt;
    }
    return t;
}

enum class CurveOutcome { Done, Refused, ArithmeticFault };

// The four elements of interior point B (between A and C), starting the chainage count at c from
// point P, the end of the alignment so far. Writes B's curve values on success.
CurveOutcome CurveAtPoint(const IntersectionPointInfo& A, IntersectionPointInfo& B,
                          const IntersectionPointInfo& C, double c, EastNorth P,
                          std::array<PlaneInfo, 4>& elements, IpMessage& message) {
    const double in = Azimuth(A.North, A.East, B.North, B.East);
    const double out = Azimuth(B.North, B.East, C.North, C.East);
    const double back = Azimuth(B.North, B.East, A.North, A.East);
    const double backC = Azimuth(C.North, C.East, B.North, B.East);
    if (in == out) {
        message = Refusal(ipkeys::SameBearing, {A.Name, B.Name, B.Name, C.Name});
        return CurveOutcome::Refused;
    }

    // Two bearings in the middle quadrants can differ by more than π; the turn is the other way
    // round then, by the smaller angle.
    double alpha = std::fabs(AngleDifference(in, out));
    if (alpha > Pi) {
        alpha = TwoPi - alpha;
    }
    const bool right = ToLocalFrame(C.North, C.East, in, A.North, A.East).Right >= 0;
    const double r = std::fabs(B.Radius);
    const double Rs = right ? r : -r;
    const std::string turn = right ? "R" : "L";
    const double Ls1 = B.ClothoidLength1;
    const double Ls2 = B.ClothoidLength2;

    if (r == 0) {
        message = Refusal(ipkeys::ZeroRadius, {B.Name});
        return CurveOutcome::Refused;
    }
    if (Ls1 < 0 || Ls2 < 0) {
        message = Refusal(ipkeys::NegativeSpiral, {B.Name});
        return CurveOutcome::Refused;
    }
    if (alpha >= Pi) {
        message = Refusal(ipkeys::OppositeBearing, {A.Name, B.Name, B.Name, C.Name});
        return CurveOutcome::Refused;
    }
    // The spirals turn by Ls/2r each; what is left of the deflection is the circle's.
    const double circleAngle = alpha - Ls1 / (2.0 * r) - Ls2 / (2.0 * r);
    if (circleAngle < 0) {
        message = Refusal(ipkeys::SpiralsTooLong, {B.Name});
        return CurveOutcome::Refused;
    }

    const std::optional<CurveTangentInfo> tangents = CurveTangentLengths(Rs, Ls1, Ls2, alpha);
    if (!tangents) {
        return CurveOutcome::ArithmeticFault;
    }
    const EastNorth zhPoint = PolarPoint(B.East, B.North, back, tangents->T1);
    const EastNorth hzPoint = PolarPoint(B.East, B.North, out, tangents->T2);
    const double zh = c + Distance(P.North, P.East, zhPoint.North, zhPoint.East);

    AxisPoint hy;
    AxisPoint yh;
    if (!Clothoid{zhPoint.East, zhPoint.North, in, Rs, Ls1, ClothoidEntry}.Evaluate(Ls1, 0, hy) ||
        !Clothoid{hzPoint.East, hzPoint.North, backC, -Rs, Ls2, ClothoidEntry}.Evaluate(Ls2, 0,
                                                                                        yh)) {
        return CurveOutcome::ArithmeticFault;
    }
    // The arc from HY to YH, taken from its angle rather than its chord: exact up to a half circle
    // and beyond, where the chord loses its precision.
    const double arc = r * circleAngle;
    const double hyMileage = zh + Ls1;
    const double yhMileage = hyMileage + arc;
    const double hzMileage = yhMileage + Ls2;

    elements[0] = MakeElement(zh, LineTypeClothoid, zhPoint, in, 0, Rs, Ls1, turn);
    elements[1] =
        MakeElement(hyMileage, LineTypeCircle, {hy.East, hy.North}, hy.Azimuth, Rs, Rs, arc, turn);
    elements[2] = MakeElement(yhMileage, LineTypeClothoid, {yh.East, yh.North},
                              NormalizeAngle(yh.Azimuth + Pi), Rs, 0, Ls2, turn);
    elements[3] = MakeElement(hzMileage, LineTypeLine, hzPoint, out, 0, 0, 0, "");
    for (const PlaneInfo& e : elements) {
        if (!IsFinite(e)) {
            return CurveOutcome::ArithmeticFault;
        }
    }
    if (!AllFinite({zh + tangents->T1, tangents->E})) {
        return CurveOutcome::ArithmeticFault;
    }

    B.Mileage = zh + tangents->T1;
    B.Direction = turn;
    B.DeflectionAngle = alpha;
    B.TangentLength1 = tangents->T1;
    B.TangentLength2 = tangents->T2;
    B.CurveLength = hzMileage - zh;
    B.ExternalLength = tangents->E;
    B.ZH = zh;
    B.HY = hyMileage;
    B.YH = yhMileage;
    B.HZ = hzMileage;
    return CurveOutcome::Done;
}

} // namespace

std::optional<SpiralShift> SpiralShiftOf(double R, double Ls) {
    const double r = std::fabs(R);
    if (!(r > 0) || !std::isfinite(Ls)) {
        return std::nullopt;
    }
    if (Ls == 0) {
        return SpiralShift{};
    }
    const ClothoidPoint end = ClothoidLocal(Ls, r * Ls);
    const double tau = Ls / (2.0 * r);
    const double halfSine = std::sin(tau / 2.0);
    // 1 - cos τ as 2·sin²(τ/2), which keeps its digits for flat spirals.
    SpiralShift s{end.Y - r * 2.0 * halfSine * halfSine, end.X - r * std::sin(tau)};
    if (!AllFinite({s.p, s.q})) {
        return std::nullopt;
    }
    return s;
}

std::optional<TangentLengthInfo> TangentLength(double R, double Ls, double alpha) {
    const std::optional<SpiralShift> s = SpiralShiftOf(R, Ls);
    if (!s) {
        return std::nullopt;
    }
    return TangentFromShift(std::fabs(R), *s, alpha);
}

std::optional<CurveTangentInfo> CurveTangentLengths(double R, double Ls1, double Ls2,
                                                    double alpha) {
    const double r = std::fabs(R);
    const std::optional<SpiralShift> s1 = SpiralShiftOf(R, Ls1);
    const std::optional<SpiralShift> s2 = SpiralShiftOf(R, Ls2);
    if (!s1 || !s2) {
        return std::nullopt;
    }
    const std::optional<TangentLengthInfo> entry = TangentFromShift(r, *s1, alpha);
    const std::optional<TangentLengthInfo> exit = TangentFromShift(r, *s2, alpha);
    if (!entry || !exit) {
        return std::nullopt;
    }
    // With unequal shifts the circle's centre sits at different distances from the two tangents,
    // which moves the tangent points along them in opposite senses.
    double skew = 0;
    if (s2->p != s1->p) {
        const double sine = std::sin(alpha);
        if (sine == 0) {
            return std::nullopt;
        }
        skew = (s2->p - s1->p) / sine;
    }
    CurveTangentInfo t{entry->T + skew, exit->T - skew, entry->E};
    if (!AllFinite({t.T1, t.T2, t.E})) {
        return std::nullopt;
    }
    return t;
}

bool IntersectionPointCalculate(double K0, std::vector<IntersectionPointInfo>& points,
                                std::vector<PlaneInfo>& chain, IpMessage& message) {
    const std::size_t n = points.size();
    if (n < 3) {
        message = Refusal(ipkeys::TooFewPoints, {});
        return false;
    }
    // The last pair may coincide: the end marker then sits on the last curve's end.
    for (std::size_t i = 0; i + 2 < n; ++i) {
        if (Distance(points[i].North, points[i].East, points[i + 1].North, points[i + 1].East) <
            0.00001) {
            message = Refusal(ipkeys::PointsTooClose, {});
            return false;
        }
    }

    chain.clear();
    const PlaneInfo start = MakeElement(
        K0, LineTypeLine, {points[0].East, points[0].North},
        Azimuth(points[0].North, points[0].East, points[1].North, points[1].East), 0, 0, 0, "");
    if (!IsFinite(start)) {
        message = {};
        return false;
    }
    chain.push_back(start);
    double c = K0;
    EastNorth P{points[0].East, points[0].North};

    for (std::size_t k = 1; k + 1 < n; ++k) {
        std::array<PlaneInfo, 4> elements;
        switch (CurveAtPoint(points[k - 1], points[k], points[k + 1], c, P, elements, message)) {
        case CurveOutcome::Refused:
            return false;
        case CurveOutcome::ArithmeticFault:
            message = {};
            return false;
        case CurveOutcome::Done:
            break;
        }
        chain.insert(chain.end(), elements.begin(), elements.end());
        c = elements[3].Mileage;
        P = {elements[3].East, elements[3].North};
    }

    const IntersectionPointInfo& last = points[n - 1];
    const IntersectionPointInfo& beforeLast = points[n - 2];
    const PlaneInfo end = MakeElement(
        c + Distance(P.North, P.East, last.North, last.East), LineTypeLine, {last.East, last.North},
        Azimuth(beforeLast.North, beforeLast.East, last.North, last.East), 0, 0, 0, "");
    if (!IsFinite(end)) {
        message = {};
        return false;
    }
    chain.push_back(end);
    for (std::size_t i = 0; i + 1 < chain.size(); ++i) {
        chain[i].Length = chain[i + 1].Mileage - chain[i].Mileage;
    }
    return true;
}

} // namespace telvane::road
