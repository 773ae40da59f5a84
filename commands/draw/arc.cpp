#include "commands/draw/arc.h"

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

constexpr int error_invalid = 67;
// Three points count as on one line when the arc's sagitta is below this
// share of the chord: relative, so small arcs in large units still count.
constexpr double collinear_share = 1e-9;

ObjOptsRec* gobjopts = nullptr;
RadiusDialog g_radius_dialog = nullptr;

void set_direction_bit(bool on) {
    const std::uint16_t f = rec_u16(info, ell::flags);
    set_rec_u16(info, ell::flags, static_cast<std::uint16_t>(on ? f | ell::clockwise : f & ~ell::clockwise));
}

void prepare(const ObjOptsRec& opts) {
    get_info(number_of_objects);
    zero_info(info);
    begin_object(ok_ellipse, opts, true);
    set_direction_bit(opts.arc_opt2 == 1);
}

bool centre_first() { return gobjopts->arc_opt1 == 2; }
int prompt_of(int step) { return (centre_first() ? 27 : 24) + step; }

void set_arc(double cx, double cy, double r, double begin, double end) {
    set_init(cx, cy, info);
    set_rec_f64(info, ell::radius1, r);
    set_rec_f64(info, ell::radius2, r);
    set_rec_f64(info, ell::begin, adjust_rotation(begin));
    set_rec_f64(info, ell::end, adjust_rotation(end));
}

}  // namespace

void add_arc(ObjOptsRec& opts) {
    gobjopts = &opts;
    std::int16_t seen_method = opts.arc_opt1, seen_direction = opts.arc_opt2;
    double seen_radius = opts.arc_value;
    do {
        std::uint16_t restart = 0;
        bool moved = false;
        accepted = 0;
        prepare(opts);
        double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        if (!arc_first_point(&x1, &y1)) continue;
        set_init(x1, y1, info);
        if (!aadd_pt_entered(&x2, &y2)) continue;
        loop_start_blink_info();
        const double a = get_radangle(x2 - x1, y2 - y1);
        if (centre_first()) update_ref(x1, y1);
        pr_addmsg(prompt_of(2));
        accepted = 0;
        bool shaped = false;
        do {
            double x = 0, y = 0;
            const int key = loop_get_point(&x, &y, 1);
            if (!moved) {
                loop_blink_off();
                moved = x != x2 || y != y2;
            }
            if (key) arc_key_options(key, &restart);
            if (opts.arc_opt1 != seen_method || opts.arc_opt2 != seen_direction || opts.arc_value != seen_radius) {
                loop_blink_off();
                seen_method = opts.arc_opt1;
                seen_direction = opts.arc_opt2;
                seen_radius = opts.arc_value;
                set_direction_bit(opts.arc_opt2 == 1);
                pr_addmsg(prompt_of(2));
            }
            if (quit || aborted || restart) break;
            bool refused = false;
            switch (opts.arc_opt1) {
            case 1:
                // Collinear points make no arc: refused like a click on p2.
                refused = !arc_1comp(x1, y1, x, y, x2, y2, a);
                shaped = shaped || !refused;
                break;
            case 2:
                arc_2comp(x1, y1, x, y, x2, y2);
                shaped = true;
                break;
            case 3:
                arc_3comp(x1, y1, x, y, x2, y2, &restart);
                shaped = !restart;
                break;
            default:
                break;
            }
            if (restart) break;
            if (accepted && (!moved || refused || !shaped)) {
                show_error(error_invalid, 0);
                accepted = 0;
            } else if (accepted) {
                store_piece();
            } else if (moved && shaped) {
                loop_blink_on();
            }
        } while (!accepted);
        loop_stop_blink();
    } while (!quit && !aborted);
    if (aborted) erase_many_objects(save_indx);
}

int arc_first_point(double* x, double* y) {
    std::int16_t method = gobjopts->arc_opt1;
    pr_addmsg(prompt_of(0));
    accepted = 0;
    for (;;) {
        const int key = loop_get_point(x, y, 1);
        if (key == key_undo) {
            erase_one_object(save_indx, save_indx, 0);
            prepare(*gobjopts);
        }
        end_key(key);
        if (gobjopts->arc_opt1 != method) {
            method = gobjopts->arc_opt1;
            pr_addmsg(prompt_of(0));
        }
        if (accepted || quit || aborted) break;
    }
    return accepted && !quit && !aborted;
}

int aadd_pt_entered(double* x, double* y) {
    const double x1 = rec_f64(info, obj::ref_x), y1 = rec_f64(info, obj::ref_y);
    std::int16_t method = gobjopts->arc_opt1;
    // The chord is shown as a line meanwhile.
    start_line_band(prompt_of(1));
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
        if (gobjopts->arc_opt1 != method) {
            method = gobjopts->arc_opt1;
            pr_addmsg(prompt_of(1));
        }
        set_rec_f64(info, line::dx, *x - x1);
        set_rec_f64(info, line::dy, *y - y1);
        if (accepted) break;
        loop_blink_on();
    }
    end_line_band(ok_ellipse);
    return accepted && !undone && !quit && !aborted;
}

int arc_1comp(double x1, double y1, double x, double y, double x2, double y2, double a) {
    const double side = (y - y1) * std::cos(a) - (x - x1) * std::sin(a);
    const double chord = distance(x2 - x1, y2 - y1);
    // |side| is the point's distance from the chord's line.
    if (!(chord > small_tol) || !(std::fabs(side) > collinear_share * chord)) return 0;
    const double e1 = y2 - y1, e2 = y1 - y, e3 = y - y2;
    const double det = -2 * (x1 * e3 + x * e1 + x2 * e2);
    if (det == 0) return 0;
    const double cx = -(x1 * x1 * e3 + x * x * e1 + x2 * x2 * e2 - e1 * e2 * e3) / det;
    double cy = 0;
    if (std::fabs(e2) > std::fabs(e3)) {
        cy = ((x - x1) / e2) * (cx - (x + x1) / 2) + (y + y1) / 2;
    } else {
        cy = ((x2 - x) / e3) * (cx - (x2 + x) / 2) + (y2 + y) / 2;
    }
    set_arc(cx, cy, distance(x1 - cx, y1 - cy), get_radangle(x1 - cx, y1 - cy), get_radangle(x2 - cx, y2 - cy));
    set_direction_bit(side >= 0);
    return 1;
}

void arc_2comp(double x1, double y1, double x, double y, double x2, double y2) {
    set_arc(x1, y1, distance(x2 - x1, y2 - y1), get_radangle(x2 - x1, y2 - y1), get_radangle(x - x1, y - y1));
}

void arc_3comp(double x1, double y1, double x, double y, double x2, double y2, std::uint16_t* restart) {
    const double mx = (x2 - x1) / 2, my = (y2 - y1) / 2;
    const double h0 = distance(mx, my);
    while (h0 > gobjopts->arc_value) {
        if (!badrad(h0)) {
            *restart = 1;
            return;
        }
    }
    const double r = gobjopts->arc_value;
    set_direction_bit(mx * (y - y1) - my * (x - x1) >= 0);
    const double h = std::sqrt(std::fabs(r * r - h0 * h0));
    double nx = 0, ny = 0;
    rotate_cr(h, 0, &nx, &ny, get_radangle(mx, my) + half_pie);
    const double c1x = x1 + mx + nx, c1y = y1 + my + ny;
    const double c2x = x1 + mx - nx, c2y = y1 + my - ny;
    const bool first = std::fabs(distance(x - c1x, y - c1y) - r) < std::fabs(distance(x - c2x, y - c2y) - r);
    const double cx = first ? c1x : c2x, cy = first ? c1y : c2y;
    set_arc(cx, cy, r, get_radangle(x1 - cx, y1 - cy), get_radangle(x2 - cx, y2 - cy));
}

void set_radius_dialog(RadiusDialog ask) { g_radius_dialog = ask; }

int badrad(double minimum) {
    double r = 0;
    if (!g_radius_dialog || !gobjopts || !g_radius_dialog(minimum, &r)) return 0;
    gobjopts->arc_value = r;
    return 1;
}

void arc_key_options(int key, std::uint16_t* restart) {
    if (end_key(key)) return;
    if (key == key_undo) {
        loop_blink_off();
        *restart = 1;
    }
}

}  // namespace drav
