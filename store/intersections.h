// Crossing points of pairs of drawing primitives: lines and segments, curves
// of the ellipse family (full or arcs, possibly rotated) and polylines. Every
// routine writes into the shared table `objintr`; the caller owns the count.
//
// A line is a point and a direction (x, y, dx, dy); as a segment it runs from
// (x, y) to (x + dx, y + dy). An arc is centre (cx, cy), radii a and b along
// its own axes, start and end angles in [0, 2 pi), rotation, and direction
// (0 counter-clockwise from start to end, 1 clockwise); equal start and end
// mean the full curve. Angles on an arc are eccentric angles. A polyline is
// x0, y0, x1, y1, ... with n the number of doubles; a closed outline repeats
// its first vertex.
#pragma once

#include <cstdint>

namespace drav {

struct IntrPoint {
    double x, y;
};

constexpr int objintr_size = 64;
extern IntrPoint objintr[objintr_size];

// Tests.
int inline_boundries(double x, double y, double dx, double dy, double px, double py);
int arc_bounds(double start, double end, double angle, std::int16_t dir);
double get_angle_diff(double a, double b, std::int16_t dir);
double sq(double v);

// Crossings: 1 found, 0 not found. `count` is the caller's count of points
// in `objintr`; a count outside 0..64 is taken as the nearest bound.

// Appends the crossing of two lines (of the two segments when bounded).
int line_intersect(double x1, double y1, double dx1, double dy1,
                   double x2, double y2, double dx2, double dy2,
                   std::int16_t* count, std::int16_t bounded);

// Appends up to two points and re-sorts the table along the arc; 1 whenever
// the full curve and the unbounded line meet.
int arc_line_intersect(double cx, double cy, double a, double b, double start, double end,
                       double rotation, std::int16_t dir,
                       double x, double y, double dx, double dy,
                       std::int16_t* count, std::int16_t bounded);

// Rebuilds the table sorted along arc 1; 1 whenever the full curves meet.
// The pick point does not influence the result.
int arcs_intersect(double cx1, double cy1, double a1, double b1, double start1, double end1,
                   double rotation1, std::int16_t dir1,
                   double cx2, double cy2, double a2, double b2, double start2, double end2,
                   double rotation2, std::int16_t dir2,
                   double px, double py, std::int16_t* count, std::int16_t bounded);

// The polyline routines rebuild the table and copy the last point into the
// slot after it when fewer than 64 are stored.
int line_poly_intersect(double x, double y, double dx, double dy,
                        const double* poly, int n, std::int16_t* count, std::int16_t bounded);
int arc_poly_intersect(double cx, double cy, double a, double b, double start, double end,
                       double rotation, std::int16_t dir,
                       const double* poly, int n, std::int16_t* count, std::int16_t bounded);
int poly_poly_intersect(const double* poly1, int n, const double* poly2, int m,
                        std::int16_t* count);

// Two full ellipses by a numeric solver; rebuilds the table, unsorted.
int ar_int(double cx1, double cy1, double a1, double b1, double rotation1,
           double cx2, double cy2, double a2, double b2, double rotation2,
           std::int16_t* count);

// Re-sorts the count points of the table along the arc, dropping duplicates.
void order_objintr(double cx, double cy, double a, double b, double rotation, double start,
                   std::int16_t dir, std::int16_t* count);

}  // namespace drav
