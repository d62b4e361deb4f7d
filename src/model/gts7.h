// GTS-7 record lines: the job text layout with the keywords STN, SS, XYZ, HV and HD, where every
// slope distance is reduced to a horizontal distance and a height difference.
#pragma once

#include "records.h"
#include "textlines.h"
#include "units.h"

#include <span>
#include <string>
#include <string_view>

namespace telvane {

struct Gts7Reduction {
    double K = 0.14;         // refraction coefficient: 0.00, 0.14 or 0.20
    double R = 6370000.0;    // earth radius, metres
    double grid_scale = 1.0; // applied only strictly between 0.9 and 1.1
};

struct ReducedDistance {
    double hd = 0; // horizontal distance, metres
    double vd = 0; // height difference, metres
};

// Reduces a zenith angle (degrees) and slope distance (metres) for curvature and refraction.
ReducedDistance reduce_slope_distance(double va, double sd, const Gts7Reduction& p);

// Appends the GTS-7 lines of one record; notes and other kinds give
// "wrong type in record item".
void append_gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p,
                              Lines& out);

// The same lines joined with "|".
std::string gts7_record_lines(const record_item& r, Units units, const Gts7Reduction& p);

// Whether the lines start as a GTS-7 file does: a JOB, an INST and a UNITS line (blank lines
// aside). A job text never holds a UNITS line.
bool is_gts7_text(std::span<const std::string_view> lines);

// Reads a GTS-7 file back into a job, in the units its UNITS line names ("F" is `foot_unit`,
// the foot of the settings). STN and XYZ give a station; BS a backsight; SS with HV an angle
// observation, with SD or HD a distance observation, with XYZ a point (with its observation when
// one stands between); BKB a backsight bearing. A reduced HD line (horizontal distance, height
// difference) becomes the observation that gives exactly these two back: its distances are not
// corrected back for curvature, refraction or the grid factor. Backsight points (code BSS) are
// paired as in the job text. False, with `job` unchanged, when a line does not read.
bool read_gts7(std::span<const std::string_view> lines, int foot_unit, Job& job);

} // namespace telvane
