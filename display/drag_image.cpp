#include "display/drag_image.h"

#include <algorithm>
#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/tool_options.h"
#include "display/clip_tests.h"
#include "display/graphics_unit.h"
#include "display/object_find.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "store/geometry.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

std::int16_t t2x = 0, t2y = 0;
std::uint16_t makenewrgn = 0;

namespace {

std::int16_t to16(double v) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(trunc_i32(v), INT16_MIN, INT16_MAX));
}

void widen_by_info() { find_limits(info, &rgnlx, &rgnly, &rgnhx, &rgnhy, 0); }

// Objects lying off the view would be clipped away while drawn, so the
// image is drawn shifted into the view: its top-left corner at the view's
// when it fits, else its handle at the view's centre.
void shift_into_view(double hx, double hy, double* dx, double* dy) {
    if (rgnhx - rgnlx <= cur_win.xr - cur_win.xl && rgnhy - rgnly <= cur_win.yt - cur_win.yb) {
        *dx = rgnlx - cur_win.xl;
        *dy = rgnhy - cur_win.yt;
    } else {
        *dx = hx - (cur_win.xl + cur_win.xr) / 2;
        *dy = hy - (cur_win.yb + cur_win.yt) / 2;
    }
}

void move_ref(ObjectRec& r, double dx, double dy) {
    set_rec_f64(r, obj::ref_x, rec_f64(r, obj::ref_x) + dx);
    set_rec_f64(r, obj::ref_y, rec_f64(r, obj::ref_y) + dy);
}

// Draws `info` shifted by -d into the open image and widens the bounds.
void draw_shifted(double dx, double dy) {
    move_ref(info, -dx, -dy);
    show(mode_xor, &info);
    widen_by_info();
    move_ref(info, dx, dy);
}

// The image was drawn shifted by -d: it goes back over the true places.
void offset_by_world(double dx, double dy) {
    double px = 0, py = 0;
    rel_world_screen(dx, -dy, &px, &py);
    ouroffsetrgn(to16(px), to16(py));
}

}  // namespace

void window_pixel(double x, double y, std::int16_t* h, std::int16_t* v) {
    world_screen(&x, &y);
    *h = to16(x - viewport.xl);
    *v = to16(viewport.yt - y);
}

int getRgninfo() {
    watch_on();
    double hx = 0, hy = 0;
    if (macgroup) {
        get_oghandle(&hx, &hy);
        ournewrgn();
        for (int i = first_object_slot; i < number_of_objects; ++i)
            if (get_and_check(static_cast<std::int16_t>(i))) widen_by_info();
    } else {
        if (!okindx(&indx)) {
            watch_off();
            return 0;
        }
        get_oghandle(&hx, &hy);
        ournewrgn();
        widen_by_info();
    }
    double dx = 0, dy = 0;
    shift_into_view(hx, hy, &dx, &dy);
    set_oghandle(hx - dx, hy - dy);
    ournewrgn();
    ouropenrgn();
    if (macgroup) {
        for (int i = first_object_slot; i < number_of_objects; ++i)
            if (get_and_check(static_cast<std::int16_t>(i))) draw_shifted(dx, dy);
    } else {
        draw_shifted(dx, dy);
    }
    ourclosergn();
    set_oghandle(hx, hy);
    offset_by_world(dx, dy);
    watch_off();
    return 1;
}

void infoRgn() {
    const std::uint16_t word0 = rec_word0(info);
    // Drawn as a live object whatever it is marked as while in hand.
    set_rec_kind(info, rk_object);
    set_rec_u16(info, o_word0, static_cast<std::uint16_t>(rec_word0(info) | w0_live));
    const double ox = rec_f64(info, obj::handle_x), oy = rec_f64(info, obj::handle_y);
    double kx = 0, ky = 0;
    get_oghandle(&kx, &ky);
    set_oghandle(rec_f64(info, obj::ref_x) + ox, rec_f64(info, obj::ref_y) + oy);
    ournewrgn();
    widen_by_info();
    double hx = 0, hy = 0;
    get_oghandle(&hx, &hy);
    double dx = 0, dy = 0;
    shift_into_view(hx, hy, &dx, &dy);
    move_ref(info, -dx, -dy);
    set_oghandle(rec_f64(info, obj::ref_x) + ox, rec_f64(info, obj::ref_y) + oy);
    ournewrgn();
    ouropenrgn();
    show(mode_xor, &info);
    widen_by_info();
    ourclosergn();
    move_ref(info, dx, dy);
    set_rec_u16(info, o_word0, word0);
    offset_by_world(dx, dy);
    // The selection's handle stays where it was: the object in hand is no
    // member of the selection.
    set_oghandle(kx, ky);
}

int make_objrgn(int place) {
    plat::PortSaver saver(drawCWindow);
    const int built = getRgninfo();
    if (!place) return built;
    double x = 0, y = 0;
    loop_get_point(&x, &y, 1);
    double hx = 0, hy = 0;
    get_oghandle(&hx, &hy);
    std::int16_t h = 0, v = 0;
    window_pixel(hx, hy, &h, &v);
    window_pixel(last_x, last_y, &t2x, &t2y);
    const std::int16_t lock = objopts ? objopts->lock_mode : 0;
    const std::int16_t dh = static_cast<std::int16_t>(t2x - h), dv = static_cast<std::int16_t>(t2y - v);
    switch (lock) {
    case 0:
    case 3: ouroffsetrgn(dh, dv); break;
    case 1: ouroffsetrgn(dh, 0); break;
    case 2: ouroffsetrgn(0, dv); break;
    default: break;
    }
    return built;
}

int blinkrgn() {
    ourframergn();
    return 1;
}

}  // namespace drav
