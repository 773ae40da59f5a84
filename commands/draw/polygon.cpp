#include "commands/draw/polygon.h"

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

constexpr int prompt_centre = 22, prompt_size = 23;
constexpr int min_sides = 3;

int sides() { return rec_i16(info, ell::sides); }

// The settings refuse fewer than three corners; a smaller count that came
// another way is not taken, so the sector angle never divides by it.
void take_sides(std::int16_t n) {
    if (n >= min_sides) set_rec_i16(info, ell::sides, n);
}

void prepare(const ObjOptsRec& opts) {
    get_info(number_of_objects);
    zero_info(info);
    begin_object(ok_ellipse, opts, true);
    set_rec_u16(info, ell::flags, ell::polygon);
    set_rec_i16(info, ell::sides, min_sides);
    take_sides(opts.poly_opt1);
}

}  // namespace

void add_polygon(ObjOptsRec& opts) {
    RestraintSeen seen;
    double angle = 0;
    std::int16_t seen_method = opts.poly_opt2, seen_edge = opts.poly_opt3;
    double fixed_size = opts.poly_value;
    do {
        std::uint16_t restart = 0;
        accepted = 0;
        prepare(opts);
        double x = 0, y = 0;
        if (!padd_pt_entered(&x, &y)) continue;
        loop_start_blink_info();
        pr_addmsg(prompt_size);
        accepted = 0;
        do {
            const int key = loop_get_point(&x, &y, 1);
            if (key) poly_key_options(key, &restart);
            if (opts.poly_opt2 != seen_method || opts.poly_opt3 != seen_edge || opts.poly_value != fixed_size) {
                loop_blink_off();
                seen_method = opts.poly_opt2;
                seen_edge = opts.poly_opt3;
                fixed_size = opts.poly_value;
            }
            if (sides() != opts.poly_opt1 && opts.poly_opt1 >= min_sides) {
                loop_blink_off();
                take_sides(opts.poly_opt1);
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
            poly_compute_endpoint(&x, &y, opts.lock_mode, &angle, &fixed_size, seen_edge, seen_method);
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

int padd_pt_entered(double* x, double* y) {
    pr_addmsg(prompt_centre);
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        // A palette click ends the command before the pump replays it.
        if (end_key(key) || quit || aborted) break;
        if (key == key_undo) {
            erase_one_object(save_indx, save_indx, 0);
            break;
        }
        set_init(*x, *y, info);
        if (accepted) break;
    }
    return accepted && !quit && !aborted;
}

void poly_compute_endpoint(double* x, double* y, int lock, double* angle, double* fixed_size, int edge_mode,
                           int method) {
    const double half_sector = pie / sides();
    double dx = *x - rec_f64(info, obj::ref_x), dy = *y - rec_f64(info, obj::ref_y);
    const double l = distance(dx, dy);
    const bool to_edge = edge_mode && l >= small_tol;
    if (to_edge) {
        // The point is an edge middle: reach out to the corner.
        const double f = 1 / std::cos(half_sector);
        dx *= f;
        dy *= f;
    }
    if (lock >= 1 && lock <= 3) project_on(*angle, &dx, &dy);
    set_rec_f64(info, obj::rotation, adjust_rotation(get_radangle(dx, dy) + (edge_mode ? half_sector : 0)));
    double r = rec_f64(info, ell::radius1);
    if (method == 1) {
        r = distance(dx, dy);
    } else if (to_edge) {
        r = *fixed_size / std::cos(half_sector);
    } else if (!edge_mode) {
        r = *fixed_size;
    }
    set_rec_f64(info, ell::radius1, r);
    set_rec_f64(info, ell::radius2, r);
}

void poly_key_options(int key, std::uint16_t* restart) {
    if (end_key(key)) return;
    if (key == key_undo) *restart = 1;
}

}  // namespace drav
