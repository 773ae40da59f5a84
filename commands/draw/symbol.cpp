#include "commands/draw/symbol.h"

#include <cmath>

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "base/restraint_hook.h"
#include "commands/draw/draw_frame.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "store/current_drawing.h"
#include "store/geometry.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {


std::int16_t symcount = 0;

namespace {

constexpr int prompt_place = 30, prompt_new_handle = 32;
constexpr int err_worklib_full = 5, err_copy = 6;
constexpr std::uint8_t unprop_bit = 0x80;  // byte 89: the symbol may be scaled unproportionally

std::int16_t symbol_num = 0;  // the picked slot, 0-based
std::int16_t ctrl_ptr = 0;    // its control record in the work library
std::uint16_t lib_found = 0;
std::uint16_t erased = 0;
std::uint16_t copied = 0;  // this run copied the symbol into the work library

// The symbol options as the command last saw them.
struct SymbolSeen {
    std::int16_t mirror, use_props, fixed;
    double sx, sy;
    std::uint16_t details;
    static SymbolSeen now(const ObjOptsRec& o) {
        return {o.sym_opt1, o.sym_opt4, o.sym_values_on, o.sym_value1, o.sym_value2,
                static_cast<std::uint16_t>(swaper & sw_marked_pieces)};
    }
    bool operator==(const SymbolSeen&) const = default;
};

double lock_rotation(int lock) {
    if (lock == 2) return half_pie;
    if (lock == 3) return units_defs.rotation_step;
    return 0;
}

}  // namespace

// ---- Preparation ----

void direct_symbol(int* found) {
    if (!dirsymbol) return;
    dirsymbol = 0;
    makelibactive(dirFSRef, dirlibname);
    lib_found = static_cast<std::uint16_t>(open_default_library(0));
    LibHeader head;
    if (lib_found && read_lib_header(currentlibRefNum, &head) && dirsymnum > 0 && dirsymnum <= head.maxctrls) {
        *found = 1;
        symbol_num = static_cast<std::int16_t>(dirsymnum - 1);
    } else {
        *found = 0;
    }
}

int locate_symbol() {
    if (!open_default_library(0)) return 0;
    if (find_symb_indx(current_lib.name, symbol_num, &ctrl_ptr)) return 1;
    copied = static_cast<std::uint16_t>(copy_from_library());
    return copied;
}

int copy_from_library() {
    if (!valid_symbol(symbol_num)) return 0;
    LibHeader head;
    ObjectRec ctrl;
    std::int64_t got = 0;
    // A control record whose pieces lie outside the library is refused.
    if (!read_lib_header(currentlibRefNum, &head) ||
        plat::read_at(currentlibRefNum, (std::int64_t{symbol_num} + first_ctrl_record) * 128, ctrl.b, 128, &got) !=
            plat::noErr ||
        got != 128 || !lib_ctrl_sound(ctrl, head)) {
        show_error(err_copy, 0);
        return 0;
    }
    if (!room_for_symbol(static_cast<std::int16_t>(symbol_num + first_ctrl_record))) {
        show_error(err_worklib_full, 0);
        return 0;
    }
    const int old = current_lib_version == 52 || current_lib_version == 54;
    if (copy_symbol(currentlibRefNum, static_cast<std::int16_t>(symbol_num + first_ctrl_record), &ctrl_ptr,
                    current_lib.name, old))
        return 1;
    show_error(err_copy, 0);
    return 0;
}

void init_symbol_info(double* hx, double* hy, int use_lock) {
    double rotation = rec_f64(info, obj::rotation);
    get_info(number_of_objects);
    zero_info(info);
    set_obj_kind_colour(info, ok_symbol, 0);
    if (use_lock) rotation = lock_rotation(objopts->lock_mode);
    set_rec_f64(info, obj::rotation, rotation);
    set_sym_number(info, symbol_num);
    set_rec_i16(info, sym::ctrl, ctrl_ptr);
    set_rec_f64(info, sym::scale_x, 1);
    set_rec_f64(info, sym::scale_y, 1);
    char name[sym::library_size];
    strnncpy(name, current_lib.name, sym::library_size - 1);
    set_rec_str(info, sym::library, sym::library_size, name);
    ObjectRec ctrl;
    get_ctrlrec(ctrl_ptr, ctrl);
    set_handle(*hx, *hy, info);
    set_rec_f64(info, sym::width, rec_f64(ctrl, sctl::width));
    set_rec_f64(info, sym::height, rec_f64(ctrl, sctl::height));
    if (rec_u16(ctrl, sctl::scaling) & 1) info.b[sym::number_hi] |= unprop_bit;
    if (objopts->sym_opt1) change_object(-1, 1, 0, 0, 0, info);
    setsymprops(1);
    if (objopts->sym_values_on) p_factor(objopts->sym_value1, objopts->sym_value2);
    if (objopts->sym_opt2) define_new_handle(hx, hy);
}

void setsymprops(int clear) {
    if (objopts->sym_opt4) {
        set_rec_str(info, obj::name, obj::name_size, props_defs.name);
        info.b[obj::level] = static_cast<std::uint8_t>(props_defs.level);
        set_obj_kind_colour(info, ok_symbol, props_defs.colour);
        info.b[obj::width] = static_cast<std::uint8_t>(props_defs.width);
        info.b[obj::style] = static_cast<std::uint8_t>(props_defs.style);
        info.b[obj::pen] = static_cast<std::uint8_t>(props_defs.pen);
        set_obj_density_marks(info, props_defs.density, obj_endmark(info), obj_midmark(info));
    } else if (clear) {
        set_rec_str(info, obj::name, obj::name_size, "");
        info.b[obj::level] = 0;
        set_obj_kind_colour(info, ok_symbol, 0);
        info.b[obj::width] = 0;
        info.b[obj::style] = 0;
        info.b[obj::pen] = 0;
        set_obj_density_marks(info, 0, obj_endmark(info), obj_midmark(info));
    }
}

void p_factor(double sx, double sy) {
    if (quit || aborted || !(sx > 0)) return;
    const double fy = (info.b[sym::number_hi] & unprop_bit) && sy != 0 ? sy : sx;
    change_object(sx, fy, 0, 0, 0, info);
}

void inset_win(const WindowRec& w, WindowRec* r) {
    const double width = std::max(1, drawRect.right - drawRect.left);
    const double height = std::max(1, drawRect.bottom - drawRect.top);
    r->xl = w.xl + 2 * (w.xr - w.xl) / width;
    r->xr = w.xr - 2 * (w.xr - w.xl) / width;
    r->yb = w.yb + 2 * (w.yt - w.yb) / height;
    r->yt = w.yt - 2 * (w.yt - w.yb) / height;
}

void fit_in_window(double w, double h, double* s, double* x, double* y) {
    WindowRec r;
    inset_win(cur_win, &r);
    const double ww = r.xr - r.xl, wh = r.yt - r.yb;
    w = std::fabs(w);
    h = std::fabs(h);
    *s = 1;
    *x = r.xl;
    *y = r.yb;
    if (h <= w * aspectratio) {
        // Extents of no size keep their own size: there is nothing to enlarge.
        if (w > 0) *s = ww / w;
        *y += (wh - h * *s) / 2;
    } else {
        *s = wh / h;
        *x += (ww - w * *s) / 2;
    }
    if (!(*s > 0) || !std::isfinite(*s)) {
        *s = 1;
        *x = r.xl;
        *y = r.yb;
    }
}

void end_handle_snap() {
    if (misc_defs.snap_mode != 3 && misc_defs.snap_mode != 4) return;
    misc_defs.snap_mode = prevsnapmode;
    if (prevsnapmode >= 0 && prevsnapmode <= 2)
        snapnum = static_cast<std::int16_t>(prevsnapmode == 0 ? 6 : prevsnapmode == 1 ? 8 : 9);
    loop_mark_restraints();
}

void define_new_handle(double* x, double* y) {
    const double sw = rec_f64(info, sym::width), sh = rec_f64(info, sym::height);
    // A symbol of no size has nothing to enlarge: its handle stays.
    if (!(std::fabs(sw) > small_tol) || !(std::fabs(sh) > small_tol)) return;
    movehandle = 1;
    const std::uint16_t was_drawing = drawtoscreen;
    drawtoscreen = 1;
    const double keep_x = *x, keep_y = *y;
    const std::int16_t keep_option = objopts->sym_opt2;

    double s = 1, left = 0, bottom = 0;
    fit_in_window(sw, sh, &s, &left, &bottom);
    // The view shows the symbol unturned, so a click reads in its own frame.
    const double rotation = rec_f64(info, obj::rotation);
    const double scx = rec_f64(info, sym::scale_x), scy = rec_f64(info, sym::scale_y);
    set_rec_f64(info, obj::rotation, 0);
    change_object(s, s, 0, 0, 0, info);
    set_init(left, bottom, info);
    stop_show_go(1, &info);
    pr_addmsg(prompt_new_handle);
    const std::int16_t n = number_of_objects;
    // The enlarged symbol stays in the drawing while the handle is clicked,
    // so that object snaps find its points; only when there is room for it.
    const ObjectRec enlarged = info;
    const bool appended = obj_save() != 0;
    if (appended) put_on_screen(n, 1);
    info = enlarged;

    double px = 0, py = 0;
    accepted = 0;
    while (!accepted && !quit && !aborted && objopts->sym_opt2 == keep_option) {
        const int key = loop_get_point(&px, &py, 1);
        if (key == key_esc) aborted = 1;
    }
    if (accepted && scx != 0 && scy != 0) {
        *x = (px - left) / (s * scx);
        *y = (py - bottom) / (s * scy);
    } else {
        *x = keep_x;
        *y = keep_y;
    }
    stop_show_go(2, &info);
    change_object(1 / s, 1 / s, 0, 0, 0, info);
    set_rec_f64(info, obj::rotation, rotation);
    set_handle(*x * scx, *y * scy, info);
    const ObjectRec in_hand = info;
    if (appended) {
        number_of_objects = n;
        get_info(n);
        delete_object(n, 1);
        put_on_screen(n, 0);
    }
    get_info(number_of_objects);
    info = in_hand;
    end_handle_snap();
    accepted = 0;
    pr_addmsg(prompt_place);
    movehandle = 0;
    drawtoscreen = was_drawing;
}

// ---- Placement ----

void get_key_options(int key) {
    const double step = units_defs.rotation_step;
    switch (key) {
    case 'E':
    case 'R': {
        loop_blink_off();
        double r = rec_f64(info, obj::rotation) + (key == 'E' ? step : -step);
        r = std::fmod(r, two_pie);
        if (r < 0) r += two_pie;
        set_rec_f64(info, obj::rotation, r);
        break;
    }
    case key_undo:
        if (number_of_objects > save_indx) {
            loop_blink_off();
            erase_symbol();
            erased = 1;
        }
        break;
    default:
        end_key(key);
        break;
    }
}

void erase_symbol() {
    if (symcount <= 0) return;
    // TODO(link_undo) the line breaks of the symbol's undo group come back
    erase_one_object(save_indx, save_indx, 0);
    --symcount;
}

void erase_all_symbols() {
    while (symcount > 0) erase_symbol();
}

void del_last_sym() {
    if (obj_kind(info) != ok_symbol) return;
    disable_custom_events();
    const ObjectRec in_hand = info;
    const std::int16_t current = indx;
    if (obj_save()) {
        number_of_objects = static_cast<std::int16_t>(number_of_objects - 1);
        get_info(number_of_objects);
        delete_object(number_of_objects, 1);
    }
    get_info(number_of_objects);
    info = in_hand;
    indx = current;
    enable_custom_events();
}

void add_symbol(ObjOptsRec& opts) {
    reset_undo();
    enable_undoredo(1);
    symcount = 0;
    accepted = aborted = quit = 0;
    bool placed = false;
    SymbolSeen seen = SymbolSeen::now(opts);
    MyEnableMenuItem(kMyEditMenu, four_cc("OBrt"));
    // TODO(link_init) the construction commands' undo lists; until they exist a symbol's group holds nothing
    stop_symbolscan();
    start_symbolscan();
    copied = 0;
    int found = 0;
    direct_symbol(&found);
    if (found && locate_symbol()) placed = true;
    while (placed && !aborted && !quit) {
        erased = 0;
        ObjectRec ctrl;
        get_ctrlrec(ctrl_ptr, ctrl);
        double hx = rec_f64(ctrl, sctl::handle_x), hy = rec_f64(ctrl, sctl::handle_y);
        init_symbol_info(&hx, &hy, 1);
        const std::int16_t new_handle_at_start = opts.sym_opt2;
        opts.sym_opt2 = 0;
        RestraintSeen restraint;
        restraint.changed(opts);
        while (!quit) {
            loop_start_blink_info();
            pr_addmsg(prompt_place);
            accepted = 0;
            double x = 0, y = 0;
            do {
                const int key = loop_get_point(&x, &y, 1);
                if (key) get_key_options(key);
                if (restraint.changed(opts)) {
                    loop_blink_off();
                    set_rec_f64(info, obj::rotation, lock_rotation(opts.lock_mode));
                }
                if (!(SymbolSeen::now(opts) == seen) || opts.sym_opt2) {
                    loop_blink_off();
                    init_symbol_info(&hx, &hy, 0);
                    opts.sym_opt2 = 0;
                    seen = SymbolSeen::now(opts);
                }
                if (aborted || quit || erased) break;
                double u = 0, v = 0;
                rotate_cr(rec_f64(info, obj::handle_x), rec_f64(info, obj::handle_y), &u, &v,
                          rec_f64(info, obj::rotation));
                set_init(x - u, y - v, info);
                clipped = 1;
                if (!accepted) loop_blink_on();
            } while (!accepted);
            loop_stop_blink();
            if (!accepted || aborted) break;
            do_operation(op_symbol, 0, 0, 0, 0, 0, 0);
            if (!save_object()) {
                placed = false;
                break;
            }
            ++symcount;
            const ObjectRec saved = info;
            // TODO(link_fence) the lines under the symbol's outline are broken when sym_opt3 asks for it
            // TODO(cut_grp_link) the symbol's undo group; until the undo lists exist every group opens
            placed = true;
            stop_show_go(1, &info);
            get_info(number_of_objects);
            info = saved;
            setsymprops(0);
            accepted = 0;
        }
        opts.sym_opt2 = new_handle_at_start;
        if (erased && !aborted && !quit) continue;
        break;
    }
    loop_stop_blink();
    del_last_sym();
    if (aborted) erase_all_symbols();
    if (symcount < 1) reset_undo();
    // A copy made for a run that left nothing placed is given back, or the
    // slot would count as used and stay closed to editing; with no undo
    // left, nothing can refer to it any more.
    if (copied && symcount < 1) drop_symbol_copy(ctrl_ptr);
    copied = 0;
    stop_symbolscan();
}

}  // namespace drav
