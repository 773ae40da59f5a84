// The window commands a person gives with the mouse: window in and out by a
// rubber rectangle, base window, full window, and the one-step zooms.
#pragma once

#include <cstdint>

namespace drav {

// mode 1 base window, 2 window in, 3 window out, 4 full window; with
// interactive 0, modes 2 and 3 zoom the display list one step.
void get_window(std::int16_t interactive, std::int16_t mode);
void window_in();
void window_out();
// Reads the rubber rectangle of the drawing area's proportions: its lower
// left corner and signed size. 1 when one with a width and a height was
// accepted.
int get_perm(double aspect, double* x0, double* y0, double* w, double* h);

}  // namespace drav
