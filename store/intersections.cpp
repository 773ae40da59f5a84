#include "store/intersections.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "store/geometry.h"

namespace drav {

IntrPoint objintr[objintr_size];

namespace {

// Rounds of bisection after which a bracket is given up.
constexpr int max_rounds = 200;
// Samples of the parametric curve in one turn.
constexpr int solver_steps = 100;
// Sign changes the solver follows; coincident curves can offer more.
constexpr int max_brackets = 8;

int clamped(const std::int16_t* count) {
    return std::clamp<int>(*count, 0, objintr_size);
}

bool finite_point(double x, double y) {
    return std::isfinite(x) && std::isfinite(y);
}

// A curve with a radius that is not a positive finite number has no outline
// to cross.
bool real_curve(double cx, double cy, double a, double b, double rotation) {
    return a > 0 && b > 0 && std::isfinite(a) && std::isfinite(b) && finite_point(cx, cy) &&
           std::isfinite(rotation);
}

double eccentric_angle(double cx, double cy, double a, double b, double rotation,
                       double px, double py) {
    double x, y;
    rotate_cr(px - cx, py - cy, &x, &y, -rotation);
    return get_radangle(x, b != 0 ? y * a / b : y);
}

// Inserts one point into the first `stored` entries of `objintr`, kept in
// order of sweep from the arc's start; a point equal to a stored one is
// dropped.
void order_arcpts(IntrPoint p, double key, double* keys, int& stored) {
    for (int j = 0; j < stored; ++j) {
        if (std::fabs(p.x - objintr[j].x) <= small_tol && std::fabs(p.y - objintr[j].y) <= small_tol)
            return;
        if (key < keys[j]) {
            std::swap(p, objintr[j]);
            std::swap(key, keys[j]);
        }
    }
    if (stored < objintr_size) {
        objintr[stored] = p;
        keys[stored] = key;
        ++stored;
    }
}

// The crossings of an unbounded line with a full ellipse, and their
// eccentric angles.
struct LineEllipse {
    IntrPoint p[2];
    double angle[2];
};

int get_al_objintr(double cx, double cy, double a, double b, double rotation,
                   double x, double y, double dx, double dy, LineEllipse& out) {
    if (!real_curve(cx, cy, a, b, rotation) || !finite_point(x, y) || !finite_point(dx, dy))
        return 0;
    double px, py, vx, vy;
    rotate_cr(x - cx, y - cy, &px, &py, -rotation);
    rotate_cr(dx, dy, &vx, &vy, -rotation);
    double fx[2], fy[2];
    if (std::fabs(vx) <= small_tol) {
        if (std::fabs(px) > a + small_tol) return 0;
        double h = (b / a) * std::sqrt(std::fabs(a * a - px * px));
        fx[0] = fx[1] = px;
        fy[0] = h;
        fy[1] = -h;
    } else {
        double m = vy / vx;
        double c = py - m * px;
        double qa = m * m + b * b / (a * a);
        double qb = 2 * m * c;
        double d = qb * qb - 4 * qa * (c * c - b * b);
        if (!std::isfinite(d)) return 0;
        if (d < 0 && std::fabs(d) >= small_tol) return 0;
        double sd = std::sqrt(std::fabs(d));
        fx[0] = (sd - qb) / (2 * qa);
        fx[1] = (-qb - sd) / (2 * qa);
        fy[0] = m * fx[0] + c;
        fy[1] = m * fx[1] + c;
    }
    for (int i = 0; i < 2; ++i) {
        out.angle[i] = get_radangle(fx[i], fy[i] * a / b);
        double rx, ry;
        rotate_cr(fx[i], fy[i], &rx, &ry, rotation);
        out.p[i] = {rx + cx, ry + cy};
        if (!finite_point(out.p[i].x, out.p[i].y)) return 0;
    }
    return 1;
}

// Two full circles in closed form, stored from index 0; returns the number
// stored. Concentric circles have no single crossing (none, or all of the
// circle when the radii agree) and give 0.
int get_ars_circles(double cx1, double cy1, double r1, double cx2, double cy2, double r2) {
    if (!real_curve(cx1, cy1, r1, r1, 0) || !real_curve(cx2, cy2, r2, r2, 0)) return 0;
    double ux = cx2 - cx1, uy = cy2 - cy1;
    double d = distance(ux, uy);
    if (d <= small_tol || !std::isfinite(d)) return 0;
    if (d > r1 + r2) return 0;
    double p = (d + r1 + r2) / 2;
    double q = (p - d) * (p - r2) * (p - r1) / p;
    if (q < 0) return 0;
    // Internal tangency with the smaller circle first puts the touching
    // point straight away from the second centre (p - r2 is 0 there).
    double den = p - r2;
    double ang = den > 0 ? 2 * std::atan(std::sqrt(q) / den) : pie;
    ux /= d;
    uy /= d;
    double along = r1 * std::cos(ang), off = r1 * std::sin(ang);
    double mx = cx1 + ux * along, my = cy1 + uy * along;
    objintr[0] = {mx - uy * off, my + ux * off};
    objintr[1] = {mx + uy * off, my - ux * off};
    return 2;
}

struct Ellipse2InFrame1 {
    double ex, ey, a1, b1, a2, b2, cr, sr;
    void point(double t, double* x, double* y) const {
        double c = std::cos(t), s = std::sin(t);
        *x = ex + a2 * cr * c - b2 * sr * s;
        *y = ey + a2 * sr * c + b2 * cr * s;
    }
    double residual(double t) const {
        double x, y;
        point(t, &x, &y);
        return b1 * b1 * x * x + a1 * a1 * y * y - (a1 * b1) * (a1 * b1);
    }
};

int finish_poly(int k, std::int16_t* count) {
    if (k >= 1 && k < objintr_size) objintr[k] = objintr[k - 1];
    if (count) *count = static_cast<std::int16_t>(k);
    return k > 0;
}

// Vertices of a polyline given as n doubles; a malformed array has none.
int poly_points(const double* poly, int n) {
    return poly && n > 0 ? n / 2 : 0;
}

}  // namespace

double sq(double v) {
    return v * v;
}

int inline_boundries(double x, double y, double dx, double dy, double px, double py) {
    double off;
    if (std::fabs(dx) <= small_tol)
        off = px - x;
    else if (std::fabs(dy) <= small_tol)
        off = py - y;
    else
        off = (py - y) - (dy / dx) * (px - x);
    if (!(std::fabs(off) <= small_tol)) return 0;
    double xlo = std::min(x, x + dx) - small_tol, xhi = std::max(x, x + dx) + small_tol;
    double ylo = std::min(y, y + dy) - small_tol, yhi = std::max(y, y + dy) + small_tol;
    return px >= xlo && px <= xhi && py >= ylo && py <= yhi;
}

int arc_bounds(double start, double end, double angle, std::int16_t dir) {
    if (std::fabs(start - end) < small_tol) return 1;
    double lo = dir ? end : start;
    double hi = dir ? start : end;
    if (std::fabs(hi - lo) <= small_tol || std::fabs(angle - hi) <= small_tol ||
        std::fabs(angle - lo) <= small_tol)
        return 1;
    if (hi > lo) return lo - small_tol <= angle && angle <= hi + small_tol;
    return angle < hi - small_tol || angle > lo + small_tol;
}

double get_angle_diff(double a, double b, std::int16_t dir) {
    if (std::fabs(a - b) < small_tol) return r_zero;
    return dir ? adjust_rotation(a - b) : adjust_rotation(b - a);
}

int line_intersect(double x1, double y1, double dx1, double dy1,
                   double x2, double y2, double dx2, double dy2,
                   std::int16_t* count, std::int16_t bounded) {
    if (!count) return 0;
    double x, y;
    if (!intersect(x1, y1, dx1, dy1, x2, y2, dx2, dy2, &x, &y, 0, 0)) return 0;
    if (!finite_point(x, y)) return 0;
    if (bounded && !(inline_boundries(x1, y1, dx1, dy1, x, y) && inline_boundries(x2, y2, dx2, dy2, x, y)))
        return 0;
    int n = clamped(count);
    if (n >= objintr_size) return 1;
    objintr[n] = {x, y};
    *count = static_cast<std::int16_t>(n + 1);
    return 1;
}

void order_objintr(double cx, double cy, double a, double b, double rotation, double start,
                   std::int16_t dir, std::int16_t* count) {
    if (!count) return;
    int n = clamped(count);
    IntrPoint copy[objintr_size];
    std::copy(objintr, objintr + n, copy);
    double keys[objintr_size];
    int stored = 0;
    for (int i = 0; i < n; ++i) {
        double key = get_angle_diff(start, eccentric_angle(cx, cy, a, b, rotation, copy[i].x, copy[i].y), dir);
        order_arcpts(copy[i], key, keys, stored);
    }
    if (stored >= 1 && stored < objintr_size) objintr[stored] = objintr[stored - 1];
    *count = static_cast<std::int16_t>(stored);
}

int arc_line_intersect(double cx, double cy, double a, double b, double start, double end,
                       double rotation, std::int16_t dir,
                       double x, double y, double dx, double dy,
                       std::int16_t* count, std::int16_t bounded) {
    if (!count) return 0;
    LineEllipse le;
    if (!get_al_objintr(cx, cy, a, b, rotation, x, y, dx, dy, le)) return 0;
    if (get_angle_diff(start, le.angle[0], dir) > get_angle_diff(start, le.angle[1], dir)) {
        std::swap(le.p[0], le.p[1]);
        std::swap(le.angle[0], le.angle[1]);
    }
    int n = clamped(count);
    for (int i = 0; i < 2; ++i) {
        bool keep = !bounded || (inline_boundries(x, y, dx, dy, le.p[i].x, le.p[i].y) &&
                                 arc_bounds(start, end, le.angle[i], dir));
        if (keep && n < objintr_size) objintr[n++] = le.p[i];
    }
    *count = static_cast<std::int16_t>(n);
    order_objintr(cx, cy, a, b, rotation, start, dir, count);
    return 1;
}

int ar_int(double cx1, double cy1, double a1, double b1, double rotation1,
           double cx2, double cy2, double a2, double b2, double rotation2,
           std::int16_t* count) {
    int found = 0;
    if (!real_curve(cx1, cy1, a1, b1, rotation1) || !real_curve(cx2, cy2, a2, b2, rotation2)) {
        if (count) *count = 0;
        return 0;
    }
    Ellipse2InFrame1 e;
    rotate_cr(cx2 - cx1, cy2 - cy1, &e.ex, &e.ey, -rotation1);
    e.a1 = a1;
    e.b1 = b1;
    e.a2 = a2;
    e.b2 = b2;
    e.cr = std::cos(rotation2 - rotation1);
    e.sr = std::sin(rotation2 - rotation1);

    int brackets[max_brackets];
    int nb = 0;
    double prev = e.residual(0);
    for (int i = 1; i <= solver_steps && nb < max_brackets; ++i) {
        double f = e.residual(two_pie * i / solver_steps);
        if (prev * f <= 0) brackets[nb++] = i - 1;
        prev = f;
    }
    for (int k = 0; k < nb; ++k) {
        double lo = two_pie * brackets[k] / solver_steps;
        double hi = two_pie * (brackets[k] + 1) / solver_steps;
        double flo = e.residual(lo);
        int rounds = 0;
        while (std::fabs(lo - hi) > 1e-6 && rounds < max_rounds) {
            double mid = (lo + hi) / 2;
            double fmid = e.residual(mid);
            if (flo * fmid <= 0) {
                hi = mid;
            } else {
                lo = mid;
                flo = fmid;
            }
            ++rounds;
        }
        if (rounds >= max_rounds) continue;
        // new_answer: back into the drawing, dropped when already found.
        double fx, fy, rx, ry;
        e.point(lo, &fx, &fy);
        rotate_cr(fx, fy, &rx, &ry, rotation1);
        IntrPoint p{rx + cx1, ry + cy1};
        bool known = false;
        for (int j = 0; j < found && !known; ++j)
            known = std::fabs(p.x - objintr[j].x) + std::fabs(p.y - objintr[j].y) < 1e-5;
        if (!known && found < objintr_size && finite_point(p.x, p.y)) objintr[found++] = p;
    }
    if (count) *count = static_cast<std::int16_t>(found);
    return found > 0;
}

int arcs_intersect(double cx1, double cy1, double a1, double b1, double start1, double end1,
                   double rotation1, std::int16_t dir1,
                   double cx2, double cy2, double a2, double b2, double start2, double end2,
                   double rotation2, std::int16_t dir2,
                   double /*px*/, double /*py*/, std::int16_t* count, std::int16_t bounded) {
    if (!count) return 0;
    bool circle1 = std::fabs(a1 - b1) <= small_tol;
    bool circle2 = std::fabs(a2 - b2) <= small_tol;
    std::int16_t n = 0;
    if (circle1 && circle2)
        n = static_cast<std::int16_t>(get_ars_circles(cx1, cy1, a1, cx2, cy2, a2));
    else if (!circle2)
        ar_int(cx1, cy1, a1, b1, rotation1, cx2, cy2, a2, b2, rotation2, &n);
    else
        ar_int(cx2, cy2, a2, b2, rotation2, cx1, cy1, a1, b1, rotation1, &n);
    int found = n > 0;
    if (bounded) {
        int kept = 0;
        for (int i = 0; i < n; ++i) {
            IntrPoint p = objintr[i];
            if (arc_bounds(start1, end1, eccentric_angle(cx1, cy1, a1, b1, rotation1, p.x, p.y), dir1) &&
                arc_bounds(start2, end2, eccentric_angle(cx2, cy2, a2, b2, rotation2, p.x, p.y), dir2))
                objintr[kept++] = p;
        }
        n = static_cast<std::int16_t>(kept);
    }
    *count = n;
    order_objintr(cx1, cy1, a1, b1, rotation1, start1, dir1, count);
    return found;
}

int line_poly_intersect(double x, double y, double dx, double dy,
                        const double* poly, int n, std::int16_t* count, std::int16_t bounded) {
    std::int16_t k = 0;
    int pts = poly_points(poly, n);
    for (int i = 0; i + 1 < pts; ++i) {
        const double* v = poly + 2 * i;
        line_intersect(x, y, dx, dy, v[0], v[1], v[2] - v[0], v[3] - v[1], &k, bounded);
    }
    return finish_poly(k, count);
}

int arc_poly_intersect(double cx, double cy, double a, double b, double start, double end,
                       double rotation, std::int16_t dir,
                       const double* poly, int n, std::int16_t* count, std::int16_t bounded) {
    std::int16_t k = 0;
    int pts = poly_points(poly, n);
    for (int i = 0; i + 1 < pts; ++i) {
        const double* v = poly + 2 * i;
        arc_line_intersect(cx, cy, a, b, start, end, rotation, dir, v[0], v[1], v[2] - v[0],
                           v[3] - v[1], &k, bounded);
    }
    return finish_poly(k, count);
}

int poly_poly_intersect(const double* poly1, int n, const double* poly2, int m,
                        std::int16_t* count) {
    std::int16_t k = 0;
    int pts1 = poly_points(poly1, n), pts2 = poly_points(poly2, m);
    for (int i = 0; i + 1 < pts1; ++i) {
        const double* v = poly1 + 2 * i;
        for (int j = 0; j + 1 < pts2; ++j) {
            const double* w = poly2 + 2 * j;
            line_intersect(v[0], v[1], v[2] - v[0], v[3] - v[1], w[0], w[1], w[2] - w[0],
                           w[3] - w[1], &k, 1);
        }
    }
    return finish_poly(k, count);
}

}  // namespace drav
