// Pictures of the road and of survey points, without a screen: polylines sampled along the
// geometry, marks and labels, and their extents, in world coordinates (x east or chainage,
// y north or elevation). The window's painter and the SVG writer both draw from them.
#pragma once

#include "model/records.h"
#include "road/engine/design_axis_calculate.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace telvane::plot {

struct XY {
    double x = 0, y = 0;
};

enum class Stroke {
    Straight,
    Arc,
    Clothoid,
    Tangents,
    OffsetLine,
    Grade,
    VerticalCurve,
    Deviation, // from a stake towards the point measured for it, exaggerated
};
enum class MarkKind {
    MainPoint,
    IntersectionPoint,
    Stake,
    StakeSide,
    GradePoint,
    SurveyPoint,
    // Measured points of a stake-out check, by verdict.
    CheckWithin,
    CheckExceeded,
    CheckOutside,
    CheckUnchecked,
};

struct Polyline {
    Stroke stroke = Stroke::Straight;
    std::vector<XY> points;
    // Along the road's axis: the chainage of each point (empty for other lines).
    std::vector<double> chainage;
};

struct Mark {
    MarkKind kind = MarkKind::SurveyPoint;
    XY at;
    std::string label; // bytes of the code page; may be empty
};

struct Extents {
    double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    bool empty = true;
    void add(XY p);
    bool contains(XY p) const {
        return !empty && p.x >= min_x && p.x <= max_x && p.y >= min_y && p.y <= max_y;
    }
};

struct Picture {
    std::vector<Polyline> lines;
    std::vector<Mark> marks;
    Extents extents;
    bool north_up = true; // a plan: x east, y north, equal scales
    // Lines of text written on the picture under its title (bytes of the code page), such as
    // the exaggeration of deviation arrows.
    std::vector<std::string> notes;
};

// Colours of the strokes and marks (0xRRGGBB), the same on screen and on file.
unsigned stroke_colour(Stroke stroke);
unsigned mark_colour(MarkKind kind);
// A round length near `about`: 1, 2 or 5 times a power of ten (scale bars and axis ticks).
double round_length(double about);

// The chord tolerance, in world units, that keeps a drawing of these extents `width_px` pixels
// wide within 1 mm of the true curve (a pixel taken as 0.2646 mm, 96 to the inch).
double tolerance_for(const Extents& extents, int width_px);
// The extents of the axis from its elements' start points (for choosing a tolerance first).
Extents axis_extents(const road::DesignAxisCalculate& axis);

// Chainage text as the road tables write it: "K1+234.567".
std::string chainage_text(double chainage);

// The road in plan from the design axis (its chain must have been accepted): every element
// sampled so that no chord leaves the curve by more than `tolerance` metres, the tangent polygon
// through the intersection points, the main points (ZH, HY, YH, HZ and ZY, YZ) with their
// chainages, and the stakes with their side points and offset lines.
Picture road_plan(const road::DesignAxisCalculate& axis,
                  const std::vector<road::IntersectionPointInfo>& points,
                  const std::vector<road::Pile>& stakes, double tolerance);

// The profile: x chainage, y elevation. The grade line through the grade points, each vertical
// curve sampled from the engine's elevations within `tolerance`, and the stakes' elevations.
Picture road_profile(const road::DesignAxisCalculate& axis,
                     const std::vector<road::LongSlopesInfo>& grades,
                     const std::vector<road::Pile>& stakes, double tolerance);

// Survey points North up, labelled with their names and, when asked, their codes.
Picture points_map(const std::vector<coord_item>& points, bool with_codes);

// An SVG drawing of the picture, `width` pixels wide, with a scale bar (plans) or axes
// (profiles). `to_utf8` turns labels into UTF-8; `title` heads the drawing.
std::string svg(const Picture& picture, int width, std::string_view title,
                const std::function<std::string(std::string_view)>& to_utf8);

} // namespace telvane::plot
