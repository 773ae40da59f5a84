#include "shell/select_accept.h"

#include "base/command_loop.h"
#include "base/idle.h"
#include "dialogs/dialog_helpers.h"
#include "display/graphics_unit.h"
#include "shell/dispatch.h"
#include "shell/loop_helpers.h"
#include "shell/menu_handler.h"
#include "shell/startup.h"
#include "store/files.h"

namespace drav {

plat::Dialog* windAccept = nullptr;
plat::Dialog* windAddRemove = nullptr;

namespace {

// Places in lastpnt.
constexpr int accept_pos = 9, add_remove_pos = 11;

int open_window(const char* name, plat::Dialog** global, int pos) {
    plat::Dialog* w = nullptr;
    const int status = CreateNibWindow("construct", name, &w);
    if (status != 0) return status;
    *global = w;
    if (lastpnt[pos].v != 0) plat::move_dialog(w, lastpnt[pos].h, lastpnt[pos].v);
    plat::show_dialog(w);
    return 0;
}

void close_window(plat::Dialog** global, int pos) {
    const plat::Rect b = plat::dialog_bounds(*global);
    lastpnt[pos] = plat::Point{b.top, b.left};
    plat::dispose_dialog(*global);
    *global = nullptr;
}

}  // namespace

int SelectAndAcceptDialog(const char* name) { return open_window(name, &windAccept, accept_pos); }

int AddRemoveDialog(const char* name) { return open_window(name, &windAddRemove, add_remove_pos); }

void SelectAcceptWindow(int flag) {
    if (!windAccept)
        SelectAndAcceptDialog(flag ? "SelectAcceptDone" : "SelectAccept");
    else
        close_window(&windAccept, accept_pos);
}

void AddRemoveWindow(int flag) {
    if (!windAddRemove) {
        watch_off();
        cur_go();  // the symbol detail editor waits for clicks in the drawing
        AddRemoveDialog(flag ? "AddRemoveDone" : "AddRemove");
    } else {
        close_window(&windAddRemove, add_remove_pos);
        cur_stop();
    }
}

namespace {
// The button's key goes to the running command's keystroke ring.
int give_key(char key) {
    stuff_macch(&key);
    return 0;
}
}  // namespace

int SelectAndAcceptEventHandlerProc(const plat::EventRecord& event) {
    if (event.what != plat::app1Evt) return eventNotHandledErr;
    switch (event.message) {
    case four_cc("Prev"):
        return give_key('<');
    case four_cc("Next"):
        return give_key('>');
    case four_cc("Acpt"):
    case four_cc("Addb"):
        // The choice is taken as a click at the cursor.
        button_pressed();
        return 0;
    case four_cc("Remv"):
        return give_key('n');
    case four_cc("ok  "):
        give_key('D');
        return 0;
    case four_cc("not!"):
        aborted = 1;
        return 0;
    default:
        return eventNotHandledErr;
    }
}

}  // namespace drav
