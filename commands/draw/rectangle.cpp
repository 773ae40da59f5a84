#include "commands/draw/rectangle.h"

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

// A fresh rectangle in hand at the first free slot; rectangles take no arrow.
void prepare(const ObjOptsRec& opts) {
    get_info(number_of_objects);
    zero_info(info);
    begin_object(ok_rect, opts, false);
    if (opts.new_marker) marker_change();
    if (opts.new_template) templ_change();
}

void take_back_last() {
    erase_one_object(save_indx, save_indx, 0);
}

}  // namespace

void add_rectangle(ObjOptsRec& opts) {
    do {
        std::uint16_t restart = 0;
        accepted = 0;
        prepare(opts);
        const int method = opts.rect_opt;
        double x1 = 0, y1 = 0;
        int second_prompt = 0, last_prompt = 0;
        if (!rec_first_point(&x1, &y1, &second_prompt, &last_prompt, method)) continue;
        set_init(x1, y1, info);
        double x2 = x1, y2 = y1;
        if (method != 1 && !radd_pt_entered(&x2, &y2, second_prompt, opts)) continue;
        loop_start_blink_info();
        // The second axis lies along the first side.
        const double method_rotation =
            method == 1 ? 0 : adjust_rotation(get_radangle(x2 - x1, y2 - y1) - sign(y2 - y1) * half_pie);
        pr_addmsg(last_prompt);
        accepted = 0;
        RestraintSeen seen;
        double angle = 0;
        do {
            double x = 0, y = 0;
            const int key = loop_get_point(&x, &y, 1);
            if (key) rec_key_options(key, &restart);
            if (opts.rect_opt != method) restart = 1;
            if (seen.changed(opts)) {
                loop_blink_off();
                switch (opts.lock_mode) {
                case 0: angle = method_rotation; break;
                case 1: angle = 0; break;
                case 2: angle = half_pie; break;
                case 3: angle = units_defs.rotation_step; break;
                default: break;
                }
            }
            if (quit || aborted || restart) break;
            // Any method but two corners was asked for as three points.
            if (method == 1) {
                rec_1comp(x1, y1, x, y, angle);
            } else {
                rec_2comp(x1, y1, x2, y2, x, y, angle);
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

int rec_first_point(double* x, double* y, int* second_prompt, int* last_prompt, int method) {
    const bool two_corners = method == 1;
    *second_prompt = two_corners ? 0 : 7;
    *last_prompt = two_corners ? 5 : 8;
    pr_addmsg(two_corners ? 4 : 6);
    accepted = 0;
    while (!accepted && !quit && !aborted) {
        const int key = loop_get_point(x, y, 1);
        if (end_key(key)) break;
        if (key == key_undo) {
            take_back_last();
            prepare(*objopts);
        }
    }
    return accepted && !quit && !aborted;
}

int radd_pt_entered(double* x, double* y, int prompt, ObjOptsRec& opts) {
    const std::int16_t method = opts.rect_opt;
    const double x1 = rec_f64(info, obj::ref_x), y1 = rec_f64(info, obj::ref_y);
    // The first side is shown as a line meanwhile.
    set_rec_f64(info, line::dx, 0);
    set_rec_f64(info, line::dy, 0);
    start_line_band(prompt);
    bool restart = false;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        // A palette click ends the command before the pump replays it.
        if (end_key(key) || quit || aborted) break;
        if (key == key_undo) {
            loop_blink_off();
            take_back_last();
            restart = true;
            break;
        }
        if (opts.rect_opt != method) {
            restart = true;
            break;
        }
        set_rec_f64(info, line::dx, *x - x1);
        set_rec_f64(info, line::dy, *y - y1);
        if (accepted) break;
        loop_blink_on();
    }
    end_line_band(ok_rect);
    return accepted && !restart && !quit && !aborted;
}

void rec_1comp(double x1, double y1, double x, double y, double angle) {
    double w = 0, h = 0;
    rotate_cr(x - x1, y - y1, &w, &h, -angle);
    set_rec_f64(info, obj::rotation, angle);
    set_rec_f64(info, rect::width, w);
    set_rec_f64(info, rect::height, h);
}

void rec_2comp(double x1, double y1, double x2, double y2, double x, double y, double angle) {
    const double height = sign(y2 - y1) * distance(x2 - x1, y2 - y1);
    // The first side as a vector: p2 - p1 itself unless a restraint turned it.
    double u = 0, v = 0;
    rotate_cr(0, height, &u, &v, angle);
    double w = 0, across = 0;
    rotate_cr(x - (x1 + u), y - (y1 + v), &w, &across, -angle);
    set_rec_f64(info, obj::rotation, angle);
    set_rec_f64(info, rect::width, w);
    set_rec_f64(info, rect::height, height);
}

void rec_key_options(int key, std::uint16_t* restart) {
    if (end_key(key)) return;
    if (key == key_undo) *restart = 1;
}

}  // namespace drav
