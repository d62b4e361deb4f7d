// The road command's check: measured points against the calculated road, written as a report
// and, when asked, drawn in plan.
#pragma once

#include "texts.h"

#include "road/check/stake_check.h"
#include "road/engine/design_axis_calculate.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace telvane::cli {

struct CheckRequest {
    std::string points;                // a file Open reads as points, or a job
    std::optional<std::string> report; // the CSV report; standard output without one
    std::optional<std::string> plan;   // the SVG picture
    road::check::CheckTolerances tolerances;
    std::optional<double> arrowFactor; // chosen from the deviations without one
    double sideOffset = 0;             // of the stakes' side points
    int order = 0;                     // coordinate order of point rows (kOrderNEZ / kOrderENZ)
    road::check::Stationing stations;
};

// Checks the points against `design` (calculated). False when the points cannot be read, the
// file gives none, or an output cannot be written; the reason is on `err`. A summary of the
// verdicts goes to `err` as well.
bool run_road_check(const road::DesignAxisCalculate& design, const CheckRequest& request,
                    const CliTexts& texts, std::ostream& out, std::ostream& err);

} // namespace telvane::cli
