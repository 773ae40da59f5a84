#include "shell/drawing_window.h"

#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/settings.h"

namespace drav {

namespace {
std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }
}  // namespace

void update_drawing_rects(plat::Window* window) {
    const plat::Rect b = plat::window_port(window)->port_rect();
    drawRect = plat::Rect{b.top, b.left, i16(b.bottom - scroll_band), i16(b.right - scroll_band)};
}

void size_drawing_scrolls(plat::Window* window) {
    const plat::Rect b = plat::window_port(window)->port_rect();
    const int w = b.right - b.left, h = b.bottom - b.top;
    plat::hide_control(horizHdl);
    plat::hide_control(vertHdl);
    plat::move_control(horizHdl, b.left + 74, h - 15);
    plat::size_control(horizHdl, w - 88, 16);
    plat::move_control(vertHdl, b.right - 15, b.top - 1);
    plat::size_control(vertHdl, 16, h - 13);
    plat::set_control_maximum(vertHdl, drawRect.bottom - drawRect.top + 15);
    plat::set_control_maximum(horizHdl, drawRect.right - drawRect.left - 90);
    // TODO(set_drawing_scroll_value) the thumbs follow the view once the pan limits exist
    plat::show_control(horizHdl);
    plat::show_control(vertHdl);
    (void)window;
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

}  // namespace drav
