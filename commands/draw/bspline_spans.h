// The spans of a b-spline: each a cubic Bezier whose control points lie on
// tangents taken from the neighbouring points, at a third to a half of the
// chord; the first and last spans follow the chosen end conditions.
#pragma once

#include <cstdint>

namespace drav {

// The span buffer: start P1, first control C1, second control C2, end P2,
// each x then y. It keeps its values from one span to the next.
extern double q[8];

double lgth(double x1, double x2, double y1, double y2);
// With u a unit vector: 2.5 + cos(u, v) / 2.
double dot_prod(double ux, double uy, double vx, double vy);
// 1 when b and c lie strictly on the same side of a.
int cr_pr_ck(double ax, double ay, double bx, double by, double cx, double cy);
// Fills q for the span P1 -> P2 with neighbours P0 and P3; (tx, ty) is the
// direction at P1 used when P0 lies on P2 and use_t is set. 0 for a span of
// no length (q untouched).
int set_pts(double x0, double x1, double x2, double x3, double y0, double y1, double y2, double y3, double tx,
            double ty, int use_t);
// The first and last spans with their end conditions; 0 when no span.
int clamp_first_bezier();
int clamp_last_bezier();
// Writes q as a new span record, or into the first span's record in place.
void draw_qbezier(int in_place);
void temp_bezier();
void draw_first_bezier(int final_span, int in_place);
void draw_last_bezier();
void final_bezier();
void undraw_first_bezier(int which);
void undraw_qbezier(int which);

}  // namespace drav
