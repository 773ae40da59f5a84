#include "shell/palettes.h"

#include "base/idle.h"
#include "base/menu_items.h"
#include "platform/ui/menus.h"
#include "shell/message_palette.h"
#include "shell/multi_line_palette.h"
#include "shell/preferences.h"
#include "shell/restraints_palette.h"
#include "shell/select_accept.h"
#include "shell/startup.h"
#include "shell/tool_palette.h"
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
    } else if (dialog == locDPtr) {
        if (item == plat::close_box_item)
            sett_restraints();
        else
            dorestraints(item);
    }
    // TODO(doinput) TODO(doconstruct) TODO(dodimension) TODO(docoordial)
}

void handle_palette_menu(int n) {
    switch (n) {
    case palette_tools:
        sett_palette();
        break;
    case palette_messages:
        ToggleMessageWindow();
        break;
    case palette_restraints:
        sett_restraints();
        break;
    // TODO(sett_coordial) 3, TODO(sett_construct) 6,
    // TODO(sett_dimension) 7, TODO(sett_lib) 12, TODO(sett_htch) 13
    default:
        break;
    }
}

bool palette_open(int n) {
    return (n == palette_tools && addDPtr != nullptr) || (n == palette_restraints && locDPtr != nullptr);
}

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
