// The display list's view: which part of the pan canvas shows and at what
// scale. Pans and zooms move that part and redraw from the list; only a real
// change of window rebases the canvas.
#pragma once

#include <cstdint>

#include "display/graphics_unit.h"

namespace drav {

extern std::int16_t maxzoom;                // largest zoom
extern std::int16_t panxdelta, panydelta;   // pan step, canvas pixels
extern std::uint16_t bigpan;                // 1: page steps
extern std::int16_t cursor_mag;             // multiplier of pan steps

// The view part of the list's start: the screen at zoom 0, steps of 10.
void init_list_view();
void _updatelist(std::int16_t dx, std::int16_t dy, std::int16_t home, std::int16_t zoomed,
                 std::int16_t centre, std::int16_t hthumb, std::int16_t vthumb);
void _panlist(std::int16_t dx, std::int16_t dy);
void _zoomlist(std::int16_t n);
void _cenlist();
void _homelist();
void _multlist();
void _regenlist();
void _fulllist(double* xl, double* xr, double* yb, double* yt);
void _crunchlist();
// The scroll limits of the tool options around `cur_win`, held inside the canvas.
void changezoomlimits();
void newpandeltas();
void adjzoom(std::int16_t xl, std::int16_t yt, std::int16_t width, std::int16_t height);

}  // namespace drav
