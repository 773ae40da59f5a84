#include "commands/draw/circle.h"

#include <cmath>

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

constexpr int fixed_radius = 3, fixed_diameter = 4;

// The options as they are now: the tool settings may change them mid-command.
ObjOptsRec* gobjopts = nullptr;

void set_radius(double r) {
    set_rec_f64(info, ell::radius1, r);
    set_rec_f64(info, ell::radius2, r);
}

void set_centre(double x, double y) { set_init(x, y, info); }

// A fresh circle in hand at the first free slot.
void prepare(const ObjOptsRec& opts) {
    get_info(number_of_objects);
    zero_info(info);
    begin_object(ok_ellipse, opts, true);
    set_rec_u16(info, ell::flags, static_cast<std::uint16_t>(rec_u16(info, ell::flags) | ell::clockwise));
    set_radius(opts.circle_value1);
}

// The construction vector under the restraint.
void constrain(double angle, int lock, double* dx, double* dy) {
    switch (lock) {
    case 1:
    case 2:
        project_on(angle, dx, dy);
        break;
    case 3:
        project_on(stepped_direction(*dx, *dy, units_defs.rotation_step), dx, dy);
        break;
    default:
        break;
    }
}

}  // namespace

void add_circle(ObjOptsRec& opts) {
    gobjopts = &opts;
    RestraintSeen seen;
    double angle = 0;
    std::int16_t seen_method = opts.circle_method;
    double seen_radius = opts.circle_value1, seen_diameter = opts.circle_value2;
    do {
        std::uint16_t restart = 0;
        accepted = 0;
        prepare(opts);
        double x0 = 0, y0 = 0;
        int second_prompt = 0;
        if (!cir_first_point(&x0, &y0, &second_prompt)) continue;
        loop_start_blink_info();
        if (opts.circle_method != fixed_radius) pr_addmsg(second_prompt);
        accepted = 0;
        do {
            double x = x0, y = y0;
            int key = 0;
            // A fixed circle is stored by the first click; no second poll.
            if (opts.circle_method == fixed_radius) {
                accepted = 1;
            } else {
                key = loop_get_point(&x, &y, 1);
            }
            if (key) cir_key_options(key, &restart);
            if (opts.circle_method != seen_method || opts.circle_value1 != seen_radius ||
                opts.circle_value2 != seen_diameter) {
                loop_blink_off();
                seen_method = opts.circle_method;
                seen_radius = opts.circle_value1;
                seen_diameter = opts.circle_value2;
                int first_prompt = 0;
                notechange(&first_prompt, &second_prompt);
                pr_addmsg(second_prompt);
            }
            if (seen.changed(opts)) {
                loop_blink_off();
                switch (opts.lock_mode) {
                case 0:
                case 1: angle = 0; break;
                case 2: angle = half_pie; break;
                case 3: angle = units_defs.rotation_step; break;
                default: break;
                }
            }
            if (quit || aborted || restart) break;
            switch (opts.circle_method) {
            case 1:
            case fixed_radius: cir_1comp(x0, y0, x, y, angle, opts.lock_mode); break;
            case 2:
            case fixed_diameter: cir_2comp(x0, y0, x, y, angle, opts.lock_mode); break;
            default: break;
            }
            if (accepted) {
                store_piece();
            } else {
                loop_blink_on();
            }
        } while (!accepted);
        loop_stop_blink();
    } while (!quit && !aborted);
    if (aborted) erase_many_objects(save_indx);
}

void notechange(int* first_prompt, int* second_prompt) {
    const bool centre = gobjopts->circle_method == 1 || gobjopts->circle_method == fixed_radius;
    *first_prompt = centre ? 9 : 11;
    *second_prompt = centre ? 10 : 12;
}

int cir_first_point(double* x, double* y, int* second_prompt) {
    ObjOptsRec& opts = *gobjopts;
    int first_prompt = 0;
    notechange(&first_prompt, second_prompt);
    pr_addmsg(first_prompt);
    std::int16_t method = opts.circle_method;
    if (method == fixed_radius) loop_start_blink_info();
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key == key_undo) {
            loop_blink_off();
            erase_one_object(save_indx, save_indx, 0);
            prepare(opts);
        }
        end_key(key);
        set_centre(*x, *y);
        if (opts.circle_value1 != rec_f64(info, ell::radius1)) {
            loop_blink_off();
            set_radius(opts.circle_value1);
        }
        if (opts.circle_method != method) {
            loop_blink_off();
            method = opts.circle_method;
            notechange(&first_prompt, second_prompt);
            pr_addmsg(first_prompt);
            if (method == fixed_radius) {
                loop_start_blink_info();
            } else {
                loop_stop_blink();
            }
        }
        if (accepted || aborted || quit) break;
        if (method == fixed_radius) loop_blink_on();
    }
    if (method == fixed_radius) loop_stop_blink();
    return accepted && !aborted && !quit;
}

void cir_1comp(double x0, double y0, double x, double y, double angle, int lock) {
    double dx = x - x0, dy = y - y0;
    constrain(angle, lock, &dx, &dy);
    set_centre(x0, y0);
    if (lock >= 1 && lock <= 3) set_rec_f64(info, obj::rotation, adjust_rotation(get_radangle(dx, dy)));
    set_radius(gobjopts->circle_method == 1 ? distance(dx, dy) : gobjopts->circle_value1);
}

void cir_2comp(double x0, double y0, double x, double y, double angle, int lock) {
    double dx = x - x0, dy = y - y0;
    constrain(angle, lock, &dx, &dy);
    const double rotation = adjust_rotation(get_radangle(dx, dy));
    set_rec_f64(info, obj::rotation, rotation);
    if (gobjopts->circle_method == 2) {
        set_centre(x0 + dx / 2, y0 + dy / 2);
        set_radius(distance(dx, dy) / 2);
        return;
    }
    // Through the first point whatever the cursor's distance.
    const double r = gobjopts->circle_value2 / 2;
    set_centre(x0 + r * std::cos(rotation), y0 + r * std::sin(rotation));
    set_radius(r);
}

void cir_key_options(int key, std::uint16_t* restart) {
    if (end_key(key)) return;
    if (key == key_undo) *restart = 1;
}

}  // namespace drav
