#include "display/display_hooks.h"

#include "base/idle.h"
#include "base/window_areas.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/line_styles.h"
#include "display/object_find.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "store/hooks.h"
#include "store/object_snap.h"
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

// The outline as the renderer draws it at full resolution and width 1,
// unclipped, collected without drawing anything.
int collect_outline(const ObjectRec& rec, double* out, int max) {
    if (!endpoints) return 0;
    const std::uint16_t keep_clip = clip_it, keep_save = save_pts, keep_res = max_resolution,
                        keep_clipped = clipped, keep_listing = listing, keep_forced = forced_show;
    ObjectRec r = rec;
    r.b[obj::width] = 1;
    clip_it = 0;
    save_pts = 1;
    max_resolution = 1;
    listing = 0;
    forced_show = 1;  // the outline counts whatever the level's visibility
    num_pts = 0;
    show(0, &r);
    // The last point starts at num_pts; nothing drawn leaves it 0.
    int n = num_pts > 0 ? num_pts + 2 : 0;
    if (n > max) n = max;
    for (int i = 0; i < n; ++i) out[i] = endpoints[i];
    clip_it = keep_clip;
    save_pts = keep_save;
    max_resolution = keep_res;
    clipped = keep_clipped;
    listing = keep_listing;
    forced_show = keep_forced;
    return n;
}

int list_available() { return listavail(); }

}  // namespace

void install_display_hooks() {
    StoreDisplay d;
    d.show = show_for_store;
    d.cursor_stop = cur_stop;
    d.cursor_go = cur_go;
    d.settings_read = settings_read;
    set_store_display(d);
    set_snap_display(collect_outline, list_available);
    set_snap_finder(find_object);
    set_crosshair_hider(cur_stop);
    set_drawing_area_marker(mark_drawing_area);
    install_selection_hooks();
}

}  // namespace drav
