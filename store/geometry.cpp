#include "store/geometry.h"

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>

namespace drav {

extern const double r_zero = 0.0;
extern const double r_one = 1.0;
extern const double r_two = 2.0;
extern const double r_three = 3.0;
extern const double r_four = 4.0;
extern const double r_five = 5.0;
extern const double r_six = 6.0;
extern const double r_eight = 8.0;
extern const double r_10 = 10.0;
extern const double r_12 = 12.0;
extern const double r_16 = 16.0;
extern const double r_60 = 60.0;
extern const double r_90 = 90.0;
extern const double r_180 = 180.0;
extern const double r_270 = 270.0;
extern const double r_360 = 360.0;
extern const double r_ptfive = 0.5;
extern const double r_pt25 = 0.25;
extern const double r_oneptfive = 1.5;
extern const double quart_pie = 0.78539816339744830962;
extern const double half_pie = 1.57079632679489661923;
extern const double pie = 3.14159265358979323846;
extern const double three_half_pie = 4.71238898038468985769;
extern const double two_pie = 6.28318530717958647692;
extern const double small_tol = 1e-7;
extern const double large_limit = 9999999.0;
extern const double wind_delta_limit = 1e-4;
extern const double tinyrnum = 1e-10;
extern const double bigrnum = 1e200;
extern const double r_32767 = 32767.0;

double rcos[361];
double rsin[361];

double poly3_rcos[4], poly3_rsin[4];
double poly4_rcos[5], poly4_rsin[5];
double poly5_rcos[6], poly5_rsin[6];
double poly6_rcos[7], poly6_rsin[7];
double poly7_rcos[8], poly7_rsin[8];
double poly8_rcos[9], poly8_rsin[9];
double poly9_rcos[10], poly9_rsin[10];

const double* polycos[10];
const double* polysin[10];

int opencossin() {
    // Reduce to the first quadrant so that the table is exactly symmetric and
    // the quarter turns hold exact 0 and +-1.
    for (int d = 0; d <= 360; ++d) {
        int q = (d / 90) % 4;
        double rad = (d % 90) * (pie / 180.0);
        double c = std::cos(rad), s = std::sin(rad);
        switch (q) {
            case 0: rcos[d] = c;  rsin[d] = s;  break;
            case 1: rcos[d] = -s; rsin[d] = c;  break;
            case 2: rcos[d] = -c; rsin[d] = -s; break;
            default: rcos[d] = s; rsin[d] = -c; break;
        }
    }
    return 1;
}

void closecossin() {
    // The tables are static storage; there is nothing to release.
}

namespace {

void fill_poly(int n, double* c, double* s) {
    if (360 % n == 0) {
        int step = 360 / n;
        for (int k = 0; k <= n; ++k) {
            c[k] = rcos[k * step];
            s[k] = rsin[k * step];
        }
    } else {
        for (int k = 0; k < n; ++k) {
            c[k] = std::cos(k * two_pie / n);
            s[k] = std::sin(k * two_pie / n);
        }
        // The closing vertex repeats the first exactly.
        c[n] = c[0];
        s[n] = s[0];
    }
    polycos[n] = c;
    polysin[n] = s;
}

}  // namespace

void init_poly() {
    polycos[0] = polycos[1] = polycos[2] = nullptr;
    polysin[0] = polysin[1] = polysin[2] = nullptr;
    fill_poly(3, poly3_rcos, poly3_rsin);
    fill_poly(4, poly4_rcos, poly4_rsin);
    fill_poly(5, poly5_rcos, poly5_rsin);
    fill_poly(6, poly6_rcos, poly6_rsin);
    fill_poly(7, poly7_rcos, poly7_rsin);
    fill_poly(8, poly8_rcos, poly8_rsin);
    fill_poly(9, poly9_rcos, poly9_rsin);
}

std::int32_t trunc_i32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

std::int32_t ltrunc(double v) {
    return trunc_i32(v >= 0 ? v + 1e-7 : v - 1e-7);
}

double real_round(double v) {
    return v >= 0 ? std::floor(v + 0.5) : std::ceil(v - 0.5);
}

std::int16_t sign(double v) {
    return v >= 0 ? 1 : -1;
}

int odd(int n) {
    return n & 1;
}

double fpmod(double x, double y) {
    double r = std::fmod(x, y);
    return r < 0 ? r + y : r;
}

int int_length(int n) {
    char buf[16];
    return std::snprintf(buf, sizeof buf, "%d", n);
}

std::int16_t round_up(int n, int m) {
    // A step of 0 cannot round anything: n comes back as it is.
    if (m == 0) return static_cast<std::int16_t>(n);
    long long r = (static_cast<long long>(n) + m - 1) / m * m;
    return static_cast<std::int16_t>(r);
}

void iswap(std::int16_t* a, std::int16_t* b) {
    std::int16_t t = *a;
    *a = *b;
    *b = t;
}

void swap(double* a, double* b) {
    double t = *a;
    *a = *b;
    *b = t;
}

double distance(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

double raddeg(double r) {
    return r / pie * r_180;
}

double degrad(double d) {
    return d / r_180 * pie;
}

namespace {
// std::atan, the last argument's value kept: a wide line asks the angle of
// its direction once for every stroke.
double atan_of(double t) {
    static std::uint64_t last_bits = std::bit_cast<std::uint64_t>(0.0);
    static double last = 0;
    const auto bits = std::bit_cast<std::uint64_t>(t);
    if (bits != last_bits) {
        last = std::atan(t);
        last_bits = bits;
    }
    return last;
}
}  // namespace

double get_radangle(double dx, double dy) {
    double a;
    if (dx != 0)
        a = atan_of(std::fabs(dy / dx));
    else
        a = dy != 0 ? half_pie : r_zero;
    if (dx >= 0 && dy >= 0) return a;
    if (dx < 0 && dy < 0) return a + pie;
    if (dx < 0) return pie - a;
    return two_pie - a;
}

namespace {
// Level and leftward directions come between most figures' own angles:
// their values are kept apart from the last angle's, so they never evict it.
const double cos_zero = std::cos(0.0), sin_zero = std::sin(0.0);
const double cos_pie = std::cos(pie), sin_pie = std::sin(pie);
}  // namespace

void cos_sin(double angle, double* c, double* s) {
    // A figure turns all its points by one angle: the last one's values are
    // kept, found by the angle's bits (so -0 and 0, and each NaN, stay apart).
    static std::uint64_t last_bits = std::bit_cast<std::uint64_t>(0.0);
    static double last_c = 1, last_s = 0;
    const auto bits = std::bit_cast<std::uint64_t>(angle);
    if (bits == std::bit_cast<std::uint64_t>(0.0)) {
        *c = cos_zero;
        *s = sin_zero;
        return;
    }
    if (bits == std::bit_cast<std::uint64_t>(pie)) {
        *c = cos_pie;
        *s = sin_pie;
        return;
    }
    if (bits != last_bits) {
        last_c = std::cos(angle);
        last_s = std::sin(angle);
        last_bits = bits;
    }
    *c = last_c;
    *s = last_s;
}

void calc_sides(double angle, double length, double* x, double* y) {
    double c, s;
    cos_sin(angle, &c, &s);
    *x = length * c;
    *y = length * s;
}

void rotate_cr(double x, double y, double* nx, double* ny, double angle) {
    double c, s;
    cos_sin(angle, &c, &s);
    *nx = x * c - y * s;
    *ny = x * s + y * c;
}

double adjust_rotation(double a) {
    // fmod in place of stepping by whole turns: any magnitude takes one step.
    if (!std::isfinite(a)) return r_zero;
    a = std::fmod(a, two_pie);
    if (a < 0) a += two_pie;
    if (a >= two_pie) a = r_zero;
    return a;
}

int reals_equal(double a, double b) {
    return std::fabs(a - b) < small_tol;
}

int slopes_equal(double dx1, double dy1, double dx2, double dy2) {
    if (std::fabs(dx1) < small_tol) return std::fabs(dx2) < small_tol;
    if (!(std::fabs(dx2) > small_tol)) return 0;
    return reals_equal(dy1 / dx1, dy2 / dx2);
}

int check_seg(double dx, double dy, double x1, double y1, double x2, double y2,
              double px, double py) {
    double c1 = (y1 - py) * dx - (x1 - px) * dy;
    double c2 = (y2 - py) * dx - (x2 - px) * dy;
    if (std::fabs(c1) < 0.0001 || std::fabs(c2) < 0.0001) return 1;
    return sign(c1) != sign(c2);
}

int intersect(double x1, double y1, double dx1, double dy1,
              double x2, double y2, double dx2, double dy2,
              double* x, double* y, std::int16_t seg1, std::int16_t seg2) {
    if (slopes_equal(dx1, dy1, dx2, dy2)) return 0;
    double m1 = std::fabs(dx1) > small_tol ? dy1 / dx1 : r_zero;
    double m2 = std::fabs(dx2) > small_tol ? dy2 / dx2 : r_zero;
    if (std::fabs(dx2) < small_tol) {
        *x = x2;
        *y = m1 * (x2 - x1) + y1;
    } else if (std::fabs(dx1) < small_tol) {
        *x = x1;
        *y = m2 * (x1 - x2) + y2;
    } else {
        *x = (m2 * x2 - m1 * x1 + y1 - y2) / (m2 - m1);
        *y = m1 * (*x - x1) + y1;
    }
    if (!seg1 && !seg2) return 1;
    if (seg1 && !check_seg(dx2, dy2, x1, y1, x1 + dx1, y1 + dy1, *x, *y)) return 0;
    if (seg2 && !check_seg(dx1, dy1, x2, y2, x2 + dx2, y2 + dy2, *x, *y)) return 0;
    return 1;
}

}  // namespace drav
