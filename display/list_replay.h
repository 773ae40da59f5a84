// Replay of the display list's segments: one segment in a pen mode, the
// whole redraw, the pick test, selection by fence and recolouring.
#pragma once

#include <cstdint>

#include "display/graphics_unit.h"

namespace drav {

// Holds `panvp`, the real view, while a test box replaces it.
extern ViewportRec t_vp;

void _showseg(std::int16_t mode, std::int16_t index);
void _colorseg(std::int16_t index, std::int16_t colour);
void _sketchlist();
// The whole replay after a pan, drawing only what the pan brought into view
// when the offscreen copy still holds the last whole replay untouched (the
// rest is moved); 0, with nothing drawn, when it cannot.
std::int16_t scroll_sketchlist();
void _findseg(std::int16_t* index, double x, double y);
// Every object on screen whose outline meets the fence (world corners):
// mode 5 adds it to the selection group, mode 6 adds every object it misses.
void setfindfence(double xl, double yb, double xr, double yt, std::int16_t mode);

// Edges of a circle cut for clipping, from its box in pixels (or 180 at
// `max_resolution`); `circle_sides` gives the last answer.
void determine_sides(int x1, int y1, int x2, int y2);
std::int16_t circle_sides();

}  // namespace drav
