// Bezier curves on screen: a polyline of 20 (or, at full resolution, 40)
// segments whose points come from forward differencing of the cubic, and
// the dotted tangent guide the drawing command shows at the curve's end.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t bez_guides;  // the Bezier command is rubber-banding
extern double eepsilon[4][4];     // forward-difference matrix of the current step

// Stroke 1 draws the curve forward and reports its start in (begx, begy)
// and the last point reached in (endx, endy); a later stroke walks it back
// and closes on (begx, begy).
void draw_bezier(std::int16_t mode, std::int16_t stroke, double* begx, double* begy, double* endx,
                 double* endy);
// v = M v.
void matmult44_41(const double m[4][4], double v[4]);
// a = a b.
void matmult(double a[4][4], const double b[4][4]);
// Scales the difference rows of e for the step d.
void set_eepsilon(double e[4][4], double d);
// 1 when the box of the four points may be visible.
std::int16_t bezier_clip();
// Widens box (x low, x high, y low, y high) to hold (x, y).
void bez_limits(double x, double y, double* box);
void bezier_guides();

}  // namespace drav
