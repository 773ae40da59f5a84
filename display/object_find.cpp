#include "display/object_find.h"

#include <algorithm>

#include "base/command_loop.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

namespace {

double samex = 0, samey = 0;

void check_x(double v, double* mn, double* mx) {
    if (v < *mn) *mn = v;
    if (v > *mx) *mx = v;
}
void check_y(double v, double* mn, double* mx) { check_x(v, mn, mx); }

void limts(const ObjectRec& r, double dx, double dy, double* xmin, double* ymin, double* xmax, double* ymax) {
    check_x(rec_f64(r, obj::ref_x) + dx, xmin, xmax);
    check_y(rec_f64(r, obj::ref_y) + dy, ymin, ymax);
}

// The four corners of the box a, b at the reference point, turned by the
// object's rotation.
void box_limits(const ObjectRec& r, double ax, double by, double* xmin, double* ymin, double* xmax, double* ymax) {
    const double rot = rec_f64(r, obj::rotation);
    double a1 = 0, a2 = 0, b1 = 0, b2 = 0;
    rotate_cr(ax, 0, &a1, &a2, rot);
    rotate_cr(0, by, &b1, &b2, rot);
    limts(r, 0, 0, xmin, ymin, xmax, ymax);
    limts(r, a1, a2, xmin, ymin, xmax, ymax);
    limts(r, b1, b2, xmin, ymin, xmax, ymax);
    limts(r, a1 + b1, a2 + b2, xmin, ymin, xmax, ymax);
}

}  // namespace

void find_limits(const ObjectRec& rec, double* xmin, double* ymin, double* xmax, double* ymax, int full) {
    if (!is_live_object(rec)) return;
    switch (obj_kind(rec)) {
    case ok_text: {
        const int characters = (rec_u16(rec, text::info) >> 1) & 127;
        const double w = rec_f32(rec, text::char_width) * (1.5 * characters - 0.5);
        box_limits(rec, w, rec_f32(rec, text::char_height), xmin, ymin, xmax, ymax);
        break;
    }
    case ok_symbol: box_limits(rec, rec_f64(rec, sym::width), rec_f64(rec, sym::height), xmin, ymin, xmax, ymax); break;
    default: {
        const ObjectRec kept = info;
        const std::uint16_t s_pts = save_pts, s_res = max_resolution, s_clip = clip_it;
        save_pts = 1;
        if (full) max_resolution = 1;
        clip_it = 0;
        show(mode_trace, &rec);
        const int last = std::min(num_pts + 1, endpoints_bytes / 8 - 1);
        for (int i = 0; endpoints && i <= last; ++i) {
            if (i % 2 == 0)
                check_x(endpoints[i], xmin, xmax);
            else
                check_y(endpoints[i], ymin, ymax);
        }
        save_pts = s_pts;
        max_resolution = s_res;
        clip_it = s_clip;
        info = kept;
        break;
    }
    }
}

int do_find(std::int16_t* n, double x, double y) {
    cur_stop();
    const std::uint16_t snap = snap_on;
    snap_on = 0;
    const std::int16_t given = *n;
    std::int16_t m = given;
    move_forward(&m);
    const std::int16_t start = m;
    const WindowRec saved = cur_win;
    double wx = 0, wy = 0;
    rel_screen_world(3.5, 3.5, &wx, &wy);
    clipped = 0;
    bool hit = false;
    if (wx > 0 && wy > 0 && number_of_objects > first_object_slot && m >= first_object_slot) {
        change_window(x - wx, x + wx, y - wy, wy / wx, 0);
        do {
            if (o_k(m) && valid_object(obj_kind(info))) {
                clipped = 0;
                show(mode_trace, &info);
                hit = clipped != 0;
            }
            if (hit) break;
            if (++m >= number_of_objects) m = first_object_slot;
        } while (m != start);
        change_window(saved.xl, saved.xr, saved.yb, aspectratio, 0);
        cur_win = saved;
    }
    *n = hit ? m : given;
    clipped = hit ? 1 : 0;
    snap_on = snap;
    cur_go();
    return clipped;
}

int find_object(std::int16_t* n, double x, double y, int repeat) {
    if (repeat) {
        x = samex;
        y = samey;
    } else {
        samex = x;
        samey = y;
    }
    if (listinstalled() && listavail() && has_findseg()) {
        findseg(n, x, y);
        if (clipped) get_info(*n);
    } else {
        do_find(n, x, y);
    }
    return clipped;
}

}  // namespace drav
