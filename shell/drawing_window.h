// The drawing window's geometry: the drawing area, the scroll bars and the
// view that follows a change of size.
#pragma once

#include "platform/ui/windows.h"

namespace drav {

// `drawRect` from the window's port bounds.
void update_drawing_rects(plat::Window* window);
// Places and scales both scroll bars.
void size_drawing_scrolls(plat::Window* window);
// After the window changed size: the drawing area, the viewport and a view
// of the old scale whose left and top edges stay where they were.
void winchanged();

}  // namespace drav
