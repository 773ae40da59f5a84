#include "files/library_window.h"

#include <algorithm>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "commands/draw/symbol.h"
#include "dialogs/library_windows.h"
#include "display/screen.h"
#include "platform/core/clock.h"
#include "platform/core/forks.h"
#include "platform/core/picture.h"
#include "platform/core/text.h"
#include "platform/ui/events.h"
#include "platform/ui/text_drawing.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/record_ops.h"
#include "store/selection_hooks.h"
#include "store/selection_state.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

std::int16_t symbhnum = 10, symbvnum = 10;
plat::Rect gridRect{};
plat::Rect symbRect{};

namespace {

constexpr int palette_library = 12;
constexpr int bar_size = 14;           // what the scroll bars take at the right and below
constexpr std::int16_t sprop_size = 14;  // the settings box

LibraryWindowHooks g_hooks;
std::int16_t g_nslots = 0;

plat::Rect cell_rect(int top, int left, int bottom, int right) {
    return {static_cast<std::int16_t>(top), static_cast<std::int16_t>(left), static_cast<std::int16_t>(bottom),
            static_cast<std::int16_t>(right)};
}

bool inside(const plat::Rect& r, plat::Point p) { return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom; }

int scroll_value(plat::Control* c) { return c ? plat::control_value(c) : 0; }

void open_libwindow_hook(std::int16_t nslots, std::int16_t rows, std::int16_t cols) {
    open_libwindow(nslots, rows, cols);
}

// The library's catalog picture, 'PICT' 1 of its resource fork, over the
// whole world; false (nothing drawn) when there is none or it cannot be read.
bool draw_catalog(plat::Port& off, const plat::Rect& world) {
    if (!current_lib.ref.valid()) return false;
    plat::ResourceFork fork;
    if (fork.load(current_lib.ref) != plat::noErr) return false;
    const plat::Resource* res = fork.find(four_cc("PICT"), 1);
    if (!res) return false;
    plat::Picture picture;
    if (!plat::read_picture(res->data, &picture) || picture.frame.empty()) return false;
    plat::draw_picture(off, picture, world);
    return true;
}

// Every cell framed and numbered up to the library's slot count.
void draw_numbered_grid(plat::Port& off, std::int16_t nslots) {
    const int width = symbhnum * symbwidth, height = symbvnum * symbwidth;
    for (int r = 0; r <= symbvnum; ++r) {
        off.move_to(0, static_cast<std::int16_t>(r * symbwidth));
        off.line_to(static_cast<std::int16_t>(width), static_cast<std::int16_t>(r * symbwidth));
    }
    for (int c = 0; c <= symbhnum; ++c) {
        off.move_to(static_cast<std::int16_t>(c * symbwidth), 0);
        off.line_to(static_cast<std::int16_t>(c * symbwidth), static_cast<std::int16_t>(height));
    }
    for (int r = 0; r < symbvnum; ++r)
        for (int c = 0; c < symbhnum; ++c) {
            const int n = r * symbhnum + c + 1;
            if (n > nslots) continue;
            draw_text_line(&off, cell_rect(r * symbwidth + 2, c * symbwidth + 2, (r + 1) * symbwidth - 1, (c + 1) * symbwidth - 1),
                           std::to_string(n));
        }
}

}  // namespace

void set_library_window_hooks(const LibraryWindowHooks& hooks) {
    g_hooks = hooks;
    set_libwindow_opener(open_libwindow_hook);
}

void startup_library() {}

void get_sproprect(plat::Rect* box, plat::Port* port) {
    const plat::Rect p = port->port_rect();
    *box = cell_rect(p.bottom - sprop_size, p.left, p.bottom, p.left + sprop_size);
}

void getmaxsyms(std::int16_t* n) {
    LibHeader h;
    *n = read_lib_header(currentlibRefNum, &h) ? h.maxctrls : 0;
}

void open_libwindow(std::int16_t nslots, std::int16_t rows, std::int16_t cols) {
    plat::Window* w = whichsymbWindow();
    if (!w) return;
    plat::PortSaver saver(plat::window_port(w));
    symbhnum = cols;
    symbvnum = rows;
    g_nslots = nslots;
    plat::set_window_title(w, plat::macroman_to_utf8(current_lib.name));
    // Every press on the bars comes here, the thumb's too, so the grid follows it.
    if (svertHdl) plat::set_control_tracked(svertHdl, true);
    if (shorizHdl) plat::set_control_tracked(shorizHdl, true);
    plat::size_window(w, cols * symbwidth + 17, 21 + rows * symbwidth + bar_size);
    make_lib_grid(nslots);
    plat::invalidate_rect(w, gridRect);
    plat::move_window(w, 100, 100, true);
    MyEnableMenuItem(kMyPaletteMenu, four_cc("PLlb"));
    MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLlb"));
    // The Palette menu shows it, checks its item and brings it to the front.
    plat::hide_window(w);
    if (g_hooks.palette_menu) g_hooks.palette_menu(palette_library);
    if (!plat::window_visible(w)) {
        plat::show_window(w);
        plat::select_window(w);
    }
}

void make_lib_grid(std::int16_t nslots) {
    const int width = symbhnum * symbwidth, height = symbvnum * symbwidth;
    soffRect = cell_rect(0, 0, height, width);
    if (!myCsGrafPtr) myCsGrafPtr = new plat::Port();
    if (!myCsGrafPtr->resize(std::max(width, 1) + 1, std::max(height, 1) + 1)) return;
    plat::Port& off = *myCsGrafPtr;
    // The world is erased first, so a smaller library leaves nothing of a larger one.
    off.erase_rect(cell_rect(0, 0, off.height(), off.width()));
    if (!draw_catalog(off, soffRect)) draw_numbered_grid(off, nslots);
    plat::Window* w = whichsymbWindow();
    if (svertHdl) plat::set_control_value(svertHdl, 0);
    if (shorizHdl) plat::set_control_value(shorizHdl, 0);
    const plat::Rect b = plat::window_bounds(w);
    size_symb_window(w, b.right - b.left, b.bottom - b.top);
}

void size_symb_window(plat::Window* window, int width, int height) {
    const int cols = std::min<int>(symbhnum, (width - bar_size) / symbwidth);
    const int rows = std::min<int>(symbvnum, (height - bar_size) / symbwidth);
    plat::size_window(window, std::max(cols, 0) * symbwidth + bar_size, std::max(rows, 0) * symbwidth + bar_size);
    size_symb_scrolls(window);
    plat::validate_rect(window, gridRect);
}

void size_symb_scrolls(plat::Window* window) {
    const plat::Rect p = plat::window_port(window)->port_rect();
    gridRect = cell_rect(p.top, p.left, p.bottom - 15, p.right - 15);
    if (shorizHdl) {
        plat::move_control(shorizHdl, p.left + bar_size, p.bottom - 15);
        plat::size_control(shorizHdl, p.right - p.left - 28, 16);
        plat::set_control_maximum(shorizHdl,
                                  std::max(0, symbhnum - (gridRect.right - gridRect.left + 2) / symbwidth));
    }
    if (svertHdl) {
        plat::move_control(svertHdl, p.right - 15, p.top - 1);
        plat::size_control(svertHdl, 16, p.bottom - p.top - 13);
        plat::set_control_maximum(svertHdl, std::max(0, symbvnum - (gridRect.bottom - gridRect.top + 2) / symbwidth));
    }
    set_symb_scrolls();
}

void set_symb_scrolls() {
    const int h = scroll_value(shorizHdl) * symbwidth + 1, v = scroll_value(svertHdl) * symbwidth + 1;
    soffRect = cell_rect(v, h, v + gridRect.bottom - gridRect.top, h + gridRect.right - gridRect.left);
}

void copy_grid_into_window() {
    plat::Window* w = whichsymbWindow();
    if (!w || !myCsGrafPtr) return;
    set_symb_scrolls();
    plat::copy_bits(*myCsGrafPtr, *plat::window_port(w), soffRect, gridRect, plat::srcCopy);
    plat::validate_rect(w, gridRect);
}

void redraw_library(plat::Window* window) {
    if (!window) return;
    plat::Port* port = plat::window_port(window);
    if (plat::take_resized(window)) {
        const plat::Rect b = plat::window_bounds(window);
        const int most_w = symbhnum * symbwidth + 16, most_h = symbvnum * symbwidth + 16;
        size_symb_window(window, std::clamp(b.right - b.left, 83, std::max(83, most_w)),
                         std::clamp(b.bottom - b.top, 83, std::max(83, most_h)));
    }
    copy_grid_into_window();
    plat::Rect box;
    get_sproprect(&box, port);
    if (spropPicHdl) {
        draw_app_picture(*port, *spropPicHdl, plat::Point{box.top, box.left});
    } else {
        port->erase_rect(box);
        port->frame_rect(box);
    }
}

int get_symloc(const plat::Point* point, std::int16_t* n, plat::Rect* cell) {
    const int row = point->v / symbwidth, col = point->h / symbwidth;
    const int number = (row + scroll_value(svertHdl)) * symbhnum + (col + scroll_value(shorizHdl)) + 1;
    *n = static_cast<std::int16_t>(number);
    *cell = cell_rect(row * symbwidth, col * symbwidth, (row + 1) * symbwidth - 1, (col + 1) * symbwidth - 1);
    std::int16_t most = 0;
    getmaxsyms(&most);
    // A cell past the grid's columns belongs to no slot.
    return col + scroll_value(shorizHdl) < symbhnum && number > 0 && number <= most ? 1 : 0;
}

void inv_offsymRect(std::int16_t n) {
    if (!myCsGrafPtr || n < 1 || symbhnum < 1) return;
    const int r = (n - 1) / symbhnum, c = (n - 1) % symbhnum;
    myCsGrafPtr->invert_rect(cell_rect(r * symbwidth + 1, c * symbwidth + 1, (r + 1) * symbwidth, (c + 1) * symbwidth));
}

void symbolsingleclick(plat::Port* port, plat::Point* point) {
    quit = aborted = 0;
    std::int16_t n = 0;
    const int valid = get_symloc(point, &n, &symbRect);
    inv_offsymRect(n);
    if (port) {
        port->set_clip(gridRect);
        port->invert_rect(symbRect);
        port->set_clip(port->port_rect());
    }
    if (valid) {
        plat::PortSaver saver(whichdrawPort());
        symb_direct(current_lib.ref, current_lib.name, n);
        insymbsingle = 1;
        const std::uint16_t was_idle = getidle();
        setidle(0);
        if (g_hooks.redraw_tools) g_hooks.redraw_tools();
        reset_undo();
        enable_undoredo(1);
        if (!macgroup) hook_showonoff(indx, 0);
        add_objects(tool_symbol);
        if (!macgroup) hook_showcurrent(indx);
        setidle(was_idle);
        insymbsingle = 0;
    }
    if (g_hooks.redraw_tools) g_hooks.redraw_tools();
    mess_clear();
    inv_offsymRect(n);
    if (plat::Window* w = whichsymbWindow()) {
        const plat::Port* p = plat::window_port(w);
        plat::invalidate_rect(w, p->port_rect());
    }
}

void symboldoubleclick(plat::Port* port, plat::Point* point) {
    quit = aborted = 0;
    if (insymbsingle && port) {
        port->set_clip(gridRect);
        port->invert_rect(symbRect);
    }
    std::int16_t n = 0;
    plat::Rect cell;
    const int valid = get_symloc(point, &n, &cell);
    inv_offsymRect(n);
    if (valid) SymbolSetupWindow(n);
    inv_offsymRect(n);
    if (insymbsingle && port) {
        port->set_clip(gridRect);
        port->invert_rect(symbRect);
    }
    if (port) port->set_clip(port->port_rect());
    if (plat::Window* w = whichsymbWindow()) plat::invalidate_rect(w, gridRect);
}

void psymboldoubleclick(plat::Port* port, plat::Rect* box) {
    quit = aborted = 0;
    if (!port) return;
    // The cell of a running placement is not highlighted while the box is.
    auto placement_highlight = [port] {
        if (!insymbsingle) return;
        port->set_clip(gridRect);
        port->invert_rect(symbRect);
        port->set_clip(port->port_rect());
    };
    placement_highlight();
    port->invert_rect(*box);
    if (g_hooks.placement_settings) g_hooks.placement_settings();
    port->invert_rect(*box);
    placement_highlight();
    port->set_clip(port->port_rect());
}

void sScrollAction(plat::Control* control, std::int16_t part) {
    if (!control) return;
    int step = 0;
    switch (part) {
    case plat::inUpButton:
    case plat::inPageUp: step = -1; break;
    case plat::inDownButton:
    case plat::inPageDown: step = 1; break;
    default: return;
    }
    const int value = std::clamp(plat::control_value(control) + step, plat::control_minimum(control),
                                 plat::control_maximum(control));
    if (value == plat::control_value(control)) return;
    plat::set_control_value(control, value);
    set_symb_scrolls();
    copy_grid_into_window();
}

namespace {

// A press on a bar: the thumb is dragged until the button is let go, an
// arrow or page area steps one cell while it is held.
void scroll_press(plat::Window* window, plat::Point point) {
    plat::Port* port = plat::window_port(window);
    plat::PortSaver saver(port);
    port->set_clip(port->port_rect());
    plat::Control* control = nullptr;
    const std::int16_t part = plat::find_control(window, point, &control);
    if (!control) return;
    if (part == plat::inThumb) {
        const int value = plat::track_thumb(window, control, point);
        if (value == plat::control_value(control)) return;
        plat::set_control_value(control, value);
        set_symb_scrolls();
        copy_grid_into_window();
    } else if (part >= plat::inUpButton && part <= plat::inPageDown) {
        plat::track_control(control, part, sScrollAction);
    }
}

}  // namespace

void handle_symbol_content(plat::Window* window, plat::Point* point) {
    plat::Port* port = plat::window_port(window);
    plat::Rect box;
    get_sproprect(&box, port);
    if (inside(gridRect, *point)) {
        if (g_hooks.isdoubleclick && g_hooks.isdoubleclick()) {
            symboldoubleclick(port, point);
        } else if (!getidle()) {
            // A running command ends first; the click comes back when it has.
            if (g_hooks.postpone) g_hooks.postpone(window, point);
        } else {
            symbolsingleclick(port, point);
        }
    } else if (inside(box, *point)) {
        psymboldoubleclick(port, &box);
    } else {
        scroll_press(window, *point);
    }
}

}  // namespace drav
