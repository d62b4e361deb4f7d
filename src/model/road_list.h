// The four lists of a road design, as the road window shows them on its pages, its files hold
// them and the instrument sends and takes them.
#pragma once

namespace telvane {

enum class RoadList {
    Intersections, // the alignment's intersection points
    Elements,      // its line elements, which the instrument calls "main piles"
    Profile,       // the grade points of the vertical profile, the instrument's "slopes"
    Stakes,        // the stakes to set out, the instrument's "piles"
};

} // namespace telvane
