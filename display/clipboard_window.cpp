#include "display/clipboard_window.h"

namespace drav {

plat::Window* clipCWindow = nullptr;
plat::Control* chorizHdl = nullptr;
plat::Control* cvertHdl = nullptr;

namespace {
constexpr int clip_left = 60, clip_top = 100, clip_width = 320, clip_height = 240;
}

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
    const int w = clip_width, h = clip_height;
    const plat::Rect horiz{static_cast<std::int16_t>(h - 15), -1, static_cast<std::int16_t>(h + 1),
                           static_cast<std::int16_t>(w - 14)};
    const plat::Rect vert{-1, static_cast<std::int16_t>(w - 15), static_cast<std::int16_t>(h - 14),
                          static_cast<std::int16_t>(w + 1)};
    chorizHdl = plat::new_scroll_bar(clipCWindow, horiz, 1, 0, 0, 0);
    cvertHdl = plat::new_scroll_bar(clipCWindow, vert, 2, 0, 0, 0);
}

plat::Window* whichclipWindow() { return clipCWindow; }
plat::Port* whichclipPort() { return plat::window_port(clipCWindow); }

}  // namespace drav
