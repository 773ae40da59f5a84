#include "commands/draw/bspline.h"

#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/bspline_spans.h"
#include "commands/draw/draw_frame.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

SplinePointRec* first_bez = nullptr;
SplinePointRec* last_bez = nullptr;
SplinePointRec* upbez = nullptr;
std::int16_t save_number = 0;
std::int16_t bezstart = 0;
std::uint16_t detach = 0;
std::uint16_t fmess = 0;
ObjOptsRec* spline_opts = nullptr;

namespace {

constexpr int prompt_first = 18, prompt_next = 40;
constexpr int alert_same_point = 6, alert_no_memory = 26, alert_no_room = 27, alert_too_many = 28;
constexpr int most_points = 499;

// Stream mode: the point before the last taken one, the last taken one,
// the direction from the last back to the one before, and the cursor in
// that direction's frame.
double otx = 0, oty = 0, ntx = 0, nty = 0, strmslope = 0, rx = 0, ry = 0;
// 'Q' was read as a key (not a postponed palette click).
bool quit_by_key = false;

void empty_list() {
    release(first_bez);
    first_bez = last_bez = upbez = nullptr;
}

void alert_once(int n) {
    if (!fmess) return;
    pr_alert(n, alert_standard);
    fmess = 0;
}

}  // namespace

void mark_point(SplinePointRec* p, bool on) {
    if (!p || p->marked == on) return;
    p->marked = on;
    center_marker(p->x, p->y, 3);
}

void release(SplinePointRec* p) {
    while (p) {
        SplinePointRec* next = p->next;
        mark_point(p, false);
        if (p == upbez) upbez = nullptr;
        xfree(&p);
        p = next;
    }
}

void b_spline(ObjOptsRec& opts) {
    first_bez = last_bez = upbez = nullptr;
    spline_opts = &opts;
    save_number = number_of_objects;
    quit_by_key = false;
    double x = 0, y = 0;
    if (first_spline_pnt(&x, &y, prompt_first)) {
        std::int16_t n = 0;
        point_get(x, y, &n);
        if (quit && !quit_by_key && !aborted) quit_bezier(n);
        if (!aborted) {
            if (n > 3 && upbez != first_bez) {
                undraw_first_bezier(1);
                final_bezier();
            }
        } else {
            while (number_of_objects > save_number && erase_one_object(save_number, save_number, 0)) {
            }
            number_of_objects = save_number;
        }
    }
    empty_list();
    setdrawmode(1);
    setscreencolor(static_cast<std::int16_t>(props_defs.colour));
    setlstyle(static_cast<std::int16_t>(props_defs.style));
    spline_opts = nullptr;
}

int first_spline_pnt(double* x, double* y, int prompt) {
    pr_addmsg(prompt);
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key == key_undo) erase_one_object(save_indx, save_indx, 0);
        end_key(key);
        if (accepted || aborted || quit) break;
    }
    return accepted && !aborted && !quit;
}

void point_get(double x, double y, std::int16_t* n) {
    fmess = 1;
    accepted = 1;
    detach = 1;
    pr_addmsg(prompt_next);
    accept_point(x, y, n);
    while (!aborted && !quit) {
        double px = 0, py = 0;
        const int key = loop_get_point(&px, &py, 1);
        if (key)
            point_key_options(key, n);
        else if (accepted || (spline_opts && spline_opts->bez_opt6))
            accept_point(px, py, n);
    }
}

void accept_point(double x, double y, std::int16_t* n) {
    if (detach && accepted) {
        bezstart = number_of_objects;
        empty_list();
        detach = 0;
        *n = 1;
        strmslope = 0;
        otx = x;
        oty = y;
        ntx = x + users_defs.spline_band / r_two;
        nty = y;
    }
    if (aborted || quit || detach) return;
    if (number_of_objects + *n >= static_cast<int>(worksize) - 5) {
        alert_once(alert_no_room);
        return;
    }
    if (*n > most_points) {
        alert_once(alert_too_many);
        return;
    }
    if (!fmess) return;
    bool taken = false;
    if (spline_opts && spline_opts->bez_opt6) {
        rotate_cr(x - otx, y - oty, &rx, &ry, -strmslope);
        const double step = users_defs.spline_step;
        taken = std::fabs(ry) > users_defs.spline_band / r_two ||
                (step > 0 && distance(x - ntx, y - nty) >= step);
    }
    if (!accepted && !taken) return;
    const double was_x = ntx, was_y = nty;
    otx = ntx;
    oty = nty;
    ntx = x;
    nty = y;
    strmslope = get_radangle(was_x - x, was_y - y);
    if (last_bez && last_bez->x == x && last_bez->y == y) {
        pr_alert(alert_same_point, alert_standard);
        return;
    }
    new_pnt(x, y);
    if (!fmess) return;
    mark_point(last_bez, true);
    if (*n > 3) {
        mark_point(last_bez->prev->prev, false);
        if (upbez == first_bez) {
            upbez = last_bez;
            draw_first_bezier(0, 0);
        }
        temp_bezier();
    }
    ++*n;
}

void new_pnt(double x, double y) {
    auto* p = static_cast<SplinePointRec*>(getmemory(static_cast<std::int32_t>(sizeof(SplinePointRec))));
    if (!p) {
        alert_once(alert_no_memory);
        fmess = 0;
        return;
    }
    if (last_bez && last_bez->next) {
        SplinePointRec* rest = last_bez->next;
        // The first span's neighbour may lie among the points taken back:
        // the new point takes its place.
        bool had_up = false;
        for (SplinePointRec* r = rest; r; r = r->next) had_up = had_up || r == upbez;
        last_bez->next = nullptr;
        release(rest);
        if (had_up) upbez = p;
    }
    p->x = x;
    p->y = y;
    p->tx = 0;
    p->ty = 0;
    p->prev = last_bez;
    p->next = nullptr;
    p->marked = false;
    if (last_bez) {
        last_bez->next = p;
    } else {
        first_bez = p;
        upbez = p;
    }
    last_bez = p;
}

void point_key_options(int key, std::int16_t* n) {
    switch (key) {
    case key_quit:
        quit_by_key = true;
        quit_bezier(*n);
        addnum = tool_select_code;
        break;
    case key_esc: esc_bezier(n); break;
    case key_undo: erase_bezier(n); break;
    default: break;
    }
}

void quit_bezier(std::int16_t n) {
    if (n > 4) {
        if (last_bez && last_bez->next) {
            SplinePointRec* rest = last_bez->next;
            last_bez->next = nullptr;
            release(rest);
        }
        mark_point(last_bez, false);
        if (last_bez) mark_point(last_bez->prev, false);
    } else {
        for (SplinePointRec* p = first_bez; p; p = p->next) mark_point(p, false);
    }
    get_info(number_of_objects);
    quit = 1;
}

void esc_bezier(std::int16_t* n) {
    watch_on();
    cur_stop();
    while (*n > 1) {
        --*n;
        mark_point(last_bez, false);
        erase_last(*n);
    }
    for (SplinePointRec* p = first_bez; p; p = p->next) mark_point(p, false);
    cur_go();
    watch_off();
    aborted = 1;
}

void erase_bezier(std::int16_t* n) {
    --*n;
    mark_point(last_bez, false);
    if (*n > 2) {
        erase_last(*n);
        if (last_bez) mark_point(last_bez->prev, true);
    } else if (*n == 2) {
        if (last_bez) last_bez = last_bez->prev;
    } else {
        mark_point(first_bez, false);
        if (number_of_objects > save_number)
            restore_prev(n);
        else
            aborted = 1;
    }
}

void erase_last(int m) {
    if (!last_bez) return;
    if (m == 3 && upbez != first_bez) {
        undraw_first_bezier(0);
        upbez = first_bez;
    } else if (m > 3) {
        undraw_qbezier(0);
    }
    if (last_bez == upbez && upbez != first_bez) {
        undraw_first_bezier(1);
        if (m > 3) {
            upbez = first_bez->next->next->next;
            draw_first_bezier(0, 1);
        } else {
            upbez = first_bez;
        }
    }
    if (last_bez->prev) last_bez = last_bez->prev;
}

void restore_prev(std::int16_t* n) {
    detach = 0;
    bezstart = static_cast<std::int16_t>(number_of_objects - 1);
    get_info(bezstart);
    double x0 = rec_f64(info, obj::ref_x), y0 = rec_f64(info, obj::ref_y);
    for (std::int16_t k = static_cast<std::int16_t>(bezstart - 1); k >= save_number; --k) {
        get_info(k);
        const double ex = rec_f64(info, obj::ref_x) + rec_f64(info, bez::endx);
        const double ey = rec_f64(info, obj::ref_y) + rec_f64(info, bez::endy);
        if (!(std::fabs(ex - x0) < small_tol && std::fabs(ey - y0) < small_tol)) break;
        x0 = rec_f64(info, obj::ref_x);
        y0 = rec_f64(info, obj::ref_y);
        bezstart = k;
    }
    empty_list();
    *n = 1;
    double ex = 0, ey = 0;
    for (std::int16_t k = bezstart; k < number_of_objects; ++k) {
        get_info(k);
        new_pnt(rec_f64(info, obj::ref_x), rec_f64(info, obj::ref_y));
        ++*n;
        ex = rec_f64(info, obj::ref_x) + rec_f64(info, bez::endx);
        ey = rec_f64(info, obj::ref_y) + rec_f64(info, bez::endy);
    }
    new_pnt(ex, ey);
    ++*n;
    upbez = last_bez;
    undraw_qbezier(0);
    mark_point(last_bez, true);
    if (last_bez) mark_point(last_bez->prev, true);
}

}  // namespace drav
