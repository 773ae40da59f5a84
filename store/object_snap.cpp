#include "store/object_snap.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "store/geometry.h"
#include "store/hooks.h"
#include "store/intersections.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"

namespace drav {

namespace {

ObjectRec snap_obj_store{};
SnapHooks g_hooks;

// The outline collected last by setup_poly.
constexpr int outline_max = 500;
double g_outline[outline_max];

using Pt = SnapPointListRec::Pt;

void pts(SnapPointListRec& list, int i, double x, double y) {
    if (i < 1 || i > 31) return;
    list.pts[i] = {x, y};
    list.count = static_cast<std::int16_t>(std::max<int>(list.count, i + 1));
}

void append(SnapPointListRec& list, double x, double y) {
    if (list.count < 32) pts(list, list.count, x, y);
}

double rx(const ObjectRec& r) { return rec_f64(r, obj::ref_x); }
double ry(const ObjectRec& r) { return rec_f64(r, obj::ref_y); }
double rot(const ObjectRec& r) { return rec_f64(r, obj::rotation); }

Pt turned(const ObjectRec& r, double x, double y) {
    Pt p{};
    rotate_cr(x, y, &p.x, &p.y, rot(r));
    return p;
}

bool is_polygon(const ObjectRec& r) { return (rec_u16(r, ell::flags) & ell::polygon) != 0; }
bool small_polygon(const ObjectRec& r) { return is_polygon(r) && rec_i16(r, ell::sides) <= 30; }

// Appends the outline's vertices as drawn, without the closing one.
void all_points(const ObjectRec& r, SnapPointListRec& list) {
    int n = 0;
    const double* p = setup_poly(r, &n);
    for (int i = 0; i + 1 < n - 2 && list.count < 32; i += 2) append(list, p[i], p[i + 1]);
}

void point_pts(const ObjectRec& r, SnapPointListRec& list) { append(list, rx(r), ry(r)); }

void line_pts(const ObjectRec& r, SnapPointListRec& list) {
    const double dx = rec_f64(r, line::dx), dy = rec_f64(r, line::dy);
    append(list, rx(r), ry(r));
    append(list, rx(r) + dx, ry(r) + dy);
    append(list, rx(r) + dx / 2, ry(r) + dy / 2);
}

void rect_pts(const ObjectRec& r, SnapPointListRec& list) {
    all_points(r, list);
    const Pt d = turned(r, rec_f64(r, rect::width), rec_f64(r, rect::height));
    append(list, rx(r) + d.x / 2, ry(r) + d.y / 2);
}

void ell_pts(const ObjectRec& r, SnapPointListRec& list) {
    const double cx = rx(r), cy = ry(r);
    append(list, cx, cy);
    if (small_polygon(r)) {
        all_points(r, list);
        return;
    }
    const double r1 = rec_f64(r, ell::radius1), r2 = rec_f64(r, ell::radius2);
    const double b = rec_f64(r, ell::begin), e = rec_f64(r, ell::end);
    if (b != e) {
        const Pt s = turned(r, r1 * std::cos(b), r2 * std::sin(b));
        const Pt t = turned(r, r1 * std::cos(e), r2 * std::sin(e));
        append(list, cx + s.x, cy + s.y);
        append(list, cx + t.x, cy + t.y);
        return;
    }
    const double c45 = std::cos(quart_pie), s45 = std::sin(quart_pie);
    Pt a{r1, 0}, bb{0, r2}, ee{r1 * c45, r2 * s45}, d{-r1 * c45, r2 * s45};
    // A circle looks the same at any rotation; its points stay on the axes.
    if (r1 != r2) {
        a = turned(r, a.x, a.y);
        bb = turned(r, bb.x, bb.y);
        ee = turned(r, ee.x, ee.y);
        d = turned(r, d.x, d.y);
    }
    for (const Pt& v : {a, ee, bb, d}) append(list, cx + v.x, cy + v.y);
    for (const Pt& v : {a, ee, bb, d}) append(list, cx - v.x, cy - v.y);
}

void words_pts(const ObjectRec& r, SnapPointListRec& list) {
    const int chars = (rec_u16(r, text::info) >> 1) & 127;
    const double w = rec_f32(r, text::char_width), h = rec_f32(r, text::char_height);
    const double width = w * (1.5 * chars - 0.5);
    const Pt R = turned(r, width, 0), U = turned(r, 0, h);
    const double x = rx(r), y = ry(r);
    append(list, x, y);
    append(list, x + R.x, y + R.y);
    append(list, x + R.x + U.x, y + R.y + U.y);
    append(list, x + U.x, y + U.y);
    append(list, x + R.x / 2, y + R.y / 2);
    append(list, x + R.x + U.x / 2, y + R.y + U.y / 2);
    append(list, x + U.x + R.x / 2, y + U.y + R.y / 2);
    append(list, x + U.x / 2, y + U.y / 2);
    append(list, x + R.x / 2 + U.x / 2, y + R.y / 2 + U.y / 2);
}

void lindim_pts(const ObjectRec& r, SnapPointListRec& list) {
    const Pt s = turned(r, rec_f64(r, ldim::second_x), rec_f64(r, ldim::second_y));
    append(list, rx(r), ry(r));
    append(list, rx(r) + s.x, ry(r) + s.y);
}

void bezier_pts(const ObjectRec& r, SnapPointListRec& list) {
    append(list, rx(r), ry(r));
    append(list, rx(r) + rec_f64(r, bez::endx), ry(r) + rec_f64(r, bez::endy));
}

void angdim_pts(const ObjectRec& r, SnapPointListRec& list) {
    const Pt s = turned(r, rec_f64(r, adim::second_x), rec_f64(r, adim::second_y));
    const Pt v = turned(r, rec_f64(r, adim::vertex_dist), 0);
    append(list, rx(r), ry(r));
    append(list, rx(r) + s.x, ry(r) + s.y);
    append(list, rx(r) - v.x, ry(r) - v.y);
}

}  // namespace

std::uint16_t snap_eqn = 0;
ObjectRec* snap_obj = &snap_obj_store;
SnapPointListRec msnap_pts;
std::int16_t snapintr = 0;
std::int16_t snapnum = 8;
std::uint16_t movehandle = 0;

void set_snap_display(int (*collect)(const ObjectRec&, double*, int), int (*list_available)()) {
    g_hooks.collect = collect;
    g_hooks.list_available = list_available;
}

void set_snap_palette(void (*snap_item_moved)(int, int)) { g_hooks.snap_item_moved = snap_item_moved; }

void set_snap_finder(int (*find)(std::int16_t*, double, double, int)) { g_hooks.find_object = find; }

int snap_item_of_mode(int mode) {
    switch (mode) {
    case snap_fraction: return 6;
    case snap_increment: return 8;
    case snap_grid: return 9;
    default: return 0;
    }
}

void orgshift(double sx, double sy, double* ox, double* oy) {
    *ox = *oy = 0;
    if (!(swaper & sw_grid_from_origin)) return;
    const double ux = misc_defs.user_origin_x, uy = misc_defs.user_origin_y;
    if (sx != 0) *ox = ux - std::trunc(ux / sx) * sx;
    if (sy != 0) *oy = uy - std::trunc(uy / sy) * sy;
}

double snap_smallest_frac(double v) {
    switch (units_defs.units_code) {
    case 1:
    case 2: return real_round(v * 64) / 64;
    case 4:
    case 5: return real_round(v * 768) / 768;
    default: return v;
    }
}

namespace {

void snap_fraction_point(double* x, double* y) {
    double ox = 0, oy = 0;
    orgshift(1.0 / 64, 1.0 / 64, &ox, &oy);
    *x = snap_smallest_frac(*x - ox) + ox;
    *y = snap_smallest_frac(*y - oy) + oy;
}

// A spacing of zero (or one so small the division overflows) has no
// lattice: the point stays.
void snap_lattice(double* v, double s, double o) {
    if (s == 0) return;
    const double q = real_round((*v - o) / s) * s + o;
    if (std::isfinite(q)) *v = q;
}

}  // namespace

void snap_it(double* x, double* y) {
    if (!snap_on) return;
    switch (misc_defs.snap_mode) {
    case snap_fraction:
        snap_fraction_point(x, y);
        break;
    case snap_increment: {
        const double s = units_defs.increment;
        double ox = 0, oy = 0;
        orgshift(s, s, &ox, &oy);
        snap_lattice(x, s, ox);
        snap_lattice(y, s, oy);
        break;
    }
    case snap_grid: {
        const double gx = grid_data.x_spacing, gy = grid_data.y_spacing;
        if (gx == 0 || gy == 0) {
            snap_fraction_point(x, y);
            break;
        }
        double ox = 0, oy = 0;
        orgshift(gx, gy, &ox, &oy);
        snap_lattice(x, gx, ox);
        snap_lattice(y, gy, oy);
        break;
    }
    case snap_object: {
        const bool listed = g_hooks.list_available && g_hooks.list_available();
        if (snaprec < first_object_slot || (!get_on_screen(snaprec) && !listed)) {
            clear_object_snap();
            return;
        }
        const int kind = obj_kind(*snap_obj);
        if (snap_eqn && (kind == ok_line || kind == ok_rect || kind == ok_ellipse))
            snap_equation(*snap_obj, msnap_pts, x, y);
        else
            msnap_points(x, y, msnap_pts);
        break;
    }
    case snap_crossing:
        closest_pnt(x, y, snapintr);
        break;
    default: break;
    }
}

void msnap_points(double* x, double* y, const SnapPointListRec& list) {
    double best = 99999999.0;
    int at = 0;
    const int n = std::clamp<int>(list.count, 1, 32);
    for (int i = 1; i < n; ++i) {
        const double d = distance(list.pts[i].x - *x, list.pts[i].y - *y);
        if (d < best) {
            best = d;
            at = i;
        }
    }
    if (at == 0) return;
    *x = list.pts[at].x;
    *y = list.pts[at].y;
}

void closest_pnt(double* x, double* y, int n) {
    n = std::min(n, objintr_size);
    if (n <= 0) return;
    int at = 0;
    double best = distance(objintr[0].x - *x, objintr[0].y - *y);
    for (int i = 1; i < n; ++i) {
        const double d = distance(objintr[i].x - *x, objintr[i].y - *y);
        if (d < best) {
            best = d;
            at = i;
        }
    }
    *x = objintr[at].x;
    *y = objintr[at].y;
}

void line_eqn(const ObjectRec& record, double* x, double* y) {
    const double dx = rec_f64(record, line::dx), dy = rec_f64(record, line::dy);
    double ix = 0, iy = 0;
    if (intersect(rx(record), ry(record), dx, dy, *x, *y, -dy, dx, &ix, &iy, 0, 0)) {
        *x = ix;
        *y = iy;
    }
}

int snap_lines(int centre, int first, int last, double* x, double* y, const SnapPointListRec& list) {
    if (centre < 0 || centre > 31 || first < 1 || last > 31 || first > last) return 0;
    const Pt K = list.pts[centre];
    const double dx = *x - K.x, dy = *y - K.y;
    for (int i = first; i <= last; ++i) {
        const Pt a = list.pts[i];
        const Pt b = list.pts[i == last ? first : i + 1];
        const double ex = b.x - a.x, ey = b.y - a.y;
        double ix = 0, iy = 0;
        if (!intersect(a.x, a.y, ex, ey, K.x, K.y, dx, dy, &ix, &iy, 1, 0)) continue;
        const double towards = ex * dy - ey * dx;
        const double at = ex * (iy - K.y) - ey * (ix - K.x);
        if (sign(towards) == sign(at)) {
            *x = ix;
            *y = iy;
            return 1;
        }
    }
    return 0;
}

void ellipse_eqn(const ObjectRec& record, const SnapPointListRec& list, double* x, double* y) {
    if (small_polygon(record)) {
        snap_lines(1, 2, list.count - 1, x, y, list);
        return;
    }
    const double a = rec_f64(record, ell::radius1), b = rec_f64(record, ell::radius2);
    if (!(a > 0) || !(b > 0)) return;
    const double cx = rx(record), cy = ry(record);
    double u = 0, v = 0;
    rotate_cr(*x - cx, *y - cy, &u, &v, -rot(record));
    double X = 0, Y = 0;
    if (std::fabs(u) > small_tol) {
        const double m = v / u;
        const double k = m * m + b * b / (a * a);
        X = sign(u) * std::sqrt(4 * k * b * b) / (2 * k);
        Y = m * X;
    } else {
        Y = sign(v) * (b / a) * std::sqrt(a * a);
    }
    double px = 0, py = 0;
    rotate_cr(X, Y, &px, &py, rot(record));
    *x = cx + px;
    *y = cy + py;
}

void snap_equation(const ObjectRec& record, const SnapPointListRec& list, double* x, double* y) {
    switch (obj_kind(record)) {
    case ok_line: line_eqn(record, x, y); break;
    case ok_rect:
        // Corners in 1 to 4, the centre in 5.
        if (list.count == 6) snap_lines(5, 1, 4, x, y, list);
        break;
    case ok_ellipse: ellipse_eqn(record, list, x, y); break;
    default: break;
    }
}

int rect_or_poly(const ObjectRec& record) {
    const int k = obj_kind(record);
    return k == ok_rect || (k == ok_ellipse && is_polygon(record)) ? 1 : 0;
}

const double* setup_poly(const ObjectRec& record, int* n) {
    *n = 0;
    if (g_hooks.collect) *n = std::clamp(g_hooks.collect(record, g_outline, outline_max), 0, outline_max);
    return g_outline;
}

void info_setup_snap(ObjectRec& record, SnapPointListRec& list, double x, double y) {
    list.count = 1;
    list.pts[0] = {rx(record) + rec_f64(record, obj::handle_x), ry(record) + rec_f64(record, obj::handle_y)};
    switch (obj_kind(record)) {
    case ok_line: line_pts(record, list); break;
    case ok_rect: rect_pts(record, list); break;
    case ok_ellipse: ell_pts(record, list); break;
    case ok_text: words_pts(record, list); break;
    case ok_lindim: lindim_pts(record, list); break;
    case ok_bezier: bezier_pts(record, list); break;
    case ok_point: point_pts(record, list); break;
    case ok_angdim: angdim_pts(record, list); break;
    case ok_symbol: {
        const std::int16_t keep_snaprec = snaprec, keep_count = number_of_objects;
        std::int16_t first = 0, count = 0, found = snaprec;
        if (sym_explode(record, &first, &count, &found, x, y) && found != keep_snaprec && found >= first &&
            found < first + count) {
            get_info(found);
            record = info;
            info_setup_snap(record, list, x, y);
        }
        // No piece under the pick: no snap points, the point stays.
        snaprec = keep_snaprec;
        number_of_objects = keep_count;
        break;
    }
    default: break;
    }
}

int sym_explode(ObjectRec& record, std::int16_t* first, std::int16_t* count, std::int16_t* found, double x,
                double y) {
    *first = number_of_objects;
    *count = 0;
    get_info(number_of_objects);
    info = record;
    if (!symb_explode(first, count)) {
        get_info(number_of_objects);
        zero_info(info);
        return 0;
    }
    old_to_new(*first, *count);
    set_valid_objects();
    chge_valid_objects(-ok_symbol);
    *found = *first;
    move_backward(found);
    if (g_hooks.find_object && g_hooks.find_object(found, x, y, 0)) {
        get_info(*found);
        record = info;
    }
    return 1;
}

void old_to_new(std::int16_t first, std::int16_t count) {
    for (std::int16_t i = first; i < first + count; ++i) {
        get_info(i);
        put_on_screen(i, show_record(0, &info) ? 1 : 0);
    }
}

void clear_object_snap() {
    if (movehandle) return;
    if (misc_defs.snap_mode == snap_object) {
        const int item = snap_item_of_mode(prevsnapmode);
        if (item != 0 && item != snapnum) {
            const int old = snapnum;
            snapnum = static_cast<std::int16_t>(item);
            if (g_hooks.snap_item_moved) g_hooks.snap_item_moved(old, item);
        }
    }
    nomore_object_snap();
}

void nomore_object_snap() {
    if (movehandle) return;
    if (misc_defs.snap_mode == snap_object) misc_defs.snap_mode = prevsnapmode;
    std::memset(snap_obj->b, 0, sizeof snap_obj->b);
    msnap_pts = SnapPointListRec{};
    snap_eqn = 0;
    snaprec = -1;
}

}  // namespace drav
