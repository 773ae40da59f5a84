#include "shell/construct_palette.h"

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/tool_setting_windows.h"
#include "display/selection_display.h"
#include "platform/ui/windows.h"
#include "shell/event_pump.h"
#include "shell/startup.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/record_ops.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

plat::Dialog* constDPtr = nullptr;
std::int16_t constnum = 0;
std::uint16_t inconbreak = 0;
PaletteCommand construct_commands[last_construct + 1] = {};

namespace {

bool valid_item(int item) { return item >= first_construct && item <= last_construct; }

ToolIcon g_icons[last_construct + 1];
bool g_icons_loaded = false;

void fill_construct(plat::Dialog* dialog, int item) {
    if (!dialog || dialog != constDPtr || !valid_item(item)) return;
    if (!g_icons_loaded) {
        g_icons_loaded = true;
        for (int i = first_construct; i <= last_construct; ++i) g_icons[i] = load_palette_icon("construct", i, 1);
    }
    draw_icon_square(dialog, item, g_icons[item]);
    if (item == constnum) invert_item(dialog, item);
}

void redraw_construct_palette() { redraw_palette(constDPtr); }

int run_option_dialog(int item) {
    switch (item) {
    case 2: return extsetup();
    case 3: return breaksetup();
    case 4: return fillsetup();
    case 5: return chamsetup();
    case 6: return normalsetup();
    case 7: return parallelsetup();
    case 8: return ShowTangentSettingsWindow();
    case 9: return isosetup();
    default: return 1;  // no dialog counts as OK
    }
}

}  // namespace

bool construct_built(int item) { return valid_item(item) && construct_commands[item] != nullptr; }

void redraw_palette(plat::Dialog* dialog) {
    if (!dialog) return;
    const plat::Port* port = plat::dialog_port(dialog);
    plat::invalidate_dialog_rect(dialog, plat::Rect{0, 0, static_cast<std::int16_t>(port->height()),
                                                    static_cast<std::int16_t>(port->width())});
    plat::draw_dialog(dialog);
}

void toggle_command_palette(const CommandPalette& p) {
    plat::Dialog*& d = *p.dialog;
    if (d) {
        const plat::Rect b = plat::dialog_bounds(d);
        lastpnt[p.place] = plat::Point{b.top, b.left};
        MyUncheckMenuCommand(kMyPaletteMenu, p.menu);
        ourdisposdialog1(d);
        d = nullptr;
        return;
    }
    std::string error;
    d = plat::new_dialog(p.resource, &error);
    if (!d) return;
    MyCheckMenuCommand(kMyPaletteMenu, p.menu);
    const plat::Point saved = lastpnt[p.place];
    if (saved.v == 0) {
        // The bottom-left corner of the screen.
        const plat::Rect screen = plat::screen_bounds();
        const plat::Rect b = plat::dialog_bounds(d);
        plat::move_dialog(d, screen.left + p.default_left, screen.bottom - (b.bottom - b.top) - 3);
    } else {
        plat::move_dialog(d, saved.h, saved.v);
    }
    for (int i = p.first; i <= p.last; ++i) {
        plat::DItem* it = plat::dialog_item(d, i);
        plat::set_item_hilite(it, p.built(i) ? 0 : 255);
        plat::set_draw_proc(it, p.draw);
    }
    plat::show_dialog(d);
}

void sett_construct() {
    toggle_command_palette(CommandPalette{&constDPtr, construct_palette_id, construct_palette_pos, four_cc("PLcs"),
                                          first_construct, last_construct, 23, construct_built, fill_construct});
}

void doconstruct(int item) {
    if (!valid_item(item)) return;
    if (isdoubleclick()) {
        construct_doubleclick(item);
        return;
    }
    if (!construct_built(item)) return;
    if (!postpone_event(pp_construct, static_cast<std::int16_t>(item))) construct_singleclick(item);
}

namespace {

void show_selection(std::int16_t on) {
    if (macgroup)
        showgroup(on);
    else
        showonoff(indx, on);
}

}  // namespace

void construct_singleclick(int item) {
    if (!construct_built(item)) return;
    constnum = static_cast<std::int16_t>(item);
    quit = accepted = aborted = 0;
    redraw_tool_palette();
    redraw_construct_palette();
    // The command's own undo key is reached from the menu while it runs.
    reset_undo();
    enable_undoredo(1);
    if (item != construct_iso) show_selection(0);
    if (item == construct_break) inconbreak = 1;
    construct_commands[item](item - 1);
    inconbreak = 0;
    show_selection(1);
    constnum = 0;
    redraw_construct_palette();
    redraw_tool_palette();
}

void construct_doubleclick(int item) {
    const std::int16_t saved = constnum;
    quit = accepted = aborted = 0;
    constnum = static_cast<std::int16_t>(item);
    redraw_construct_palette();
    const bool cancelled = run_option_dialog(item) == 0;
    aborted = 0;
    constnum = saved;
    redraw_construct_palette();
    // OK while the same command runs only changes its options.
    if (cancelled || saved == item || !construct_built(item)) return;
    if (!postpone_event(pp_construct, static_cast<std::int16_t>(item))) construct_singleclick(item);
}

}  // namespace drav
