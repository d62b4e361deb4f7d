// The road geometry engine in one include: records, coordinate functions, elements, the design
// axis, the vertical profile and the intersection-point method.
#pragma once

#include "road/engine/clothoid_integral.h"
#include "road/engine/coord_calculate.h"
#include "road/engine/design_axis_calculate.h"
#include "road/engine/elements.h"
#include "road/engine/intersection_point_calculate.h"
#include "road/engine/long_slopes_calculate.h"
#include "road/engine/plane_calculate.h"
#include "road/engine/road_records.h"
