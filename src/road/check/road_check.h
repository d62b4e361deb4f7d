// The stake-out check in one include: the foot search on the axis, the point checks with their
// verdicts, and the report.
#pragma once

#include "road/check/axis_index.h"
#include "road/check/check_report.h"
#include "road/check/stake_check.h"
