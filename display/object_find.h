// Picking an object under the cursor and the extents of objects.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// Picks the object at world (x, y) after index *n; with repeat the point of
// the previous pick is used again, so repeated picks cycle through the
// objects under it. 1 on a hit, *n its index (loaded into `info`).
int find_object(std::int16_t* n, double x, double y, int repeat);
// The pick by test drawing into a window of 3.5 pixels round the point.
int do_find(std::int16_t* n, double x, double y);

// Widens the limits by the extents of rec when it is a live object; full
// draws curves at their finest.
void find_limits(const ObjectRec& rec, double* xmin, double* ymin, double* xmax, double* ymax, int full);

}  // namespace drav
