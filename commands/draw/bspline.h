// The b-spline command: a smooth curve through clicked (or, in stream mode,
// streamed) points, stored as one cubic Bezier record per span as soon as
// the points around the span are known. No rubber band: each point shows a
// small cross.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

struct SplinePointRec {
    double x, y;
    double tx, ty;  // direction of the curve leaving the point; (0, 0) none yet
    SplinePointRec* prev;
    SplinePointRec* next;
    bool marked;  // its cross is on screen
};

extern SplinePointRec* first_bez;  // the first point
extern SplinePointRec* last_bez;   // the newest point; points after it wait to be freed
extern SplinePointRec* upbez;      // stands before the first point for the first span
extern std::int16_t save_number;   // the record count when the command began
extern std::int16_t bezstart;      // the first span's record
extern std::uint16_t detach;       // the next point starts a new chain
extern std::uint16_t fmess;        // points are still taken (cleared by an alert)
extern ObjOptsRec* spline_opts;    // the options of the running command

void b_spline(ObjOptsRec& opts);
int first_spline_pnt(double* x, double* y, int prompt);
void point_get(double x, double y, std::int16_t* n);
void accept_point(double x, double y, std::int16_t* n);
void new_pnt(double x, double y);
void point_key_options(int key, std::int16_t* n);
void quit_bezier(std::int16_t n);
void esc_bezier(std::int16_t* n);
void erase_bezier(std::int16_t* n);
void erase_last(int m);
void restore_prev(std::int16_t* n);
// Frees p and every point after it.
void release(SplinePointRec* p);
// Shows or hides the cross of a point, in XOR, once.
void mark_point(SplinePointRec* p, bool on);

}  // namespace drav
