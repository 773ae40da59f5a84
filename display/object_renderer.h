// The object renderer: it draws, erases, XOR-draws or traces one record
// through the graphics unit, with its width, colour, line style and markers.
// Lines, rectangles, points, wide-line offsets, arrows, ticks and middle
// markers live here too, because they share the renderer's width state.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// The working copy of the record being drawn; the kind routines and the clip
// tests read it, and the wide-line offsets move it.
extern ObjectRec sinfo;
extern std::uint16_t save_clip;       // some primitive of the current object showed
extern std::uint16_t forced_show;     // draw whatever the visibility settings say
extern std::uint16_t max_resolution;  // curves at their finest (extents, outlines)
// Begin and end of the first edge of a wide line, arc or curve, kept until
// the last stroke closes the band.
extern double lastbx, lastby, lastex, lastey;

// Modes: 0 trace (nothing drawn; `clipped` and, with `save_pts`, the end
// points are collected), 1 draw, 2 erase, 3 XOR into the window.
// Afterwards `clipped` says whether some part of the object lay in the view.
void show(std::int16_t mode, const ObjectRec* rec);
// The same, never through the display list and without forcing wide
// objects solid; for picture export.
void showgen(std::int16_t mode, const ObjectRec* rec);
void single_object();
void select_object(std::int16_t stroke, std::uint16_t thick);
void symb_object();
// 1 when a symbol of at most 4 pixels was drawn as its box or suppressed.
std::int16_t small_symbol(double x, double y, double w, double h);

// ---- Lines, rectangles, points and their markers ----
// Moves `sinfo` to stroke number `stroke` (1 = first band edge) of a wide
// object of folded width code `objwidth`.
void change_thick(std::int16_t stroke, std::int16_t objwidth);
// The point in `sinfo` becomes a circle of diameter d about it (kind stays 7).
void point_to_ellipse(double d);
void draw_lineo(std::int16_t stroke, std::uint16_t thick);
void draw_rect();
void draw_point(std::uint16_t thick);
// 1 when both x and both y lie in the display list's clip window.
std::int16_t rectinbounds(double xl, double xr, double yb, double yt);
// The segment, as the outline of a band while the current object is wide.
void draw_closed_line(double x, double y, double dx, double dy, std::int16_t w);
// Terminator `code` with its tip at (x, y), the line running into it at
// `angle`: 1 arrow, 2-5 ticks, 6 arrow with a stub; 0 and above 6 nothing.
void end_marker(double x, double y, double angle, std::int16_t code);
// `end_marker` without collecting end points.
void draw_arrow(double x, double y, double angle, std::int16_t code);
// A cross at the reference point of `sinfo` + (dx, dy).
void show_marker(double dx, double dy);

}  // namespace drav
