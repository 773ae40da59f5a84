// Linear and angular dimensions on screen, from their own record in
// `sinfo`: extension lines, the dimension line or arc, and arrowheads. The
// dimension's text is a text object of its own.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

void draw_ldim();
// The drawing core of `draw_ldim`: each argument is a vector of two doubles
// in the dimension's own frame (extension gap, first and second extension
// line, outside arrow tail, text centre, half text gap).
void do_boxdim(const double* e, const double* l1, const double* l2, const double* t, const double* b,
               const double* h);
// The line from (x, y) by (dx, dy) with the dimension's arrowhead at its
// end, and with both also at its start.
void do_arrow(double x, double y, double dx, double dy, std::int16_t both);
// One extension line.
void draw_leader(double x, double y, double dx, double dy);
// Both arguments are ignored; `sinfo` is restored before it returns.
void draw_adim(std::int16_t stroke, std::uint16_t thick);
// Start (x1, y1) and end (x3, y3) of the first extension line and start
// (x2, y2) and end (x4, y4) of the second, as `draw_ldim` draws them.
void getldimcorners(const ObjectRec* rec, double* x1, double* y1, double* x2, double* y2, double* x3,
                    double* y3, double* x4, double* y4);
void do_ldimends(const double* e, const double* l1, const double* l2, const ObjectRec* rec, double* x1,
                 double* y1, double* x2, double* y2, double* x3, double* y3, double* x4, double* y4);

}  // namespace drav
