// The ellipse family on screen: circles, ellipses, their arcs and regular
// polygons, possibly rotated, from the record in `sinfo`. A solid closed
// circle or axis-parallel ellipse is one oval; everything else is a polyline
// whose number of sides follows the figure's size in pixels.
#pragma once

#include <cstdint>

namespace drav {

// A thin figure is drawn with (1, 0); a wide one on its first stroke (inner
// edge) and again on its last stroke (outer edge) with thick set.
void draw_ellipse(std::int16_t stroke, std::uint16_t thick);
void determine_sides();
void load_poly_array();
// The pen to, or a line to, the figure point of the unit vector (c, s).
void ell_move_part(double c, double s);
void ell_draw_part(double c, double s);
// Lines to the vertices from index from x |step| on in steps of step,
// stopping before index step + count x |step|.
void draw_section(std::int16_t from, std::int16_t count, std::int16_t step);
// The vertices strictly between the begin and end angle, in the arc's
// direction; flag is 1 when they lie in different sides.
void do_sides(std::int16_t flag);

}  // namespace drav
