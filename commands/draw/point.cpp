#include "commands/draw/point.h"

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int prompt_point = 3;

// Points are drawn solid whatever the current style, template points too.
void make_solid() { info.b[obj::style] = static_cast<std::uint8_t>(solidstyle); }

}  // namespace

void add_point(ObjOptsRec& opts) {
    begin_object(ok_point, opts, true);
    make_solid();
    // Seen once for the command: each new choice of a lock turns the point
    // in hand further, so the turns add up.
    RestraintSeen seen;
    do {
        loop_start_blink_info();
        pr_addmsg(prompt_point);
        accepted = 0;
        do {
            double x = 0, y = 0;
            const int key = loop_get_point(&x, &y, 1);
            if (key) pt_key_options(key);
            if (seen.changed(opts)) {
                loop_blink_off();
                double turn = 0;
                if (opts.lock_mode == 2) turn = half_pie;
                if (opts.lock_mode == 3) turn = units_defs.rotation_step;
                change_object(r_one, r_one, turn, 0, 0, info);
            }
            if (aborted || quit) break;
            clipped = 1;
            set_init(x, y, info);
            if (!accepted) {
                loop_blink_on();
                continue;
            }
            store_piece();
            loop_stop_blink();
            keep_as_template();
            make_solid();
        } while (!accepted);
    } while (!aborted && !quit);
    loop_stop_blink();
    if (aborted) erase_many_objects(save_indx);
}

void pt_key_options(int key) {
    switch (key) {
    case key_esc:
        aborted = 1;
        break;
    case key_quit:
        quit = 1;
        addnum = tool_select_code;
        break;
    case key_undo:
        loop_blink_off();
        erase_one_object(save_indx, save_indx, 0);
        break;
    default:
        break;
    }
}

}  // namespace drav
