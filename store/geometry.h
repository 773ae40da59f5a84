// Numeric floor under all drawing geometry: named real constants, the
// whole-degree and regular-polygon trig tables, rounding, vectors, angles and
// the crossing of two lines. Angles are radians unless a name says degrees.
#pragma once

#include <cstdint>

namespace drav {

// Named real constants; code reads these instead of literals.
extern const double r_zero;
extern const double r_one;
extern const double r_two;
extern const double r_three;
extern const double r_four;
extern const double r_five;
extern const double r_six;
extern const double r_eight;
extern const double r_10;
extern const double r_12;
extern const double r_16;
extern const double r_60;
extern const double r_90;
extern const double r_180;
extern const double r_270;
extern const double r_360;
extern const double r_ptfive;
extern const double r_pt25;
extern const double r_oneptfive;
extern const double quart_pie;
extern const double half_pie;
extern const double pie;
extern const double three_half_pie;
extern const double two_pie;
extern const double small_tol;         // geometric tolerance
extern const double large_limit;       // largest coordinate or length a user may type
extern const double wind_delta_limit;  // smallest width or height of a view window
extern const double tinyrnum;          // lower bound of "any positive value" range checks
extern const double bigrnum;           // upper bound of "any value" range checks
extern const double r_32767;           // largest typed integer

// cos and sin of whole degrees 0..360, filled by `opencossin`.
extern double rcos[361];
extern double rsin[361];

// Regular polygons of 3..9 sides: entry n points to n + 1 values of
// cos/sin(k * 360 / n degrees), k = 0..n; entries 0..2 are null.
extern const double* polycos[10];
extern const double* polysin[10];
extern double poly3_rcos[4], poly3_rsin[4];
extern double poly4_rcos[5], poly4_rsin[5];
extern double poly5_rcos[6], poly5_rsin[6];
extern double poly6_rcos[7], poly6_rsin[7];
extern double poly7_rcos[8], poly7_rsin[8];
extern double poly8_rcos[9], poly8_rsin[9];
extern double poly9_rcos[10], poly9_rsin[10];

// Fills `rcos` and `rsin`; returns 1 (the tables are computed, nothing can
// be missing).
int opencossin();
// Fills the polygon tables from the degree tables; call after `opencossin`.
void init_poly();
void closecossin();

// Rounding and integers. Non-finite or out-of-range input never traps:
// NaN gives 0 and values beyond the 32-bit range saturate.
// Half away from zero, then the low 16 bits of the 32-bit result; beyond the
// 32-bit range, 32767 or -32768.
inline std::int16_t iround(double v) {
    v = v >= 0 ? v + 0.5 : v - 0.5;
    // Beyond the 32-bit range there is nothing meaningful to wrap; clamp to
    // the 16-bit extremes so a wild value lands at the edge, not anywhere.
    if (v != v) return 0;
    if (v >= 2147483648.0) return 32767;
    if (v <= -2147483649.0) return -32768;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(v));
}
std::int32_t ltrunc(double v);    // pushed 1e-7 away from zero, truncated
// Truncation toward zero to 32 bits, saturating; NaN gives 0.
std::int32_t trunc_i32(double v);
double real_round(double v);
std::int16_t sign(double v);
int odd(int n);
double fpmod(double x, double y);
int int_length(int n);
std::int16_t round_up(int n, int m);
void iswap(std::int16_t* a, std::int16_t* b);
void swap(double* a, double* b);

// Vectors and angles.
double distance(double dx, double dy);
double raddeg(double r);
double degrad(double d);
double get_radangle(double dx, double dy);
// std::cos and std::sin of angle, the very same doubles.
void cos_sin(double angle, double* c, double* s);
void calc_sides(double angle, double length, double* x, double* y);
void rotate_cr(double x, double y, double* nx, double* ny, double angle);
double adjust_rotation(double a);

// Comparisons and crossings.
int reals_equal(double a, double b);
int slopes_equal(double dx1, double dy1, double dx2, double dy2);
int check_seg(double dx, double dy, double x1, double y1, double x2, double y2,
              double px, double py);
int intersect(double x1, double y1, double dx1, double dy1,
              double x2, double y2, double dx2, double dy2,
              double* x, double* y, std::int16_t seg1, std::int16_t seg2);

}  // namespace drav
