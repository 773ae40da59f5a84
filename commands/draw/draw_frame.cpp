#include "commands/draw/draw_frame.h"

#include <cmath>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "base/restraint_hook.h"
#include "commands/draw/arc.h"
#include "commands/draw/bezier_curve.h"
#include "commands/draw/circle.h"
#include "commands/draw/ellipse.h"
#include "commands/draw/line.h"
#include "commands/draw/point.h"
#include "commands/draw/polygon.h"
#include "commands/draw/rectangle.h"
#include "commands/draw/text.h"
#include "commands/draw/wall.h"
#include "commands/draw/symbol.h"
#include "store/geometry.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

std::int16_t save_indx = 0;
std::uint16_t update_info = 0;

void add_objects(int tool) {
    const std::uint16_t was_idle = getidle();
    setidle(0);
    update_info = 1;
    x_save_last = ref_x;
    y_save_last = ref_y;
    save_indx = number_of_objects;
    get_info(number_of_objects);
    zero_info(info);
    quit = 0;
    accepted = 0;
    aborted = 0;
    switch (tool) {
    case tool_line:
        add_line(*objopts);
        break;
    case tool_rect:
        add_rectangle(*objopts);
        break;
    case tool_polygon:
        add_polygon(*objopts);
        break;
    case tool_circle:
        add_circle(*objopts);
        break;
    case tool_ellipse:
        add_ellipse(*objopts);
        break;
    case tool_arc:
        add_arc(*objopts);
        break;
    case tool_curve:
        add_bezier(*objopts);
        break;
    case tool_point:
        add_point(*objopts);
        break;
    case tool_text:
        add_text(*objopts);
        break;
    case tool_wall:
        add_wall(*objopts);
        break;
    case tool_symbol:
        add_symbol(*objopts);
        break;
    default:
        break;
    }
    mess_clear();
    update_info = 0;
    setidle(was_idle);
}

void take_properties() {
    info.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    info.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
    set_obj_kind_colour(info, obj_kind(info), props_defs.colour);
    if (!is_template(info)) info.b[obj::style] = static_cast<std::uint8_t>(props_defs.style);
}

void begin_object(int kind, const ObjOptsRec& opts, bool marks) {
    set_obj_kind_colour(info, kind, props_defs.colour);
    info.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    info.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
    info.b[obj::style] = static_cast<std::uint8_t>(props_defs.style);
    if (!marks) return;
    if (opts.new_arrow) arrw_change();
    if (opts.new_marker) marker_change();
    if (opts.new_template) templ_change();
}

int store_piece() {
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    return save_object();
}

void keep_as_template() {
    const ObjectRec keep = info;
    get_info(number_of_objects);
    info = keep;
    take_properties();
}

void start_line_band(int prompt) {
    set_obj_kind_colour(info, ok_line, obj_colour(info));
    loop_start_blink_info();
    pr_addmsg(prompt);
    accepted = 0;
}

void end_line_band(int kind) {
    loop_blink_off();
    loop_stop_blink();
    set_obj_kind_colour(info, kind, obj_colour(info));
    set_rec_f64(info, line::dx, 0);
    set_rec_f64(info, line::dy, 0);
}

void set_lock_mode(int lock) {
    objopts->lock_mode = static_cast<std::int16_t>(lock);
    // The palette's lock items start at 2.
    loop_restraint_click(lock + 2);
}

bool RestraintSeen::changed(const ObjOptsRec& opts) {
    const double now_step = units_defs.rotation_step;
    if (opts.lock_mode == lock && now_step == step) return false;
    lock = opts.lock_mode;
    step = now_step;
    return true;
}

void project_on(double angle, double* dx, double* dy) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double along = *dx * c + *dy * s;
    *dx = along * c;
    *dy = along * s;
}

double stepped_direction(double dx, double dy, double step) {
    const double a = get_radangle(dx, dy);
    if (!(step > small_tol)) return a;
    // A wide count: a 16-bit one wraps for increments below about 0.011 degrees.
    const auto k = static_cast<long long>(a / step);
    return static_cast<double>(k) * step;
}

bool end_key(int key) {
    if (key == key_esc) {
        aborted = 1;
        return true;
    }
    if (key == key_quit) {
        quit = 1;
        addnum = tool_select_code;
        return true;
    }
    return false;
}

}  // namespace drav
