#include "files/catalog_overlay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "dialogs/edit_fields.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/object_renderer.h"
#include "display/picture_target.h"
#include "display/screen.h"
#include "display/view_commands.h"
#include "files/library_window.h"
#include "platform/core/files.h"
#include "platform/core/forks.h"
#include "platform/core/picture.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "store/current_drawing.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/library_file.h"
#include "store/number_text.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

std::int16_t librows = 10, libcols = 10;
std::int16_t doing_text = 1, doing_symbs = 1, doing_title = 1;
double libinitx = 0, libinity = 0, libdelx = 0, libdely = 0;
DialogPtr progDPtr = nullptr;
double percent = 0;

namespace {

constexpr int item_rows = 4, item_cols = 6, item_numbers = 7, item_symbols = 8, item_title = 9;
constexpr int progress_bar = 2;
constexpr int most_cells = 1000, fewest_rows = 2, fewest_cols = 3;
constexpr int err_worklib_full = 85, err_no_room = 93, err_copy = 6;  // table 406
constexpr int overlay_width = 3;  // line width code of the frame
constexpr int pixel_depth = 32;
constexpr std::uint32_t pict_type = four_cc("PICT"), lib_type = four_cc("2DL "), lib_creator = four_cc("DRAV");
constexpr char overlay_name[] = "overlay";

OverlayFilter g_filter = nullptr;
std::int16_t g_ctrl = 0;  // the work-library copy of the symbol `make_symbol` placed last

double cell_w() { return libdelx / libcols; }
double cell_h() { return libdely / librows; }

bool stopped() { return quit || aborted; }

// A fresh record at `number_of_objects`, live, named as the current
// properties say; plain ones also get level, density, width, pen and line
// style 1 and the current colour. Without undo: the overlay takes its
// records back by truncation.
int head_info(int plain) {
    const std::int16_t n = number_of_objects;
    if (n >= static_cast<int>(worksize) - 5) return 0;
    put_on_screen(n, 1);
    get_info(n);
    number_of_objects = static_cast<std::int16_t>(n + 1);
    zero_info(info);
    set_rec_u16(info, o_word0, live_object_word);
    set_rec_str(info, obj::name, obj::name_size, props_defs.name);
    if (plain) {
        info.b[obj::level] = 1;
        set_obj_density_marks(info, 1, 0, 0);
        info.b[obj::width] = 1;
        info.b[obj::pen] = 1;
        info.b[obj::style] = 1;
        set_obj_kind_colour(info, 0, props_defs.colour);
    }
    modified = 1;
    return 1;
}

void set_kind(int kind) { set_obj_kind_colour(info, kind, obj_colour(info)); }

void set_ref(double x, double y) {
    set_rec_f64(info, obj::ref_x, x);
    set_rec_f64(info, obj::ref_y, y);
}

int make_rect() {
    if (!head_info(1)) return 0;
    set_kind(ok_rect);
    set_ref(libinitx, libinity);
    set_rec_f64(info, rect::width, libdelx);
    set_rec_f64(info, rect::height, libdely);
    info.b[obj::width] = overlay_width;
    return 1;
}

int make_line(double x, double y, double dx, double dy) {
    if (!head_info(1)) return 0;
    set_kind(ok_line);
    set_ref(x, y);
    set_rec_f64(info, line::dx, dx);
    set_rec_f64(info, line::dy, dy);
    return 1;
}

// Frame, then the grid lines back and forth, as a pen plotter would sweep.
int do_matrix() {
    make_rect();
    const double cw = cell_w(), ch = cell_h();
    for (int i = 1; i < librows; ++i) {
        const double y = libinity + i * ch;
        const bool even = i % 2 == 0;
        if (!make_line(even ? libinitx : libinitx + libdelx, y, even ? libdelx : -libdelx, 0)) break;
    }
    for (int i = 1; i < libcols; ++i) {
        const double x = libinitx + i * cw;
        const bool even = i % 2 == 0;
        if (!make_line(x, even ? libinity : libinity + libdely, 0, even ? libdely : -libdely)) break;
    }
    return stopped() ? 0 : 1;
}

// A one-record text of `textline` at (x, y), `length` characters.
int make_short_text(double x, double y, int length) {
    if (!head_info(1)) return 0;
    set_kind(ok_text);
    set_ref(x, y);
    set_text_info(info, props_defs.font & 0xFF, length, false);
    set_rec_str(info, text::chars, text::chars_size, textline);
    info.b[obj::style] = static_cast<std::uint8_t>(solidstyle);
    return 1;
}

void text_size(double w, double h) {
    set_rec_f32(info, text::char_width, static_cast<float>(w));
    set_rec_f32(info, text::char_height, static_cast<float>(h));
}

// Each cell's number, right-aligned in three characters.
int make_label() {
    const double cw = cell_w(), ch = cell_h();
    const int cells = librows * libcols;
    for (int n = 0; n < cells; ++n) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%d", n + 1);
        const std::size_t count = std::strlen(digits);
        std::snprintf(textline, textline_size, count == 1 ? "  %s" : count == 2 ? " %s" : "%s", digits);
        double x = 0, y = 0;
        cell_location(static_cast<std::int16_t>(n), &x, &y);
        if (!make_short_text(x + 0.03 * cw, y + 0.03 * ch, chr_len(textline))) break;
        text_size(0.06 * cw, 0.09 * ch);
    }
    return stopped() ? 0 : 1;
}

// A reference to slot `slot` of the current library at its cell's corner,
// on a fresh copy in the work library.
int make_symbol(std::int16_t slot) {
    const std::int16_t n = static_cast<std::int16_t>(slot + first_ctrl_record);
    LibHeader head;
    ObjectRec ctrl;
    std::int64_t got = 0;
    // A control record whose pieces lie outside the library is not copied.
    if (!read_lib_header(currentlibRefNum, &head) ||
        plat::read_at(currentlibRefNum, std::int64_t{n} * 128, ctrl.b, 128, &got) != plat::noErr || got != 128 ||
        !lib_ctrl_sound(ctrl, head)) {
        show_error(err_copy, 0);
        return 0;
    }
    if (!room_for_symbol(n)) {
        show_error(err_worklib_full, 0);
        return 0;
    }
    const int old = current_lib_version == 52 || current_lib_version == 54;
    std::int16_t copy = 0;
    if (!copy_symbol(currentlibRefNum, n, &copy, current_lib.name, old) || !head_info(0)) return 0;
    get_ctrlrec(copy, ctrl);
    set_kind(ok_symbol);
    double x = 0, y = 0;
    cell_location(slot, &x, &y);
    set_ref(x, y);
    set_rec_f64(info, sym::scale_x, 1);
    set_rec_f64(info, sym::scale_y, 1);
    set_sym_number(info, slot);
    set_rec_i16(info, sym::ctrl, copy);
    char name[sym::library_size];
    strnncpy(name, current_lib.name, sym::library_size - 1);
    set_rec_str(info, sym::library, sym::library_size, name);
    set_handle(rec_f64(ctrl, sctl::handle_x), rec_f64(ctrl, sctl::handle_y), info);
    if (rec_u16(ctrl, sctl::scaling) & 1) info.b[sym::number_hi] |= 0x80;
    set_rec_f64(info, sym::width, rec_f64(ctrl, sctl::width));
    set_rec_f64(info, sym::height, rec_f64(ctrl, sctl::height));
    g_ctrl = copy;
    return 1;
}

// Fits the reference in `info` into at most maxw x maxh, its extents
// centred at (cx, cy) from its cell's corner.
void scale_symbol(double cx, double cy, double maxw, double maxh) {
    const double w = rec_f64(info, sym::width), h = rec_f64(info, sym::height);
    double s = 1;
    if (w < small_tol && h < small_tol)
        s = 1;
    else if (w < small_tol)
        s = maxh / h;
    else if (h < small_tol)
        s = maxw / w;
    else
        s = h / maxh >= w / maxw ? maxh / h : maxw / w;
    change_object(s, s, 0, 0, 0, info);
    double x = 0, y = 0;
    cell_location(static_cast<std::int16_t>(sym_number(info)), &x, &y);
    set_ref(x + cx - rec_f64(info, sym::width) / 2, y + cy - rec_f64(info, sym::height) / 2);
}

int do_symbols() {
    if (!open_default_library(0)) return stopped() ? 0 : 1;
    LibHeader head;
    if (!read_lib_header(currentlibRefNum, &head)) return stopped() ? 0 : 1;
    const double cw = cell_w(), ch = cell_h();
    const int cells = librows * libcols;
    for (int i = 0; i < head.maxctrls && i < cells && !stopped(); ++i) {
        doprogress(static_cast<std::int16_t>(i), head.maxctrls);
        if (valid_symbol(static_cast<std::int16_t>(i))) {
            if (make_symbol(static_cast<std::int16_t>(i))) {
                scale_symbol(0.5 * cw, 0.55 * ch, 0.8 * cw, 0.8 * ch);
                accept_symbol(g_ctrl);
            } else {
                aborted = 1;
            }
        }
        if (loop_esc_scan()) aborted = 1;
    }
    write_sav_rec();
    nomore_info();
    return stopped() ? 0 : 1;
}

// The library's name just above the grid, cut to what one text record holds.
int do_name() {
    const double cw = cell_w(), ch = cell_h();
    strnncpy(textline, current_lib.name, text::max_inline);
    if (!make_short_text(libinitx + 0.03 * cw, libinity + 0.03 * ch + 0.1 + libdely, chr_len(textline))) return 0;
    text_size(3 * 0.06 * cw, 3 * 0.09 * ch);
    return stopped() ? 0 : 1;
}

// Records needed before the symbols; error 93 when they do not fit.
int enough_room() {
    int needed = librows + libcols - 1;
    if (doing_text) needed += librows * libcols;
    if (doing_title) needed += 1;
    if (number_of_objects + needed < static_cast<int>(worksize) - 5) return 1;
    char count[16];
    std::snprintf(count, sizeof count, "%d", needed);
    show_insert_error(err_no_room, 0, count, "", "", "");
    return 0;
}

// Slots 7 to 35: the plot specification "overlay", else the first empty
// slot; -1 when there is neither.
std::int16_t find_record() {
    std::int16_t empty = -1;
    for (std::int16_t n = first_view_slot; n <= last_view_slot; ++n) {
        get_info(n);
        if (rec_kind(info) == rk_plot_spec && std::strncmp(rec_str(info, pspec::name), overlay_name, pspec::name_size) == 0)
            return n;
        if (rec_kind(info) == rk_empty && empty < 0) empty = n;
    }
    return empty;
}

// The overlay's own records, drawn into the picture open on the current port.
void draw_overlay_objects(std::int16_t first) {
    for (std::int16_t n = first; n < number_of_objects; ++n) {
        get_info(n);
        if (!is_live_object(info)) continue;
        if (obj_kind(info) == ok_text) cumstgs(n);
        showgen(mode_draw, &info);
    }
}

// The catalog picture: the records from `first` on, one drawing unit a pixel.
plat::Picture record_catalog(std::int16_t first) {
    const std::int16_t w = static_cast<std::int16_t>(libdelx), h = static_cast<std::int16_t>(libdely);
    const plat::Rect frame{0, 0, h, w};
    const ViewportRec screen = viewport;
    viewport = {0, w, 0, h, w, h};
    change_window(libinitx, libinitx + libdelx, libinity, libdely / libdelx, 1);
    plat::Port recorder;
    recorder.open_picture(frame);
    recorder.erase_rect(frame);
    draw_into_port(recorder, [first] { draw_overlay_objects(first); });
    plat::Picture picture = recorder.close_picture();
    viewport = screen;
    setupviewport();
    return picture;
}

// 'PICT' 1 "overlay" into the library's companion, made with the library's
// type and creator when it has none. A fork that cannot be read is left.
void store_catalog(const plat::Picture& picture) {
    const plat::FileRef file{current_lib.ref.path};
    plat::ResourceFork fork;
    std::int16_t err = fork.load(file);
    if (err == plat::fnfErr) {
        if (plat::set_type_creator(file, lib_type, lib_creator) != plat::noErr) return;
        err = fork.load(file);
    }
    if (err != plat::noErr) return;
    fork.remove(pict_type, catalog_picture_id);
    if (fork.put(pict_type, catalog_picture_id, overlay_name, plat::picture_bytes(picture))) fork.save(file);
}

// An overlay cut short gives back the user counts its references took.
void release_users(std::int16_t first) {
    for (std::int16_t n = first; n < number_of_objects; ++n) {
        get_info(n);
        if (is_live_object(info) && obj_kind(info) == ok_symbol) symb_delete(rec_i16(info, sym::ctrl), 0);
    }
    nomore_info();
}

std::string digits_of(int v) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", v);
    return text;
}

}  // namespace

void set_overlay_filter(OverlayFilter filter) { g_filter = filter; }

void cell_location(std::int16_t slot, double* x, double* y) {
    const int column = slot % libcols, row = slot / libcols;
    *x = libinitx + column * cell_w();
    *y = libinity + (librows - row - 1) * cell_h();
}

void doprogress(std::int16_t done, std::int16_t total) {
    percent = total > 0 ? static_cast<double>(done) / total : 0;
    if (!progDPtr) return;
    plat::PortSaver saver;
    if (plat::DItem* it = plat::dialog_item(progDPtr, progress_bar)) plat::invalidate_dialog_rect(progDPtr, plat::item_rect(it));
    plat::draw_dialog(progDPtr);
}

void prcntofrect(DialogPtr dialog, int item) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    plat::Port* port = plat::dialog_port(dialog);
    if (!it || !port) return;
    plat::Rect bar = plat::item_rect(it);
    bar.right = static_cast<std::int16_t>(bar.left + static_cast<int>((bar.right - bar.left) * percent));
    plat::PortSaver saver(port);
    port->pen_normal();
    port->set_fore_color(plat::RGBColor{0, 0, 0});
    port->paint_rect(bar);
}

void create_plot_spec() {
    const std::int16_t n = find_record();
    if (n < 0) return;
    get_info(n);
    set_rec_kind(info, rk_plot_spec);
    set_rec_str(info, pspec::name, pspec::name_size, overlay_name);
    // Until a plot record exists, the world window is the view the catalog
    // was just fitted into and the paper area is not known.
    const double world[4] = {cur_win.xl, cur_win.xr, cur_win.yb, cur_win.yt};
    for (int i = 0; i < 4; ++i) {
        set_rec_f64(info, pspec::window + 8 * i, world[i]);
        set_rec_f64(info, pspec::paper + 8 * i, 0);
    }
    modified = 1;
}

int libovlparams() {
    DialogPtr d = open_dialog(overlay_dialog);
    if (!d) return 0;
    std::int16_t slots = 0, rows = 10, cols = 10;
    if (!get_libsize(current_lib.ref, &slots, &rows, &cols)) rows = cols = 10;
    plat::set_item_text(plat::dialog_item(d, item_rows), digits_of(rows));
    plat::set_item_text(plat::dialog_item(d, item_cols), digits_of(cols));
    for (int box = item_numbers; box <= item_title; ++box) setvalue(d, box, 1);
    plat::set_default_item(d, 1);
    plat::set_cancel_item(d, 2);
    setup_dialog(d);
    plat::show_dialog(d);
    select_text(d, item_rows);
    int field = item_rows;
    // A field is valid against the other field's last valid value.
    auto check = [&](int item) {
        std::int16_t v = 0;
        const bool ok = item == item_rows ? check_integer(d, item, &v, fewest_rows, most_cells / cols)
                                          : check_integer(d, item, &v, fewest_cols, most_cells / rows);
        if (!ok) return false;
        (item == item_rows ? rows : cols) = v;
        plat::set_item_text(plat::dialog_item(d, item), digits_of(v));
        return true;
    };
    int result = 0;
    for (;;) {
        std::int16_t item = 0;
        plat::ModalFilter filter;
        if (g_filter) filter = [](plat::Dialog* dd, plat::EventRecord* e, std::int16_t* it) { return g_filter(dd, e, it); };
        plat::modal_dialog(d, filter, &item);
        if (item == 2) break;
        if (item <= 0) continue;
        if (item != field && !check(field)) {
            select_text(d, field);
            continue;
        }
        if (item == item_rows || item == item_cols) {
            field = item;
            continue;
        }
        if (item >= item_numbers && item <= item_title) {
            markbox(d, item);
            continue;
        }
        if (item == 1) {
            // Both fields hold, also the one typed into without leaving it.
            const int other = field == item_rows ? item_cols : item_rows;
            if (!check(field)) continue;
            if (!check(other)) {
                field = other;
                continue;
            }
            librows = rows;
            libcols = cols;
            doing_text = static_cast<std::int16_t>(getvalue(d, item_numbers));
            doing_symbs = static_cast<std::int16_t>(getvalue(d, item_symbols));
            doing_title = static_cast<std::int16_t>(getvalue(d, item_title));
            result = 1;
            break;
        }
    }
    ourdisposdialog2(d);
    return result;
}

void do_overlay() {
    const std::uint16_t to_screen = drawtoscreen;
    drawtoscreen = 1;
    const std::int16_t first = number_of_objects;
    ObjectRec worklib_head{};
    get_ctrlrec(0, worklib_head);
    if (!enough_room()) {
        drawtoscreen = to_screen;
        return;
    }

    percent = 0;
    progDPtr = open_dialog(progress_dialog);
    if (progDPtr) {
        if (plat::DItem* bar = plat::dialog_item(progDPtr, progress_bar))
            plat::set_draw_proc(bar, [](plat::Dialog* d, int item) { prcntofrect(d, item); });
        setup_dialog(progDPtr);
        plat::show_dialog(progDPtr);
        plat::draw_dialog(progDPtr);
    }
    doprogress(2, 300);
    cur_stop();
    watch_on();

    std::fill(std::begin(levels_visible), std::end(levels_visible), 0xFFFF);
    put_boolean(levels_visible, 0, 0);
    std::fill(std::begin(levels_locked), std::end(levels_locked), 0);
    swaper |= sw_symbols_expanded;
    output_defs.flags &= static_cast<std::uint16_t>(~of_text_on_paper);
    units_defs.increment = 0.25;
    units_defs.units_code = 1;
    output_defs.paper_units = 1;
    output_defs.plot_scale = 1;
    get_base_window();

    libinitx = libinity = 0;
    libdelx = libcols * symbwidth;
    libdely = librows * symbwidth;

    // The catalog's bitmap must be affordable before anything is drawn.
    const std::int32_t row_bytes = (pixel_depth * (libcols * symbwidth + 15)) / 16 * 2 + 2;
    void* reserve = getmemory((librows * symbwidth + 16) * row_bytes);

    plat::Picture picture;
    if (reserve) {
        if (!stopped()) do_matrix();
        if (!stopped() && doing_text) make_label();
        if (!stopped() && doing_symbs) do_symbols();
        if (!stopped() && doing_title) do_name();
        if (!stopped()) picture = record_catalog(first);
        xfree(&reserve);
    }
    if (progDPtr) ourdisposdialog2(progDPtr);
    progDPtr = nullptr;
    cleargraphics();

    if (!stopped()) {
        store_catalog(picture);
        full_window();
        // TODO(PlotDefault) the plot record is reset; its world window and paper area then fill the plot specification
        create_plot_spec();
        didsomething = 1;
    } else {
        const std::uint16_t was_quit = quit, was_aborted = aborted;
        release_users(first);
        put_ctrlrec(0, worklib_head);
        number_of_objects = first;
        get_base_window();
        quit = was_quit;
        aborted = was_aborted;
    }
    nomore_info();
    indx = static_cast<std::int16_t>(last_valid_indx());
    redraw_library(whichsymbWindow());
    watch_off();
    cur_go();
    drawtoscreen = to_screen;
}

void lib_overlay() {
    plat::PortSaver saver;
    if (!open_default_library(0) || !libovlparams()) {
        aborted = 1;
        return;
    }
    set_libsize(current_lib.ref, librows, libcols);
    do_overlay();
}

}  // namespace drav
