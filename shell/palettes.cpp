#include "shell/palettes.h"

#include "base/idle.h"
#include "base/menu_items.h"
#include "platform/ui/menus.h"
#include "shell/coordinate_palette.h"
#include "shell/input_window.h"
#include "shell/construct_palette.h"
#include "shell/dimension_palette.h"
#include "shell/message_palette.h"
#include "shell/multi_line_palette.h"
#include "shell/preferences.h"
#include "shell/restraints_palette.h"
#include "shell/select_accept.h"
#include "shell/startup.h"
#include "shell/tool_palette.h"
#include "display/screen.h"
#include "store/files.h"

namespace drav {

void doevent(plat::Dialog* dialog, int item) {
    if (watchon || !dialog) return;
    if (dialog == addDPtr) {
        if (item == plat::close_box_item)
            handle_palette_menu(palette_tools);
        else
            dopalette(item);
    } else if (dialog == mlinDPtr) {
        if (item == plat::close_box_item)
            sett_mlin();
        else
            domlin(item);
    } else if (dialog == coorDPtr) {
        if (item == plat::close_box_item)
            sett_coordial();
        else
            docoordial(item);
    } else if (dialog == windInput) {
        if (item == plat::close_box_item)
            InputCloseEventHandlerProc();
        else
            doinput();
    } else if (dialog == constDPtr) {
        if (item == plat::close_box_item)
            sett_construct();
        else
            doconstruct(item);
    } else if (dialog == dimDPtr) {
        if (item == plat::close_box_item)
            sett_dimension();
        else
            dodimension(item);
    } else if (dialog == locDPtr) {
        if (item == plat::close_box_item)
            sett_restraints();
        else
            dorestraints(item);
    }
}

void handle_palette_menu(int n) {
    switch (n) {
    case palette_tools:
        sett_palette();
        break;
    case palette_messages:
        ToggleMessageWindow();
        break;
    case palette_coordinates:
        sett_coordial();
        break;
    case palette_construct:
        sett_construct();
        break;
    case palette_dimension:
        sett_dimension();
        break;
    case palette_restraints:
        sett_restraints();
        break;
    case palette_library:
        sett_lib();
        break;
    // TODO(sett_htch) 13
    default:
        break;
    }
}

void sett_lib() {
    plat::Window* w = whichsymbWindow();
    if (!w) return;
    if (plat::window_visible(w)) {
        plat::hide_window(w);
        MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLlb"));
    } else {
        plat::show_window(w);
        plat::select_window(w);
        MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLlb"));
    }
}

bool palette_open(int n) {
    if (n == palette_library) return whichsymbWindow() && plat::window_visible(whichsymbWindow());
    return (n == palette_tools && addDPtr) || (n == palette_coordinates && coorDPtr) ||
           (n == palette_restraints && locDPtr) ||
           (n == palette_construct && constDPtr) || (n == palette_dimension && dimDPtr);
}

namespace {

// The construct and dimension palettes: visibility, place and lower-right corner.
void save_command_palette_places(PrefsRec* prefs) {
    struct Entry {
        plat::Dialog* dialog;
        int place;
        std::int16_t PrefsRec::*visible;
        plat::Point PrefsRec::*pos;
        plat::Point PrefsRec::*lower_right;
    };
    const Entry entries[] = {
        {constDPtr, construct_palette_pos, &PrefsRec::const_visible, &PrefsRec::const_pos, &PrefsRec::const_pos_lr},
        {dimDPtr, dimension_palette_pos, &PrefsRec::dim_visible, &PrefsRec::dim_pos, &PrefsRec::dim_pos_lr}};
    for (const Entry& e : entries) {
        prefs->*e.visible = e.dialog ? 1 : 0;
        if (e.dialog) {
            const plat::Rect b = plat::dialog_bounds(e.dialog);
            lastpnt[e.place] = plat::Point{b.top, b.left};
            prefs->*e.lower_right = plat::Point{b.bottom, b.right};
        }
        prefs->*e.pos = lastpnt[e.place];
    }
    if (constDPtr) sett_construct();
    if (dimDPtr) sett_dimension();
}

}  // namespace

void save_palette_places() {
    PrefsRec prefs{};
    getprefs(&prefs);
    prefs.add_visible = addDPtr ? 1 : 0;
    if (addDPtr) {
        const plat::Rect b = plat::dialog_bounds(addDPtr);
        lastpnt[2] = plat::Point{b.top, b.left};
        prefs.add_pos_lr = plat::Point{b.bottom, b.right};
    }
    prefs.add_pos = lastpnt[2];
    prefs.coord_visible = coorDPtr ? 1 : 0;
    if (coorDPtr) {
        const plat::Rect b = plat::dialog_bounds(coorDPtr);
        lastpnt[coord_palette_pos] = plat::Point{b.top, b.left};
        prefs.coord_pos_lr = plat::Point{b.bottom, b.right};
    }
    prefs.coord_pos = lastpnt[coord_palette_pos];
    save_command_palette_places(&prefs);
    if (mlinDPtr) sett_mlin();
    prefs.loc_visible = locDPtr ? 1 : 0;
    if (locDPtr) sett_restraints();
    prefs.loc_pos = lastpnt[restraints_palette_pos];
    prefs.multi_pos = lastpnt[mlin_palette_pos];
    if (windAccept) SelectAcceptWindow(0);
    if (windAddRemove) AddRemoveWindow(0);
    prefs.wind_pos_select_accept = lastpnt[9];
    prefs.wind_pos_add_remove = lastpnt[11];
    putprefs(&prefs);
    if (addDPtr) sett_palette();
}

}  // namespace drav
