#include "display/clipboard_window.h"

#include <algorithm>
#include <vector>

#include "platform/ui/clipboard.h"
#include "platform/ui/events.h"

namespace drav {

plat::Window* clipCWindow = nullptr;
plat::Control* chorizHdl = nullptr;
plat::Control* cvertHdl = nullptr;
std::unique_ptr<plat::Picture> clipPicHdl;
std::int16_t dhGraf = 0, dvGraf = 0;

namespace {

constexpr int clip_left = 60, clip_top = 100, clip_width = 320, clip_height = 240;
constexpr int bar_band = 15;  // the scroll bars' band at the right and bottom
constexpr int min_size = 90;

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

// The picture's frame past the port, plus the bar band; 1 or less is none.
void set_maximums() {
    if (!clipCWindow || !clipPicHdl) return;
    const plat::Rect port = plat::window_port(clipCWindow)->port_rect();
    const int h = clipPicHdl->frame.right - port.right + 16;
    const int v = clipPicHdl->frame.bottom - port.bottom + 16;
    plat::set_control_maximum(chorizHdl, h <= 1 ? 0 : h);
    plat::set_control_maximum(cvertHdl, v <= 1 ? 0 : v);
}

void invalidate_all() {
    plat::invalidate_rect(clipCWindow, plat::window_port(clipCWindow)->port_rect());
}

plat::Point local_of(plat::Point global) {
    const plat::Rect b = plat::window_bounds(clipCWindow);
    return plat::Point{i16(global.v - b.top), i16(global.h - b.left)};
}

}  // namespace

void new_clip_window() {
    // A document: the user brings it forward and resizes it like the drawing,
    // and it stays below the palettes.
    plat::WindowSpec desc;
    desc.kind = plat::WindowKind::document;
    desc.bounds = {clip_top, clip_left, clip_top + clip_height, clip_left + clip_width};
    desc.grow_box = true;
    clipCWindow = plat::new_window(desc);
    plat::Port* port = plat::window_port(clipCWindow);
    if (!port || port->width() != clip_width || port->height() != clip_height) {
        plat::dispose_window(clipCWindow);
        clipCWindow = nullptr;
        return;
    }
    plat::set_minimum_size(clipCWindow, min_size, min_size);
    const int w = clip_width, h = clip_height;
    const plat::Rect horiz{i16(h - 15), -1, i16(h + 1), i16(w - 14)};
    const plat::Rect vert{-1, i16(w - 15), i16(h - 14), i16(w + 1)};
    chorizHdl = plat::new_scroll_bar(clipCWindow, horiz, 1, 0, 0, 0);
    cvertHdl = plat::new_scroll_bar(clipCWindow, vert, 2, 0, 0, 0);
    plat::set_control_tracked(chorizHdl, true);
    plat::set_control_tracked(cvertHdl, true);
}

plat::Window* whichclipWindow() { return clipCWindow; }
plat::Port* whichclipPort() { return plat::window_port(clipCWindow); }

void draw_clip_window() {
    if (!clipCWindow) return;
    plat::Port* port = plat::window_port(clipCWindow);
    plat::PortSaver saver(port);
    const plat::Rect all = port->port_rect();
    port->erase_rect(all);
    if (clipPicHdl) {
        port->set_origin(dhGraf, dvGraf);
        port->set_clip(plat::Rect{dvGraf, dhGraf, i16(dvGraf + all.bottom - bar_band), i16(dhGraf + all.right - bar_band)});
        plat::draw_picture(*port, *clipPicHdl, clipPicHdl->frame);
        port->set_origin(0, 0);
    }
    port->set_clip(all);
    plat::validate_rect(clipCWindow, all);
}

void size_clip_scrolls(plat::Window* window) {
    if (!window || window != clipCWindow) return;
    const plat::Rect b = plat::window_port(window)->port_rect();
    const int w = b.right - b.left, h = b.bottom - b.top;
    plat::hide_control(chorizHdl);
    plat::hide_control(cvertHdl);
    plat::move_control(chorizHdl, b.left - 1, b.bottom - 15);
    plat::size_control(chorizHdl, w - 13, 16);
    plat::move_control(cvertHdl, b.right - 15, b.top - 1);
    plat::size_control(cvertHdl, 16, h - 13);
    plat::show_control(chorizHdl);
    plat::show_control(cvertHdl);
    set_maximums();
}

void scroll_clipwindow(std::int16_t dh, std::int16_t dv) {
    dhGraf = i16(dhGraf - dh);
    dvGraf = i16(dvGraf - dv);
    draw_clip_window();
}

void cScrollAction(plat::Control* control, std::int16_t part) {
    if (!control) return;
    int step = 0;
    switch (part) {
    case plat::inUpButton: step = -1; break;
    case plat::inDownButton: step = 1; break;
    case plat::inPageUp: step = -10; break;
    case plat::inPageDown: step = 10; break;
    default: return;
    }
    const int value = plat::control_value(control) + step;
    // A step is never shortened at the end.
    if (value < plat::control_minimum(control) || value > plat::control_maximum(control)) return;
    plat::set_control_value(control, value);
    if (plat::control_refcon(control) == 1)
        scroll_clipwindow(i16(-step), 0);
    else
        scroll_clipwindow(0, i16(-step));
}

void handle_clip_content(plat::Port* port, plat::Point point) {
    if (!clipCWindow || port != plat::window_port(clipCWindow)) return;
    const plat::Rect b = port->port_rect();
    if (point.h < b.right - 16 && point.v < b.bottom - 16) return;
    plat::Control* control = nullptr;
    const std::int16_t part = plat::find_control(clipCWindow, point, &control);
    if (!part) return;
    if (part == plat::inThumb) {
        const int old_value = plat::control_value(control);
        const int new_value = plat::track_thumb(clipCWindow, control, point);
        plat::set_control_value(control, new_value);
        const auto d = i16(old_value - new_value);
        if (plat::control_refcon(control) == 1)
            scroll_clipwindow(d, 0);
        else
            scroll_clipwindow(0, d);
        return;
    }
    // The part repeats while it is held and the mouse stays on it.
    cScrollAction(control, part);
    for (;;) {
        plat::EventRecord up;
        if (plat::wait_next_event(plat::mUpMask, &up, 1) || !plat::button()) break;
        plat::Control* now = nullptr;
        if (plat::find_control(clipCWindow, local_of(plat::mouse_global()), &now) == part && now == control)
            cScrollAction(control, part);
    }
}

void growclip(plat::Window* window) {
    if (!window || window != clipCWindow) return;
    plat::Port* port = plat::window_port(window);
    port->erase_rect(port->port_rect());
    invalidate_all();
    size_clip_scrolls(window);
}

void zoomclip(plat::Window* window, std::int16_t part) {
    if (!window || window != clipCWindow) return;
    static plat::Rect before{};
    reset_clip_view();
    plat::Port* port = plat::window_port(window);
    port->erase_rect(port->port_rect());
    const plat::Rect now = plat::window_bounds(window);
    const bool to_screen = part == plat::inZoomOut || before.right <= before.left;
    const plat::Rect target = to_screen ? plat::screen_bounds() : before;
    before = now;
    plat::move_window(window, target.left, target.top, false);
    plat::size_window(window, target.right - target.left, target.bottom - target.top);
    invalidate_all();
    size_clip_scrolls(window);
}

void reset_clip_view() {
    dhGraf = dvGraf = 0;
    if (plat::Port* port = whichclipPort()) port->set_origin(0, 0);
    if (chorizHdl) plat::set_control_value(chorizHdl, 0);
    if (cvertHdl) plat::set_control_value(cvertHdl, 0);
}

void take_clip_picture(plat::Picture picture) {
    if (!clipCWindow) return;
    clipPicHdl = std::make_unique<plat::Picture>(std::move(picture));
    plat::Port* port = plat::window_port(clipCWindow);
    invalidate_all();
    port->erase_rect(plat::Rect{0, 0, i16(port->height() - bar_band), i16(port->width() - bar_band)});
    const plat::Rect frame = clipPicHdl->frame;
    const plat::Rect b = port->port_rect();
    if (b.right > frame.right + 16) {
        plat::size_window(clipCWindow, std::max(frame.right + 16, min_size), b.bottom - b.top);
        size_clip_scrolls(clipCWindow);
    }
    const plat::Rect b2 = port->port_rect();
    if (b2.bottom > frame.bottom + 16) {
        plat::size_window(clipCWindow, b2.right - b2.left, std::max(frame.bottom + 16, min_size));
        size_clip_scrolls(clipCWindow);
    }
    set_maximums();
}

void updateClipboard() {
    plat::Picture picture;
    if (!scrap_picture(&picture)) return;
    take_clip_picture(std::move(picture));
}

bool scrap_picture(plat::Picture* picture) {
    std::vector<std::uint8_t> data;
    return plat::scrap_flavour(plat::Flavour::pict, &data) && !data.empty() && plat::read_picture(data, picture);
}

}  // namespace drav
