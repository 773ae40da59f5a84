#include "shell/restraints_palette.h"

#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "base/restraint_hook.h"
#include "base/tool_options.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/restraint_windows.h"
#include "display/display_list.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/object_find.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/blink.h"
#include "shell/crossing_snap.h"
#include "shell/event_pump.h"
#include "shell/loop_helpers.h"
#include "shell/message_palette.h"
#include "shell/startup.h"
#include "shell/tool_palette.h"
#include "store/held_object.h"
#include "store/object_snap.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"

namespace drav {

plat::Dialog* locDPtr = nullptr;
std::int16_t locknum = lock_free_item;
std::uint16_t resnap = 0;

namespace {

constexpr int pp_restraint_code = 5;
constexpr int prompt_pick_snap_object = 9;
constexpr int key_esc = 27, key_next = 'N', key_quit = 'Q';

ToolIcon g_icons[last_restraint + 1];
bool g_icons_loaded = false;

void redraw_palette() {
    if (!locDPtr) return;
    const plat::Port* port = plat::dialog_port(locDPtr);
    plat::invalidate_dialog_rect(locDPtr, plat::Rect{0, 0, static_cast<std::int16_t>(port->height()),
                                                     static_cast<std::int16_t>(port->width())});
}

// The snap item of a snap code (5 is object snap onto the outline).
int item_of_code(int code) {
    static constexpr int items[6] = {snap_fraction_item, snap_increment_item, snap_grid_item,
                                     snap_points_item,   snap_crossing_item,  snap_outline_item};
    return code >= 0 && code <= 5 ? items[code] : 0;
}

// The mode a pick returns to: the current one when it is a plain one.
void remember_prevsnapmode() {
    const std::int16_t m = misc_defs.snap_mode;
    if (m >= snap_fraction && m <= snap_grid)
        prevsnapmode = m;
    else if (prevsnapmode != snap_increment && prevsnapmode != snap_grid)
        prevsnapmode = snap_fraction;
}

void take_snap_object(std::int16_t n, double x, double y) {
    snaprec = n;
    get_info(n);
    *snap_obj = info;
    info_setup_snap(*snap_obj, msnap_pts, x, y);
}

void moved_snap_item(int old_item, int new_item) {
    (void)old_item;
    (void)new_item;
    redraw_palette();
}

}  // namespace

void restraint_snap_item(int item) {
    if (item == 0 || item == snapnum) return;
    snapnum = static_cast<std::int16_t>(item);
    redraw_palette();
}

void fill_restraint_square(plat::Dialog* dialog, int item) {
    if (!dialog || dialog != locDPtr || item < first_restraint || item > last_restraint) return;
    if (!g_icons_loaded) {
        for (int i = first_restraint; i <= last_restraint; ++i) g_icons[i] = load_palette_icon("restraint", i, 1);
        g_icons_loaded = true;
    }
    draw_icon_square(dialog, item, g_icons[item]);
    if (item == locknum || item == snapnum) invert_item(dialog, item);
}

void sett_restraints() {
    if (locDPtr) {
        const plat::Rect b = plat::dialog_bounds(locDPtr);
        lastpnt[restraints_palette_pos] = plat::Point{b.top, b.left};
        MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLcn"));
        plat::dispose_dialog(locDPtr);
        locDPtr = nullptr;
        return;
    }
    std::string error;
    locDPtr = plat::new_dialog(restraints_palette_id, &error);
    if (!locDPtr) return;
    MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLcn"));
    const plat::Point saved = lastpnt[restraints_palette_pos];
    if (saved.v == 0) {
        const plat::Rect screen = plat::screen_bounds();
        plat::move_dialog(locDPtr, screen.left + 3, screen.top + 239);
    } else {
        plat::move_dialog(locDPtr, saved.h, saved.v);
    }
    for (int i = first_restraint; i <= last_restraint; ++i)
        plat::set_draw_proc(plat::dialog_item(locDPtr, i), fillsq);
    plat::show_dialog(locDPtr);
}

void dorestraints(int item) {
    if (!locDPtr) return;
    if (isdoubleclick()) {
        restraint_doubleclick(item);
        return;
    }
    if (postpone_snap(pp_restraint_code, static_cast<std::int16_t>(item))) {
        resnap = 1;
        return;
    }
    restraint_singleclick(item);
}

void restraint_singleclick(int item) {
    if (item < first_restraint || item > last_restraint) return;
    if (item <= lock_step_item) {
        // A lock set elsewhere (4 or 5 during a rotation) stays when the
        // highlighted item is clicked again.
        if (locknum != item && objopts) objopts->lock_mode = static_cast<std::int16_t>(item - first_restraint);
        locknum = static_cast<std::int16_t>(item);
        redraw_palette();
        return;
    }
    char message[256] = {};
    RetrieveCStringMessage(message);
    snapnum = static_cast<std::int16_t>(item);
    redraw_palette();
    if (item == snap_fraction_item || item == snap_increment_item || item == snap_grid_item) {
        ch_snap(item - 5);
    } else if (getidle()) {
        if (macgroup)
            showgroup(0);
        else
            showonoff(indx, 0);
        ch_snap(item - 5);
        if (macgroup)
            showgroup(1);
        else
            showonoff(indx, 1);
    } else {
        const ObjectRec saved = info;
        char saved_text[textline_size];
        std::memcpy(saved_text, textline, sizeof saved_text);
        const std::int16_t saved_index = prev_index;
        ch_snap(item - 5);
        if (saved_index != -1) {
            get_info(saved_index);
            info = saved;
            std::memcpy(textline, saved_text, sizeof saved_text);
        }
    }
    const bool missed = (snapnum == snap_crossing_item && misc_defs.snap_mode != snap_crossing) ||
                        ((snapnum == snap_points_item || snapnum == snap_outline_item) &&
                         misc_defs.snap_mode != snap_object);
    if (missed) {
        const int back = snap_item_of_mode(prevsnapmode);
        if (back != 0) snapnum = static_cast<std::int16_t>(back);
        redraw_palette();
        misc_defs.snap_mode = prevsnapmode;
    }
    DisplayCStringMessage(message);
    if (resnap) setup_loop();
    resnap = 0;
}

void restraint_doubleclick(int item) {
    const std::int16_t keep_lock = locknum, keep_snap = snapnum;
    bool opened = true;
    switch (item) {
    case lock_step_item:
        locknum = lock_step_item;
        redraw_palette();
        ShowRotationWindow();
        break;
    case snap_crossing_item:
        snapnum = snap_crossing_item;
        redraw_palette();
        ShowIntersectionWindow();
        break;
    case snap_increment_item:
        snapnum = snap_increment_item;
        redraw_palette();
        ShowIncrementWindow();
        break;
    case snap_grid_item:
        snapnum = snap_grid_item;
        redraw_palette();
        ShowGridWindow();
        break;
    default: opened = false; break;
    }
    if (opened) aborted = 0;
    // The item shows highlighted only while its window is open.
    locknum = keep_lock;
    snapnum = keep_snap;
    redraw_palette();
    if (postpone_snap(pp_restraint_code, static_cast<std::int16_t>(item)))
        resnap = 1;
    else
        restraint_singleclick(item);
}

void markrestraints() {
    if (!locDPtr) return;
    int code = misc_defs.snap_mode;
    if (code == snap_object && snap_eqn) code = 5;
    const int item = item_of_code(code);
    if (item != 0) restraint_singleclick(item);
}

void ch_snap(int n) {
    const std::int16_t keep_mode = gdrawmode, keep_pat = gdrawpat;
    plat::PortSaver port_saver;
    setdrawmode(1);
    setdrawpat(0);
    const std::uint16_t keep_idle = getidle();
    setidle(0);
    blink_off();
    HeldObject held;
    held.keep();
    aborted = quit = 0;
    snapidle = 0;
    save_params();
    const std::int16_t keep_snaprec = snaprec;
    nomore_object_snap();
    snaprec = keep_snaprec;
    switch (n) {
    case 1: misc_defs.snap_mode = snap_fraction; break;
    case 2:
        if (there_are_objects() && intr_snap_selected()) misc_defs.snap_mode = snap_crossing;
        break;
    case 3: misc_defs.snap_mode = snap_increment; break;
    case 4: misc_defs.snap_mode = snap_grid; break;
    case 5:
    case 6:
        snap_eqn = n == 6 ? 1 : 0;
        if (there_are_objects() && object_snap_selected()) misc_defs.snap_mode = snap_object;
        break;
    default: break;
    }
    const bool ended = quit || aborted;
    rstore_params(1, 1);
    snapidle = 1;
    if (ended) quit = 1;
    if (!ingrpdrag) held.put_back();
    setidle(keep_idle);
    setdrawmode(keep_mode);
    setdrawpat(keep_pat);
}

void snap2_key_options(int key, std::uint16_t* next) {
    switch (key) {
    case key_next: *next = 1; break;
    case key_quit: quit = 1; break;
    case key_esc: aborted = 1; break;
    default: break;
    }
}

int object_snap_selected() {
    std::uint16_t next = 0;
    if (misc_defs.snap_mode == snap_crossing) misc_defs.snap_mode = prevsnapmode;
    pr_miscmsg(prompt_pick_snap_object);
    setup_loop();
    double x = 0, y = 0;
    do {
        const int key = get_point(&x, &y, 0);
        if (look_for(key)) snap2_key_options(key, &next);
    } while (!accepted && !aborted && !quit && !next);
    if (accepted || next) {
        set_valid_objects();
        std::int16_t start = snaprec == -1 ? static_cast<std::int16_t>(last_valid_indx()) : snaprec;
        if (!find_object(&start, x, y, next)) return 0;
        take_snap_object(start, x, y);
        remember_prevsnapmode();
        return 1;
    }
    if (quit && snaprec >= first_object_slot) {
        // The earlier snap object stays, its points taken again.
        take_snap_object(snaprec, x, y);
        remember_prevsnapmode();
        return 1;
    }
    return 0;
}

void install_restraints_palette() {
    set_snap_palette(moved_snap_item);
    set_mark_restraints(markrestraints);
    set_restraint_click(restraint_singleclick);
}

}  // namespace drav
