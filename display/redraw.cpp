#include "display/redraw.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"

namespace drav {

std::uint16_t reset_on_screen = 0;
std::uint16_t zoom_arrows = 0;

void show_objects(std::int16_t clear, std::int16_t mark, std::int16_t first) {
    plat::Window* window = whichdrawWindow();
    if (window) plat::validate_rect(window, drawRect);
    const std::uint16_t idle = getidle();
    setidle(0);
    watch_on();
    cur_stop();
    loop_blink_off();
    quit = aborted = accepted = 0;
    curlwidth = 0;
    const ObjectRec saved = info;
    const std::int16_t index = prev_index;
    nomore_info();
    if (clear) cleargraphics();
    if (listinstalled() && first == first_object_slot) freelist();
    if (swaper & sw_grid) draw_grids(1);

    int last = number_of_objects - 1;
    if (last < first - 1) last = first - 1;
    genlist = 1;
    int i = first;
    int counter = 0;
    for (; i <= last && !aborted; ++i) {
        if (reset_on_screen || get_on_screen(i) || !listavail()) {
            get_info(static_cast<std::int16_t>(i));
            if (is_live_object(info)) {
                if (obj_kind(info) == ok_text) cumstgs(static_cast<std::int16_t>(i));
                show(mode_draw, &info);
                if (mark) put_on_screen(i, clipped);
            } else {
                put_on_screen(i, 0);
            }
        }
        if (counter > 100) {
            counter = 0;
            if (loop_esc_scan()) aborted = 1;
        } else {
            ++counter;
        }
    }
    genlist = 0;
    if (aborted) {
        for (; i <= last; ++i) put_on_screen(i, 0);
    } else if (listavail()) {
        sketchlist();
    }
    reset_on_screen = aborted;
    if (index != -1) {
        get_info(index);
        info = saved;
    }
    if (window) plat::invalidate_rect(window, drawRect);
    cur_go();
    watch_off();
    setidle(idle);
    if (getidle()) {
        if (macgroup)
            showgroup(1);
        else if (okindx(&indx))
            showcurrent(indx);
    }
}

void show_new_window(std::int16_t reset) {
    if (!reset_on_screen) reset_on_screen = static_cast<std::uint16_t>(reset);
    show_objects(1, 1, first_object_slot);
}

}  // namespace drav
