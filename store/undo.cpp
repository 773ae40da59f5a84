#include "store/undo.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "base/window_areas.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/hooks.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_hooks.h"
#include "store/selection_state.h"
#include "store/settings.h"

namespace drav {

std::uint16_t didsomething = 0;
char name_new_group[group_name_size] = {};

namespace {

// The remembered operation, its arguments as last performed.
std::int16_t sav_operation = 0;
double sav_real_1 = 0, sav_real_2 = 0, sav_real_3 = 0, sav_real_4 = 0;
std::uint16_t sav_bool_1 = 0, sav_bool_2 = 0;
std::uint16_t undo = 0;  // the operation stands undone: the menu offers Redo
std::int16_t last_indx = first_object_slot;  // `number_of_objects` at registration
std::int16_t saveindx = first_object_slot;   // `indx` at registration; the first added record
std::int16_t endindx = first_object_slot;    // `number_of_objects` when added records were taken back
// The records the operation changed when last performed or reversed: Undo
// and Redo act on exactly these, never on an object it did not touch.
std::vector<std::int16_t> changed;
// Objects the objects-added operation took apart, with the records that replaced them.
struct TakenApart {
    std::int16_t index, first, count;
};
std::vector<TakenApart> taken_apart;

char item_text[256] = {};
int item_enabled = 0;

constexpr int name_undo = 9;
constexpr int name_redo = 10;

// Entry of table 428 that names each operation; 0 none.
int operation_name(int code) {
    switch (code) {
    case op_group_mode: return 12;
    case op_move: return 13;
    case op_copy: return 14;
    case op_rotate: return 15;
    case op_scale: return 16;
    case op_mirror: return 17;
    case op_explode: return 18;
    case op_delete: return 19;
    case op_extend: return 20;
    case op_fence_break:
    case op_object_break:
    case op_intersection_break: return 21;
    case op_fillet: return 22;
    case op_chamfer: return 23;
    case op_perpendicular: return 24;
    case op_parallel: return 25;
    case op_tangent: return 26;
    case op_isometric: return 27;
    case op_add: return 11;
    case op_handle: return 28;
    case op_pivot: return 29;
    case op_symbol: return 30;
    default: return 0;
    }
}

bool per_object(int code) {
    return (code >= op_move && code <= op_explode) || code == op_delete || code == op_isometric;
}

GroupToggle g_group_toggle = nullptr;
HpChanger g_hp_changer = nullptr;

// Codes whose whole work exists. The others are reached below by their
// workers' TODOs and are never remembered until their commands are built.
bool operation_built(int code, double r1, double r2) {
    switch (code) {
    case op_group_mode: return g_group_toggle != nullptr;
    case op_handle:
    case op_pivot: return g_hp_changer != nullptr;
    case op_rotate:
    case op_delete:
    case op_perpendicular:
    case op_parallel:
    case op_tangent:
    case op_symbol:
    case op_add: return true;
    // A zero or broken factor could not be undone.
    case op_scale: return std::isfinite(1 / r1) && std::isfinite(1 / r2) && r1 != 0 && r2 != 0;
    default: return false;
    }
}

void clear_handle_and_pivot() {
    if (macgroup)
        hook_nullghp();
    else
        hook_nullohp();
}

void erase_added_records() {
    erase_many_objects(last_indx);
    number_of_objects = last_indx;
}

// Whole operations, performed or redone.
void run_whole(int code, double r1, double r2, double r3, double r4, std::uint16_t b1) {
    switch (code) {
    case op_handle:
    case op_pivot:
        if (g_hp_changer) g_hp_changer(r1, r2, r3, r4, b1);
        break;
    case op_group_mode:
        if (g_group_toggle) g_group_toggle();
        break;
    case op_extend:
        // TODO(extendit)
        break;
    case op_fence_break:
        // TODO(fnce_breakit)
        break;
    case op_object_break:
        // TODO(obj_breakit)
        break;
    case op_intersection_break:
        // TODO(intr_breakit)
        break;
    case op_fillet:
        // TODO(grind_out_fillet)
        break;
    case op_chamfer:
        // TODO(grind_out_chamfer)
        break;
    case op_perpendicular:
    case op_parallel:
    case op_add:
        // The command stores its objects itself from here on.
        saveindx = indx = number_of_objects;
        break;
    case op_tangent: {
        get_info(number_of_objects);
        zero_info(info);
        set_obj_kind_colour(info, ok_line, props_defs.colour);
        info.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
        info.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
        info.b[obj::style] = static_cast<std::uint8_t>(props_defs.style);
        set_init(r1, r2, info);
        set_rec_f64(info, line::dx, r3);
        set_rec_f64(info, line::dy, r4);
        if (objopts && objopts->new_arrow) arrw_change();
        if (objopts && objopts->new_marker) marker_change();
        if (objopts && objopts->new_template) templ_change();
        save_object();
        break;
    }
    case op_symbol:
        saveindx = number_of_objects;
        break;
    default: break;
    }
}

void rotate_step(double cx, double cy, double angle) {
    show_record(2, &info);
    double x = 0, y = 0;
    rotate_cr(rec_f64(info, obj::ref_x) - cx, rec_f64(info, obj::ref_y) - cy, &x, &y, angle);
    set_init(cx + x, cy + y, info);
    change_object(r_one, r_one, angle, 0, 0, info);
    modified = 1;
    put_on_screen(prev_index, show_record(1, &info));
}

void scale_step(double rx, double ry, double cx, double cy, int move, int resize) {
    show_record(2, &info);
    if (move) {
        // In the object's own rotated frame.
        const double rot = rec_f64(info, obj::rotation);
        double wx = 0, wy = 0, x = 0, y = 0;
        rotate_cr(rec_f64(info, obj::ref_x) - cx, rec_f64(info, obj::ref_y) - cy, &wx, &wy, -rot);
        rotate_cr(wx * rx, wy * ry, &x, &y, rot);
        set_init(cx + x, cy + y, info);
    }
    if (resize) change_object(rx, ry, 0, 0, 0, info);
    modified = 1;
    put_on_screen(prev_index, show_record(1, &info));
}

// 1 when the object changed.
int delete_step(std::int16_t i, int remove) {
    if (remove) {
        show_record(2, &info);
        delete_object(i, 0);
        if (!macgroup && getidle() && okindx(&indx)) hook_showonoff(indx, 1);
        if (macgroup)
            grpdelok = 1;
        else
            objdeleted = 1;
        return 1;
    }
    indx = saveindx;
    if (is_live_object(info)) return 0;  // nothing to bring back
    undel_object(i, 1);
    if (!macgroup && getidle()) indx = i;
    if (macgroup) grpdelok = 0;
    return 1;
}

int perform_on(int code, std::int16_t i, double r1, double r2, double r3, double r4, std::uint16_t b1,
               std::uint16_t b2) {
    switch (code) {
    case op_move:
        // TODO(mve_scl)
        return 0;
    case op_copy:
        // TODO(copyit)
        return 0;
    case op_rotate:
        rotate_step(r1, r2, r3);
        return 1;
    case op_scale:
        scale_step(r1, r2, r3, r4, b1, b2);
        return 1;
    case op_mirror:
        // TODO(image_it)
        return 0;
    case op_explode:
        // TODO(explodeit)
        return 0;
    case op_delete: return delete_step(i, b1);
    case op_isometric:
        // TODO(isoit)
        return 0;
    default: return 0;
    }
}

// The per-object loop; `replay` walks the objects the operation changed
// last. Leaves `changed` holding what this run changed; 0 when nothing.
int run_per_object(int code, double r1, double r2, double r3, double r4, std::uint16_t b1, std::uint16_t b2,
                   bool replay) {
    if (code == op_copy || (code == op_mirror && b1) || (code == op_isometric && b1)) {
        if (undo)
            reset_groupnum();
        else
            update_group(name_new_group);
    }
    std::vector<std::int16_t> targets;
    if (replay) {
        targets = changed;
    } else if (macgroup) {
        for (int i = first_object_slot; i < number_of_objects; ++i) targets.push_back(static_cast<std::int16_t>(i));
    } else {
        targets.push_back(indx);
    }
    std::vector<std::int16_t> done;
    for (std::int16_t i : targets) {
        if (quit || aborted) break;
        // The highlight goes first: showing loads other records.
        if (!macgroup) hook_showonoff(indx, 0);
        if (!get_and_check(i) && !notvalidok(i, code, b1, undo)) continue;
        if (perform_on(code, i, r1, r2, r3, r4, b1, b2)) done.push_back(i);
    }
    if (code == op_move && macgroup) {
        // TODO(grpfnce) every point of the selection's fence list moves by (r1, r2)
    }
    changed = std::move(done);
    return changed.empty() ? 0 : 1;
}

// Takes back (undoing) or brings back the records a command added after
// registering codes 28, 29 or 32: deleted in place beyond the count, so that
// Redo finds them as they were.
// Deletes (off) or undeletes (on) record n when it is a drawing object in
// the other state.
void set_live(std::int16_t n, bool on) {
    if (n < first_object_slot || n >= static_cast<int>(worksize)) return;
    get_info(n);
    if (rec_kind(info) != rk_object || is_live_object(info) == on) return;
    if (on) {
        undel_object(n, 1);
    } else {
        show_record(2, &info);
        delete_object(n, 0);
    }
}

void toggle_added_records() {
    if (undo) {
        endindx = number_of_objects;
        changed.clear();
        for (int i = saveindx; i < endindx; ++i) {
            get_info(static_cast<std::int16_t>(i));
            if (!is_live_object(info)) continue;  // continuations go with their text
            show_record(2, &info);
            delete_object(static_cast<std::int16_t>(i), 0);
            changed.push_back(static_cast<std::int16_t>(i));
        }
        number_of_objects = last_indx;
        for (auto t = taken_apart.rbegin(); t != taken_apart.rend(); ++t) {
            for (int i = t->first + t->count - 1; i >= t->first; --i) set_live(static_cast<std::int16_t>(i), false);
            set_live(t->index, true);
        }
    } else {
        number_of_objects = endindx;
        for (std::int16_t i : changed) {
            get_info(i);
            if (rec_kind(info) != rk_object || is_live_object(info)) continue;
            if (obj_kind(info) == ok_text) cumstgs(i);
            undel_object(i, 1);
        }
        for (const TakenApart& t : taken_apart) {
            set_live(t.index, false);
            for (int i = t.first; i < t.first + t.count; ++i) set_live(static_cast<std::int16_t>(i), true);
        }
    }
    indx = static_cast<std::int16_t>(last_valid_indx());
}

// 1 when some member of the group is still a live object.
bool live_member() {
    for (int i = first_object_slot; i < number_of_objects; ++i) {
        if (!get_in_group(i)) continue;
        get_info(static_cast<std::int16_t>(i));
        if (is_live_object(info)) return true;
    }
    return false;
}

void forget(std::int16_t* code, int* go) {
    reset_undo();
    *code = 0;
    *go = 0;
}

// The menus follow what the operation left, and the window shows it at the
// next update.
void after_operation() {
    if (getidle()) {
        if (macgroup) {
            if (!live_member()) hook_nullghp();
        } else if (okindx(&indx)) {
            hook_showonoff(indx, 1);
        } else {
            hook_nullohp();
        }
    }
    setidle(getidle());
    drawing_area_valid(0);
}

// The Edit menu's Undo item shows the chosen text.
void show_item_text() {
    unsigned char pascal[256];
    const std::size_t n = std::min<std::size_t>(std::strlen(item_text), 255);
    pascal[0] = static_cast<unsigned char>(n);
    std::memcpy(pascal + 1, item_text, n);
    MySetMenuCommandText(kMyEditMenu, four_cc("undo"), pascal);
}

}  // namespace

void reset_undo() {
    sav_operation = 0;
    undo = 0;
    last_indx = number_of_objects;
    saveindx = indx;
    changed.clear();
    taken_apart.clear();
    GetMyLocalCString(item_text, tbl_edit_names, name_undo);
    show_item_text();
    enable_undoredo(0);
}

void enable_undoredo(int on) {
    item_enabled = on ? 1 : 0;
    if (on)
        MyEnableMenuItem(kMyEditMenu, four_cc("undo"));
    else
        MyDisableMenuItem(kMyEditMenu, four_cc("undo"));
}

void set_undoredo() {
    const int name = operation_name(sav_operation);
    if (name) {
        char what[256];
        GetMyLocalCString(item_text, tbl_edit_names, undo ? name_redo : name_undo);
        GetMyLocalCString(what, tbl_edit_names, name);
        // Cut to the item's 255 bytes.
        std::strncat(item_text, what, sizeof item_text - 1 - std::strlen(item_text));
        show_item_text();
    }
    // Some construction steps cannot be replayed with the tool options as
    // they stand now.
    // These checks apply only while no command runs.
    if (undo && objopts && getidle()) {
        const ObjOptsRec& o = *objopts;
        bool no_redo = false;
        switch (sav_operation) {
        case op_extend: no_redo = o.extend_opt1 == 0 && o.extend_opt2 == 0; break;
        case op_fence_break:
        case op_object_break:
        case op_intersection_break:
            no_redo = (o.break_opt1 == 1 && o.break_opt2 != 1) || (o.break_opt1 == 2 && o.break_opt5 == 0) ||
                      o.break_opt1 == 3;
            break;
        case op_fillet: no_redo = o.fillet_opt1 == 2; break;
        default: break;
        }
        if (no_redo) enable_undoredo(0);
    }
}

void undooperation(std::int16_t* code, double* r1, double* r2, double* r3, double* r4, std::uint16_t* b1,
                   std::uint16_t* b2, int* go) {
    undo = !undo;
    *code = sav_operation;
    switch (*code) {
    case op_group_mode: break;
    case op_handle:
    case op_pivot:
        *r1 = -*r1;
        *r2 = -*r2;
        *r3 = -*r3;
        *r4 = -*r4;
        break;
    case op_move:
        clear_handle_and_pivot();
        *r1 = -*r1;
        *r2 = -*r2;
        break;
    case op_copy:
        indx = saveindx;
        if (undo) {
            erase_added_records();
            reset_groupnum();
            set_group_limits();
            if (macgroup) {
                if (objs_in_grp == 0) hook_nullghp();
            } else if (getidle() && there_are_objects() && okindx(&indx)) {
                hook_showcurrent(indx);
            }
            *go = 0;
        }
        break;
    case op_rotate:
        clear_handle_and_pivot();
        *r3 = -*r3;
        break;
    case op_scale:
        clear_handle_and_pivot();
        *r1 = 1 / *r1;
        *r2 = 1 / *r2;
        break;
    case op_mirror:
        if (*b1) {
            if (undo) {
                erase_added_records();
                reset_groupnum();
                *go = 0;
            }
        } else {
            clear_handle_and_pivot();
        }
        break;
    case op_explode:
        clear_handle_and_pivot();
        if (undo) {
            erase_added_records();
            indx = saveindx;
        }
        break;
    case op_delete:
        *b1 = !*b1;
        if (!macgroup) hook_showonoff(indx, 0);
        indx = saveindx;
        break;
    case op_extend:
    case op_fence_break:
    case op_object_break:
    case op_intersection_break:
    case op_fillet:
    case op_chamfer:
        clear_handle_and_pivot();
        indx = saveindx;
        if (!macgroup) hook_showonoff(indx, 0);
        if (undo) {
            switch (*code) {
            case op_extend:
                // TODO(erase_extend)
                break;
            case op_fillet:
                // TODO(one_fillet_erase)
                break;
            case op_chamfer:
                // TODO(one_chamfer_erase)
                break;
            default:
                // TODO(link_undo)
                break;
            }
            indx = static_cast<std::int16_t>(last_valid_indx());
            if (getidle()) hook_showcurrent(indx);
            *go = 0;
        } else {
            get_info(number_of_objects);
            zero_info(info);
            modified = 1;
            if (*code == op_extend) {
                // TODO(extend_release)
                // TODO(init_extend) when it fails, *go = 0
            } else {
                // TODO(cut_release)
                // TODO(link_init) when it fails, *go = 0
            }
        }
        break;
    case op_perpendicular:
    case op_parallel:
    case op_add:
        // Nothing may have been appended since the Undo, or Redo would
        // bring the count back over it.
        if (!undo && number_of_objects != last_indx) {
            forget(code, go);
            return;
        }
        toggle_added_records();
        *go = 0;
        break;
    case op_tangent:
        indx = saveindx;
        if (!macgroup) hook_showonoff(indx, 0);
        if (undo) {
            erase_added_records();
            indx = static_cast<std::int16_t>(last_valid_indx());
            if (getidle()) hook_showcurrent(indx);
            *go = 0;
        }
        break;
    case op_isometric:
        indx = saveindx;
        *b2 = !*b2;
        if (*b1 && undo) {
            erase_added_records();
            reset_groupnum();
            *go = 0;
        } else {
            clear_handle_and_pivot();
        }
        break;
    case op_symbol:
        if (undo && number_of_objects > saveindx) {
            // TODO(link_undo)
            get_info(saveindx);
            show_record(2, &info);
            delete_object(saveindx, 0);
            number_of_objects = static_cast<std::int16_t>(saveindx + 1);
            get_info(number_of_objects);
            zero_info(info);
            modified = 1;
            okindx(&indx);
        } else {
            // TODO(cut_release)
            // TODO(link_init) the rest only when it succeeds:
            get_info(saveindx);
            undel_object(saveindx, 0);
            modified = 1;
            // TODO(link_fence) over the symbol's box when objopts->sym_opt3 is set
            // TODO(cut_grp_link) otherwise
            show_record(1, &info);
            indx = saveindx;
        }
        *go = 0;
        break;
    default: forget(code, go); break;
    }
}

namespace {

// A handle change that rewrote the current object's stored handle (it ran
// with a point accepted) rewrites it again when undone or redone, and the
// handle location it cleared comes back with the undo: b2 is 0 for a change
// that left the record alone, else 1 + the location to go back to.
std::uint16_t run_handle_change(double r1, double r2, double r3, double r4, std::uint16_t b2, bool replay) {
    const bool stored = !macgroup && indx >= first_object_slot && indx < number_of_objects &&
                        (replay ? b2 != 0 : accepted != 0);
    if (!stored) {
        run_whole(op_handle, r1, r2, r3, r4, 0);
        return 0;
    }
    get_info(indx);
    const int before = rec_handle_location(info);
    const std::uint16_t was_accepted = accepted;
    accepted = 1;
    run_whole(op_handle, r1, r2, r3, r4, 0);
    accepted = was_accepted;
    if (replay) {
        get_info(indx);
        set_rec_handle_location(info, b2 - 1);
        modified = 1;
    }
    return static_cast<std::uint16_t>(before + 1);
}

// A handle step (b1 set) changed only the record's handle location: b2 is
// 1 + the location to go back to, and after the swap 1 + the one to go forward to.
std::uint16_t swap_handle_location(std::uint16_t b2) {
    if (b2 == 0 || macgroup || indx < first_object_slot || indx >= number_of_objects) return b2;
    get_info(indx);
    const int now = rec_handle_location(info);
    set_rec_handle_location(info, b2 - 1);
    modified = 1;
    return static_cast<std::uint16_t>(now + 1);
}

}  // namespace

void do_operation(std::int16_t code, double r1, double r2, double r3, double r4, std::uint16_t b1,
                  std::uint16_t b2) {
    quit = 0;
    aborted = 0;
    didsomething = 1;
    int go = 1;
    const bool replay = code == op_undo;
    if (replay) {
        if (sav_operation == 0) {
            reset_undo();
            return;
        }
        undooperation(&code, &r1, &r2, &r3, &r4, &b1, &b2, &go);
        if (code == 0) return;
    } else {
        reset_undo();
        if (!operation_built(code, r1, r2)) return;
    }
    if (go) {
        enable_undoredo(1);
        if (per_object(code)) {
            if (!run_per_object(code, r1, r2, r3, r4, b1, b2, replay)) {
                reset_undo();
                after_operation();
                return;
            }
        } else if (code == op_handle && !b1) {
            b2 = run_handle_change(r1, r2, r3, r4, b2, replay);
            if (!macgroup && getidle() && there_are_objects() && okindx(&indx)) hook_showcurrent(indx);
        } else {
            run_whole(code, r1, r2, r3, r4, b1);
            if (replay && code == op_handle) b2 = swap_handle_location(b2);
            if (!macgroup && getidle() && there_are_objects() && okindx(&indx)) hook_showcurrent(indx);
        }
    }
    sav_operation = code;
    sav_real_1 = r1;
    sav_real_2 = r2;
    sav_real_3 = r3;
    sav_real_4 = r4;
    sav_bool_1 = b1;
    sav_bool_2 = b2;
    enable_undoredo(1);
    set_undoredo();
    after_operation();
}

void note_taken_apart(std::int16_t index, std::int16_t first, std::int16_t count) {
    if (sav_operation == op_add && index != 0 && count >= 0) taken_apart.push_back(TakenApart{index, first, count});
}

void do_undo() {
    if (loop_takes_undo()) return;
    do_operation(op_undo, sav_real_1, sav_real_2, sav_real_3, sav_real_4, sav_bool_1, sav_bool_2);
}

int get_and_check(std::int16_t n) {
    if (macgroup && !get_in_group(n)) return 0;
    if (n < first_object_slot || n >= number_of_objects) return 0;
    get_info(n);
    if (!is_live_object(info)) return 0;
    if (!levelok(info)) return 0;
    if (obj_kind(info) == ok_text) cumstgs(n);
    return 1;
}

int notvalidok(std::int16_t n, int code, int b1, int undoing) {
    if (!((code == op_explode && undoing) || (code == op_delete && !b1))) return 0;
    if (macgroup && !get_in_group(n)) return 0;
    if (n < first_object_slot || n >= number_of_objects) return 0;
    get_info(n);
    if (rec_kind(info) != rk_object) return 0;
    if (obj_kind(info) == ok_text) cumstgs(n);
    return 1;
}

void update_group(char* name) {
    if (!macgroup) return;
    // Seven characters of the name and at most three digits.
    std::snprintf(name, group_name_size, "%.7s", props_defs.name);
    if (objopts && objopts->group_opt1 && objopts->group_opt2 && props_defs.group <= 999) {
        std::snprintf(name, group_name_size, "%.7s%d", props_defs.name, props_defs.group % 1000);
        if (name != name_new_group) std::snprintf(name_new_group, group_name_size, "%s", name);
        ++props_defs.group;
    }
}

void reset_groupnum() {
    if (macgroup && objopts && objopts->group_opt1 && objopts->group_opt2 && props_defs.group >= 2)
        --props_defs.group;
}

void group(int n) {
    const std::uint16_t was_idle = getidle();
    setidle(0);
    quit = 0;
    aborted = 0;
    if (n == 9 && !macgroup && g_group_toggle) g_group_toggle();
    double hx = 0, hy = 0;
    hook_get_oghandle(&hx, &hy);
    update_ref(hx, hy);
    set_group_limits();
    if (n == 8) {
        // TODO(group_undelete)
    }
    // In object mode: the current object, or the next valid one.
    const bool selected = macgroup ? objs_in_grp > 0 : okindx(&indx) != 0;
    if (!selected) {
        no_group();
    } else {
        switch (n) {
        case 1:
            // TODO(move_group)
            break;
        case 2:
            // TODO(copy_group)
            break;
        case 3:
            // TODO(rotate_group)
            break;
        case 4:
            // TODO(scale_group)
            break;
        case 5:
            // TODO(image_group)
            break;
        case 6:
            // TODO(explode)
            break;
        case 7:
            clear_handle_and_pivot();
            do_operation(op_delete, 0, 0, 0, 0, 1, 0);
            break;
        case 9:
            // TODO(iso_group)
            break;
        default: break;
        }
    }
    mess_clear();
    set_group_limits();
    checkpht();
    setidle(was_idle);
}

void no_group() {
    pr_alert(4, alert_standard);
    addnum = 2;
}

void set_group_toggle(GroupToggle f) { g_group_toggle = f; }

void set_hp_changer(HpChanger f) { g_hp_changer = f; }

const char* undo_item_text() { return item_text; }

int undo_item_enabled() { return item_enabled; }

}  // namespace drav
