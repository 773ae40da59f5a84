#include "shell/window_palette.h"

#include <algorithm>
#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "display/drag_image.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "display/view_commands.h"
#include "platform/ui/cursors.h"
#include "shell/blink.h"
#include "shell/event_pump.h"
#include "shell/message_palette.h"
#include "shell/tool_palette.h"
#include "shell/window_commands.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"

namespace drav {

namespace {

std::int16_t i16(int v) { return static_cast<std::int16_t>(v); }

bool valid_button(int n) { return n >= 1 && n <= window_button_count; }

// What the buttons of the drawing window see of the command they run in.
struct KeptState {
    ObjectRec info_copy;
    char line[textline_size];
    char message[80];
};

void keep(KeptState* k, bool with_message) {
    k->info_copy = info;
    std::memcpy(k->line, textline, sizeof k->line);
    k->message[0] = 0;
    if (with_message) RetrieveCStringMessage(k->message);
}

void put_back(const KeptState& k, bool with_message) {
    info = k.info_copy;
    std::memcpy(textline, k.line, sizeof textline);
    if (with_message) DisplayCStringMessage(k.message);
}

// Button n shown pressed, or back as it was: inverted in place.
void invert_button(plat::Port* port, int n) {
    plat::Window* window = whichdrawWindow();
    if (!port || !window) return;
    plat::Rect strip;
    get_biofrect(&strip, window);
    const plat::Rect clip = port->clip();
    port->set_clip(window_button_rect(strip, n));
    port->invert_rect(window_button_rect(strip, n));
    port->set_clip(clip);
    plat::invalidate_rect(window, strip);
}

// The selection shown again after the view changed, when no command runs.
void highlight_selection() {
    if (!getidle()) return;
    if (macgroup)
        showgroup(1);
    else
        showonoff(indx, 1);
}

// While the selection's image is dragged, it is built again for the new
// view and put under the cursor. It comes off the screen first (a view
// change has taken it off already), and the drag loop shows it again.
void follow_view_in_drag() {
    if (!ingrpdrag) return;
    blink_off();
    make_objrgn(1);
    if (macgroup)
        showgroup(1);
    else if (okindx(&indx))
        showonoff(indx, 1);
}

// The view each button gives with a single click.
void view_button(int n) {
    if (n <= 4) {
        get_window(0, static_cast<std::int16_t>(n));  // 1 base view, 2 zoom in, 3 zoom out, 4 full view
        aborted = 0;
    } else {
        sketch();
    }
}

// The double click's action for each button.
void view_button_double(int n) {
    switch (n) {
    case 1:
        // TODO(ShowBaseWindowWindow) the base window setup window
        break;
    case 2:
    case 3:
        get_window(1, static_cast<std::int16_t>(n));  // zoom in to a dragged rectangle, zoom out interactively
        aborted = 0;
        break;
    case 4:
        // TODO(ShowCurrentWindowWindow) the current window setup window
        break;
    default:
        // The current view again, rebuilt, and every object redrawn into a fresh display list.
        change_window(cur_win.xl, cur_win.xr, cur_win.yb, aspectratio, 1);
        show_objects(1, 1, 36);
        aborted = 0;
        break;
    }
}

}  // namespace

void get_biofrect(plat::Rect* rect, plat::Window* window) {
    if (!rect) return;
    *rect = plat::Rect{};
    if (!window) return;
    const plat::Rect b = plat::window_port(window)->port_rect();
    *rect = plat::Rect{i16(b.bottom - 15), i16(b.left - 1), i16(b.bottom + 1), i16(b.left + 75)};
}

plat::Rect window_button_rect(const plat::Rect& strip, int n) {
    n = std::clamp(n, 1, window_button_count);
    const int left = strip.left + 1;  // the window's left edge
    return plat::Rect{i16(strip.top + 1), i16(left + window_button_width * n - 14), i16(strip.bottom - 1),
                      i16(left + window_button_width * n)};
}

void draw_window_strip(plat::Window* window) {
    if (!window || !biofPicHdl) return;
    plat::Rect strip;
    get_biofrect(&strip, window);
    draw_app_picture(*plat::window_port(window), *biofPicHdl, plat::Point{strip.top, strip.left});
}

void dowindow(int n) {
    if (!valid_button(n)) return;
    if (isdoubleclick())
        window_doubleclick(n);
    else
        window_singleclick(n);
}

void window_singleclick(int n) {
    if (!valid_button(n) || !graphwasinit || !drawCWindow) return;
    if (postpone_window(pp_window_single, static_cast<std::int16_t>(n))) return;
    windowidle = 0;
    KeptState kept;
    keep(&kept, false);
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    setdrawmode(mode_draw);
    setdrawpat(0);
    {
        plat::PortSaver saver(drawCWindow);
        invert_button(drawCWindow, n);
        plat::set_cursor(plat::Cursor::crosshair);
        view_button(n);
        set_drawing_scroll_value();
        highlight_selection();
        invert_button(drawCWindow, n);
    }
    put_back(kept, false);
    windowidle = 1;
    if (n != 5) follow_view_in_drag();
    setdrawmode(mode);
    setdrawpat(pat);
}

void window_doubleclick(int n) {
    if (!valid_button(n) || !graphwasinit || !drawCWindow) return;
    if (postpone_window(pp_window_double, static_cast<std::int16_t>(n))) return;
    windowidle = 0;
    KeptState kept;
    keep(&kept, true);
    {
        plat::PortSaver saver(drawCWindow);
        invert_button(drawCWindow, n);
        plat::set_cursor(plat::Cursor::crosshair);
        view_button_double(n);
        set_drawing_scroll_value();
        highlight_selection();
        invert_button(drawCWindow, n);
    }
    put_back(kept, true);
    windowidle = 1;
    follow_view_in_drag();
}

}  // namespace drav
