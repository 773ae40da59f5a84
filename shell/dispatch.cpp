#include "shell/dispatch.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "dialogs/dialog_helpers.h"
#include "display/clipboard_window.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/list_replay.h"
#include "display/object_find.h"
#include "display/selection_display.h"
#include "display/view_commands.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "platform/core/clock.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "shell/blink.h"
#include "shell/clipboard_menu.h"
#include "shell/construct_palette.h"
#include "shell/dimension_palette.h"
#include "shell/drag_outline.h"
#include "shell/event_pump.h"
#include "shell/key_equivalents.h"
#include "shell/loop_helpers.h"
#include "shell/main_loop.h"
#include "shell/marquee.h"
#include "shell/message_palette.h"
#include "shell/palettes.h"
#include "shell/pointer_input.h"
#include "shell/restraints_palette.h"
#include "shell/tool_palette.h"
#include "shell/window_layers.h"
#include "shell/window_palette.h"
#include "store/group_build.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/selection_state.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/strings.h"
#include "files/library_window.h"
#include "shell/palettes.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

std::int16_t chars[ring_size];
std::int16_t charcount = 0;
std::int16_t nextchar = 0;

namespace {

int g_last_equivalent = -1;

constexpr int ch_backspace = 8, ch_delete = 127, ch_enter = 3, ch_return = 13, ch_esc = 27;
constexpr int ch_debug = 235;

// The ring takes a character unless 15 are unread: writing on would
// overtake the reader and lose them all, so the new key is refused.
void ring_put(int ch) {
    const std::int16_t next = static_cast<std::int16_t>((charcount + 1) % ring_size);
    if (next == nextchar) {
        plat::sys_beep();
        return;
    }
    chars[charcount] = static_cast<std::int16_t>(ch);
    charcount = next;
}

bool inside(const plat::Rect& r, plat::Point p) {
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

bool palette_like(plat::Window* w) { return isPallette(w) || isAPIPallette(w); }

ModuleEventFields fields_of(const plat::EventRecord& e) {
    return ModuleEventFields{static_cast<std::uint16_t>(e.what), e.message, e.when, e.where.v, e.where.h,
                             e.modifiers};
}

}  // namespace

int last_key_equivalent() { return g_last_equivalent; }

void Handle_mouse_down() {
    if (graphwasinit) erasemarquee(drawCWindow);
    plat::Window* window = myEvent.window;
    std::int16_t part = myEvent.part;
    if (!window) {
        window = plat::find_window(myEvent.where);
        part = window ? plat::inContent : plat::inDesk;
    }
    if (watchon) return;
    // TODO(finish_modeless) an open modeless input or properties session may end, or refuse the click
    switch (part) {
    case plat::inContent:
        if (!activeLayer) FixActivate();
        if (!palette_like(window)) {
            if (isDocument(window) && window != firstDocument()) SelectDocument(window);
            ArrangeFP2();
            FixActivate();
        }
        Handle_content(window);
        break;
    case plat::inDrag:
        if (!(myEvent.modifiers & plat::cmdKey) && window != plat::front_window()) {
            if (palette_like(window))
                ourSelectWindow(window);
            else if (window != firstDocument())
                SelectDocument(window);
        } else {
            if (!activeLayer) FixActivate();
            ourSelectWindow(window);
        }
        ArrangeFP2();
        FixActivate();
        break;
    case plat::inGrow:
        // The window manager resizes; the pump then does what the grow box does.
        ourSelectWindow(window);
        ArrangeFP2();
        FixActivate();
        break;
    case plat::inGoAway:
        nomore_window(window);
        ArrangeFP2();
        FixActivate();
        break;
    case plat::inZoomIn:
    case plat::inZoomOut:
        if (graphwasinit && window == whichdrawWindow()) {
            cur_stop();
            zoomdrawing(window, part);
            cur_go();
        } else if (window == clipCWindow) {
            cur_stop();
            zoomclip(window, part);
            cur_go();
        }
        break;
    default:
        break;
    }
}

void Handle_content(plat::Window* window) {
    if (!window) return;
    const plat::Rect b = plat::window_bounds(window);
    const plat::Point local{static_cast<std::int16_t>(myEvent.where.v - b.top),
                            static_cast<std::int16_t>(myEvent.where.h - b.left)};
    if (graphwasinit && window == whichdrawWindow()) {
        handle_drawing_content(drawCWindow, local);
    } else if (graphwasinit && window == whichsymbWindow()) {
        plat::Point at = local;
        handle_symbol_content(window, &at);
    } else if (window == clipCWindow) {
        handle_clip_content(plat::window_port(clipCWindow), local);
    } else if (isAPIPallette(window)) {
        SelectPallette(window);
        const ModuleEventFields fields = fields_of(myEvent);
        const auto ref = reinterpret_cast<std::uintptr_t>(window);
        custom_event(13, static_cast<std::int16_t>(ref >> 16), static_cast<std::int16_t>(ref), 0, "", &fields);
    } else {
        // TODO(addDPtr) the tool, restraints, construct, dimension, multi-line and coordinates palettes hit their items
        SelectPallette(window);
    }
}

void handle_drawing_content(plat::Port* port, plat::Point point) {
    plat::PortSaver saver(port);
    if (!inside(drawRect, point)) {
        plat::Rect strip;
        get_biofrect(&strip, whichdrawWindow());
        if (inside(strip, point)) dowindow(point.h / window_button_width + 1);
        // An arrow or a page area steps the view while it is held; the view
        // follows a dragged thumb when it is let go.
        plat::Control* bar = nullptr;
        const std::int16_t part = plat::find_control(whichdrawWindow(), point, &bar);
        if (bar && part == plat::inThumb)
            drawing_thumb(bar, point);
        else if (bar && part >= plat::inUpButton && part <= plat::inPageDown)
            plat::track_control(bar, part, scrollAction);
        return;
    }
    if (!getidle() && quit) return;
    setup_loop();
    update_mouse(point.h, point.v, 1);
    // Idle: the click registers now, at its own point.
    if (getidle()) update_cursor();
    update_ref(last_x, last_y);
    update_status_line();
    if (!getidle()) return;  // the running command takes the click
    if (!okindx(&indx)) return;
    // A press on the selection's handle or pivot marker drags it.
    if (!(macgroup ? ghp_isnull() : ohp_isnull())) {
        if (inside(handRect, point)) {
            hp_drag(0, 1);
            return;
        }
        if (inside(pivotRect, point)) {
            hp_drag(1, 1);
            return;
        }
    }
    set_valid_objects();
    // TODO(snaprec) with object or crossing snap the search starts at the snapped object
    std::int16_t found = indx;
    const bool hit = find_object(&found, last_x, last_y, 0) != 0;
    if (!hit || get_LevelLocked(info.b[obj::level]))
        marquee_selection(port, point);
    else
        pick_object(found);
}

void marquee_selection(plat::Port* port, plat::Point press) {
    double x1 = press.h + viewport.xl, y1 = ydots - press.v + viewport.yb;
    screen_world(&x1, &y1);
    // A plain click on empty space selects nothing: the button came up
    // within the double-click time.
    const std::uint32_t until = myEvent.when + plat::double_click_ticks();
    plat::EventRecord up;
    bool released = false;
    while (static_cast<std::int32_t>(plat::ticks() - until) < 0) {
        if (plat::wait_next_event(plat::mUpMask, &up, 1)) {
            if (static_cast<std::int32_t>(up.when - until) < 0) return;
            released = true;
            break;
        }
        if (globalch || plat::termination_requested()) return;
    }
    const std::uint16_t was_group = macgroup, screen = drawtoscreen;
    const std::int16_t mode = gdrawmode, pat = gdrawpat;
    macgroup = 1;
    port->set_clip(drawRect);
    // The marquee's far corner is where the button is let go.
    plat::Point end = createmarquee(port, press);
    if (released) {
        const plat::Rect b = plat::window_bounds(whichdrawWindow());
        end = plat::Point{static_cast<std::int16_t>(up.where.v - b.top), static_cast<std::int16_t>(up.where.h - b.left)};
        marquee_to(port, press, end);
    }
    port->set_clip(port->port_rect());
    double x2 = end.h + viewport.xl, y2 = ydots - end.v + viewport.yb;
    screen_world(&x2, &y2);
    if (!inside(drawRect, end)) aborted = 1;
    grpchanged = 0;
    if (!aborted) {
        drawtoscreen = 1;
        if (!(myEvent.modifiers & plat::shiftKey)) {
            showgroup(0);
            clear_group();
        }
        const std::uint16_t was_adding = adding;
        adding = 1;
        // TODO(subset) subset = 0 for the fence
        watch_on();
        cur_stop();
        setfindfence(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2), 5);
        cur_go();
        watch_off();
        adding = was_adding;
    }
    setdrawmode(mode);
    setdrawpat(pat);
    drawtoscreen = screen;
    set_group_limits();
    setidle(1);
    if (plat::Window* w = whichdrawWindow()) plat::validate_rect(w, drawRect);
    macgroup = was_group;
    if (grpchanged && !was_group) do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
}

void pick_object(std::int16_t found) {
    const std::uint16_t screen = drawtoscreen;
    drawtoscreen = 1;
    reset_undo();
    indx = found;
    showcurrent(indx);
    const bool shift = (myEvent.modifiers & plat::shiftKey) != 0;
    if (!macgroup && shift) do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
    if (macgroup && there_are_objects()) {
        const std::int16_t on = shift ? static_cast<std::int16_t>(!get_in_group(indx)) : std::int16_t{1};
        put_in_group(indx, on);
        get_info(indx);
        const bool continued = obj_kind(info) == ok_text && text_continued(info);
        showonoff(indx, on);
        if (continued) put_in_group(indx + 1, on);
        set_group_limits();
        setidle(1);
    }
    const plat::EventRecord down = myEvent;
    const ModuleEventFields fields = fields_of(down);
    if (!isdoubleclick()) {
        custom_event(5, indx, 0, static_cast<std::int16_t>(down.modifiers), "", &fields);
    } else {
        custom_event(5, indx, 1, static_cast<std::int16_t>(down.modifiers), "", &fields);
        // TODO(modify_props_geom) the geometry (command key) or properties window of the object
    }
    if (plat::button()) {
        // TODO(modify_objects) a held press moves the object: modify_objects(1), or group(1) in group mode
    }
    drawtoscreen = screen;
}

void nomore_window(plat::Window* window) {
    blink_off();
    if (!window) return;
    if (window == windMessage) {
        MesssageCloseEventHandlerProc();
    } else if (graphwasinit && window == whichdrawWindow()) {
        // the drawing window stays
    } else if (graphwasinit && window == whichsymbWindow()) {
        sett_lib();
    } else if (window == clipCWindow) {
        closeclip();
    } else if (isAPIPallette(window)) {
        const auto ref = reinterpret_cast<std::uintptr_t>(window);
        custom_event(12, static_cast<std::int16_t>(ref >> 16), static_cast<std::int16_t>(ref), 0, "", nullptr);
        if (firstDocument()) SelectDocument(firstDocument());
    } else {
        // TODO(sett_htch) the coordinates, restraints, construct, dimension and hatch palettes toggle off as they come
    }
    updatewindows();
}

void closeclip() {
    if (!clipCWindow) return;
    set_clipboard_item_text(str_show_clipboard);
    plat::hide_window(clipCWindow);
    if (graphwasinit && plat::window_visible(whichdrawWindow())) SelectDocument(whichdrawWindow());
}

void Handle_keys() {
    int key = static_cast<int>(myEvent.message & 0xFF);
    bool cmd = (myEvent.modifiers & plat::cmdKey) != 0;
    const bool option = (myEvent.modifiers & plat::optionKey) != 0;
    const bool control = (myEvent.modifiers & plat::controlKey) != 0;
    if (cmd) {
        if (key == ch_debug) {
            // TODO(sett_debug) the debug window opens
        }
        if (key == '.' && !getidle()) {
            key = ch_esc;
            cmd = false;
        }
    }
    const bool plain = !cmd && !option && !control && key != ch_esc;
    if (watchon) {
        if (key == ch_esc) aborted = 1;
        return;
    }
    if (handle_eq_keys()) return;
    if (cmd) {
        dim_menuoptions();
        int menu = 0;
        std::uint32_t code = 0;
        if (plat::menu_key(static_cast<std::uint8_t>(key), myEvent.modifiers, &menu, &code))
            plat::choose_menu_item(menu, code);
        return;
    }
    const int upper = chtoupper(key);
    if (upper == ch_backspace || upper == ch_delete) {
        // TODO(inpDPtr) with the input window or the properties palette in front the key goes to its field
        if (getidle()) {
            if (macgroup) {
                group(7);
            } else {
                // TODO(modify_objects) delete the current object: modify_objects(7)
            }
        }
    } else if (upper == ch_enter || upper == ch_return) {
        // TODO(inpDPtr) the input window's OK
    } else if (plain) {
        // TODO(inpDPtr) a plain key goes to the text field of the input window or the properties palette in front
    }
    if (!getidle()) ring_put(key);
}

int findvalue(const std::uint16_t* table, std::uint16_t value, int count) {
    for (int i = 0; i < count; ++i)
        if (table[i] == value) return i;
    return -1;
}

int handle_eq_keys() {
    g_last_equivalent = -1;
    const std::uint16_t* table = key_equivalents();
    if (!table) return 0;
    const auto value =
        static_cast<std::uint16_t>(((myEvent.message >> 8) & 0xFF) | (myEvent.modifiers & 0x0B00));
    const int i = findvalue(table, value, key_equivalent_count);
    if (i < 0) return 0;
    g_last_equivalent = i;
    if (i <= 9)
        do_toolcmd(i + 4);
    else if (i <= 11)
        do_dimensioncmd(i - 8);
    else if (i <= 17)
        do_toolcmd(i + 2);
    else if (i <= 19)
        do_toolcmd(i - 16);
    else if (i <= 29)
        do_constraintcmd(i - 18);
    else if (i <= 37)
        do_constructcmd(i - 28);
    else if (i <= 41)
        do_windowcmd(i - 37);
    else if (i <= 43)
        do_windowcmd(5);
    else if (i == 44) {
        do_del();
    } else if (i == 45) {
        do_chome();
    } else if (i == 46) {
        do_cright();
    } else if (i == 47) {
        do_cleft();
    } else if (i <= 49) {
        // TODO(modify_objects) 12 and 13: '<' and '>' for the running command
    } else if (i <= 57)
        do_dc_toolcmd(i - 46);
    else if (i == 58)
        do_dc_toolcmd(13);
    else if (i <= 60)
        do_dc_dimensioncmd(i - 57);
    else if (i <= 62)
        do_dc_toolcmd(i - 47);
    else if (i <= 64)
        do_dc_toolcmd(i - 46);
    else if (i == 65)
        do_dc_toolcmd(3);
    else if (i <= 69) {
        static constexpr int items[] = {5, 7, 8, 9};
        do_dc_constraintcmd(items[i - 66]);
    } else if (i <= 77)
        do_dc_constructcmd(i - 68);
    else if (i <= 81)
        do_dc_windowcmd(i - 77);
    else
        do_dc_windowcmd(5);
    return 1;
}

// The palettes open first when closed, then take the item as a click.
void do_toolcmd(int item) {
    if (!addDPtr) handle_palette_menu(palette_tools);
    if (addDPtr) doevent(addDPtr, item);
}

void do_constraintcmd(int item) {
    if (!locDPtr) handle_palette_menu(palette_restraints);
    if (locDPtr) doevent(locDPtr, item);
}

void do_constructcmd(int item) {
    if (!constDPtr) handle_palette_menu(palette_construct);
    if (constDPtr) doevent(constDPtr, item);
}

void do_dimensioncmd(int item) {
    if (!dimDPtr) handle_palette_menu(palette_dimension);
    if (dimDPtr) doevent(dimDPtr, item);
}

void do_windowcmd(int n) {
    if (graphwasinit && plat::window_visible(whichdrawWindow())) window_singleclick(n);
}

void do_dc_toolcmd(int item) {
    if (!addDPtr) handle_palette_menu(palette_tools);
    if (addDPtr) tooldoubleclick(item);
}

void do_dc_constraintcmd(int item) {
    if (!locDPtr) handle_palette_menu(palette_restraints);
    if (locDPtr) restraint_doubleclick(item);
}

void do_dc_constructcmd(int item) {
    if (!constDPtr) handle_palette_menu(palette_construct);
    if (constDPtr) construct_doubleclick(item);
}

void do_dc_dimensioncmd(int item) {
    if (!dimDPtr) handle_palette_menu(palette_dimension);
    if (dimDPtr) dimension_doubleclick(item);
}

void do_dc_windowcmd(int n) {
    if (graphwasinit && plat::window_visible(whichdrawWindow())) window_doubleclick(n);
}

void dim_menuoptions() { set_undoredo(); }

void stuff_macch(char* ch) {
    if (!ch) return;
    ring_put(static_cast<unsigned char>(*ch));
    *ch = 0;
}

int command_takes_undo() {
    // TODO(constnum) also while a construction (constnum 2-8) or dimension (dimnum 2-5) command runs
    if (getidle() || ((addnum < 4 || addnum > 13) && !insymbsingle)) return 0;
    char u = 'U';
    stuff_macch(&u);
    return 1;
}

int osch_ready() { return charcount != nextchar ? 1 : 0; }

int get_osch(int flag) {
    const int ch = chars[nextchar & (ring_size - 1)];
    ++nextchar;
    if (flag) nextchar = static_cast<std::int16_t>(nextchar % ring_size);
    return ch;
}

void openkeyboard() {
    charcount = 0;
    nextchar = 0;
    for (auto& c : chars) c = 0;
}

}  // namespace drav
