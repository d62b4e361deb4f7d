// The records that the road engine shares with the road window: elements of the horizontal
// alignment, intersection points, stakes and grade points of the profile.
//
// Conventions throughout the engine: North (X) and East (Y) in metres, chainages in metres along
// the axis, angles in radians, azimuths from North clockwise (normally kept in [0, 2π)), radii
// signed (positive for a right-hand, clockwise curve; 0 stands for an infinite radius), profile
// grades in per mille. Where a record carries both coordinates, East comes before North.
//
// Glossary: the instrument's and the road files' words, and what they are here.
//   pile, stake          a point set out on the road at a chainage (Pile): its centre on the
//                        axis and its left and right side points at the side offset
//   mileage, chainage    distance along the axis (Mileage); "K1+234.500" is 1234.5 m
//   intersection point   a vertex of the tangent polygon (IntersectionPointInfo, .PHI files)
//   main pile, element   one straight, arc or clothoid of the axis (PlaneInfo, .SEC files)
//   long slope, grade    a vertical intersection point of the profile (LongSlopesInfo, .PVI)
//   ZH, HY, YH, HZ       tangent-to-spiral, spiral-to-arc, arc-to-spiral, spiral-to-tangent
#pragma once

#include <cmath>
#include <cstdint>
#include <string>

namespace telvane::road {

// Values of PlaneInfo::LineType. Any other value cannot be evaluated.
inline constexpr std::int32_t LineTypeLine = 0;
inline constexpr std::int32_t LineTypeCircle = 1;
inline constexpr std::int32_t LineTypeClothoid = 2;
// A clothoid between two finite radii (a compound curve's transition): its curvature runs
// linearly from 1/StartRadius to 1/EndRadius over Length, both radii signed and read from the
// element itself. Designs read from exchange files carry it; the road window never makes one.
inline constexpr std::int32_t LineTypeSpiralBetweenRadii = 3;

// Values of PlaneInfo::Role (written by the road window's chain preparation only).
inline constexpr std::int16_t RoleOther = 0;
inline constexpr std::int16_t RoleEntryClothoid = 1;
inline constexpr std::int16_t RoleExitClothoid = 2;

// One element of the horizontal alignment. A chain of these, in order of increasing Mileage,
// describes the axis from the first element's start point to the last element's start point; the
// last element is only the end marker.
struct PlaneInfo {
    double Mileage = 0; // chainage of the start point
    std::int32_t LineType = LineTypeLine;
    double East = 0;         // start point
    double North = 0;        // start point
    double AzimuthAngle = 0; // tangent azimuth at the start (not read for a line)
    double StartRadius = 0;  // signed; for a circle its radius
    double EndRadius = 0;    // signed; for the road window's grids and files
    double Length = 0;       // a clothoid's spiral length; for the others informative
    std::string Direction;   // "R", "L" or empty; for the road window
    std::int16_t Role = RoleOther;

    bool operator==(const PlaneInfo&) const = default;
};

// One horizontal intersection point. Name to ClothoidLength2 are input; the rest is written by
// IntersectionPointCalculate for every interior point.
struct IntersectionPointInfo {
    std::string Name;
    double East = 0;
    double North = 0;
    double Radius = 0;          // sign ignored: the turn decides it
    double ClothoidLength1 = 0; // entry spiral
    double ClothoidLength2 = 0; // exit spiral

    double Mileage = 0; // ZH + TangentLength1
    std::string Direction;
    double DeflectionAngle = 0; // absolute, radians, at most π
    double TangentLength1 = 0;
    double TangentLength2 = 0;
    double CurveLength = 0;    // HZ - ZH
    double ExternalLength = 0; // computed with the entry spiral
    double ZH = 0;             // tangent to spiral
    double HY = 0;             // spiral to circle
    double YH = 0;             // circle to spiral
    double HZ = 0;             // spiral to tangent

    bool operator==(const IntersectionPointInfo&) const = default;
};

// One stake: the centre point on the axis and the side points, each with its elevation.
struct Pile {
    double Mileage = 0;
    double MiddleE = 0;
    double MiddleN = 0;
    double MiddleZ = 0;
    double LeftE = 0;
    double LeftN = 0;
    double LeftZ = 0;
    double RightE = 0;
    double RightN = 0;
    double RightZ = 0;
    // Which values were calculated: a stake the road does not reach has none, and one calculated
    // without a side offset has no side points. The tables and files leave the others empty.
    bool HasCentre = false;
    bool HasSides = false;

    bool operator==(const Pile&) const = default;
};

// Kept with the plane data for the road window; nothing in the program reads or fills it.
struct SuperelevationInfo {};

// One grade point (vertical intersection point) of the profile.
struct LongSlopesInfo {
    double Mileage = 0;
    std::int32_t CurveFlag = 0; // 1 when a vertical curve sits on this point
    double Height = 0;          // metres
    double Radius = 0;          // vertical curve radius, sign ignored
    double Slope1 = 0;          // grade arriving, per mille
    double Slope2 = 0;          // grade leaving, per mille

    bool operator==(const LongSlopesInfo&) const = default;
};

// True when every number the engine reads from the record is finite.
inline bool IsFinite(const PlaneInfo& e) {
    return std::isfinite(e.Mileage) && std::isfinite(e.East) && std::isfinite(e.North) &&
           std::isfinite(e.AzimuthAngle) && std::isfinite(e.StartRadius) &&
           std::isfinite(e.EndRadius) && std::isfinite(e.Length);
}

inline bool IsFinite(const LongSlopesInfo& p) {
    return std::isfinite(p.Mileage) && std::isfinite(p.Height) && std::isfinite(p.Radius) &&
           std::isfinite(p.Slope1) && std::isfinite(p.Slope2);
}

} // namespace telvane::road
