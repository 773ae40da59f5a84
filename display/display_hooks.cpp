#include "display/display_hooks.h"

#include "base/idle.h"
#include "base/window_areas.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "store/hooks.h"
#include "store/settings.h"

namespace drav {

namespace {

int show_for_store(std::int16_t mode, const ObjectRec* rec, bool at_once) {
    if (at_once) {
        const std::uint16_t to_screen = drawtoscreen;
        drawtoscreen = 1;
        stop_show_go(mode, rec);
        drawtoscreen = to_screen;
    } else {
        show(mode, rec);
    }
    return clipped;
}

void mark_drawing_area(int flag) { setvalidrect(whichdrawWindow(), drawRect, flag); }

void settings_read() {
    setlpatlen(output_defs.style_length);
    // Without a display (tests of the store alone) there is nothing to redraw.
    if (graphwasinit) SketchWindow();
    // The screen cursor starts at the left and bottom pixel of the view.
    scrn_x = viewport.xl;
    scrn_y = viewport.yb;
}

}  // namespace

void install_display_hooks() {
    StoreDisplay d;
    d.show = show_for_store;
    d.cursor_stop = cur_stop;
    d.cursor_go = cur_go;
    d.settings_read = settings_read;
    set_store_display(d);
    set_crosshair_hider(cur_stop);
    set_drawing_area_marker(mark_drawing_area);
    install_selection_hooks();
}

}  // namespace drav
