#include "base/window_areas.h"

namespace drav {

namespace {
DrawingAreaMarker g_marker = nullptr;
}  // namespace

void setvalidrect(plat::Window* window, const plat::Rect& rect, int flag) {
    if (!window) return;
    if (flag)
        plat::validate_rect(window, rect);
    else
        plat::invalidate_rect(window, rect);
}

void set_drawing_area_marker(DrawingAreaMarker f) { g_marker = f; }

void drawing_area_valid(int flag) {
    if (g_marker) g_marker(flag);
}

}  // namespace drav
