#include "shell/crossing_snap.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "display/object_find.h"
#include "display/graphics_unit.h"
#include "shell/loop_helpers.h"
#include "store/crossing_snap.h"
#include "store/object_snap.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int prompt_one_pick = 10, prompt_first_pick = 11, prompt_second_pick = 12;
constexpr int key_esc = 27, key_quit = 'Q', key_same = 'O';

double p1x = 0, p1y = 0, p2x = 0, p2y = 0;

// Reads one pick; `same_key` (0 none) takes the first pick again.
void read_pick(int prompt, double* x, double* y, bool same_key) {
    pr_miscmsg(prompt);
    setup_loop();
    do {
        const int key = get_point(x, y, 0);
        if (!look_for(key)) continue;
        if (key == key_esc) aborted = 1;
        if (key == key_quit) quit = 1;
        if (same_key && key == key_same) {
            *x = p1x;
            *y = p1y;
            accepted = 1;
        }
    } while (!aborted && !accepted && !quit);
}

// The object under (x, y) searched after *n.
bool pick_after(std::int16_t* n, double x, double y) {
    return find_object(n, x, y, 0) != 0;
}

}  // namespace

int get_two_objects(ObjectRec& record1, ObjectRec& record2) {
    read_pick(objopts && objopts->intersect_opt ? prompt_first_pick : prompt_one_pick, &p1x, &p1y, false);
    p2x = p1x;
    p2y = p1y;
    if (accepted && objopts && objopts->intersect_opt) read_pick(prompt_second_pick, &p2x, &p2y, true);
    if (!accepted) return 0;
    set_crossing_picks(p1x, p1y, p2x, p2y);
    set_valid_objects();
    ind1 = static_cast<std::int16_t>(last_valid_indx());
    if (!pick_after(&ind1, p1x, p1y)) return 0;
    get_info(ind1);
    record1 = info;
    // The second search starts after the first object and wraps.
    ind2 = ind1;
    if (!pick_after(&ind2, p2x, p2y)) return 0;
    get_info(ind2);
    record2 = info;
    return ind1 != ind2 || obj_kind(record1) == ok_symbol ? 1 : 0;
}

int intr_snap_selected() {
    snapintr = 0;
    if (misc_defs.snap_mode == snap_crossing) misc_defs.snap_mode = prevsnapmode;
    ObjectRec a{}, b{};
    if (!get_two_objects(a, b)) {
        misc_defs.snap_mode = prevsnapmode;
        return 0;
    }
    if (!quit) {
        if (misc_defs.snap_mode != snap_object && misc_defs.snap_mode != snap_crossing)
            prevsnapmode = misc_defs.snap_mode;
        watch_on();
        cur_stop();
        grind_out_intersect2(a, b);
        cur_go();
        watch_off();
    }
    return misc_defs.snap_mode == snap_crossing ? 1 : 0;
}

}  // namespace drav
