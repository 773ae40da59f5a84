#include "store/record_ops.h"

#include <cmath>
#include <initializer_list>
#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/window_areas.h"
#include "store/geometry.h"
#include "store/hooks.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"

namespace drav {

std::int16_t indx = first_object_slot;
char textline[textline_size] = {};
std::int16_t objdeleted = 0;
std::uint16_t fremove = 0;
double x_save_last = 0, y_save_last = 0;

namespace {

// A new record needs n + 1 < `worksize` - 5; a text's continuation then still
// lies inside the workfile.
bool room_for_one_more(int n) { return n + 1 < static_cast<int>(worksize) - 5; }

int no_room() {
    show_error(err_no_room, 0);
    quit = 1;
    return 0;
}

// The record a command built in `info` goes to slot n; whatever record was
// loaded before keeps its bytes.
void hold_in_slot(std::int16_t n) {
    if (prev_index == n) return;
    const ObjectRec built = info;
    modified = 0;
    get_info(n);
    info = built;
}

// Steps 4-8 of storing: live object, stamped, counted, announced.
void stamp_and_count(std::int16_t n) {
    hold_in_slot(n);
    set_rec_u16(info, o_word0, static_cast<std::uint16_t>((rec_word0(info) & 0xFFE0) | rk_object | w0_live));
    modified = 1;
    indx = n;
    set_rec_f32(info, obj::ztop, props_defs.z_top);
    set_rec_f32(info, obj::zbottom, props_defs.z_bottom);
    const int kind = obj_kind(info);
    if (kind != ok_symbol) {
        set_rec_str(info, obj::name, obj::name_size, props_defs.name);
        info.b[obj::pen] = static_cast<std::uint8_t>(props_defs.pen & 0xFF);
        info.b[obj::density_marks] =
            static_cast<std::uint8_t>((info.b[obj::density_marks] & 0x0F) | (props_defs.density & 0x0F) << 4);
    }
    number_of_objects = static_cast<std::int16_t>(n + 1);
    if (kind == ok_text) save_text(n);
    if (kind == ok_symbol) accept_symbol(rec_i16(info, sym::ctrl));
    announce_record(ev_object_added, n);
}

bool is_text(const ObjectRec& r) { return obj_kind(r) == ok_text; }

void scale_pair(ObjectRec& r, int off_x, int off_y, double sx, double sy) {
    set_rec_f64(r, off_x, rec_f64(r, off_x) * sx);
    set_rec_f64(r, off_y, rec_f64(r, off_y) * sy);
}

void rotate_pair(ObjectRec& r, int off_x, int off_y, double angle) {
    double x = 0, y = 0;
    rotate_cr(rec_f64(r, off_x), rec_f64(r, off_y), &x, &y, angle);
    set_rec_f64(r, off_x, x);
    set_rec_f64(r, off_y, y);
}

bool one_factor_negative(double sx, double sy) { return (sx < 0) != (sy < 0); }

// The sign of v, 1 for zero.
double sign_of(double v) { return v < 0 ? -r_one : r_one; }

}  // namespace

// ---- Storing ----

int save_object() {
    const std::int16_t n = number_of_objects;
    if (!room_for_one_more(n)) return no_room();
    if (!obj_valid()) {
        if (!fremove) show_error(err_degenerate, 0);
        return 0;
    }
    stamp_and_count(n);
    loop_blink_off();
    put_on_screen(n, show_record(1, &info, true));
    // The window already shows it: no update need redraw the area.
    drawing_area_valid(1);
    return 1;
}

int obj_save() {
    const std::int16_t n = number_of_objects;
    if (!room_for_one_more(n)) return no_room();
    stamp_and_count(n);
    return 1;
}

int save_text(std::int16_t n) {
    ObjectRec tail{};
    const int continued = set_text_chars(info, tail, textline);
    modified = 1;
    if (!continued) {
        get_info(n);
        return 1;
    }
    const std::int16_t c = number_of_objects;
    if (!room_for_one_more(c - 1)) {
        char inline_text[text::chars_size];
        std::memcpy(inline_text, textline, text::max_inline);
        inline_text[text::max_inline] = '\0';
        set_text_chars(info, tail, inline_text);
        get_info(n);
        return no_room();
    }
    get_info(c);
    info = tail;
    modified = 1;
    number_of_objects = static_cast<std::int16_t>(c + 1);
    get_info(n);
    return 1;
}

int xobj_valid(const ObjectRec& rec) {
    switch (obj_kind(rec)) {
    case ok_line:
        return std::fabs(rec_f64(rec, line::dx)) > small_tol || std::fabs(rec_f64(rec, line::dy)) > small_tol;
    case ok_rect:
    case ok_ellipse:
        return rec_f64(rec, obj::part) != 0 && rec_f64(rec, obj::part + 8) != 0;
    case ok_text:
        return rec_f32(rec, text::char_width) != 0 && rec_f32(rec, text::char_height) != 0;
    case ok_lindim:
    case ok_angdim:
        return rec_f64(rec, obj::part) != 0 || rec_f64(rec, obj::part + 8) != 0;
    case ok_bezier:
        for (int off = bez::c1x; off <= bez::endy; off += 8)
            if (rec_f64(rec, off) != 0) return 1;
        return 0;
    case ok_point:
    case ok_symbol:
        return 1;
    default:
        return 0;
    }
}

int obj_valid() { return xobj_valid(info); }

int objok(std::int16_t n, int withtext) {
    if (n < first_object_slot || n >= number_of_objects) return 0;
    get_info(n);
    if (!is_live_object(info)) return 0;
    if (withtext && is_text(info)) cumstgs(n);
    return 1;
}

void cumstgs(std::int16_t n) {
    if (!text_continued(info) || n + 1 >= static_cast<int>(worksize)) {
        text_chars(info, info, textline);
        return;
    }
    const ObjectRec saved = info;
    const std::int16_t at = prev_index;
    get_info(static_cast<std::int16_t>(n + 1));
    const ObjectRec tail = info;
    if (at >= 0) {
        get_info(at);
    } else {
        prev_index = -1;
        modified = 0;
    }
    info = saved;
    text_chars(info, tail, textline);
}

namespace {
constexpr int max_polygon_sides = 360;
bool finite64s(const ObjectRec& r, std::initializer_list<int> offs) {
    for (int off : offs)
        if (!std::isfinite(rec_f64(r, off))) return false;
    return true;
}
bool finite32s(const ObjectRec& r, std::initializer_list<int> offs) {
    for (int off : offs)
        if (!std::isfinite(rec_f32(r, off))) return false;
    return true;
}
void end_field(ObjectRec& r, int off, int size) { r.b[off + size - 1] = 0; }
}  // namespace

int obj_sound(ObjectRec& r, int piece) {
    const int kind = obj_kind(r);
    if (kind < ok_line || kind > ok_angdim || (piece && kind == ok_symbol)) return 0;
    if (r.b[obj::level] > 250 || obj_colour(r) > 255) return 0;
    if (!finite32s(r, {obj::ztop, obj::zbottom})) return 0;
    if (!finite64s(r, {obj::ref_x, obj::ref_y, obj::handle_x, obj::handle_y, obj::rotation})) return 0;
    end_field(r, obj::name, obj::name_size);
    switch (kind) {
    case ok_line:
    case ok_rect: return finite64s(r, {80, 88});
    case ok_ellipse:
        if ((rec_u16(r, ell::flags) & ell::polygon) &&
            (rec_i16(r, ell::sides) < 3 || rec_i16(r, ell::sides) > max_polygon_sides))
            return 0;
        return finite64s(r, {80, 88, 96, 104});
    case ok_text:
        end_field(r, text::chars, text::chars_size);
        return finite32s(r, {text::char_width, text::char_height});
    case ok_lindim: return finite64s(r, {80, 88, 96, 104, 112});
    case ok_bezier: return finite64s(r, {80, 88, 96, 104, 112, 120});
    case ok_symbol:
        end_field(r, sym::library, sym::library_size);
        return finite64s(r, {sym::width, sym::height, sym::scale_x, sym::scale_y});
    case ok_angdim: return finite64s(r, {80, 88, 96, 104}) && finite32s(r, {112, 116, 120});
    default: return 1;  // points
    }
}

// ---- Deleting ----

void delete_object(std::int16_t n, int permanent) {
    announce_record(ev_object_deleted, n);
    put_on_screen(n, 0);
    set_rec_word0_bits(info, w0_live, false);
    if (permanent) set_rec_kind(info, rk_empty);
    modified = 1;
    if (obj_kind(info) == ok_symbol) symb_delete(rec_i16(info, sym::ctrl), 0);
    if (is_text(info)) delete_words(n, permanent);
    ++objdeleted;
    drawing_area_valid(0);
}

void undel_object(std::int16_t n, int draw) {
    modified = 1;
    set_rec_word0_bits(info, w0_live, true);
    put_on_screen(n, draw ? show_record(1, &info, true) : show_record(0, &info));
    if (obj_kind(info) == ok_symbol) symb_undelete(rec_i16(info, sym::ctrl));
    announce_record(ev_object_undeleted, n);
    --objdeleted;
    drawing_area_valid(0);
}

void delete_words(std::int16_t n, int permanent) {
    if (!permanent || !text_continued(info) || n + 1 >= static_cast<int>(worksize)) return;
    get_info(static_cast<std::int16_t>(n + 1));
    // Only a continuation goes: a stale flag never empties an unrelated record.
    if (rec_kind(info) == rk_text_tail) {
        set_rec_kind(info, rk_empty);
        modified = 1;
        put_on_screen(n + 1, 0);
    }
    get_info(n);
}

int back_up(std::int16_t* n) {
    while (*n > first_object_slot) {
        --*n;
        get_info(*n);
        if (rec_kind(info) == rk_object) return 1;
    }
    return 0;
}

void erase_many_objects(std::int16_t n) {
    watch_on();
    store_cursor_stop();
    while (number_of_objects > n) {
        std::int16_t i = number_of_objects;
        // Nothing below n is ever taken: without an object from n on, the
        // slots above it are simply given back.
        if (!back_up(&i) || i < n) {
            number_of_objects = n;
            break;
        }
        number_of_objects = i;
        if (is_text(info)) cumstgs(i);
        show_record(2, &info);
        delete_object(i, 1);
    }
    store_cursor_go();
    watch_off();
    drawing_area_valid(0);
}

int erase_one_object(std::int16_t first, std::int16_t stop, int keepchain) {
    if (number_of_objects <= stop) return 0;
    std::int16_t i = number_of_objects;
    if (!back_up(&i) || i < stop) {
        number_of_objects = stop;
        return 0;
    }
    number_of_objects = i;
    if (is_text(info)) cumstgs(i);
    show_record(2, &info, true);
    delete_object(i, 1);
    if (!keepchain) {
        get_info(number_of_objects);
        update_ref(rec_f64(info, obj::ref_x), rec_f64(info, obj::ref_y));
    } else {
        if (number_of_objects == stop) {
            get_info(first);
            update_ref(x_save_last, y_save_last);
        } else {
            std::int16_t prev = number_of_objects;
            back_up(&prev);
            get_info(prev);
            update_ref(rec_f64(info, obj::ref_x), rec_f64(info, obj::ref_y));
        }
        // The command goes on with this record as the template of its next
        // object, held in the free slot so that nothing stored is overwritten.
        const ObjectRec keep = info;
        get_info(number_of_objects);
        info = keep;
    }
    return 1;
}

// ---- Transforming ----

void change_object(double sx, double sy, double angle, double dx, double dy, ObjectRec& rec) {
    scaling(sx, sy, &angle, rec);
    rotating(rec, angle);
    translating(dx, dy, rec);
}

void scaling(double sx, double sy, double* angle, ObjectRec& rec) {
    if (sx == r_one && sy == r_one) return;
    if (sx < 0) {
        sx = -sx;
        sy = -sy;
        *angle += pie;
    }
    scale_object(sx, sy, angle, rec);
}

void scale_object(double sx, double sy, double* angle, ObjectRec& rec) {
    scale_pair(rec, obj::handle_x, obj::handle_y, sx, sy);
    switch (obj_kind(rec)) {
    case ok_line: scale_line(sx, sy, angle, rec); break;
    case ok_rect: scale_rectangle(sx, sy, angle, rec); break;
    case ok_ellipse: scale_ellipse(sx, sy, angle, rec); break;
    case ok_text: scale_words(sx, sy, angle, rec); break;
    case ok_lindim: scale_ldim(sx, sy, angle, rec); break;
    case ok_bezier: scale_bezier(sx, sy, angle, rec); break;
    case ok_point: scale_point(sx, sy, angle, rec); break;
    case ok_symbol: scale_symbol(sx, sy, angle, rec); break;
    case ok_angdim: scale_adim(sx, sy, angle, rec); break;
    default: break;
    }
}

void scale_line(double sx, double sy, double*, ObjectRec& rec) { scale_pair(rec, line::dx, line::dy, sx, sy); }

void scale_rectangle(double sx, double sy, double*, ObjectRec& rec) {
    scale_pair(rec, rect::width, rect::height, sx, sy);
}

void scale_ellipse(double sx, double sy, double*, ObjectRec& rec) {
    scale_pair(rec, ell::radius1, ell::radius2, std::fabs(sx), std::fabs(sy));
    if (one_factor_negative(sx, sy)) {
        set_rec_u16(rec, ell::flags, rec_u16(rec, ell::flags) ^ ell::clockwise);
        set_rec_f64(rec, ell::begin, adjust_rotation(two_pie - rec_f64(rec, ell::begin)));
        set_rec_f64(rec, ell::end, adjust_rotation(two_pie - rec_f64(rec, ell::end)));
    }
}

void scale_words(double sx, double sy, double* angle, ObjectRec& rec) {
    const double width = rec_f32(rec, text::char_width) * sx;
    double height = rec_f32(rec, text::char_height) * sy;
    if (height < 0) {
        // Read from its other end, so a mirrored text stays readable.
        const double d = width * (r_oneptfive * text_count(rec) - r_ptfive);
        double mx = 0, my = 0;
        calc_sides(rec_f64(rec, obj::rotation) + *angle, d, &mx, &my);
        translating(mx, my, rec);
        *angle += pie;
        height = -height;
    }
    set_rec_f32(rec, text::char_width, static_cast<float>(width));
    set_rec_f32(rec, text::char_height, static_cast<float>(height));
}

void scale_ldim(double sx, double sy, double*, ObjectRec& rec) {
    const double odx = rec_f64(rec, ldim::second_x), ody = rec_f64(rec, ldim::second_y);
    scale_pair(rec, ldim::second_x, ldim::second_y, sx, sy);
    const std::uint16_t mode = rec_u16(rec, ldim::mode);
    if (mode & ldim::horizontal) {
        set_rec_f64(rec, ldim::offset, rec_f64(rec, ldim::offset) * sy);
        set_rec_f64(rec, ldim::half_gap, rec_f64(rec, ldim::half_gap) * sx);
        set_rec_f64(rec, ldim::text_pos, rec_f64(rec, ldim::text_pos) * sx);
    } else if (mode & ldim::vertical) {
        set_rec_f64(rec, ldim::offset, rec_f64(rec, ldim::offset) * sx);
        set_rec_f64(rec, ldim::half_gap, rec_f64(rec, ldim::half_gap) * std::fabs(sy));
        set_rec_f64(rec, ldim::text_pos, rec_f64(rec, ldim::text_pos) * std::fabs(sy));
    } else {
        // Aligned: lengths along the measured direction, the offset across it.
        const double old_dir = get_radangle(odx, ody);
        const double new_dir = get_radangle(rec_f64(rec, ldim::second_x), rec_f64(rec, ldim::second_y));
        for (int off : {ldim::half_gap, ldim::text_pos}) {
            const double v = rec_f64(rec, off);
            double x = 0, y = 0;
            calc_sides(old_dir, v, &x, &y);
            set_rec_f64(rec, off, sign_of(v) * distance(x * sx, y * sy));
        }
        const double off = rec_f64(rec, ldim::offset);
        double x = 0, y = 0;
        calc_sides(new_dir + half_pie, off, &x, &y);
        set_rec_f64(rec, ldim::offset, sign_of(off) * sign_of(sy) * distance(x * sx, y * sy));
    }
}

void scale_bezier(double sx, double sy, double*, ObjectRec& rec) {
    scale_pair(rec, bez::c1x, bez::c1y, sx, sy);
    scale_pair(rec, bez::c2x, bez::c2y, sx, sy);
    scale_pair(rec, bez::endx, bez::endy, sx, sy);
}

void scale_point(double, double, double*, ObjectRec&) {}

void scale_symbol(double sx, double sy, double*, ObjectRec& rec) {
    scale_pair(rec, sym::width, sym::height, sx, sy);
    scale_pair(rec, sym::scale_x, sym::scale_y, sx, sy);
}

void scale_adim(double sx, double sy, double*, ObjectRec& rec) {
    scale_pair(rec, adim::second_x, adim::second_y, sx, sy);
    set_rec_f64(rec, adim::arc_dist, rec_f64(rec, adim::arc_dist) * sx);
    set_rec_f64(rec, adim::vertex_dist, rec_f64(rec, adim::vertex_dist) * std::fabs(sx));
    if (one_factor_negative(sx, sy)) {
        set_rec_u16(rec, adim::mode, rec_u16(rec, adim::mode) ^ adim::clockwise);
        for (int off : {adim::angle, adim::text_angle})
            set_rec_f32(rec, off, static_cast<float>(adjust_rotation(-static_cast<double>(rec_f32(rec, off)))));
    }
}

void rotating(ObjectRec& rec, double angle) {
    if (angle == 0) return;
    switch (obj_kind(rec)) {
    case ok_line:
        rotate_pair(rec, line::dx, line::dy, angle);
        rotate_pair(rec, obj::handle_x, obj::handle_y, angle);
        break;
    case ok_bezier:
        rotate_pair(rec, bez::c1x, bez::c1y, angle);
        rotate_pair(rec, bez::c2x, bez::c2y, angle);
        rotate_pair(rec, bez::endx, bez::endy, angle);
        rotate_pair(rec, obj::handle_x, obj::handle_y, angle);
        break;
    default:
        set_rec_f64(rec, obj::rotation, adjust_rotation(rec_f64(rec, obj::rotation) + angle));
        break;
    }
}

void translating(double dx, double dy, ObjectRec& rec) {
    set_rec_f64(rec, obj::ref_x, rec_f64(rec, obj::ref_x) + dx);
    set_rec_f64(rec, obj::ref_y, rec_f64(rec, obj::ref_y) + dy);
}

void mirror(double angle, double x, double y) {
    const double rx = rec_f64(info, obj::ref_x) - x, ry = rec_f64(info, obj::ref_y) - y;
    const double theta = get_radangle(rx, ry);
    double nx = 0, ny = 0;
    rotate_cr(rx, ry, &nx, &ny, r_two * (angle - theta));
    set_init(x + nx, y + ny, info);
    change_object(r_one, -r_one, r_two * (angle - rec_f64(info, obj::rotation)), 0, 0, info);
    modified = 1;
}

double object_rotation(const ObjectRec& rec, int degrees) {
    double a;
    switch (obj_kind(rec)) {
    case ok_line: a = get_radangle(rec_f64(rec, line::dx), rec_f64(rec, line::dy)); break;
    case ok_bezier: a = get_radangle(rec_f64(rec, bez::endx), rec_f64(rec, bez::endy)); break;
    default: a = rec_f64(rec, obj::rotation); break;
    }
    return degrees ? raddeg(a) : a;
}

void set_rotation(double angle, ObjectRec& rec) {
    const int kind = obj_kind(rec);
    if (kind == ok_line || kind == ok_bezier)
        rotating(rec, angle - object_rotation(rec, 0));
    else
        set_rec_f64(rec, obj::rotation, adjust_rotation(angle));
}

void set_init(double x, double y, ObjectRec& rec) {
    set_rec_f64(rec, obj::ref_x, x);
    set_rec_f64(rec, obj::ref_y, y);
}

void set_handle(double x, double y, ObjectRec& rec) {
    set_rec_f64(rec, obj::handle_x, x);
    set_rec_f64(rec, obj::handle_y, y);
}

void arrw_change() {
    std::uint8_t& b = info.b[obj::density_marks];
    b = static_cast<std::uint8_t>((b & ~0x0C) | (((obj_endmark(info) + 1) & 1) << 2));
}

void marker_change() {
    std::uint8_t& b = info.b[obj::density_marks];
    b = static_cast<std::uint8_t>((b & ~0x03) | ((obj_midmark(info) + 1) & 1));
}

void templ_change() {
    const bool now_template = !is_template(info);
    set_rec_word0_bits(info, w0_template, now_template);
    const int kind = obj_kind(info);
    if (kind == ok_text || kind == ok_lindim || kind == ok_angdim || kind == ok_point) return;
    info.b[obj::style] = now_template ? dotted_style : static_cast<std::uint8_t>(props_defs.style);
}

// ---- Copying ----

int make_copy(std::int16_t n) {
    const std::int16_t c = number_of_objects;
    if (!room_for_one_more(c)) return no_room();
    get_info(c);
    // Appending writes into the main cache's block; a copy cache of that
    // block would no longer hold what is there.
    if (tbuf_num == cur_buff_num) tbuf_num = -1;
    get_copy_info(n, info);
    number_of_objects = static_cast<std::int16_t>(c + 1);
    modified = 1;
    if (is_text(info)) copy_text(n);
    if (obj_kind(info) == ok_symbol) accept_symbol(rec_i16(info, sym::ctrl));
    return 1;
}

void copy_text(std::int16_t n) {
    if (!text_continued(info)) {
        text_chars(info, info, textline);
        return;
    }
    const std::int16_t copy = static_cast<std::int16_t>(number_of_objects - 1);
    ObjectRec tail{};
    if (n + 1 < static_cast<int>(worksize)) get_copy_info(static_cast<std::int16_t>(n + 1), tail);
    // A source whose continuation is missing keeps what it has inline.
    if (rec_kind(tail) != rk_text_tail) {
        text_chars(info, info, textline);
        return;
    }
    get_info(number_of_objects);
    info = tail;
    modified = 1;
    get_info(copy);
    number_of_objects = static_cast<std::int16_t>(number_of_objects + 1);
    text_chars(info, tail, textline);
}

}  // namespace drav
