// The road window's data without widgets in one include: the line-element preparation, the road
// data state with its calculation, load and save, and the road files.
#pragma once

#include "road/design/line_elements.h"
#include "road/design/road_data.h"
#include "road/design/road_files.h"
#include "road/design/road_texts.h"
#include "road/design/stake_names.h"
