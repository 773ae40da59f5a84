// A wall is stored as plain line records, one per line of each segment,
// appended directly; 'U' and ESC take them back from the end.
#include "base/command_loop.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "commands/draw/wall.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

namespace {

constexpr int err_no_segment_memory = 7;
constexpr int max_band = 257;

// A reshaped or new line: a drawing object, or an empty slot when it has
// no length.
void shape_line(ObjectRec& r, double x1, double y1, double x2, double y2) {
    set_rec_f64(r, obj::ref_x, x1);
    set_rec_f64(r, obj::ref_y, y1);
    set_rec_f64(r, line::dx, x2 - x1);
    set_rec_f64(r, line::dy, y2 - y1);
    const bool empty = x2 - x1 == 0 && y2 - y1 == 0;
    set_rec_u16(r, o_word0, static_cast<std::uint16_t>((rec_word0(r) & 0xFFC0) | (empty ? 0 : live_object_word)));
    set_obj_kind_colour(r, empty ? 0 : ok_line, obj_colour(r));
}

// The properties of the stored lines.
void stamp_template(ObjectRec& r) {
    const bool tmpl = (wallopts->new_template & 1) != 0;
    set_rec_word0_bits(r, w0_template, tmpl);
    r.b[obj::style] = static_cast<std::uint8_t>(tmpl ? dotted_style : props_defs.style);
    set_obj_density_marks(r, props_defs.density, wallopts->new_arrow & 3, wallopts->new_marker & 3);
    r.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
    set_rec_f32(r, obj::ztop, props_defs.z_top);
    set_rec_f32(r, obj::zbottom, props_defs.z_bottom);
    r.b[obj::pen] = static_cast<std::uint8_t>(props_defs.pen);
    set_obj_kind_colour(r, obj_kind(r), props_defs.colour);
    r.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
    set_rec_str(r, obj::name, obj::name_size, props_defs.name);
}

// Empties the records from `from` on, last first.
void remove_down_to(std::int16_t from) {
    while (number_of_objects > from) remove_last_record();
}

void remove_record(std::int16_t n) {
    get_info(n);
    stop_show_go(mode_erase, &info);
    set_rec_kind(info, rk_empty);
    modified = 1;
    put_on_screen(n, 0);
    --number_of_objects;
}

void remove_lines(WallNodeRec& n) {
    while (n.rec_count > 0) {
        remove_record(static_cast<std::int16_t>(n.first_rec + n.rec_count - 1));
        --n.rec_count;
    }
}

void fail(int error) {
    trimprevious();
    show_error(error, 0);
    quit = 1;
    addnum = tool_select_code;
}

}  // namespace

void remove_last_record() { remove_record(static_cast<std::int16_t>(number_of_objects - 1)); }

int makeline(double x1, double y1, double x2, double y2, const ObjectRec& tmpl) {
    const std::int16_t n = number_of_objects;
    if (n + 1 >= static_cast<int>(worksize) - 5) return 0;
    get_info(n);
    info = tmpl;
    if (obj_kind(tmpl) != ok_line) {
        // A side of a rectangle or polygon keeps none of its shape's fields.
        set_rec_handle_location(info, 0);
        for (int i = obj::handle_x; i < obj::name; ++i) info.b[i] = 0;
        for (int i = line::hatch; i < 128; ++i) info.b[i] = 0;
    }
    shape_line(info, x1, y1, x2, y2);
    modified = 1;
    custom_event(2, n, 0, 0, "", nullptr);
    stop_show_go(mode_draw, &info);
    put_on_screen(n, clipped);
    number_of_objects = static_cast<std::int16_t>(n + 1);
    return 1;
}

void chgeline(std::int16_t index, double x1, double y1, double x2, double y2) {
    get_info(index);
    show(mode_erase, &info);
    shape_line(info, x1, y1, x2, y2);
    modified = 1;
    show(mode_draw, &info);
    put_on_screen(index, clipped);
}

void chgeprevious() {
    WallLine lines[max_band];
    const int k = band_lines(*pw, lines);
    for (int i = 0; i < k; ++i)
        chgeline(static_cast<std::int16_t>(pw->first_rec + i), lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2);
}

void savewall(std::uint16_t* flag) {
    const std::uint16_t was = drawtoscreen;
    drawtoscreen = 1;
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    *flag = 0;
    cwinfo = info;
    WallNodeRec& n = *cw;
    n.rec_count = static_cast<std::int16_t>(countlines());
    int error = 0;
    if (number_of_objects + n.rec_count + 10 >= static_cast<int>(worksize) - 5)
        error = err_no_room;
    else if (!valid_wall())
        error = err_degenerate;
    std::int16_t lines_from = -1;
    if (!error) {
        bool room = true;
        if (n.bcut_index != 0) {
            for (const WallLine& p : {n.bcut_piece1, n.bcut_piece2}) {
                if (!room) break;
                room = makeline(p.x1, p.y1, p.x2, p.y2, btinfo) != 0;
                if (room) ++n.bcut_count;
            }
        }
        if (room && mlin_cut(users_defs) && there_are_objects())
            room = ecutwall(&n.left.x2, &n.left.y2, n.left.x2 - n.left.x1, n.left.y2 - n.left.y1, &n.right.x2,
                            &n.right.y2, n.right.x2 - n.right.x1, n.right.y2 - n.right.y1, flag) != 0;
        stamp_template(cwinfo);
        lines_from = number_of_objects;
        n.first_rec = number_of_objects;
        if (room) {
            WallLine lines[max_band];
            const int k = band_lines(n, lines);
            for (int i = 0; i < k && room; ++i) room = makeline(lines[i].x1, lines[i].y1, lines[i].x2, lines[i].y2, cwinfo) != 0;
        }
        if (!room) error = err_no_room;
    }
    if (error) {
        // Nothing of the refused segment stays, its cuts included.
        if (lines_from >= 0) remove_down_to(lines_from);
        undeltrim(&n.ecut_index, &n.ecut_first, &n.ecut_count);
        undeltrim(&n.bcut_index, &n.bcut_first, &n.bcut_count);
        n.flags &= static_cast<std::uint16_t>(~wall_detached_bit);
        *flag = 0;
        n.rec_count = 0;
        reset_undo();
        fail(error);
    } else {
        if (n.prev) {
            cur_stop();
            pw = n.prev;
            if (!(pw->flags & wall_detached_bit)) {
                showwall(mode_erase, pw, cw, btinfo);
                chgeprevious();
            }
            cur_go();
        }
        // Edit > Undo puts back whole what this segment cut.
        note_taken_apart(n.bcut_index, n.bcut_first, n.bcut_count);
        note_taken_apart(n.ecut_index, n.ecut_first, n.ecut_count);
        if (!newwall()) fail(err_no_segment_memory);
    }
    drawtoscreen = was;
}

void undeltrim(std::int16_t* index, std::int16_t* first, std::int16_t* count) {
    cwinfo = info;
    if (*index != 0) {
        while (*count > 0) {
            remove_record(static_cast<std::int16_t>(*first + *count - 1));
            --*count;
        }
        get_info(*index);
        undel_object(*index, 1);
    }
    *index = *first = *count = 0;
    get_info(number_of_objects);
    info = cwinfo;
}

int erasewall() {
    undeltrim(&cw->bcut_index, &cw->bcut_first, &cw->bcut_count);
    if (!cw->prev) return 0;
    // The stored segment's operation is gone with it.
    reset_undo();
    cur_stop();
    WallNodeRec* gone = cw;
    cw = lastcw = gone->prev;
    cw->next = nullptr;
    xfree(&gone);
    WallNodeRec& n = *cw;
    n.flags = static_cast<std::uint16_t>((n.flags & ~wall_detached_bit) | (wallopts->mline_opt1 == 1 ? wall_detached_bit : 0));
    showwall(mode_erase, cw, cw, btinfo);
    // Newest records first: the lines, the end cut, the kept pieces.
    remove_lines(n);
    undeltrim(&n.ecut_index, &n.ecut_first, &n.ecut_count);
    if (n.bcut_index != 0) {
        for (int i = 0; i < 2 && n.bcut_count > 0; ++i) {
            const std::int16_t r = static_cast<std::int16_t>(n.bcut_first + n.bcut_count - 1);
            get_info(r);
            btinfo = info;
            remove_record(r);
            --n.bcut_count;
        }
    }
    get_info(number_of_objects);
    cwinfo = info;
    set_mlin_count(users_defs, n.count);
    users_defs.wall_width = (n.flags & wall_spacing_bit) ? n.wall_w / (n.count - 1) : n.wall_w;
    rot_of_lock(wallopts->lock_mode);
    n.lock = wallopts->lock_mode;
    if (n.prev && wallopts->mline_opt1 != 1) {
        pw = n.prev;
        set_the_pivot(n.pivot_x, n.pivot_y, pw);
        if (wallopts->lock_mode == 1 || wallopts->lock_mode == 2) {
            alternate_restraint(pw->lock);
            set_the_pivot(n.pivot_x, n.pivot_y, pw);
        }
    } else {
        set_the_pivot(n.pivot_x, n.pivot_y, cw);
    }
    update_ref(n.pivot_x, n.pivot_y);
    cur_go();
    return 1;
}

void eraseallwalls() {
    if (cw->prev) reset_undo();
    cur_stop();
    undeltrim(&cw->bcut_index, &cw->bcut_first, &cw->bcut_count);
    while (cw->prev) {
        WallNodeRec* gone = cw;
        cw = lastcw = gone->prev;
        cw->next = nullptr;
        xfree(&gone);
        WallNodeRec& n = *cw;
        showwall(mode_erase, cw, cw, btinfo);
        remove_lines(n);
        undeltrim(&n.ecut_index, &n.ecut_first, &n.ecut_count);
        undeltrim(&n.bcut_index, &n.bcut_first, &n.bcut_count);
    }
    cur_go();
}

}  // namespace drav
