// The grid dots in the offscreen copy, the small cross that marks a centre
// or pivot, and drawing one record with the cross-hair out of the way.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// At most this many grid columns are drawn; the grid stops at the right.
constexpr int grid_max_columns = 1000;

// Draws (mode 1) or erases (mode 2) the grid in the offscreen copy; the
// caller invalidates the drawing area to show it. A grid whose steps would be
// closer than 4 pixels, or whose spacing is not positive, is not drawn.
void draw_grids(std::int16_t mode);
// A cross with arms of 2 pixels at world point (x, y), in pen mode mode.
void center_marker(double x, double y, std::int16_t mode);
// `show(mode, rec)` between `cur_stop` and `cur_go`.
void stop_show_go(std::int16_t mode, const ObjectRec* rec);

}  // namespace drav
