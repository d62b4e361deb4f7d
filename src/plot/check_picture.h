// The plan of a stake-out check: the road around the measured points, each point coloured by its
// verdict, and for a point measured for a stake an arrow from the stake towards it, exaggerated
// by a factor that is written on the picture.
#pragma once

#include "plot/picture.h"
#include "road/check/stake_check.h"

#include <string_view>
#include <vector>

namespace telvane::plot {

// The mark of a measured point with this verdict (its colour is mark_colour of it, also for the
// verdict cells of a table).
MarkKind check_mark_kind(road::check::Verdict verdict);

// A round factor (1, 2 or 5 times a power of ten) that draws the largest deviation from a stake
// about a twentieth of the span of the measured points; 1 when no point has one.
double arrow_factor(const std::vector<road::check::PointCheck>& checks);

// The picture. `factor_text` is the note's text with "%s" where the factor goes (the text of
// the language key check_arrow_factor); `tolerance` as for road_plan. The road is drawn where it
// passes near the points (all of it when no point lies on it).
Picture check_plan(const road::DesignAxisCalculate& axis,
                   const std::vector<road::check::PointCheck>& checks, double factor,
                   std::string_view factor_text, double tolerance);

} // namespace telvane::plot
