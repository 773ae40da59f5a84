#include "shell/dispatch.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "dialogs/dialog_helpers.h"
#include "display/clipboard_window.h"
#include "display/graphics_unit.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "shell/blink.h"
#include "shell/event_pump.h"
#include "shell/key_equivalents.h"
#include "shell/loop_helpers.h"
#include "shell/message_palette.h"
#include "shell/palettes.h"
#include "shell/pointer_input.h"
#include "shell/restraints_palette.h"
#include "shell/tool_palette.h"
#include "shell/window_layers.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/strings.h"
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
    // TODO(erasemarquee) the drawing window's marquee stops
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
        // TODO(zoomdrawing) between cur_stop and cur_go
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
        // TODO(handle_symbol_content)
    } else if (window == clipCWindow) {
        // TODO(handle_clip_content)
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
        // TODO(get_biofrect) a click in the window-button strip runs dowindow(h / 15 + 1)
        // The scroll bars are controls of their own and track themselves.
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
    // TODO(handRect) a press on the handle or pivot marker drags it (hp_drag)
    // TODO(find_object) pick at (last_x, last_y): a marquee on empty space or a locked level, else the object
    // becomes current (shift: group membership), event 5 to the modules, and a held press moves it
}

void nomore_window(plat::Window* window) {
    blink_off();
    if (!window) return;
    if (window == windMessage) {
        MesssageCloseEventHandlerProc();
    } else if (graphwasinit && window == whichdrawWindow()) {
        // the drawing window stays
    } else if (window == clipCWindow) {
        closeclip();
    } else if (isAPIPallette(window)) {
        const auto ref = reinterpret_cast<std::uintptr_t>(window);
        custom_event(12, static_cast<std::int16_t>(ref >> 16), static_cast<std::int16_t>(ref), 0, "", nullptr);
        if (firstDocument()) SelectDocument(firstDocument());
    } else {
        // TODO(sett_lib) the coordinates, restraints, construct, dimension, hatch and library palettes toggle off as they come
    }
    updatewindows();
}

void closeclip() {
    if (!clipCWindow) return;
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
            // TODO(modify_objects) delete the current object (7), or the group in group mode (group(7))
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
        // TODO(do_del)
    } else if (i == 45) {
        // TODO(do_chome)
    } else if (i == 46) {
        // TODO(do_cright)
    } else if (i == 47) {
        // TODO(do_cleft)
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
    (void)item;
    // TODO(doconstruct) open the construct palette (6), then doevent(constDPtr, item)
}

void do_dimensioncmd(int item) {
    (void)item;
    // TODO(dodimension) open the dimension palette (7), then doevent(dimDPtr, item)
}

void do_windowcmd(int n) {
    (void)n;
    if (graphwasinit && plat::window_visible(whichdrawWindow())) {
        // TODO(window_singleclick)
    }
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
    (void)item;
    // TODO(construct_doubleclick) after opening the construct palette
}

void do_dc_dimensioncmd(int item) {
    (void)item;
    // TODO(dimension_doubleclick) after opening the dimension palette
}

void do_dc_windowcmd(int n) {
    (void)n;
    if (graphwasinit && plat::window_visible(whichdrawWindow())) {
        // TODO(window_doubleclick)
    }
}

void dim_menuoptions() { set_undoredo(); }

void stuff_macch(char* ch) {
    if (!ch) return;
    ring_put(static_cast<unsigned char>(*ch));
    *ch = 0;
}

int command_takes_undo() {
    // TODO(addnum) while a drawing (addnum 4-13), construction (constnum 2-8) or dimension
    // (dimnum 2-5) command or a single symbol placement runs, 'U' goes to it through stuff_macch
    return 0;
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
