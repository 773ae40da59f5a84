#include "shell/event_pump.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "dialogs/modeless_windows.h"
#include "display/clipboard_window.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "extension/api/custom_event.h"
#include "platform/core/clock.h"
#include "platform/ui/cursors.h"
#include "platform/ui/menus.h"
#include "shell/apple_events.h"
#include "shell/blink.h"
#include "shell/construct_palette.h"
#include "shell/dimension_palette.h"
#include "shell/marquee.h"
#include "shell/dispatch.h"
#include "shell/loop_helpers.h"
#include "shell/menu_handler.h"
#include "shell/palettes.h"
#include "shell/pointer_input.h"
#include "shell/restraints_palette.h"
#include "shell/select_accept.h"
#include "shell/tool_options.h"
#include "shell/tool_palette.h"
#include "shell/window_layers.h"
#include "shell/window_palette.h"
#include "files/library_window.h"

namespace drav {

plat::EventRecord myEvent;
std::uint16_t snapidle = 1;
std::uint16_t windowidle = 1;

namespace {

std::int16_t savedoption = 0;
std::int16_t saveditem = 0;
plat::Window* savedPtr = nullptr;
plat::Point savedPt;

// Waits here are short so the idle loop does not spin, yet timers and
// signals are seen at once.
constexpr std::uint32_t pump_sleep_ticks = 6;

ModuleEventFields module_fields(const plat::EventRecord& e) {
    return ModuleEventFields{static_cast<std::uint16_t>(e.what), e.message, e.when, e.where.v, e.where.h,
                             e.modifiers};
}

void replay(std::int16_t code, std::int16_t item) {
    switch (code) {
    case pp_dimension:
        dimension_singleclick(item);
        break;
    case pp_build:
        // TODO(build_commands)
        break;
    case pp_restraint:
        restraint_singleclick(item);
        break;
    case pp_window_double:
        window_doubleclick(item);
        break;
    case pp_window_single:
        window_singleclick(item);
        break;
    case pp_symbol:
        symbolsingleclick(plat::window_port(savedPtr), &savedPt);
        break;
    case pp_tool:
        toolsingleclick(item);
        break;
    case pp_construct:
        construct_singleclick(item);
        break;
    default:
        break;
    }
}

// Keeps (code, item) for replay and ends the running command, unless its
// owner is idle and may act at once.
int postpone_unless(std::uint16_t owner_idle, std::int16_t code, std::int16_t item) {
    if (owner_idle) return 0;
    savedoption = code;
    saveditem = item;
    quit = 1;
    return 1;
}

}  // namespace

std::int16_t postponed_code() { return savedoption; }
std::int16_t postponed_item() { return saveditem; }
void forget_postponed() { savedoption = saveditem = 0; }

int getevent(int mask, plat::EventRecord* event) {
    if (savedoption != 0) {
        const std::int16_t code = savedoption;
        savedoption = 0;
        replay(code, saveditem);
        return 0;
    }
    const bool came = plat::wait_next_event(static_cast<std::uint16_t>(mask & 0xFFFF), event, pump_sleep_ticks);
    // The window manager's resize stands in for the grow box.
    if (graphwasinit && plat::take_resized(whichdrawWindow())) drawing_window_resized(whichdrawWindow());
    if (clipCWindow && plat::take_resized(clipCWindow)) growclip(clipCWindow);
    if (came) {
        const ModuleEventFields fields = module_fields(*event);
        custom_event(18, 0, 0, 0, "", &fields);
    }
    custom_event(11, 0, 0, 0, "", nullptr);
    return came ? 1 : 0;
}

int gobbleoskeys(int mask) {
    Cursor_adjust();
    if (!getevent(mask, &myEvent)) {
        if (graphwasinit) updatemarquee(drawCWindow);
        // TODO(addDPtr) palettes get their idle time
        return 0;
    }
    if (modeless_window_event(myEvent)) return 1;
    if (myEvent.dialog) {
        if (myEvent.what == plat::app1Evt && (myEvent.dialog == windAccept || myEvent.dialog == windAddRemove)) {
            SelectAndAcceptEventHandlerProc(myEvent);
            return 1;
        }
        plat::Dialog* d = nullptr;
        std::int16_t item = 0;
        if (myEvent.what == plat::mouseDown && plat::dialog_select(myEvent, &d, &item)) {
            doevent(d, item);
            return 1;
        }
    }
    switch (myEvent.what) {
    case plat::mouseDown:
        Handle_mouse_down();
        break;
    case plat::keyDown:
    case plat::autoKey:
        Handle_keys();
        break;
    case plat::updateEvt:
        Handle_update(myEvent.window);
        break;
    case plat::activateEvt:
        Handle_activate();
        break;
    case plat::app1Evt:
        MyMenuEventHandlerProc(myEvent);
        Do_command(static_cast<std::int32_t>(
            (static_cast<std::uint32_t>(static_cast<std::uint16_t>(myEvent.menu_id)) << 16) |
            static_cast<std::uint16_t>(plat::menu_item_number(myEvent.menu_id, myEvent.message))));
        break;
    case plat::kHighLevelEvent:
        AEProcessAppleEvent(myEvent);
        break;
    default:
        break;
    }
    return 1;
}

int postpone_event(std::int16_t code, std::int16_t item) {
    if (!postpone_unless(getidle(), code, item)) return 0;
    addnum = tool_select;
    return 1;
}

int postpone_symbol(plat::Window* window, plat::Point* point) {
    if (getidle()) return 0;
    quit = 1;
    savedoption = pp_symbol;
    savedPtr = window;
    savedPt = *point;
    return 1;
}

int postpone_snap(std::int16_t code, std::int16_t item) { return postpone_unless(snapidle, code, item); }

int postpone_window(std::int16_t code, std::int16_t item) { return postpone_unless(windowidle, code, item); }

int isdoubleclick() {
    if (objopts && objopts->dblclick_mode) return (myEvent.modifiers & plat::optionKey) ? 1 : 0;
    const std::uint32_t dbl = plat::double_click_ticks();
    // Asleep on the queue, never spinning: the release and the second press come through it.
    plat::wait_for_event(plat::mUpMask, myEvent.when + dbl);
    plat::EventRecord up;
    if (!getevent(plat::mUpMask, &up)) return 0;
    const std::uint32_t deadline = up.when + dbl;
    const plat::Point target = up.where;
    plat::wait_for_event(plat::mDownMask, deadline);
    // A press too late or too far is a click of its own and stays queued for it.
    plat::EventRecord down;
    if (!plat::event_avail(plat::mDownMask, &down)) return 0;
    if (static_cast<std::int32_t>(down.when - deadline) > 0) return 0;
    // Within 11 pixels of where the first click was let go.
    const bool near = down.where.h >= target.h - 11 && down.where.h < target.h + 11 + 1 &&
                      down.where.v >= target.v - 11 && down.where.v < target.v + 11 + 1;
    if (!near) return 0;
    getevent(plat::mDownMask, &down);
    return 1;
}

void Cursor_adjust() {
    plat::Window* front = plat::front_window();
    if (!front || plat::window_kind(front) == plat::WindowKind::other) return;
    if (watchon) {
        plat::set_cursor(plat::Cursor::watch);
        return;
    }
    const plat::Point mouse = plat::mouse_global();
    plat::Window* under = plat::find_window(mouse);
    plat::Window* drawing = graphwasinit ? whichdrawWindow() : nullptr;
    if (!under) {
        show_system_cursor();
        plat::set_cursor(plat::Cursor::arrow);
        return;
    }
    if (under == drawing) {
        const plat::Rect b = plat::window_bounds(drawing);
        const int h = mouse.h - b.left, v = mouse.v - b.top;
        if (h >= drawRect.left && h < drawRect.right && v >= drawRect.top && v < drawRect.bottom) {
            if (getidle()) snap_on = objopts && objopts->idle_snap ? 1 : 0;
            update_mouse(h, v, 0);
            update_cursor();
            if (!getidle() || (objopts && objopts->idle_snap)) {
                if (MacCursorShowing) {
                    MacCursorShowing = 0;
                    plat::show_cursor(false);
                    cur_go();
                }
            } else {
                plat::set_cursor(plat::Cursor::arrow);
                show_system_cursor();
            }
            return;
        }
        plat::set_cursor(plat::Cursor::arrow);
        show_system_cursor();
        return;
    }
    show_system_cursor();
    // TODO(inpDPtr) the I-beam over the text fields of the input window and the properties palette
    plat::set_cursor(plat::Cursor::arrow);
}

void Handle_update(plat::Window* window) {
    if (!window) return;
    plat::PortSaver saver(plat::window_port(window));
    RedrawWindow(window);
}

void RedrawWindow(plat::Window* window) {
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    cur_stop();
    if (plat::window_port(window) != drawCWindow) plat::window_port(window)->pen_normal();
    setdrawmode(mode_draw);
    setdrawpat(0);
    if (graphwasinit && window == whichdrawWindow()) {
        draw_window_strip(window);
        Get_Drawing();
        marquee_after_refresh(drawCWindow);
    } else if (graphwasinit && window == whichsymbWindow()) {
        redraw_library(window);
    } else if (window == clipCWindow) {
        draw_clip_window();
    }
    cur_go();
    setdrawmode(mode);
    setdrawpat(pat);
}

void Get_Drawing() {
    if (!graphwasinit || !myCGrafPtr || !drawCWindow) return;
    blink_off();
    cur_stop();
    const plat::Rect source{0, 0, static_cast<std::int16_t>(drawRect.bottom - drawRect.top),
                            static_cast<std::int16_t>(drawRect.right - drawRect.left)};
    plat::copy_bits(*myCGrafPtr, *drawCWindow, source, drawRect, plat::srcCopy);
    setbackgnd(objopts ? objopts->background_colour : colour_white);
    setscreencolor(gcolor);
    if (getidle()) {
        show_oghandle(1);
        show_ogpivot(1);
    }
    plat::validate_rect(whichdrawWindow(), drawRect);
    cur_go();
}

void Handle_activate() {
    if (myEvent.modifiers & plat::activeFlag) {
        if (!plat::window_hilited(firstDocument())) FixActivate();
    }
}

int kbd_event() { return myEvent.what == plat::keyDown || myEvent.what == plat::autoKey ? 1 : 0; }
int cmdkey_pressed() { return (myEvent.modifiers & plat::cmdKey) ? 1 : 0; }
int charcode() { return static_cast<int>(myEvent.message & 0xFF); }

}  // namespace drav
