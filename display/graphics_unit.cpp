#include "display/graphics_unit.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/shutdown.h"
#include "display/display_list.h"
#include "display/line_styles.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "platform/ui/windows.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/object_snap.h"
#include "store/units.h"

namespace drav {

ViewportRec viewport{};
ViewportRec qdviewport{};
std::int16_t xdots = 0, ydots = 0;
double pixelratio = 1.0;
double aspectratio = 1.0;
double wvxm = 1, wvxa = 0, wvym = 1, wvya = 0, wvxar = 0.5, wvyar = 0.5;
double vwxm = 1, vwxa = 0, vwym = 1, vwya = 0;
double cx_pos = 0, cy_pos = 0;
std::uint16_t clip_it = 1;
std::uint16_t clipped = 1;
std::uint16_t listing = 0;
std::int16_t printing = 0;
std::uint16_t save_pts = 0;
std::int16_t num_pts = 0;
double* endpoints = nullptr;
double dotwidth = 1.0;
std::int16_t curlwidth = 0;
std::int16_t screen_thick_table[thick_codes] = {};
std::int16_t cursor_counter = 0;
std::uint16_t drwcur = 0;
double scrn_x = 0, scrn_y = 0;

namespace {

constexpr std::uint16_t out_left = 1, out_right = 2, out_bottom = 4, out_top = 8;

[[gnu::always_inline]] inline std::uint16_t outcode(double x, double y, const WindowRec& w) {
    std::uint16_t c = 0;
    if (x < w.xl)
        c |= out_left;
    else if (x > w.xr)
        c |= out_right;
    if (y < w.yb)
        c |= out_bottom;
    else if (y > w.yt)
        c |= out_top;
    return c;
}

// Cohen-Sutherland; false when nothing of the line is inside. Each end is
// moved at most twice; rounding (tiny or denormal coordinates) can leave a
// moved end a hair outside again, so after that the ends are held to the window.
bool clip_line(double& x1, double& y1, double& x2, double& y2, const WindowRec& w) {
    std::uint16_t c1 = outcode(x1, y1, w), c2 = outcode(x2, y2, w);
    for (int moves = 0; c1 | c2; ++moves) {
        if (c1 & c2) return false;
        if (moves == 4) {
            x1 = std::clamp(x1, w.xl, w.xr);
            x2 = std::clamp(x2, w.xl, w.xr);
            y1 = std::clamp(y1, w.yb, w.yt);
            y2 = std::clamp(y2, w.yb, w.yt);
            return true;
        }
        const bool first = c1 != 0;
        const std::uint16_t c = first ? c1 : c2;
        double x, y;
        if (c & (out_left | out_right)) {
            x = (c & out_left) ? w.xl : w.xr;
            y = y1 + (y2 - y1) * (x - x1) / (x2 - x1);
        } else {
            y = (c & out_bottom) ? w.yb : w.yt;
            x = x1 + (x2 - x1) * (y - y1) / (y2 - y1);
        }
        if (first) {
            x1 = x, y1 = y;
            c1 = outcode(x1, y1, w);
        } else {
            x2 = x, y2 = y;
            c2 = outcode(x2, y2, w);
        }
    }
    return true;
}

// A pixel coordinate beyond 16 bits (a box larger than the screen can be
// handed down unclipped) is held at the 16-bit range instead of wrapping
// round to the other side of the window.
std::int16_t to_pixel(double v) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(trunc_i32(v), -32768, 32767));
}

void crosshair() {
    togglecursor(iround(scrn_x), iround(scrn_y), static_cast<std::int16_t>(crosshair_style(swaper)));
}

}  // namespace

void setupviewport() {
    const plat::Rect s = plat::screen_bounds();
    qdviewport = {s.left, s.right, s.top, s.bottom, static_cast<std::int16_t>(s.right - s.left),
                  static_cast<std::int16_t>(s.bottom - s.top)};
    viewport.yt = s.bottom;
    viewport.yb = static_cast<std::int16_t>(s.bottom - ydots);
    viewport.xl = s.left;
    viewport.xr = static_cast<std::int16_t>(s.left + xdots);
    viewport.width = xdots;
    viewport.height = ydots;
    if (xdots > 0 && pixelratio > 0) aspectratio = ydots / (xdots * pixelratio);
}

void setgrvars() { setupviewport(); }

void world_screen(double* x, double* y) {
    *x = wvxm * *x + wvxa;
    *y = wvym * *y + wvya;
}

void screen_world(double* x, double* y) {
    *x = vwxm * *x + vwxa;
    *y = vwym * *y + vwya;
}

void rel_world_screen(double dx, double dy, double* sx, double* sy) {
    *sx = wvxm * (cur_win.xl + dx) + wvxa - viewport.xl;
    *sy = wvym * (cur_win.yb + dy) + wvya - viewport.yb;
}

void rel_screen_world(double sx, double sy, double* dx, double* dy) {
    *dx = vwxm * (viewport.xl + sx) + vwxa - cur_win.xl;
    *dy = vwym * (viewport.yb + sy) + vwya - cur_win.yb;
}

void pworld_screen(double* x, double* y) {
    *x = pwvxm * *x + pwvxa;
    *y = pwvym * *y + pwvya;
}

void pscreen_world(double* x, double* y) {
    *x = pvwxm * *x + pvwxa;
    *y = pvwym * *y + pvwya;
}

void prel_world_screen(double dx, double dy, double* sx, double* sy) {
    *sx = pwvxm * (pancur_win.xl + dx) + pwvxa - qdviewport.xl;
    *sy = pwvym * (pancur_win.yb + dy) + pwvya - qdviewport.yb;
}

void prel_screen_world(double sx, double sy, double* dx, double* dy) {
    *dx = pvwxm * (qdviewport.xl + sx) + pvwxa - pancur_win.xl;
    *dy = pvwym * (qdviewport.yb + sy) + pvwya - pancur_win.yb;
}

void change_window(double xl, double xr, double yb, double aspect, std::int16_t full) {
    curlwidth = 0;
    watch_on();
    cur_stop();
    world_screen(&last_x, &last_y);
    world_screen(&keybrd_x, &keybrd_y);

    const double yt = yb + (xr - xl) * aspect;
    cur_win = {xl, xr, yb, yt};
    const double w = viewport.width, h = viewport.height, l = viewport.xl, b = viewport.yb;
    wvxm = w / (xr - xl);
    wvym = h / (yt - yb);
    vwxm = (xr - xl) / w;
    vwym = (yt - yb) / h;
    wvxa = l - xl * wvxm;
    wvya = b - yb * wvym;
    vwxa = xl - l * vwxm;
    vwya = yb - b * vwym;
    wvxar = wvxa + 0.5;
    wvyar = wvya + 0.5;

    if (full) {
        changelist();
        double a, bb;
        prel_screen_world(1, 1, &a, &bb);
        dotwidth = a < bb ? a : bb;
        if (std::fabs(output_defs.plot_scale) < small_tol) output_defs.plot_scale = 1.0;
        setup_thick(screen_thick_table, dotwidth * conv_factor(units_defs.units_code, 1), 1.0,
                    output_defs.plot_scale);
        setlpatscale((output_defs.flags & of_style_on_paper) ? output_defs.plot_scale : 1.0);
    }

    screen_world(&last_x, &last_y);
    screen_world(&keybrd_x, &keybrd_y);
    cur_go();
    watch_off();
}

void SketchWindow() {
    change_window(cur_win.xl, cur_win.xr, cur_win.yb, aspectratio, 1);
    show_new_window(0);
}

void initgunit() {
    bse_win = {0, 30, 0, 30 * aspectratio};
    cur_win = bse_win;
    scrn_x = viewport.xl;
    scrn_y = viewport.yb;
    cx_pos = cy_pos = 0;
    last_x = last_y = 0;
    zpos_x = zpos_y = ref_x = ref_y = abs_x = abs_y = 0;
    abs_z = 0;
    keybrd_x = (cur_win.xl + cur_win.xr) / 2;
    keybrd_y = (cur_win.yb + cur_win.yt) / 2;
    snap_it(&keybrd_x, &keybrd_y);
    clip_it = 1;
    num_pts = 0;
    clipped = 1;
    drwcur = 0;
    touched = accepted = 0;
    coord_avail = whatbutt = bell_allowed = 0;
    save_pts = 0;
    if (!endpoints) endpoints = static_cast<double*>(getmemory(endpoints_bytes));
    if (!endpoints) leave_program();
    std::memset(endpoints, 0, endpoints_bytes);
    initlist();
}

void setup_thick(std::int16_t* table, double unit, double scrf, double pltf) {
    const double base = (output_defs.flags & of_widths_on_paper)
                            ? output_defs.width_size * conv_factor(output_defs.paper_units, 1) * pltf
                            : output_defs.width_size * conv_factor(units_defs.units_code, 1) * scrf;
    const double step = output_defs.width_factor * unit;
    table[0] = 0;
    table[1] = 1;
    for (int i = 2; i < thick_codes; ++i) {
        // A spacing of nothing (a damaged settings record) would divide by
        // zero: one stroke each.
        int n = 1;
        if (step > 0 && std::isfinite(step))
            n = std::clamp(iround((base * (i - 1) - unit) / step) + 1, 1, 32767);
        table[i] = static_cast<std::int16_t>(n);
    }
}

void move_abs(double x, double y) {
    cx_pos = x;
    cy_pos = y;
}

void move_rel(double dx, double dy) {
    cx_pos += dx;
    cy_pos += dy;
}

void line_abs(double x, double y) {
    do_obj(cx_pos, cy_pos, x, y, listing ? clpcur_win : cur_win, prim_line);
    cx_pos = x;
    cy_pos = y;
}

void line_rel(double dx, double dy) { line_abs(cx_pos + dx, cy_pos + dy); }

void rect_abs(double x1, double y1, double x2, double y2) {
    do_obj(x1, y1, x2, y2, listing ? clpcur_win : cur_win, prim_rect);
    cx_pos = x1;
    cy_pos = y1;
}

void circle_abs(double x1, double y1, double x2, double y2) {
    do_obj(x1, y1, x2, y2, listing ? clpcur_win : cur_win, prim_circle);
    cx_pos = x1;
    cy_pos = y1;
}

namespace {

// What worldclip does with a piece that survived the clip.
void emit_piece(double x1, double y1, double x2, double y2, int type) {
    if (printing == 0 && listing) {
        switch (type) {
            case prim_line: growseg_now(x1, y1, x2, y2); break;
            case prim_rect: growrect(x1, y1, x2, y2); break;
            case prim_circle: growcir(x1, y1, x2, y2); break;
            default: break;
        }
        return;
    }
    if (save_pts && endpoints && num_pts * 8 + 24 <= 3999) {
        endpoints[num_pts] = x1;
        endpoints[num_pts + 1] = y1;
        endpoints[num_pts + 2] = x2;
        endpoints[num_pts + 3] = y2;
        num_pts += 2;
    }
    if (gdrawmode == mode_trace) return;

    const std::int16_t px1 = to_pixel(x1 * wvxm + wvxar), py1 = to_pixel(y1 * wvym + wvyar);
    const std::int16_t px2 = to_pixel(x2 * wvxm + wvxar), py2 = to_pixel(y2 * wvym + wvyar);
    switch (type) {
        case prim_line: drawline(px1, py1, px2, py2); break;
        case prim_rect: drawrectangle(px1, py1, px2, py2); break;
        case prim_circle: drawcircle(px1, py1, px2, py2); break;
        default: break;
    }
}

// A dashed segment recorded into the list: the pen-down pieces cut, clipped
// and recorded a run at a time, as the piece-by-piece loop would. False
// when the list switched itself off on the way: the rest of the segment is
// then the caller's to cut.
bool record_dashes(const WindowRec& win, std::uint16_t* visible) {
    constexpr int run = 64;
    double xy[4 * run];
    // A segment (as startlinstk has set it) well inside the window: its
    // pieces, which stay on it to far less than the margin, pass the clip
    // unchanged.
    const double margin = 1e-6 * (std::fabs(win.xl) + std::fabs(win.xr) + std::fabs(win.yb) + std::fabs(win.yt) +
                                  std::fabs(x_current) + std::fabs(y_current) + std::fabs(x_final) + std::fabs(y_final));
    const auto well_inside = [&](double x, double y) {
        return x > win.xl + margin && x < win.xr - margin && y > win.yb + margin && y < win.yt - margin;
    };
    const bool clip = clip_it && !(well_inside(x_current, y_current) && well_inside(x_final, y_final));
    if (!clip) {
        const int done = growdashes(visible);
        if (done >= 0) return done == 1;
    }
    for (int n; (n = getlinstk_down(xy, run)) > 0;) {
        int kept = n;
        if (clip) {
            kept = 0;
            for (int i = 0; i < n; ++i) {
                const double* p = xy + 4 * i;
                double a = p[0], b = p[1], c = p[2], d = p[3];
                // Most pieces lie wholly inside, where the clip changes nothing.
                if ((outcode(a, b, win) | outcode(c, d, win)) && !clip_line(a, b, c, d, win)) continue;
                double* q = xy + 4 * kept++;
                q[0] = a, q[1] = b, q[2] = c, q[3] = d;
            }
        }
        if (kept == 0) continue;
        *visible = 1;
        const int done = growsegs(xy, kept);
        if (done < kept) {
            // Out of list memory: what is left of the run is drawn as the
            // piece-by-piece loop draws it once the list is off.
            for (int i = done; i < kept; ++i) {
                const double* q = xy + 4 * i;
                emit_piece(q[0], q[1], q[2], q[3], prim_line);
            }
            return false;
        }
    }
    return true;
}

}  // namespace

void do_obj(double x1, double y1, double x2, double y2, const WindowRec& win, int type) {
    // pattern_toosmall() answers 1 whenever curpat_avail(0) is 0: asked second, it is asked less.
    const bool dashed = type == prim_line && gdrawmode != mode_trace && gdrawmode != mode_xor &&
                        curpat_avail(0) && !pattern_toosmall();
    if (!dashed) {
        worldclip(x1, y1, x2, y2, win, type);
        return;
    }
    startlinstk(x1, y1, x2, y2);
    std::uint16_t visible = 0;
    if (printing == 0 && listing && record_dashes(win, &visible)) {
        clipped = visible;
        return;
    }
    double a = 0, b = 0, c = 0, d = 0;
    std::int16_t pendown = 0;
    while (getlinstk(&a, &b, &c, &d, &pendown)) {
        if (!pendown) continue;
        worldclip(a, b, c, d, win, prim_line);
        if (clipped) visible = 1;
    }
    clipped = visible;
}

bool polyline_abs(const double* xy, int n) {
    if (n <= 0) return false;
    const bool dashed = gdrawmode != mode_trace && gdrawmode != mode_xor && curpat_avail(0) && !pattern_toosmall();
    bool any = false;
    int i = 0;
    if (!dashed && printing == 0 && listing) {
        // Solid lines into the list: clipped and recorded a run at a time,
        // as worldclip would one by one.
        constexpr int run = 64;
        double q[4 * run];
        int from[run];
        const double x0 = cx_pos, y0 = cy_pos;
        const WindowRec& win = clpcur_win;
        // Each point's outcode serves the line to it and the line from it.
        std::uint16_t code = outcode(cx_pos, cy_pos, win);
        while (i < n && listing) {
            const int m = std::min(n - i, run);
            int kept = 0;
            for (int k = 0; k < m; ++k, ++i) {
                double a = cx_pos, b = cy_pos, c = xy[2 * i], d = xy[2 * i + 1];
                cx_pos = c;
                cy_pos = d;
                clipped = 1;
                const std::uint16_t before = code;
                code = outcode(c, d, win);
                if (clip_it && (before | code) && !clip_line(a, b, c, d, win)) {
                    clipped = 0;
                    continue;
                }
                from[kept] = i;
                double* p = q + 4 * kept++;
                p[0] = a, p[1] = b, p[2] = c, p[3] = d;
            }
            if (kept == 0) continue;
            const int done = growsegs(q, kept);
            if (done > 0) any = true;
            if (done < kept) {
                // The list went off on the way: the lines after the last
                // one handed to it are drawn one by one, as they would have been.
                i = from[done];
                cx_pos = i == 0 ? x0 : xy[2 * i - 2];
                cy_pos = i == 0 ? y0 : xy[2 * i - 1];
                break;
            }
        }
    }
    for (; i < n; ++i) {
        line_abs(xy[2 * i], xy[2 * i + 1]);
        if (clipped) any = true;
    }
    return any;
}

void worldclip(double x1, double y1, double x2, double y2, const WindowRec& win, int type) {
    clipped = 1;
    if (clip_it) {
        if (type == prim_rect || type == prim_circle) {
            if (outcode(x1, y1, win) & outcode(x2, y2, win)) clipped = 0;
        } else if (type == prim_line) {
            if ((outcode(x1, y1, win) | outcode(x2, y2, win)) && !clip_line(x1, y1, x2, y2, win)) clipped = 0;
        }
    }
    if (!clipped) return;
    // The list's line first, without the call: most pieces are that.
    if (type == prim_line && printing == 0 && listing) {
        growseg_now(x1, y1, x2, y2);
        return;
    }
    emit_piece(x1, y1, x2, y2, type);
}

void cur_stop() {
    --cursor_counter;
    if (cursor_counter == 0) {
        crosshair();
        drwcur = 0;
    }
}

void cur_go() {
    if (cursor_counter == 0) {
        crosshair();
        drwcur = 1;
    }
    ++cursor_counter;
}

}  // namespace drav
