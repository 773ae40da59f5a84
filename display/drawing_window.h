// The drawing window's geometry: the drawing area, the scroll bars and the
// view that follows a change of size.
#pragma once

#include <cstdint>

#include "platform/ui/windows.h"

namespace drav {

extern std::uint16_t ingrpdrag;  // a group drag runs

// The drawing window is never made smaller than this.
constexpr int min_drawing_width = 165;
constexpr int min_drawing_height = 90;

// The drawing area of a drawing window whose port has these bounds: all but
// the scroll-bar band at the right and bottom.
plat::Rect drawing_area(const plat::Rect& bounds);
// Where its two scroll bars stand; the horizontal one leaves room at its left
// for the window buttons.
void drawing_scroll_rects(const plat::Rect& bounds, plat::Rect* horiz, plat::Rect* vert);
// `drawRect` from the window's port bounds.
void update_drawing_rects(plat::Window* window);
// Places and scales both scroll bars.
void size_drawing_scrolls(plat::Window* window);
// Both scroll bars' values from the display list's view within the scroll limits.
void set_drawing_scroll_value();
// After the window changed size: the drawing area, the viewport and a view
// of the old scale whose left and top edges stay where they were.
void winchanged();
// After the user changed the drawing window's size: what the grow box does
// once the window has its new size.
void drawing_window_resized(plat::Window* window);
// The zoom box: between the whole screen and the size before.
void zoomdrawing(plat::Window* window, std::int16_t part);
// One step of a held scroll-bar arrow (parts 20, 21) or page area (22, 23).
void scrollAction(plat::Control* control, std::int16_t part);
// A press on a scroll bar's thumb at the local point: the thumb is dragged
// until the button is let go, and the view follows it.
void drawing_thumb(plat::Control* control, plat::Point press);

}  // namespace drav
