#include "display/list_view.h"

#include <algorithm>
#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/tool_options.h"
#include "display/display_list.h"
#include "display/drawing_window.h"
#include "display/grid.h"
#include "display/list_replay.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/strings.h"

namespace drav {

std::int16_t maxzoom = 0;
std::int16_t panxdelta = 10, panydelta = 10;
std::uint16_t bigpan = 0;
std::int16_t cursor_mag = 1;

namespace {

std::int16_t cut16(long v) { return static_cast<std::int16_t>(v); }

// The list's own test of a view's world window.
bool valid_window(double xl, double xr, double yb, double yt) {
    return xr - xl > wind_delta_limit && xl > -large_limit && xr < large_limit && yb > -large_limit &&
           yt < large_limit;
}

// The share of a scroll bar's range its value stands at; 0 for a bar without a range.
double thumb_share(const plat::Control* bar, bool downward) {
    if (!bar) return 0;
    const int lo = plat::control_minimum(bar), hi = plat::control_maximum(bar);
    if (hi == lo) return 0;
    const int v = plat::control_value(bar);
    return static_cast<double>(downward ? hi - v : v) / (hi - lo);
}

}  // namespace

void init_list_view() {
    panvp = qdviewport;
    pandx = cut16(-panvp.xl);
    pandy = cut16(-panvp.yb);
    panxdelta = panydelta = 10;
    mzxl = cut16(leftzoomlimit);
    mzxr = cut16(rightzoomlimit);
    mzyb = cut16(topzoomlimit);
    mzyt = cut16(bottomzoomlimit);
    mzdx = 32734;
    zoom = oldzoom = zoomround = 0;
    bigpan = 0;
    long w = 2L * panvp.width;
    maxzoom = 0;
    // A screen of no width has no zoom steps (doubling nothing never ends).
    while (w > 0 && w <= 32766 && w < mzdx) {
        w *= 2;
        ++maxzoom;
    }
}

void changezoomlimits() {
    if (!objopts) return;
    const int k = objopts->scroll_pages / 2;
    const double W = cur_win.xr - cur_win.xl, H = cur_win.yt - cur_win.yb;
    objopts->zoom_left = cur_win.xl - k * W;
    objopts->zoom_right = cur_win.xr + k * W;
    objopts->zoom_top = cur_win.yt + k * H;
    objopts->zoom_bottom = cur_win.yb - k * H;
    double x1 = leftzoomlimit, y1 = topzoomlimit, x2 = rightzoomlimit, y2 = bottomzoomlimit;
    pscreen_world(&x1, &y1);
    pscreen_world(&x2, &y2);
    if (objopts->zoom_left < x1) objopts->zoom_left = x1;
    if (objopts->zoom_right > x2) objopts->zoom_right = x2;
    if (objopts->zoom_top > y2) objopts->zoom_top = y2;
    if (objopts->zoom_bottom < y1) objopts->zoom_bottom = y1;
}

void newpandeltas() {
    const double f = objopts ? (bigpan ? objopts->scroll_page : objopts->scroll_single) : 0.1;
    panxdelta = iround((drawRect.right - drawRect.left) * f);
    panydelta = iround((drawRect.bottom - drawRect.top) * f);
}

void adjzoom(std::int16_t xl, std::int16_t yt, std::int16_t width, std::int16_t height) {
    panvp = {xl, cut16(xl + width), cut16(yt - height), yt, width, height};
    set_drawing_scroll_value();
}

void _updatelist(std::int16_t dx, std::int16_t dy, std::int16_t home, std::int16_t zoomed,
                 std::int16_t centre, std::int16_t hthumb, std::int16_t vthumb) {
    double Lx = objopts ? objopts->zoom_left : cur_win.xl, Ty = objopts ? objopts->zoom_top : cur_win.yt;
    double Rx = objopts ? objopts->zoom_right : cur_win.xr, By = objopts ? objopts->zoom_bottom : cur_win.yb;
    pworld_screen(&Lx, &Ty);
    pworld_screen(&Rx, &By);

    const ViewportRec saved = panvp;
    long x = panvp.xl, y = panvp.yt, w = panvp.width, h = panvp.height;
    newpandeltas();
    loop_blink_off();
    if (centre) {
        double sx = last_x, sy = last_y;
        pworld_screen(&sx, &sy);
        x = iround(sx - static_cast<double>(viewport.width << zoom) / 2);
        y = iround(sy + static_cast<double>(viewport.height << zoom) / 2);
    } else if (zoomed) {
        double cx = (cur_win.xl + cur_win.xr) / 2, cy = (cur_win.yb + cur_win.yt) / 2;
        pworld_screen(&cx, &cy);
        h = static_cast<long>(qdviewport.height) << zoom;
        w = static_cast<long>(qdviewport.width) << zoom;
        x = iround(cx - static_cast<double>(viewport.width << zoom) / 2);
        y = iround(cy + static_cast<double>(viewport.height << zoom) / 2);
    } else if (home) {
        zoom = 0;
        x = qdviewport.xl;
        y = qdviewport.yt;
        w = qdviewport.width;
        h = qdviewport.height;
    } else if (hthumb) {
        const double t = thumb_share(horizHdl, false);
        x = iround(Lx + t * (Rx - Lx) - w / 2.0);
    } else if (vthumb) {
        const double t = thumb_share(vertHdl, true);
        y = iround(By + t * (Ty - By) + h / 2.0);
    } else {
        x += static_cast<long>(dx) * panxdelta * cursor_mag;
        y += static_cast<long>(dy) * panydelta * cursor_mag;
    }
    if (!zoomed) {
        if (x <= Lx)
            x = trunc_i32(Lx);
        else if (x + w >= Rx)
            x = trunc_i32(Rx - w);
        if (y >= Ty)
            y = trunc_i32(Ty);
        else if (y - h <= By)
            y = trunc_i32(By + h);
    }
    adjzoom(cut16(x), cut16(y), cut16(w), cut16(h));

    double X0 = 0, Y0 = 0, Ww = 0, Wh = 0;
    prel_screen_world(panvp.xl, panvp.yb, &X0, &Y0);
    X0 += pancur_win.xl;
    Y0 += pancur_win.yb;
    prel_screen_world(panvp.width, panvp.height, &Ww, &Wh);
    const double xl = X0;
    const double xr = X0 + static_cast<double>(viewport.width) / qdviewport.width * Ww;
    const double yt = Y0 + Wh;
    const double yb = yt - static_cast<double>(viewport.height) / qdviewport.height * Wh;
    if (valid_window(xl, xr, yb, yt)) {
        oldzoom = zoom;
        zoomround = cut16(iround(std::ldexp(1.0, zoom)) / 2);
        pandx = cut16(-panvp.xl);
        pandy = cut16(-panvp.yb);
        change_window(xl, xr, yb, aspectratio, 0);
        if (zoomed) changezoomlimits();
        watch_on();
        cur_stop();
        if (!scroll_sketchlist()) {
            cleargraphics();
            if (swaper & sw_grid) draw_grids(1);
            sketchlist();
        }
        // The window shows the new picture at its next update.
        if (graphwasinit && whichdrawWindow()) plat::invalidate_rect(whichdrawWindow(), drawRect);
        cur_go();
        watch_off();
        loop_status_line();
    } else {
        zoom = oldzoom;
        panvp = saved;
        zoommsg(msg_view_invalid);
        set_drawing_scroll_value();
    }
}

void _panlist(std::int16_t dx, std::int16_t dy) { updatelist(dx, dy, 0, 0, 0, 0, 0); }

void _zoomlist(std::int16_t n) {
    if (n >= 1) {
        if (zoom >= maxzoom) {
            zoommsg(msg_zoom_limit);
            return;
        }
        if (zoom + n > maxzoom) n = cut16(maxzoom - zoom);
    } else if (n < 0) {
        if (zoom < 1) {
            zoommsg(msg_zoom_limit);
            return;
        }
        if (zoom + n < 0) n = cut16(-zoom);
    } else {
        zoommsg(msg_zoom_limit);
        return;
    }
    loop_blink_off();
    zoom = cut16(std::clamp(zoom + n, 0, static_cast<int>(maxzoom)));
    updatelist(0, 0, 0, 1, 0, 0, 0);
}

void _cenlist() {
    updatelist(0, 0, 0, 0, 1, 0, 0);
    set_drawing_scroll_value();
}

void _homelist() {
    updatelist(0, 0, 1, 0, 0, 0, 0);
    set_drawing_scroll_value();
}

void _multlist() {
    bigpan = bigpan ? 0 : 1;
    loop_status_line();
}

void _regenlist() {
    loop_blink_off();
    const ObjectRec saved = info;
    const std::int16_t index = prev_index;
    nomore_info();
    change_window(cur_win.xl, cur_win.xr, cur_win.yb, aspectratio, 1);
    show_objects(1, 1, first_object_slot);
    if (index != -1) {
        get_info(index);
        info = saved;
    }
}

void _fulllist(double* xl, double* xr, double* yb, double* yt) {
    const double cx = (*xl + *xr) / 2, cy = (*yb + *yt) / 2;
    const double f = std::ldexp(1.0, maxzoom);
    const double W = (*xr - *xl) / f, H = (*yt - *yb) / f;
    *xl = cx - W / 2;
    *yb = cy - H / 2;
    *xr = *xl + W;
    *yt = *yb + H;
}

void _crunchlist() { waittime(1.0); }

}  // namespace drav
