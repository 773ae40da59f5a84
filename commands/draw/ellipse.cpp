#include "commands/draw/ellipse.h"

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

constexpr int prompt_third = 15;
constexpr int error_invalid = 67;

ObjOptsRec* gobjopts = nullptr;

void prepare(const ObjOptsRec& opts) {
    get_info(number_of_objects);
    zero_info(info);
    begin_object(ok_ellipse, opts, true);
    set_rec_u16(info, ell::flags, ell::clockwise);
}

// Method 1 (and 3) asks for the ends of an axis, the others for the centre first.
void method_prompts(int* first, int* second) {
    const bool ends = gobjopts->ellipse_opt == 1 || gobjopts->ellipse_opt == 3;
    *first = ends ? 13 : 16;
    *second = ends ? 14 : 17;
}

}  // namespace

void add_ellipse(ObjOptsRec& opts) {
    gobjopts = &opts;
    RestraintSeen seen;
    double angle = 0;
    do {
        std::uint16_t restart = 0;
        accepted = 0;
        prepare(opts);
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        int second_prompt = 0, third_prompt = 0;
        if (!ell_first_point(&x1, &y1, &second_prompt, &third_prompt)) continue;
        set_init(x1, y1, info);
        if (!eadd_pt_entered(&x2, &y2, second_prompt)) continue;
        loop_start_blink_info();
        std::int16_t method = opts.ellipse_opt;
        ell_setup_variables(x1, y1, x2, y2);
        if (rec_f64(info, ell::radius2) == 0) {
            loop_stop_blink();
            show_error(error_invalid, 0);
            continue;
        }
        pr_addmsg(third_prompt);
        accepted = 0;
        do {
            double x = 0, y = 0;
            const int key = loop_get_point(&x, &y, 1);
            if (key) ell_key_options(key, &restart);
            if (opts.ellipse_opt != method) {
                loop_blink_off();
                method = opts.ellipse_opt;
                ell_setup_variables(x1, y1, x2, y2);
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
            ell_compute_endpoint(x, y, opts.lock_mode, angle);
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

int ell_first_point(double* x, double* y, int* second_prompt, int* third_prompt) {
    // The prompt from the start, not only once the cursor moved.
    std::int16_t seen_method = gobjopts->ellipse_opt;
    int first = 0;
    method_prompts(&first, second_prompt);
    *third_prompt = prompt_third;
    pr_addmsg(first);
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key == key_undo) {
            erase_one_object(save_indx, save_indx, 0);
            prepare(*gobjopts);
        }
        end_key(key);
        if (gobjopts->ellipse_opt != seen_method) {
            seen_method = gobjopts->ellipse_opt;
            method_prompts(&first, second_prompt);
            *third_prompt = prompt_third;
            pr_addmsg(first);
        }
        if (accepted || quit || aborted) break;
    }
    return accepted && !quit && !aborted;
}

int eadd_pt_entered(double* x, double* y, int prompt) {
    const double x1 = rec_f64(info, obj::ref_x), y1 = rec_f64(info, obj::ref_y);
    std::int16_t method = gobjopts->ellipse_opt;
    // The first axis is shown as a line meanwhile.
    start_line_band(prompt);
    bool undone = false;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        // A palette click ends the command before the pump replays it.
        if (end_key(key) || quit || aborted) break;
        if (key == key_undo) {
            loop_blink_off();
            erase_one_object(save_indx, save_indx, 0);
            undone = true;
            break;
        }
        if (gobjopts->ellipse_opt != method) {
            method = gobjopts->ellipse_opt;
            int first = 0, second = 0;
            method_prompts(&first, &second);
            pr_addmsg(second);
        }
        set_rec_f64(info, line::dx, *x - x1);
        set_rec_f64(info, line::dy, *y - y1);
        if (accepted) break;
        loop_blink_on();
    }
    end_line_band(ok_ellipse);
    return accepted && !undone && !quit && !aborted;
}

void ell_setup_variables(double x1, double y1, double x2, double y2) {
    const double d = distance(x2 - x1, y2 - y1);
    double cx = 0, cy = 0;
    switch (gobjopts->ellipse_opt) {
    case 1:
        cx = (x1 + x2) / 2;
        cy = (y1 + y2) / 2;
        set_rec_f64(info, ell::radius2, d / 2);
        break;
    case 2:
        cx = x1;
        cy = y1;
        set_rec_f64(info, ell::radius2, d);
        break;
    default:
        // Only the two methods above are offered; any other makes no ellipse.
        set_rec_f64(info, ell::radius2, 0);
        return;
    }
    set_init(cx, cy, info);
    update_ref(cx, cy);
}

void ell_compute_endpoint(double x, double y, int lock, double angle) {
    double dx = x - rec_f64(info, obj::ref_x), dy = y - rec_f64(info, obj::ref_y);
    switch (lock) {
    case 1:
    case 2:
        project_on(angle, &dx, &dy);
        break;
    case 3:
        project_on(stepped_direction(dx, dy, units_defs.rotation_step), &dx, &dy);
        break;
    default:
        break;
    }
    set_rec_f64(info, obj::rotation, adjust_rotation(get_radangle(dx, dy)));
    set_rec_f64(info, ell::radius1, distance(dx, dy));
}

void ell_key_options(int key, std::uint16_t* restart) {
    if (end_key(key)) return;
    if (key == key_undo) *restart = 1;
}

}  // namespace drav
