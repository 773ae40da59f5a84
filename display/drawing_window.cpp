#include "display/drawing_window.h"

#include <utility>

#include "display/graphics_unit.h"
#include "display/screen.h"
#include "store/settings.h"

namespace drav {

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
    // TODO(set_drawing_scroll_value) the thumbs follow the view once the pan limits exist
    plat::show_control(horizHdl);
    plat::show_control(vertHdl);
}

void drawing_window_resized(plat::Window* window) {
    update_drawing_rects(window);
    size_drawing_scrolls(window);
    winchanged();
    // TODO(do_panlist) a pan by no steps fits the display list's view to the new area
    plat::invalidate_rect(window, plat::window_port(window)->port_rect());
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
