#include "files/symbol_editing.h"

#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "base/questions.h"
#include "base/window_areas.h"
#include "commands/draw/symbol.h"
#include "display/graphics_unit.h"
#include "display/grid.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "files/symbol_adder.h"
#include "platform/core/files.h"
#include "store/current_drawing.h"
#include "store/geometry.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/units.h"

namespace drav {

namespace {

constexpr int ask_delete = 23, ask_snap = 19;
constexpr int key_escape = 27;
constexpr std::uint8_t unprop_bit = 0x80;  // byte 89 of a reference: unproportional scaling allowed

SymbolEditHooks g_hooks;

std::int16_t symbol_num = 0;             // the slot, 0-based
std::int16_t libstart = 0, len = 0;      // its pieces in the library
std::int16_t workstart = 0, worklen = 0; // the pieces of its copy in the work library
double symbol_scale = 1;                 // symbol units into drawing units
double scale = 1;                        // the fit of the temporary reference
double hx = 0, hy = 0;                   // the picked handle point
int snapit = 0;
ObjectRec symb_info;                     // the temporary reference while pieces are stepped

void flash(const ObjectRec& rec, int force) {
    if (g_hooks.flash) g_hooks.flash(rec, force);
}

int read_lib(long n, ObjectRec& rec) {
    std::int64_t got = 0;
    return currentlibRefNum > 0 && n >= 0 &&
           plat::read_at(currentlibRefNum, n * 128, rec.b, 128, &got) == plat::noErr && got == 128;
}

int write_lib(long n, const ObjectRec& rec) {
    std::int64_t done = 0;
    return currentlibRefNum > 0 && n >= 0 &&
           plat::write_at(currentlibRefNum, n * 128, rec.b, 128, &done) == plat::noErr && done == 128;
}

// The slot as both editors take it: a sound filled slot that the drawing
// does not use. Notes its pieces and its units.
bool take_slot(std::int16_t slot) {
    symbol_num = slot;
    LibHeader head;
    ObjectRec ctrl;
    if (slot < 0 || !read_lib_header(currentlibRefNum, &head) || slot >= head.maxctrls ||
        !read_lib(long{slot} + first_ctrl_record, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl ||
        !rec_u16(ctrl, sctl::valid) || !lib_ctrl_sound(ctrl, head))
        return false;
    std::int16_t used = 0;
    if (find_symb_indx(current_lib.name, slot, &used)) return false;
    libstart = rec_i16(ctrl, sctl::first_piece);
    len = rec_i16(ctrl, sctl::piece_count);
    symbol_scale = file_conv_factor(rec_i16(ctrl, sctl::units_code), rec_i16(ctrl, sctl::real_unit),
                                    rec_f64(ctrl, sctl::units_factor));
    if (!(symbol_scale > 0) || !std::isfinite(symbol_scale)) symbol_scale = 1;
    return true;
}

// Copies the slot's symbol into the work library and builds in `info` (at
// record `number_of_objects`, not counted) a reference to it fitted into the
// window; one user is counted. 0 when the copy could not be made.
int make_symbol(std::int16_t* slot, double* fit, std::int16_t* ctrlno) {
    const auto n = static_cast<std::int16_t>(*slot + first_ctrl_record);
    if (!room_for_symbol(n)) return 0;
    const int old = current_lib_version == 52 || current_lib_version == 54;
    if (!copy_symbol(currentlibRefNum, n, ctrlno, current_lib.name, old)) return 0;
    ObjectRec ctrl;
    get_ctrlrec(*ctrlno, ctrl);

    get_info(number_of_objects);
    zero_info(info);
    set_obj_kind_colour(info, ok_symbol, 0);
    set_rec_u16(info, o_word0, rk_object);  // never stored: no live bit
    char name[sym::library_size];
    strnncpy(name, current_lib.name, sym::library_size - 1);
    set_rec_str(info, sym::library, sym::library_size, name);
    set_sym_number(info, *slot);
    if (rec_u16(ctrl, sctl::scaling) & 1) info.b[sym::number_hi] |= unprop_bit;
    set_rec_f64(info, sym::scale_x, 1);
    set_rec_f64(info, sym::scale_y, 1);
    set_rec_i16(info, sym::ctrl, *ctrlno);
    set_handle(rec_f64(ctrl, sctl::handle_x), rec_f64(ctrl, sctl::handle_y), info);
    const double w = rec_f64(ctrl, sctl::width), h = rec_f64(ctrl, sctl::height);
    set_rec_f64(info, sym::width, w);
    set_rec_f64(info, sym::height, h);

    double s = 1, x = 0, y = 0;
    fit_in_window(w, h, &s, &x, &y);
    change_object(s, s, 0, 0, 0, info);
    set_init(x, y, info);
    *fit = s;
    accept_symbol(*ctrlno);
    return 1;
}

// The picked point moves to the nearest end point of the pieces that are
// not texts, as the renderer draws them with width 1.
void snap_handle(const ObjectRec& reference) {
    if (!endpoints) return;
    double best = large_limit, bx = hx, by = hy;
    const std::uint16_t keep_res = max_resolution, keep_save = save_pts, keep_clip = clip_it,
                        keep_listing = listing, keep_clipped = clipped;
    const std::int16_t keep_num = num_pts;
    max_resolution = 1;
    save_pts = 1;
    clip_it = 0;  // clipped segments would end at the window's edge
    listing = 0;
    for (std::int16_t i = 0; i < worklen; ++i) {
        ObjectRec piece;
        if (!get_symbol(workstart, i, piece) || rec_kind(piece) != rk_object || obj_kind(piece) == ok_text ||
            obj_kind(piece) == ok_symbol)
            continue;
        symb_transform(reference, piece);
        piece.b[obj::width] = 1;
        num_pts = 0;
        show(mode_trace, &piece);
        // Two doubles a segment start, and the last segment's end behind them.
        const int last = std::min<int>(num_pts, endpoints_bytes / 8 - 2);
        for (int k = 0; num_pts > 0 && k <= last; k += 2) {
            const double d = std::hypot(endpoints[k] - hx, endpoints[k + 1] - hy);
            if (d < best) {
                best = d;
                bx = endpoints[k];
                by = endpoints[k + 1];
            }
        }
    }
    hx = bx;
    hy = by;
    max_resolution = keep_res;
    save_pts = keep_save;
    clip_it = keep_clip;
    listing = keep_listing;
    clipped = keep_clipped;
    num_pts = keep_num;
}

// Shows the reference in `info` as a record of the drawing, so that object
// snaps find it, and reads the new handle in the symbol's frame, in drawing
// units. 1 when a point was accepted.
int get_handle(double* nx, double* ny) {
    const std::int16_t n = number_of_objects, kept_deleted = objdeleted;
    const ObjectRec reference = info;
    quit = aborted = accepted = 0;
    const bool appended = obj_save() != 0;
    if (appended) put_on_screen(n, 1);
    forced_show = 1;
    stop_show_go(mode_draw, &info);
    double px = 0, py = 0;
    while (!accepted && !quit && !aborted)
        if (loop_get_point(&px, &py, 1) == key_escape) aborted = 1;
    int got = 0;
    if (accepted && !aborted) {
        hx = px;
        hy = py;
        if (snapit) snap_handle(reference);
        rotate_cr((hx - rec_f64(reference, obj::ref_x)) / scale, (hy - rec_f64(reference, obj::ref_y)) / scale, nx,
                  ny, -rec_f64(reference, obj::rotation));
        got = 1;
    }
    stop_show_go(mode_erase, &info);
    if (appended) {
        number_of_objects = n;
        delete_object(n, 1);
        objdeleted = kept_deleted;  // nothing the user could undelete
    }
    drawing_area_valid(0);
    end_handle_snap();
    forced_show = 0;
    accepted = 0;
    return got;
}

// The new handle, in the symbol's own units, into the slot's control record.
void hand_update_ctrl_block(double x, double y) {
    ObjectRec ctrl;
    const long n = long{symbol_num} + first_ctrl_record;
    if (!read_lib(n, ctrl) || rec_kind(ctrl) != rk_symbol_ctrl) return;
    set_rec_f64(ctrl, sctl::handle_x, x / symbol_scale);
    set_rec_f64(ctrl, sctl::handle_y, y / symbol_scale);
    write_lib(n, ctrl);
}

// Piece i of the copy, mapped into the window, becomes `info` when it is an
// object (a text with its string); 0 for a continuation or an emptied piece.
int load_piece(std::int16_t i) {
    ObjectRec piece;
    if (!get_symbol(workstart, i, piece) || rec_kind(piece) != rk_object) return 0;
    if (obj_kind(piece) == ok_text) symb_cumstgs(workstart, i, piece);
    symb_transform(symb_info, piece);
    info = piece;
    return 1;
}

int move_ahead(std::int16_t* i) {
    for (std::int16_t step = 0; step < worklen; ++step) {
        *i = static_cast<std::int16_t>(*i + 1 >= worklen ? 0 : *i + 1);
        if (load_piece(*i)) return 1;
    }
    return 0;
}

int move_back(std::int16_t* i) {
    for (std::int16_t step = 0; step < worklen; ++step) {
        *i = static_cast<std::int16_t>(*i - 1 < 0 ? worklen - 1 : *i - 1);
        if (load_piece(*i)) return 1;
    }
    return 0;
}

// Piece i of the copy is drawn, or not, while the drawing hides details.
void mark_piece(std::int16_t i, bool shown) {
    ObjectRec piece;
    if (!get_symbol(workstart, i, piece) || rec_kind(piece) != rk_object) return;
    set_rec_word0_bits(piece, w0_in_library, shown);
    put_ctrlrec(static_cast<std::int16_t>(workstart + i), piece);
}

void key_options(std::int16_t* i, int key) {
    switch (key) {
    case '>':
        move_ahead(i);
        flash(info, 1);
        break;
    case '<':
        move_back(i);
        flash(info, 1);
        break;
    case 'Y':
    case 'N':
        mark_piece(*i, key == 'Y');
        move_ahead(i);
        flash(info, 1);
        break;
    case 'Q':
        quit = 1;
        break;
    case key_escape:
        aborted = 1;
        break;
    default:
        break;
    }
}

void change_detail() {
    plat::PortSaver saver(plat::current_port());
    symb_info = info;
    char kept_text[textline_size];
    std::memcpy(kept_text, textline, sizeof kept_text);
    quit = aborted = accepted = 0;
    auto i = static_cast<std::int16_t>(worklen - 1);
    // A symbol without a single sound object piece has nothing to mark.
    if (move_ahead(&i)) {
        flash(info, 1);
        if (g_hooks.add_remove_window) g_hooks.add_remove_window(1);
        for (;;) {
            double x = 0, y = 0;
            int key = loop_get_point(&x, &y, 1);
            if (key == ',') key = '<';
            if (key == '.') key = '>';
            if (accepted) key = 'Y';
            if (key == 'D') break;
            if (key) key_options(&i, key);
            if (aborted || quit) break;
            flash(info, 0);
        }
        if (g_hooks.add_remove_window) g_hooks.add_remove_window(1);
    } else {
        aborted = 1;
    }
    info = symb_info;
    std::memcpy(textline, kept_text, sizeof kept_text);
    accepted = 0;
}

// The marks go back into the library's own pieces. Only the mark changes:
// every other byte of a piece stays as the library holds it, in its units
// and its layout.
void save_detail() {
    const std::int16_t n = std::min(len, worklen);
    for (std::int16_t i = 0; i < n; ++i) {
        ObjectRec copy, piece;
        if (!get_symbol(workstart, i, copy) || !read_lib(long{libstart} + i, piece)) return;
        if (rec_kind(copy) != rk_object || rec_kind(piece) != rk_object) continue;
        const bool shown = (rec_word0(copy) & w0_in_library) != 0;
        if (shown == ((rec_word0(piece) & w0_in_library) != 0)) continue;
        set_rec_word0_bits(piece, w0_in_library, shown);
        if (!write_lib(long{libstart} + i, piece)) return;
    }
}

void setup_detail() {
    forced_show = 1;
    stop_show_go(mode_draw, &info);
    change_detail();
    if (!aborted) save_detail();
    stop_show_go(mode_erase, &info);
    forced_show = 0;
    drawing_area_valid(0);
}

// The shown copy loses its user and leaves the work library again: kept,
// it would pass for a symbol the drawing uses, and a later placement would
// take it, with the handle and marks it had before the edit.
void give_back(std::int16_t ctrlno) {
    symb_delete(ctrlno, 0);
    drop_symbol_copy(ctrlno);
}

}  // namespace

void set_symbol_edit_hooks(const SymbolEditHooks& hooks) { g_hooks = hooks; }

void symbols(int choice, std::int16_t slot) {
    const std::uint16_t was_drawing = drawtoscreen, was_idle = getidle();
    drawtoscreen = 1;
    setidle(0);
    switch (choice) {
    case 1:
        symbadd(slot);
        break;
    case 2:
        symbdelete(slot);
        break;
    case 3:
        symbol_detail(slot);
        break;
    case 4:
        symbhandle(slot);
        break;
    default:
        break;
    }
    drawtoscreen = was_drawing;
    setidle(was_idle);
}

void symbdelete(std::int16_t slot) {
    if (!open_default_library(2) || !valid_lib_symbol(slot)) return;
    std::int16_t start = 0, length = 0;
    get_startlen(slot, &start, &length);
    clear_watch();
    if (ask_yes_cancel(tbl_alerts, ask_delete) != reply_yes) return;
    del_update_ctrl_block(slot);
    mark_symbol_invalid(start, length);
}

void symbhandle(std::int16_t slot) {
    plat::PortSaver saver(drawCWindow);
    const std::int16_t kept_count = number_of_objects;
    movehandle = 1;
    if (open_default_library(2)) {
        stop_symbolscan();
        if (take_slot(slot)) {
            clear_watch();
            const std::int16_t answer = ask_yes_no_cancel(tbl_alerts, ask_snap);
            snapit = answer == reply_yes ? 1 : 0;
            std::int16_t ctrlno = 0;
            if (answer == reply_cancel || !make_symbol(&symbol_num, &scale, &ctrlno)) {
                mess_clear();
            } else {
                ctrl_run(ctrlno, &workstart, &worklen);
                double x = 0, y = 0;
                if (get_handle(&x, &y))
                    hand_update_ctrl_block(x, y);
                else
                    mess_clear();
                give_back(ctrlno);
            }
        }
        start_symbolscan();
    }
    movehandle = 0;
    number_of_objects = kept_count;
}

void symbol_detail(std::int16_t slot) {
    plat::PortSaver saver(drawCWindow);
    const std::int16_t kept_count = number_of_objects;
    if (!open_default_library(2)) return;
    stop_symbolscan();
    if (take_slot(slot)) {
        std::int16_t ctrlno = 0;
        if (make_symbol(&symbol_num, &scale, &ctrlno)) {
            ctrl_run(ctrlno, &workstart, &worklen);
            setup_detail();
            give_back(ctrlno);
        }
        mess_clear();
    }
    start_symbolscan();
    number_of_objects = kept_count;
}

int symbinwork(std::int16_t n) {
    const std::uint16_t was_idle = getidle();
    int used = 0;
    if (open_default_library(0) && valid_lib_symbol(static_cast<std::int16_t>(n - 1))) {
        stop_symbolscan();
        std::int16_t index = 0;
        used = find_symb_indx(current_lib.name, static_cast<std::int16_t>(n - 1), &index);
        start_symbolscan();
    }
    setidle(was_idle);
    return used;
}

}  // namespace drav
