#include "shell/loop_helpers.h"

#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "display/graphics_unit.h"
#include "platform/core/raster.h"
#include "platform/core/text.h"
#include "platform/ui/answerer.h"
#include "platform/ui/events.h"
#include "shell/blink.h"
#include "shell/coordinate_palette.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/main_loop.h"
#include "shell/pointer_input.h"
#include "shell/questions.h"
#include "shell/restraints_palette.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/strings.h"

namespace drav {

namespace {


// The running command's state while a nested one runs.
std::uint16_t save_idle = 0;
double x_save_ref = 0, y_save_ref = 0;
char save_textline[textline_size];
ObjectRec save_info;
std::int16_t tindex = -1;

}  // namespace

void setup_loop() {
    if (!(digitizer_mode && !accepted)) reset_input();
    bell_allowed = 1;
    abs_z = 0;
    whatbutt = 0;
    touched = 0;
    quit = 0;
    aborted = 0;
    accepted = 0;
}

int key_waiting() {
    gobbleoskeys(-1);
    return osch_ready();
}

int rd_sync() {
    // A quit while waiting ends the wait, so the program can close.
    while (!key_waiting())
        if (globalch || plat::termination_requested()) return 0;
    return get_osch(1) & 255;
}

int read_async() {
    setup_loop();
    key_waiting();
    update_cursor();
    int key = 0;
    // The key is already in the ring: taking it pumps no more events, so a
    // click behind it reaches the next poll instead of being dropped there.
    if (!coord_avail && osch_ready()) key = chtoupper(get_osch(1) & 255);
    coord_avail = 0;
    return key;
}

int get_point(double* x, double* y, int snapmode) {
    const std::uint16_t saved_snap = snap_on;
    snap_on = static_cast<std::uint16_t>(snapmode);
    const int key = read_async();
    accepted = touched;
    if (touched) {
        *x = zpos_x;
        *y = zpos_y;
        update_ref(zpos_x, zpos_y);
        touched = 0;
    } else {
        *x = last_x;
        *y = last_y;
    }
    snap_on = saved_snap;
    return key;
}

int look_for(int key) { return key != 0 ? 1 : 0; }

int esc_scan() {
    // Only key events are taken: a click must not start a command inside the
    // loop that polls. Under the busy cursor the key handler turns an escape
    // into `aborted`; other keys are dropped as they would be anyway.
    const std::uint16_t saved_watch = watchon;
    watchon = 1;
    const std::uint16_t was_aborted = aborted;
    aborted = 0;
    for (int n = 0; n < ring_size && !aborted; ++n)
        if (!gobbleoskeys(plat::keyDownMask | plat::autoKeyMask)) break;
    const int escape = aborted ? 1 : 0;
    aborted = static_cast<std::uint16_t>(was_aborted | aborted);
    watchon = saved_watch;
    return escape;
}

void viewclip(double* x, double* y) {
    if (*x > viewport.xr) *x = viewport.xr;
    if (*x < viewport.xl) *x = viewport.xl;
    if (*y > viewport.yt) *y = viewport.yt;
    if (*y < viewport.yb) *y = viewport.yb;
}

void update_cursor() {
    plat::PortSaver saver;
    read_mouse(&abs_x, &abs_y, &abs_z);
    double x = abs_x, y = abs_y;
    snap_it(&x, &y);
    double sx = x, sy = y;
    world_screen(&sx, &sy);
    viewclip(&sx, &sy);
    if (x == last_x && y == last_y) {
        if (abs_z && !touched) button_pressed();
        return;
    }
    blinkOffIfNecessary();
    cur_stop();
    last_x = x;
    last_y = y;
    scrn_x = sx;
    scrn_y = sy;
    cur_go();
    display_coordinates(last_x, last_y);
    if (abs_z && !touched) button_pressed();
}

void button_pressed() {
    plat::PortSaver saver;
    whatbutt = abs_z;
    abs_z = 0;
    coord_avail = 1;
    touched = 1;
    if (!bell_allowed) return;
    if (digitizer_mode) plat::sys_beep();
    bell_allowed = 0;
    zpos_x = last_x;
    zpos_y = last_y;
    // A one-shot object snap lasts one click.
    if ((misc_defs.snap_mode == 3 || misc_defs.snap_mode == 4) && snap_on && !movehandle) {
        update_ref(zpos_x, zpos_y);
        restraint_snap_item(snap_item_of_mode(prevsnapmode));
        misc_defs.snap_mode = prevsnapmode;
        snap_eqn = 0;
    }
    update_status_line();
}

void update_status_line() { display_coordinates(last_x, last_y); }

namespace {
std::uint16_t save_objs_valid[10] = {};
}  // namespace

void save_params() {
    save_idle = getidle();
    setidle(0);
    std::memcpy(save_objs_valid, objs_valid, sizeof save_objs_valid);
    SaveBlink();
    x_save_ref = ref_x;
    y_save_ref = ref_y;
    std::memcpy(save_textline, textline, sizeof save_textline);
    save_info = info;
    tindex = prev_index;
}

void rstore_params(int reload, int restore_ref) {
    if (reload && tindex != -1) {
        get_info(tindex);
        info = save_info;
    }
    std::memcpy(textline, save_textline, sizeof save_textline);
    if (restore_ref) update_ref(x_save_ref, y_save_ref);
    RestoreBlink();
    std::memcpy(objs_valid, save_objs_valid, sizeof save_objs_valid);
    setidle(save_idle);
    update_status_line();
    setup_loop();
}

int are_you_sure(int n) {
    clear_watch();
    std::int16_t answer = answer_cancel;
    ShowLocalYesCancelWindow(tbl_alerts, n, &answer);
    return answer == answer_yes ? 1 : 0;
}

}  // namespace drav
