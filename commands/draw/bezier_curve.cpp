#include "commands/draw/bezier_curve.h"

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "commands/draw/bspline.h"
#include "commands/draw/draw_frame.h"
#include "display/bezier.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"

namespace drav {

namespace {

constexpr int prompt_first = 18, prompt_end = 20, prompt_shape = 21;

double start_x() { return rec_f64(info, obj::ref_x); }
double start_y() { return rec_f64(info, obj::ref_y); }

void set_pair(int off_x, int off_y, double x, double y) {
    set_rec_f64(info, off_x, x - start_x());
    set_rec_f64(info, off_y, y - start_y());
}

void undo_last_segment() { erase_one_object(save_indx, save_indx, 0); }

}  // namespace

void add_bezier(ObjOptsRec& opts) {
    if (opts.bez_opt1 == 1)
        ad_bezier(opts);
    else
        b_spline(opts);
    get_info(indx);
}

void ad_bezier(ObjOptsRec& opts) {
    begin_object(ok_bezier, opts, true);
    const std::uint16_t entry_guides = bez_guides;
    double x = 0, y = 0;
    if (bezier_entered(&x, &y, prompt_first)) {
        while (!aborted && !quit) {
            accepted = 0;
            std::uint16_t restart = 0, move_first = 1, move_second = 1, first_click = 1;
            double ex = 0, ey = 0;
            if (!badd_pt_entered(&ex, &ey, prompt_end)) continue;
            accepted = 0;
            loop_start_blink_info();
            set_pair(bez::endx, bez::endy, ex, ey);
            pr_addmsg(prompt_shape);
            bool stored = false, moved = false;
            for (;;) {
                const int key = loop_get_point(&x, &y, 1);
                if (key) bez_key_options(key, &restart, &move_first, &move_second, opts);
                if (bez_guides != static_cast<std::uint16_t>(opts.bez_opt5)) {
                    loop_blink_off();
                    bez_guides = static_cast<std::uint16_t>(opts.bez_opt5);
                }
                if (restart || aborted || quit) break;
                // Until the pointer leaves the end point the segment keeps the
                // shape it inherited, so a key can still choose what follows.
                moved = moved || x != ex || y != ey || accepted;
                if (moved && first_click && move_first) set_pair(bez::c1x, bez::c1y, x, y);
                if (moved && move_second) set_pair(bez::c2x, bez::c2y, x, y);
                if (!accepted) {
                    loop_blink_on();
                } else if (first_click && opts.bez_opt2) {
                    // The first of two clicks fixes the first control point.
                    loop_blink_off();
                    first_click = 0;
                    set_pair(bez::c1x, bez::c1y, x, y);
                    accepted = 0;
                } else {
                    stored = store_piece() != 0;
                    break;
                }
            }
            if (!stored) continue;
            loop_stop_blink();
            // The stored segment is the template of the next, which starts
            // where it ended.
            const ObjectRec keep = info;
            get_info(number_of_objects);
            info = keep;
            const double dx = rec_f64(info, bez::endx), dy = rec_f64(info, bez::endy);
            change_object(r_one, r_one, r_zero, dx, dy, info);
            update_ref(start_x(), start_y());
        }
    }
    loop_stop_blink();
    if (aborted) erase_many_objects(save_indx);
    bez_guides = entry_guides;
}

int bezier_entered(double* x, double* y, int prompt) {
    pr_addmsg(prompt);
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key == key_undo) undo_last_segment();
        end_key(key);
        if (aborted || quit) break;
        set_init(*x, *y, info);
        if (accepted) break;
    }
    return accepted && !quit && !aborted;
}

int badd_pt_entered(double* x, double* y, int prompt) {
    const int kind = obj_kind(info);
    // The end point is asked with a straight rubber band, whose vector lies
    // where the first control point is kept: that one is put back after.
    const double c1x = rec_f64(info, bez::c1x), c1y = rec_f64(info, bez::c1y);
    start_line_band(prompt);
    bool undone = false;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (end_key(key)) break;
        if (key == key_undo) {
            loop_blink_off();
            undo_last_segment();
            undone = true;
            break;
        }
        set_rec_f64(info, line::dx, *x - start_x());
        set_rec_f64(info, line::dy, *y - start_y());
        if (accepted) break;
        loop_blink_on();
    }
    loop_blink_off();
    loop_stop_blink();
    set_obj_kind_colour(info, kind, obj_colour(info));
    if (!undone) {
        set_rec_f64(info, bez::c1x, c1x);
        set_rec_f64(info, bez::c1y, c1y);
    }
    return accepted && !undone && !quit && !aborted;
}

void bez_key_options(int key, std::uint16_t* restart, std::uint16_t* move_first, std::uint16_t* move_second,
                     ObjOptsRec& opts) {
    switch (key) {
    case 'B':
        *move_first = 1;
        *move_second = 1;
        opts.bez_opt2 = 0;
        break;
    case 'F':
        *move_first = 1;
        *move_second = 0;
        opts.bez_opt2 = 0;
        break;
    case 'S':
        *move_first = 0;
        *move_second = 1;
        opts.bez_opt2 = 0;
        break;
    case key_undo:
        loop_blink_off();
        *restart = 1;
        break;
    default:
        end_key(key);
        break;
    }
}

}  // namespace drav
