#include "display/view_commands.h"

#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/list_view.h"
#include "display/object_find.h"
#include "display/object_renderer.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/levels.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"

namespace drav {

namespace {

constexpr int err_window_in = 37;
constexpr int err_window_out = 38;
constexpr int err_full_window = 39;

double sign_of(double v) { return v < 0 ? -1.0 : 1.0; }

// Puts the saved record back after a redraw.
void restore_record(const ObjectRec& saved, std::int16_t index) {
    if (index == -1) return;
    get_info(index);
    info = saved;
}

void listdisabled() {}
void listmissing() {}
void panlimit() {}

bool keys_work() { return zoom_arrows && listavail(); }

// The hatch lines a hatch made: a line whose word at byte 96 is set.
bool hatch_line(const ObjectRec& r) { return obj_kind(r) == ok_line && rec_u16(r, 96) != 0; }

}  // namespace

void sketch() {
    watch_on();
    loop_blink_off();
    const ObjectRec saved = info;
    const std::int16_t index = prev_index;
    nomore_info();
    if (listavail()) {
        cur_stop();
        cleargraphics();
        if (swaper & sw_grid) draw_grids(1);
        sketchlist();
        cur_go();
        loop_status_line();
    } else {
        change_window(cur_win.xl, cur_win.xr, cur_win.yb, aspectratio, 1);
        const std::uint16_t before = reset_on_screen;
        reset_on_screen = 0;
        show_objects(1, 0, first_object_slot);
        reset_on_screen = static_cast<std::uint16_t>(before || reset_on_screen);
    }
    restore_record(saved, index);
    watch_off();
}

void levsketch(std::int16_t templates, std::int16_t markers, std::int16_t symbols, std::int16_t symbols2,
               std::int16_t other) {
    cur_stop();
    cleargraphics();
    if (swaper & sw_grid) draw_grids(1);
    if (templates || markers || symbols || symbols2 || other) {
        for (int i = first_object_slot; i < number_of_objects; ++i) {
            get_info(static_cast<std::int16_t>(i));
            if (!is_live_object(info)) continue;
            const bool match = (templates && is_template(info)) || (markers && (info.b[3] & 3) != 0) ||
                               ((symbols || symbols2) && obj_kind(info) == ok_symbol);
            if (!match) continue;
            if (obj_kind(info) == ok_text) cumstgs(static_cast<std::int16_t>(i));
            show(mode_draw, &info);
        }
    }
    sketchlist();
    cur_go();
    loop_status_line();
}

void get_base_window() {
    write_sav_rec();
    change_window(bse_win.xl, bse_win.xr, bse_win.yb, aspectratio, 1);
    changezoomlimits();
    show_new_window(1);
}

int valid_window(const WindowRec* w) {
    return w->xr - w->xl > wind_delta_limit && w->xl > -large_limit && w->xr < large_limit &&
                   w->yb > -large_limit && w->yt < large_limit
               ? 1
               : 0;
}

void make_wind(RubberRect* r, double aspect, double px, double py) {
    r->w = px - r->x0;
    r->h = py - r->y0;
    if (aspect * std::fabs(r->w) > std::fabs(r->h))
        r->h = sign_of(r->h) * aspect * std::fabs(r->w);
    else
        r->w = sign_of(r->w) * std::fabs(r->h) / aspect;
}

int settle_rubber(RubberRect* r) {
    const int ok = r->w != 0 && r->h != 0 ? 1 : 0;
    if (r->w < 0) r->x0 += r->w;
    if (r->h < 0) r->y0 += r->h;
    return ok;
}

void apply_window_in(const RubberRect& r) {
    const WindowRec old = cur_win;
    const WindowRec win{r.x0, r.x0 + std::fabs(r.w), r.y0, r.y0 + std::fabs(r.h)};
    if (!valid_window(&win)) {
        show_error(err_window_in, 0);
        return;
    }
    change_window(win.xl, win.xr, win.yb, aspectratio, 1);
    changezoomlimits();
    const bool inside = win.xl >= old.xl && win.xr <= old.xr && win.yb >= old.yb && win.yt <= old.yt;
    show_new_window(inside ? 0 : 1);
    write_sav_rec();
}

void apply_window_out(const RubberRect& r) {
    const WindowRec old = cur_win;
    const double ow = old.xr - old.xl, oh = old.yt - old.yb;
    const double k = ow / std::fabs(r.w);
    WindowRec win;
    win.xl = old.xl - k * (r.x0 - old.xl);
    win.yb = old.yb - k * (r.y0 - old.yb);
    win.xr = win.xl + k * ow;
    win.yt = win.yb + k * oh;
    if (!valid_window(&win)) {
        show_error(err_window_out, 0);
        return;
    }
    change_window(win.xl, win.xr, win.yb, aspectratio, 1);
    changezoomlimits();
    show_new_window(1);
    write_sav_rec();
}

void centerx(double* right, double* left, double* top, double* bottom, double* ext_right, double* ext_left) {
    *right = *left + (*top - *bottom) / aspectratio;
    const double d = ((*right - *left) - (*ext_right - *ext_left)) / 2;
    *left -= d;
    *right -= d;
}

void centery(double* top, double* bottom, double* right, double* left, double* ext_top, double* ext_bottom) {
    *top = *bottom + (*right - *left) * aspectratio;
    const double d = ((*top - *bottom) - (*ext_top - *ext_bottom)) / 2;
    *bottom -= d;
    *top -= d;
}

void full_window() {
    double xl = large_limit, yl = large_limit, xh = -large_limit, yh = -large_limit;
    watch_on();
    cur_stop();
    for (int i = first_object_slot; i < number_of_objects && !quit; ++i) {
        get_info(static_cast<std::int16_t>(i));
        if (!is_live_object(info)) continue;
        const bool level_ok = (obj_kind(info) == ok_symbol && info.b[obj::level] == 0) ||
                              LevelShowable(info.b[obj::level]);
        if (!level_ok) continue;
        if (is_template(info) && !(swaper & sw_templates)) continue;
        if (hatch_line(info) && !(swaper & sw_hatch_lines)) continue;
        find_limits(info, &xl, &yl, &xh, &yh, 1);
    }
    cur_go();
    if (quit) {
        watch_off();
        return;
    }
    if (xh > -large_limit) {
        double left = xl, right = xh, bottom = yl, top = yh;
        double ext_l = xl, ext_r = xh, ext_b = yl, ext_t = yh;
        if ((yh - yl) > (xh - xl) * aspectratio)
            centerx(&right, &left, &top, &bottom, &ext_r, &ext_l);
        else
            centery(&top, &bottom, &right, &left, &ext_t, &ext_b);
        const WindowRec old = cur_win;
        const bool inside = left >= old.xl && right <= old.xr && bottom >= old.yb && top <= old.yt;
        if (right - left >= wind_delta_limit && left >= -large_limit && right <= large_limit &&
            bottom >= -large_limit && top <= large_limit) {
            const double dx = (right - left) * 0.02, dy = (top - bottom) * 0.02;
            left -= dx;
            right += dx;
            bottom -= dy;
            change_window(left, right, bottom, aspectratio, 1);
            changezoomlimits();
            write_sav_rec();
            show_new_window(inside ? 0 : 1);
        } else {
            show_error(err_full_window, 0);
        }
    }
    watch_off();
}

void do_zoomlist(std::int16_t n) {
    if (!zoom_arrows) return;
    if (listavail())
        zoomlist(n);
    else
        listmissing();
}

void do_ins() {
    if (!zoom_arrows) return;
    if (listavail())
        multlist();
    else
        listmissing();
}

void do_del() {
    if (!zoom_arrows) return;
    if (listavail())
        cenlist();
    else
        listmissing();
}

void do_chome() {
    if (!zoom_arrows) return;
    if (listavail())
        homelist();
    else
        listmissing();
}

void do_cend() {
    if (!zoom_arrows) return;
    if (listinstalled())
        regenlist();
    else
        listmissing();
}

void do_cleft() { do_zoomlist(static_cast<std::int16_t>(-maxzoom)); }
void do_cright() { do_zoomlist(maxzoom); }
void do_cpgup(std::int16_t n) { do_zoomlist(n); }
void do_cpgdn(std::int16_t n) { do_zoomlist(static_cast<std::int16_t>(-n)); }

void do_panlist(std::int16_t dx, std::int16_t dy) {
    if (!zoom_arrows)
        listdisabled();
    else if (!listavail())
        panlimit();
    else
        panlist(dx, dy);
}

void do_left(std::int16_t n) { do_panlist(static_cast<std::int16_t>(-n), 0); }
void do_right(std::int16_t n) { do_panlist(n, 0); }
void do_down(std::int16_t n) { do_panlist(0, static_cast<std::int16_t>(-n)); }
void do_up(std::int16_t n) { do_panlist(0, n); }
void do_pgup(std::int16_t dx, std::int16_t dy) { do_panlist(dx, dy); }
void do_pgdn(std::int16_t dx, std::int16_t dy) { do_panlist(dx, static_cast<std::int16_t>(-dy)); }
void do_home(std::int16_t dx, std::int16_t dy) { do_panlist(static_cast<std::int16_t>(-dx), dy); }
void do_end(std::int16_t dx, std::int16_t dy) {
    do_panlist(static_cast<std::int16_t>(-dx), static_cast<std::int16_t>(-dy));
}

void do_horzthumb() {
    if (keys_work()) updatelist(0, 0, 0, 0, 0, 1, 0);
}

void do_vertthumb() {
    if (keys_work()) updatelist(0, 0, 0, 0, 0, 0, 1);
}

}  // namespace drav
