// The segment in hand recomputed from its pivot and the polled point: the
// restraint, the three lines, the corner with the segment before, and the
// shared helpers for the lines between the faces.
#include <algorithm>
#include <cmath>

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "commands/draw/draw_frame.h"
#include "commands/draw/wall.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"

namespace drav {

namespace {

double cross(double ax, double ay, double bx, double by) { return ax * by - ay * bx; }
int sgn(double v) { return v >= 0 ? 1 : -1; }

WallLine* lines_of(WallNodeRec& n, int k) { return k == 0 ? &n.centre : k == 1 ? &n.left : &n.right; }

// The previous segment mitred with the one in hand, from the unmitred
// corner points, so that repeated polls never accumulate.
void mitre(WallNodeRec& p, WallNodeRec& c) {
    double vx = 0, vy = 0;
    rotate_cr(tx0 - p.centre.x1, ty0 - p.centre.y1, &vx, &vy, half_pie);
    const double tx[3] = {tx0, tx1, tx2}, ty[3] = {ty0, ty1, ty2};
    double px[3], py[3];
    for (int k = 0; k < 3; ++k) {
        const WallLine& a = *lines_of(p, k);
        const WallLine& b = *lines_of(c, k);
        const double dx = tx[k] - a.x1, dy = ty[k] - a.y1;
        px[k] = tx[k];
        py[k] = ty[k];
        if (!intersect(a.x1, a.y1, dx, dy, b.x1, b.y1, b.x2 - b.x1, b.y2 - b.y1, &px[k], &py[k], 0, 0))
            intersect(a.x1, a.y1, dx, dy, c.pivot_x, c.pivot_y, vx, vy, &px[k], &py[k], 0, 0);
    }
    for (int k = 0; k < 3; ++k) {
        lines_of(p, k)->x2 = lines_of(c, k)->x1 = px[k];
        lines_of(p, k)->y2 = lines_of(c, k)->y1 = py[k];
    }
}

// The previous segment ends square on the perpendicular through the pivot.
void square_off(WallNodeRec& p, const WallNodeRec& c) {
    double vx = 0, vy = 0;
    rotate_cr(p.centre.x2 - p.centre.x1, p.centre.y2 - p.centre.y1, &vx, &vy, half_pie);
    for (int k = 0; k < 3; ++k) {
        WallLine& a = *lines_of(p, k);
        double x = a.x2, y = a.y2;
        if (intersect(a.x1, a.y1, a.x2 - a.x1, a.y2 - a.y1, c.pivot_x, c.pivot_y, vx, vy, &x, &y, 0, 0)) {
            a.x2 = x;
            a.y2 = y;
        }
    }
}

}  // namespace

bool wall_offsets(int pivot, int hand, double w, double* off, double* span, int* left_on, int* right_on) {
    const double h = w / r_two;
    static const double by_pivot[3][3] = {{0, 1, -1}, {-1, 0, -2}, {1, 2, 0}};  // in half widths
    if (pivot < 0 || pivot > 2) return false;
    *off = (hand >= 0 && hand <= 2) ? by_pivot[pivot][hand] * h : 0;
    *span = pivot == 0 ? h : w;
    *left_on = pivot != 2;
    *right_on = pivot != 1;
    return true;
}

void wall_lin_compute(double x, double y) {
    WallNodeRec& n = *cw;
    n.flags = static_cast<std::uint16_t>((n.flags & ~wall_colour_mask) | (obj_colour(info) & wall_colour_mask));
    n.style = info.b[obj::style];
    n.width = info.b[obj::width];
    n.level = info.b[obj::level];
    // The band in hand must be drawn again exactly as it was to be undrawn.
    loop_blink_off();
    double dx = x - n.pivot_x, dy = y - n.pivot_y;
    if (n.lock == 1 || n.lock == 2) {
        project_on(cur_rot, &dx, &dy);
    } else if (wallopts->lock_mode == 3) {
        project_on(stepped_direction(dx, dy, cur_rot), &dx, &dy);
    }
    double off = 0, span = 0;
    int left_on = 0, right_on = 0;
    if (wall_offsets(wallopts->mline_opt4, wallopts->mline_opt3, n.wall_w, &off, &span, &left_on, &right_on)) {
        if (n.lock >= 1 && n.lock <= 3) off = 0;
        wallinfo(dx, dy, off, span, left_on, right_on);
    }
    adjustprevious();
    if (n.bcut_index != 0)
        adjbtrim(&n.left.x1, &n.left.y1, &n.right.x1, &n.right.y1, n.left.x2 - n.left.x1, n.left.y2 - n.left.y1,
                 n.right.x2 - n.right.x1, n.right.y2 - n.right.y1);
    if (accepted)
        calcwall(x, y);
    else
        loop_blink_on();
}

void wallinfo(double dx, double dy, double off, double span, int left_on, int right_on) {
    WallNodeRec& n = *cw;
    const double len = distance(dx, dy);
    if (len == 0) return;
    // The pick rule keeps the point a wall width from the pivot; a handle
    // offset beyond the length would give no real direction.
    off = std::clamp(off, -len, len);
    const double along = std::sqrt(len * len - off * off);
    const double beta = std::asin(off / len);
    const double a = adjust_rotation(get_radangle(dx, dy) + beta);
    const double px = span * std::cos(a + half_pie), py = span * std::sin(a + half_pie);
    n.left.x1 = n.right.x1 = n.pivot_x;
    n.left.y1 = n.right.y1 = n.pivot_y;
    if (left_on) {
        n.left.x1 += px;
        n.left.y1 += py;
    }
    if (right_on) {
        n.right.x1 -= px;
        n.right.y1 -= py;
    }
    n.centre.x1 = (n.left.x1 + n.right.x1) / r_two;
    n.centre.y1 = (n.left.y1 + n.right.y1) / r_two;
    const double qx = along * std::cos(a), qy = along * std::sin(a);
    n.left.x2 = n.left.x1 + qx;
    n.left.y2 = n.left.y1 + qy;
    n.right.x2 = n.right.x1 + qx;
    n.right.y2 = n.right.y1 + qy;
    n.centre.x2 = (n.left.x2 + n.right.x2) / r_two;
    n.centre.y2 = (n.left.y2 + n.right.y2) / r_two;
}

void calcoff(double x1, double y1, double x2, double y2, double t, double* x, double* y) {
    const double a = get_radangle(x2 - x1, y2 - y1);
    const double len = distance(x2 - x1, y2 - y1) * t;
    double dx = 0, dy = 0;
    calc_sides(a, len, &dx, &dy);
    *x = x1 + dx;
    *y = y1 + dy;
}

int countlines() {
    const WallNodeRec& n = *cw;
    return n.count + ((n.caps == 1 || n.caps == 3) ? 1 : 0) + ((n.caps == 2 || n.caps == 3) ? 1 : 0);
}

int valid_wall() {
    const WallLine& c = cw->centre;
    return (std::fabs(c.x2 - c.x1) <= small_tol && std::fabs(c.y2 - c.y1) <= small_tol) ? 0 : 1;
}

WallLine inner_line(const WallNodeRec& n, int i) {
    const double t = static_cast<double>(i) / (n.count - 1);
    WallLine l{};
    calcoff(n.left.x1, n.left.y1, n.right.x1, n.right.y1, t, &l.x1, &l.y1);
    calcoff(n.left.x2, n.left.y2, n.right.x2, n.right.y2, t, &l.x2, &l.y2);
    return l;
}

int band_lines(const WallNodeRec& n, WallLine* out) {
    int k = 0;
    if (n.caps == 1 || n.caps == 3) out[k++] = WallLine{n.left.x1, n.left.y1, n.right.x1, n.right.y1};
    out[k++] = n.left;
    for (int i = 1; i <= n.count - 2; ++i) out[k++] = inner_line(n, i);
    out[k++] = n.right;
    if (n.caps == 2 || n.caps == 3) out[k++] = WallLine{n.left.x2, n.left.y2, n.right.x2, n.right.y2};
    return k;
}

void adjustprevious() {
    const std::uint16_t was = drawtoscreen;
    drawtoscreen = 1;
    pw = cw->prev;
    if (pw && !(pw->flags & wall_detached_bit)) {
        showwall(mode_erase, pw, cw, btinfo);
        mitre(*pw, *cw);
        showwall(mode_draw, pw, cw, btinfo);
    }
    drawtoscreen = was;
}

void trimprevious() {
    cwinfo = info;
    const std::uint16_t was = drawtoscreen;
    drawtoscreen = 1;
    // A detached segment before is a wall of its own: it never ends at this pivot.
    if (cw->prev && !(cw->prev->flags & wall_detached_bit)) {
        pw = cw->prev;
        cur_stop();
        showwall(mode_erase, pw, cw, btinfo);
        square_off(*pw, *cw);
        chgeprevious();
        cur_go();
    }
    get_info(number_of_objects);
    info = cwinfo;
    drawtoscreen = was;
}

int kept_pieces(double lx, double ly, double dlx, double dly, double rx, double ry, double drx, double dry,
                const WallLine& s, WallLine* piece1, WallLine* piece2) {
    const int b1 = sgn(cross(dlx, dly, s.x1 - lx, s.y1 - ly)), b2 = sgn(cross(dlx, dly, s.x2 - lx, s.y2 - ly));
    const int c1 = sgn(cross(drx, dry, s.x1 - rx, s.y1 - ry)), c2 = sgn(cross(drx, dry, s.x2 - rx, s.y2 - ry));
    const int bc = sgn(cross(dlx, dly, rx - lx, ry - ly)), cb = sgn(cross(drx, dry, lx - rx, ly - ry));
    *piece1 = WallLine{lx, ly, lx, ly};
    *piece2 = WallLine{rx, ry, rx, ry};
    const auto end_at = [](WallLine* p, double x, double y) {
        p->x2 = x;
        p->y2 = y;
    };
    if (b1 != b2 && c1 != c2) {
        end_at(piece1, bc == b2 ? s.x1 : s.x2, bc == b2 ? s.y1 : s.y2);
        end_at(piece2, bc == b2 ? s.x2 : s.x1, bc == b2 ? s.y2 : s.y1);
        return 3;
    }
    if (b1 != b2) {
        end_at(piece1, bc == b2 ? s.x1 : s.x2, bc == b2 ? s.y1 : s.y2);
        return 1;
    }
    if (c1 != c2) {
        end_at(piece2, cb == c2 ? s.x1 : s.x2, cb == c2 ? s.y1 : s.y2);
        return 2;
    }
    if (b2 != c1) {
        end_at(piece1, rx, ry);
        return 1;
    }
    if (bc == b2) {
        // Beyond the right face: on to the end farther from it.
        const double d1 = std::fabs(cross(drx, dry, s.x1 - rx, s.y1 - ry)),
                     d2 = std::fabs(cross(drx, dry, s.x2 - rx, s.y2 - ry));
        end_at(piece2, d1 > d2 ? s.x1 : s.x2, d1 > d2 ? s.y1 : s.y2);
        return 2;
    }
    {
        const double d1 = std::fabs(cross(dlx, dly, s.x1 - lx, s.y1 - ly)),
                     d2 = std::fabs(cross(dlx, dly, s.x2 - lx, s.y2 - ly));
        end_at(piece1, d1 > d2 ? s.x1 : s.x2, d1 > d2 ? s.y1 : s.y2);
    }
    return 1;
}

}  // namespace drav
