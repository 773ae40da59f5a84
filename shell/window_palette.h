// The drawing window's strip of view buttons in the corner of its
// horizontal scroll bar: base view, zoom in, zoom out, full view, redraw.
// The buttons act at once, also inside a running command, and leave that
// command's state as they found it.
#pragma once

#include "platform/core/qd_types.h"
#include "platform/ui/windows.h"

namespace drav {

constexpr int window_button_count = 5;
constexpr int window_button_width = 15;
// The picture of the strip in data/ui/icons ("strip408.pbm", "@2x" doubled).
constexpr int strip_width = 76, strip_height = 16;

// The strip of `window`: 76 x 16 pixels at the left of the horizontal
// scroll bar, one pixel beyond the content's left and bottom edges.
void get_biofrect(plat::Rect* rect, plat::Window* window);
// The rectangle of button n (1 to 5) inside the strip.
plat::Rect window_button_rect(const plat::Rect& strip, int n);
// Draws the strip's picture into the window (and its 2x detail).
void draw_window_strip(plat::Window* window);
// A click on button n: a double click runs window_doubleclick.
void dowindow(int n);
void window_singleclick(int n);
void window_doubleclick(int n);

}  // namespace drav
