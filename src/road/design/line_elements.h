// Preparing a chain of line elements typed in or loaded by the user for the design axis.
//
// Every curve of the chain is completed to the group straight, entry clothoid, circle, exit
// clothoid, straight by fillers of length 0, and each group gets its chainages, azimuths, roles
// and (where the chain does not give them) its points from the first straight's start point and
// azimuth and from the lengths and radii.
#pragma once

#include "road/engine/road_records.h"

#include <cstddef>
#include <string>
#include <vector>

namespace telvane::road {

// A point counts as given when its East or North, truncated toward zero, is not 0: points that
// were never entered are 0.
bool IsGivenPoint(const PlaneInfo& e);

// A closing straight shorter than this (0 included) takes the exit azimuth from the curve, not
// from the chord to the next element.
inline constexpr double ShortestClosingStraight = 0.01;

// Prepares `elements` in place. A chain whose last element is a straight with a length (closing
// its last curve, or with its azimuth typed in) gets an end marker of length 0 at that straight's
// end, so the road reaches it. True when the whole chain was read; false with `message` set (a
// text to show, GBK) when its order of kinds was refused at some element; the list then keeps the
// fillers and values of the groups before that element.
// Throws telvane::ArithmeticError where a group cannot be computed (a circle of radius 0, a curve
// whose values would not be finite numbers); the list then keeps the groups done before.
bool PrepareLineElements(std::vector<PlaneInfo>& elements, std::string& message);

// Computes the group of elements s to s + 4 (straight, entry clothoid, circle, exit clothoid,
// straight); `e` must be s + 4. The closing point is computed when the group's closing straight
// has no given point; a given point is kept, and then the next element (s + 5), where there is
// one, gives the exit direction. False only for a group that does not lie inside the list; throws
// telvane::ArithmeticError as PrepareLineElements does.
bool ComputeCurveGroup(std::vector<PlaneInfo>& elements, std::size_t s, std::size_t e);

} // namespace telvane::road
