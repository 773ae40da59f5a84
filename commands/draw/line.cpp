#include "commands/draw/line.h"

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int prompt_first = 1, prompt_next = 2;

// The options as they are now: the tool settings may change them mid-command.
ObjOptsRec* gobjopts = nullptr;
// A 'U' at the first point ended that poll.
bool det_undo = false;

double start_x() { return rec_f64(info, obj::ref_x); }
double start_y() { return rec_f64(info, obj::ref_y); }

void set_segment(double dx, double dy) {
    set_rec_f64(info, line::dx, dx);
    set_rec_f64(info, line::dy, dy);
}

// The angle a restraint gives; `angle` stays under any other lock.
void restraint_angle(int lock, double* angle) {
    switch (lock) {
    case 0:
    case 1: *angle = 0; break;
    case 2: *angle = half_pie; break;
    case 3: *angle = units_defs.rotation_step; break;
    default: break;
    }
}

}  // namespace

void add_line(ObjOptsRec& opts) {
    gobjopts = &opts;
    begin_object(ok_line, opts, true);
    const std::int16_t entry_lock = opts.lock_mode;
    std::int16_t seen_mode = opts.line_opt;
    int separate = seen_mode == 1;
    RestraintSeen seen;
    double angle = 0;
    std::uint16_t restart = 0;
    detach_line(&restart);
    if (accepted) {
        loop_start_blink_info();
        accepted = 0;
        do {
            restart = 0;
            pr_addmsg(prompt_next);
            do {
                double x = 0, y = 0;
                const int key = loop_get_point(&x, &y, 1);
                if (key) lin_key_options(&restart, separate, key);
                if (opts.line_opt != seen_mode) {
                    loop_blink_off();
                    seen_mode = opts.line_opt;
                    separate = seen_mode == 1;
                }
                if (seen.changed(opts)) {
                    loop_blink_off();
                    restraint_angle(opts.lock_mode, &angle);
                }
                if (!aborted && !quit && !restart) lin_compute(x, y, &angle, &restart, separate);
            } while (!aborted && !accepted && !quit && !restart);
        } while (!aborted && !quit);
        loop_stop_blink();
        if (aborted) erase_many_objects(save_indx);
    }
    set_lock_mode(entry_lock);
}

void detach_line(std::uint16_t* restart) {
    *restart = 1;
    set_segment(0, 0);
    accepted = 0;
    pr_addmsg(prompt_first);
    det_undo = false;
    for (;;) {
        double x = 0, y = 0;
        const int key = loop_get_point(&x, &y, 1);
        if (key) det_key_options(restart, key);
        if (aborted || quit || det_undo) break;
        set_init(x, y, info);
        if (accepted) break;
    }
    if (!aborted && !quit) loop_start_blink_info();
}

void lin_compute(double x, double y, double* angle, std::uint16_t* restart, int separate) {
    const double sx = start_x(), sy = start_y();
    double dx = x - sx, dy = y - sy;
    switch (gobjopts->lock_mode) {
    case 1:
    case 2:
        project_on(*angle, &dx, &dy);
        break;
    case 3:
        project_on(stepped_direction(dx, dy, units_defs.rotation_step), &dx, &dy);
        break;
    default:
        break;
    }
    set_segment(dx, dy);
    if (!accepted) {
        loop_blink_on();
        return;
    }
    store_piece();
    loop_stop_blink();
    keep_as_template();
    if (separate) {
        detach_line(restart);
        return;
    }
    // Under the horizontal or vertical restraint a chain alternates.
    if (gobjopts->lock_mode == 1) {
        set_lock_mode(2);
        *angle = half_pie;
    } else if (gobjopts->lock_mode == 2) {
        set_lock_mode(1);
        *angle = 0;
    }
    const double nx = sx + dx, ny = sy + dy;
    set_init(nx, ny, info);
    set_segment(0, 0);
    loop_start_blink_info();
    update_ref(nx, ny);
}

void lin_key_options(std::uint16_t* restart, int separate, int key) {
    switch (key) {
    case key_esc:
        aborted = 1;
        break;
    case key_quit:
        loop_blink_off();
        addnum = tool_select_code;
        quit = 1;
        break;
    case key_undo:
        loop_blink_off();
        if (separate) {
            loop_stop_blink();
            detach_line(restart);
        } else {
            erase_one_object(save_indx, save_indx, 0);
        }
        break;
    default:
        break;
    }
}

void det_key_options(std::uint16_t* restart, int key) {
    switch (key) {
    case key_esc:
        aborted = 1;
        break;
    case key_quit:
        quit = 1;
        addnum = tool_select_code;
        break;
    case key_undo:
        *restart = 1;
        det_undo = true;
        erase_one_object(save_indx, save_indx, 0);
        break;
    default:
        break;
    }
}

}  // namespace drav
