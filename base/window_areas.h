// Areas of windows that the next update repaints.
#pragma once

#include "platform/ui/windows.h"

namespace drav {

// Marks `rect` (window-local) of `window` valid (flag non-zero: no update
// repaints it) or invalid (flag 0: the next update repaints it). A null
// window does nothing.
void setvalidrect(plat::Window* window, const plat::Rect& rect, int flag);

// The same for the drawing area of the drawing window, through the display
// installed at start-up; nothing before.
void drawing_area_valid(int flag);
using DrawingAreaMarker = void (*)(int flag);
void set_drawing_area_marker(DrawingAreaMarker f);

}  // namespace drav
