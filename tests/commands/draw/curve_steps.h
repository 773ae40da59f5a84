// Steps shared by the curve command tests: points on a grid of 20 pixels
// to the unit from an origin, the pointer moved without a click, and the
// Bezier fields of a stored record.
#pragma once

#include <cmath>

#include "tests/commands/draw/shape_steps.h"

namespace drav::curve_test {

using shape_test::unit;

constexpr int ox = 100, oy = 400;  // pixel of the grid's origin
constexpr double u = 20 * unit;   // one grid unit in world units

// The pixel of grid point (x, y), y upward.
inline plat::Point p(double x, double y) {
    return shape_test::at(ox + static_cast<int>(std::lround(x * 20)), oy - static_cast<int>(std::lround(y * 20)));
}
inline double gx(double x) { return shape_test::wx(ox) + x * u; }
inline double gy(double y) { return shape_test::wy(oy) + y * u; }

// The pointer goes to a point without a click, as a person moves it.
inline void hover(test::Session& s, plat::Point local) {
    s.then([local] {
        const plat::Rect b = plat::window_bounds(whichdrawWindow());
        plat::EventRecord r;
        r.what = plat::mouseUp;
        r.where = plat::Point{static_cast<std::int16_t>(b.top + local.v), static_cast<std::int16_t>(b.left + local.h)};
        r.modifiers = plat::btnState;
        r.window = whichdrawWindow();
        test::post(r);
    });
    s.then([] {});
}

// A record's start and its three relative points, in grid units.
struct Bez {
    double x, y, c1x, c1y, c2x, c2y, ex, ey;
};

inline Bez bez_of(const ObjectRec& r) {
    return Bez{(rec_f64(r, obj::ref_x) - gx(0)) / u, (rec_f64(r, obj::ref_y) - gy(0)) / u,
               rec_f64(r, bez::c1x) / u,             rec_f64(r, bez::c1y) / u,
               rec_f64(r, bez::c2x) / u,             rec_f64(r, bez::c2y) / u,
               rec_f64(r, bez::endx) / u,            rec_f64(r, bez::endy) / u};
}

inline void expect_bez(int n, const Bez& want, double tol = 1e-6) {
    const ObjectRec r = shape_test::stored(n);
    EXPECT_EQ(obj_kind(r), ok_bezier) << "record " << n;
    const Bez got = bez_of(r);
    const double* g = &got.x;
    const double* w = &want.x;
    const char* names[] = {"x", "y", "c1x", "c1y", "c2x", "c2y", "ex", "ey"};
    for (int i = 0; i < 8; ++i) EXPECT_NEAR(g[i], w[i], tol) << "record " << n << " " << names[i];
}

}  // namespace drav::curve_test
