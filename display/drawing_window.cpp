#include "display/drawing_window.h"

#include <cstring>
#include <utility>

#include "base/tool_options.h"
#include "base/command_loop.h"
#include "base/idle.h"
#include "display/graphics_unit.h"
#include "display/list_view.h"
#include "display/view_commands.h"
#include "store/held_object.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "display/pan_canvas.h"
#include "display/screen.h"
#include "platform/ui/events.h"
#include "store/geometry.h"
#include "store/settings.h"

namespace drav {

std::uint16_t ingrpdrag = 0;

namespace {
std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }
}  // namespace

plat::Rect drawing_area(const plat::Rect& b) {
    return plat::Rect{b.top, b.left, i16(b.bottom - scroll_band), i16(b.right - scroll_band)};
}

void drawing_scroll_rects(const plat::Rect& b, plat::Rect* horiz, plat::Rect* vert) {
    const int w = b.right - b.left, h = b.bottom - b.top;
    *horiz = plat::Rect{i16(h - 15), i16(b.left + 74), i16(h + 1), i16(b.left + 74 + w - 88)};
    *vert = plat::Rect{i16(b.top - 1), i16(b.right - 15), i16(b.top - 1 + h - 13), i16(b.right + 1)};
}

void update_drawing_rects(plat::Window* window) { drawRect = drawing_area(plat::window_port(window)->port_rect()); }

void size_drawing_scrolls(plat::Window* window) {
    plat::Rect horiz, vert;
    drawing_scroll_rects(plat::window_port(window)->port_rect(), &horiz, &vert);
    plat::hide_control(horizHdl);
    plat::hide_control(vertHdl);
    for (auto [bar, r] : {std::pair{horizHdl, horiz}, std::pair{vertHdl, vert}}) {
        plat::move_control(bar, r.left, r.top);
        plat::size_control(bar, r.right - r.left, r.bottom - r.top);
    }
    plat::set_control_maximum(vertHdl, drawRect.bottom - drawRect.top + 15);
    plat::set_control_maximum(horizHdl, drawRect.right - drawRect.left - 90);
    set_drawing_scroll_value();
    plat::show_control(horizHdl);
    plat::show_control(vertHdl);
}

void drawing_window_resized(plat::Window* window) {
    update_drawing_rects(window);
    size_drawing_scrolls(window);
    winchanged();
    do_panlist(0, 0);
    plat::invalidate_rect(window, plat::window_port(window)->port_rect());
}

void set_drawing_scroll_value() {
    if (!horizHdl || !vertHdl || !objopts) return;
    const int hmin = plat::control_minimum(horizHdl), hmax = plat::control_maximum(horizHdl);
    const int vmin = plat::control_minimum(vertHdl), vmax = plat::control_maximum(vertHdl);
    double L = objopts->zoom_left, B = objopts->zoom_bottom, R = objopts->zoom_right, T = objopts->zoom_top;
    pworld_screen(&L, &B);
    pworld_screen(&R, &T);
    plat::show_control(horizHdl);
    plat::show_control(vertHdl);
    int h = hmin, v = vmin;
    if (panvp.xl <= ltrunc(L))
        h = hmin;
    else if (panvp.xr >= ltrunc(R))
        h = hmax;
    else if (R != L)
        h = trunc_i32((panvp.xl + panvp.width / 2.0 - L) / (R - L) * (hmax - hmin));
    if (panvp.yb <= ltrunc(B))
        v = vmax;
    else if (panvp.yt >= ltrunc(T))
        v = vmin;
    else if (T != B)
        v = trunc_i32(vmax - (panvp.yb + panvp.height / 2.0 - B) / (T - B) * (vmax - vmin));
    plat::set_control_value(vertHdl, v);
    plat::set_control_value(horizHdl, h);
}

void winchanged() {
    const double scale = viewport.width > 0 ? (cur_win.xr - cur_win.xl) / viewport.width : 0;
    const double left = cur_win.xl, top = cur_win.yt;
    xdots = i16(drawRect.right - drawRect.left);
    ydots = i16(drawRect.bottom - drawRect.top);
    setgrvars();
    if (!(scale > 0) || viewport.width <= 0) return;
    const double width = scale * viewport.width;
    const double height = width * aspectratio;
    change_window(left, left + width, top - height, aspectratio, 0);
}

void zoomdrawing(plat::Window* window, std::int16_t part) {
    if (!window) return;
    static plat::Rect before{};
    plat::PortSaver saver(plat::window_port(window));
    plat::invalidate_rect(window, plat::window_port(window)->port_rect());
    const plat::Rect now = plat::window_bounds(window);
    const plat::Rect screen = plat::screen_bounds();
    const bool to_screen = part == plat::inZoomOut || before.right <= before.left;
    const plat::Rect target = to_screen ? screen : before;
    before = now;
    plat::move_window(window, target.left, target.top, false);
    plat::size_window(window, target.right - target.left, target.bottom - target.top);
    update_drawing_rects(window);
    size_drawing_scrolls(window);
    winchanged();
    plat::invalidate_rect(window, plat::window_port(window)->port_rect());
}

namespace {

// A move of the view from a scroll bar, which may come in the middle of a
// command: the object in hand is kept aside and put back afterwards.
template <class Move>
void scroll_view(Move move) {
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    setdrawmode(mode_draw);
    setdrawpat(0);
    const std::uint16_t was_idle = getidle();
    setidle(0);
    loop_blink_off();
    HeldObject held;
    held.keep();
    quit = aborted = 0;
    move();
    set_drawing_scroll_value();
    if (!ingrpdrag) held.put_back();
    setidle(was_idle);
    setdrawmode(mode);
    setdrawpat(pat);
}

}  // namespace

void scrollAction(plat::Control* control, std::int16_t part) {
    if (part < 20 || part > 23 || !control) return;
    scroll_view([control, part] {
        const bool horizontal = control == horizHdl;
        bigpan = part == 22 || part == 23 ? 1 : 0;
        if (part == 20 || part == 22) {
            if (horizontal)
                do_left(1);
            else
                do_up(1);
        } else {
            if (horizontal)
                do_right(1);
            else
                do_down(1);
        }
    });
}

void drawing_thumb(plat::Control* control, plat::Point press) {
    if (!control) return;
    // A thumb let go where it was taken leaves the view as it is.
    const int before = plat::control_value(control);
    plat::set_control_value(control, plat::track_thumb(plat::control_window(control), control, press));
    if (plat::control_value(control) != before)
        scroll_view([control] { control == horizHdl ? do_horzthumb() : do_vertthumb(); });
    else
        set_drawing_scroll_value();
}

}  // namespace drav
