#include "commands/draw/bspline_spans.h"

#include <cmath>

#include "commands/draw/bspline.h"
#include "commands/draw/draw_frame.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"

namespace drav {

double q[8] = {};

namespace {

// Below this a direction has no usable length: it is never divided by.
constexpr double no_length = 1e-300;

// (x, y) scaled to unit length; false (and untouched) when it has none.
bool unit(double* x, double* y) {
    const double d = std::hypot(*x, *y);
    if (!(d > no_length) || !std::isfinite(d)) return false;
    *x /= d;
    *y /= d;
    return true;
}

// The control point at (px, py) along the unit direction t for a chord
// (vx, vy) of length len.
void control_along(int slot, double px, double py, double tx, double ty, double vx, double vy, double len) {
    const double k = len / dot_prod(tx, ty, vx, vy);
    q[slot] = px + k * tx;
    q[slot + 1] = py + k * ty;
}

// E mirrored in the normal of D: the reflection that makes a span
// symmetric about the perpendicular bisector of its chord.
void mirrored(double ex, double ey, double dx, double dy, double* mx, double* my) {
    const double d2 = dx * dx + dy * dy;
    *mx = (ex * (dy * dy - dx * dx) - 2 * ey * dx * dy) / d2;
    *my = (ey * (dx * dx - dy * dy) - 2 * ex * dx * dy) / d2;
}

// The end control q[slot], q[slot + 1] at `end` by the two plain choices:
// 3, a third of the way along the chord (dx, dy); 4, the span's other
// control q[other], taken from its point `nb`, mirrored.
void plain_end_control(int opt, int slot, int other, const SplinePointRec& end, const SplinePointRec& nb, double dx,
                       double dy) {
    double mx = dx / 3.0, my = dy / 3.0;
    if (opt == 4) mirrored(q[other] - nb.x, q[other + 1] - nb.y, dx, dy, &mx, &my);
    q[slot] = end.x + mx;
    q[slot + 1] = end.y + my;
}

// The span's record fields from q.
void write_span() {
    set_init(q[0], q[1], info);
    set_rec_f64(info, bez::c1x, q[2] - q[0]);
    set_rec_f64(info, bez::c1y, q[3] - q[1]);
    set_rec_f64(info, bez::c2x, q[4] - q[0]);
    set_rec_f64(info, bez::c2y, q[5] - q[1]);
    set_rec_f64(info, bez::endx, q[6] - q[0]);
    set_rec_f64(info, bez::endy, q[7] - q[1]);
}

}  // namespace

double lgth(double x1, double x2, double y1, double y2) { return std::hypot(x2 - x1, y2 - y1); }

double dot_prod(double ux, double uy, double vx, double vy) {
    const double v = std::hypot(vx, vy);
    if (!(v > no_length)) return 2.5;
    return ((ux * vx + uy * vy) / v) / r_two + 2.5;
}

int cr_pr_ck(double ax, double ay, double bx, double by, double cx, double cy) {
    return (bx * ay - by * ax) * (cx * ay - cy * ax) > 0 ? 1 : 0;
}

int set_pts(double x0, double x1, double x2, double x3, double y0, double y1, double y2, double y3, double tx,
            double ty, int use_t) {
    const double len = lgth(x1, x2, y1, y2);
    if (!(len > 0)) return 0;
    q[0] = x1;
    q[1] = y1;
    q[6] = x2;
    q[7] = y2;
    const double d1 = lgth(x0, x2, y0, y2), d2 = lgth(x1, x3, y1, y3);
    if (d1 >= small_tol) control_along(2, x1, y1, (x2 - x0) / d1, (y2 - y0) / d1, x2 - x1, y2 - y1, len);
    if (d2 >= small_tol) control_along(4, x2, y2, (x1 - x3) / d2, (y1 - y3) / d2, x1 - x2, y1 - y2, len);
    if (d1 < small_tol) {
        // The curve turns back to P0 at P2: the direction it came with, or
        // square to P0-P1 on the side of the other control point.
        double ux = tx, uy = ty;
        if (use_t && unit(&ux, &uy)) {
            control_along(2, x1, y1, ux, uy, x2 - x1, y2 - y1, len);
        } else {
            ux = x1 - x0;
            uy = y1 - y0;
            // P0 on P1 as well: the chord itself gives the line.
            if (!unit(&ux, &uy)) {
                ux = (x1 - x2) / len;
                uy = (y1 - y2) / len;
            }
            const double k = len / dot_prod(ux, uy, x2 - x1, y2 - y1);
            q[2] = x1 + k * uy;
            q[3] = y1 - k * ux;
            if (!cr_pr_ck(x1 - x0, y1 - y0, q[2] - x1, q[3] - y1, q[4] - x2, q[5] - y2)) {
                q[2] = x1 - k * uy;
                q[3] = y1 + k * ux;
            }
        }
    }
    if (d2 < small_tol) {
        double ux = x2 - x3, uy = y2 - y3;
        if (!unit(&ux, &uy)) {
            ux = (x2 - x1) / len;
            uy = (y2 - y1) / len;
        }
        const double k = len / dot_prod(ux, uy, x1 - x2, y1 - y2);
        q[4] = x2 - k * uy;
        q[5] = y2 + k * ux;
        if (!cr_pr_ck(x2 - x3, y2 - y3, q[2] - x1, q[3] - y1, q[4] - x2, q[5] - y2)) {
            q[4] = x2 + k * uy;
            q[5] = y2 - k * ux;
        }
    }
    return 1;
}

int clamp_first_bezier() {
    SplinePointRec *p1 = first_bez, *p2 = p1 ? p1->next : nullptr, *p3 = p2 ? p2->next : nullptr;
    if (!p3 || !upbez) return 0;
    if (!set_pts(upbez->x, p1->x, p2->x, p3->x, upbez->y, p1->y, p2->y, p3->y, 0, 0, 0)) return 0;
    const double dx = p2->x - p1->x, dy = p2->y - p1->y;
    const double len = std::hypot(dx, dy);
    const int opt = spline_opts ? spline_opts->bez_opt3 : 0;
    switch (opt) {
    case 3:
    case 4: plain_end_control(opt, 2, 4, *p1, *p2, dx, dy); break;
    case 1:
    case 2: {
        double tx = upbez->x - p1->x, ty = upbez->y - p1->y;
        if (lgth(p1->x, upbez->x, p1->y, upbez->y) < small_tol || !unit(&tx, &ty)) {
            // A closed curve: the tangent line at the closing point runs
            // through its neighbours, toward the second point.
            const SplinePointRec* pb = upbez->prev;
            tx = pb ? p2->x - pb->x : 0;
            ty = pb ? p2->y - pb->y : 0;
            if (!pb || lgth(pb->x, p2->x, pb->y, p2->y) < small_tol || !unit(&tx, &ty)) {
                tx = dy / len;
                ty = -dx / len;
            }
        }
        control_along(2, p1->x, p1->y, tx, ty, dx, dy, len);
        break;
    }
    default:
        break;
    }
    return 1;
}

int clamp_last_bezier() {
    SplinePointRec* pn = last_bez;
    SplinePointRec* pn1 = pn ? pn->prev : nullptr;
    SplinePointRec* pn2 = pn1 ? pn1->prev : nullptr;
    SplinePointRec *first = first_bez, *second = first ? first->next : nullptr;
    if (!pn2 || !second) return 0;
    if (!set_pts(pn2->x, pn1->x, pn->x, first->x, pn2->y, pn1->y, pn->y, first->y, pn->tx, pn->ty, 1)) return 0;
    const double dx = pn1->x - pn->x, dy = pn1->y - pn->y;
    const double len = std::hypot(dx, dy);
    const int opt = spline_opts ? spline_opts->bez_opt4 : 0;
    switch (opt) {
    case 3:
    case 4: plain_end_control(opt, 4, 2, *pn, *pn1, dx, dy); break;
    case 1:
    case 2: {
        double tx = first->x - pn->x, ty = first->y - pn->y;
        if (lgth(pn->x, first->x, pn->y, first->y) < small_tol || !unit(&tx, &ty)) {
            // Closed: the same line as the first span's, toward the point
            // before the closing point.
            tx = pn1->x - second->x;
            ty = pn1->y - second->y;
            if (lgth(second->x, pn1->x, second->y, pn1->y) < small_tol || !unit(&tx, &ty)) {
                tx = -(second->y - first->y);
                ty = second->x - first->x;
                if (!unit(&tx, &ty)) {
                    tx = -dy / len;
                    ty = dx / len;
                }
            }
        }
        control_along(4, pn->x, pn->y, tx, ty, dx, dy, len);
        break;
    }
    default:
        break;
    }
    return 1;
}

void draw_qbezier(int in_place) {
    if (in_place) {
        get_info(bezstart);
        write_span();
        modified = 1;
        stop_show_go(1, &info);
        put_on_screen(bezstart, clipped);
        return;
    }
    get_info(number_of_objects);
    zero_info(info);
    write_span();
    if (spline_opts) begin_object(ok_bezier, *spline_opts, true);
    store_piece();
}

void temp_bezier() {
    SplinePointRec* pn = last_bez;
    SplinePointRec* pn1 = pn ? pn->prev : nullptr;
    SplinePointRec* pn2 = pn1 ? pn1->prev : nullptr;
    SplinePointRec* pn3 = pn2 ? pn2->prev : nullptr;
    if (!pn3) return;
    if (!set_pts(pn3->x, pn2->x, pn1->x, pn->x, pn3->y, pn2->y, pn1->y, pn->y, pn1->tx, pn1->ty, 1)) return;
    // The direction in which the curve leaves the span's end: the next
    // span's start when it turns straight back.
    pn->tx = q[6] - q[4];
    pn->ty = q[7] - q[5];
    draw_qbezier(0);
}

void draw_first_bezier(int final_span, int in_place) {
    if (final_span) upbez = last_bez;
    if (!clamp_first_bezier()) return;
    if (!final_span) mark_point(first_bez, false);
    draw_qbezier(in_place);
}

void draw_last_bezier() {
    if (clamp_last_bezier()) draw_qbezier(0);
}

void final_bezier() {
    setdrawmode(1);
    draw_first_bezier(1, 1);
    draw_last_bezier();
}

void undraw_first_bezier(int which) {
    mark_point(first_bez, false);
    undraw_qbezier(which);
}

void undraw_qbezier(int which) {
    if (which) {
        get_info(bezstart);
        stop_show_go(2, &info);
        return;
    }
    erase_one_object(static_cast<std::int16_t>(number_of_objects - 1), save_number, 0);
}

}  // namespace drav
