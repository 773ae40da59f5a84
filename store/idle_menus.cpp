#include "store/idle_menus.h"

#include "base/idle.h"
#include "base/menu_items.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/selection_state.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

namespace {

// The Edit items that act on a selection.
constexpr std::uint32_t selection_items[] = {four_cc("cut "), four_cc("copy"), four_cc("clea"),
                                             four_cc("OBpp"), four_cc("OBgm"), four_cc("OBhn"),
                                             four_cc("OBpv"), four_cc("OBdp")};

}  // namespace

void follow_idle(int state) {
    const bool selection = macgroup ? objs_in_grp != 0 : there_are_objects() != 0;
    // With nothing drawn there is nothing to undo, unless the remembered
    // operation is what took the last object away: its Undo brings it back.
    if (idle == 1 && !there_are_objects() && !undo_item_enabled())
        reset_undo();
    else
        set_undoredo();
    if (state) {
        idle = 1;
        if (macgroup ? grpdelok != 0 : objdeleted != 0) MyEnableMenuItem(kMyEditMenu, four_cc("OBud"));
        if (there_are_objects()) {
            MyEnableMenuItem(kMyEditMenu, four_cc("sall"));
            MyEnableMenuItem(kMyPaletteMenu, four_cc("PLht"));
        }
        // TODO(htchDPtr) the hatch palette's items 2-6 follow, and its window shows again
    } else {
        idle = 0;
        MyDisableMenuItem(kMyEditMenu, four_cc("OBud"));
        MyDisableMenuItem(kMyPaletteMenu, four_cc("PLht"));
        MyDisableMenuItem(kMyEditMenu, four_cc("sall"));
        // TODO(htchDPtr) an open hatch palette with no hatch under way hides
    }
    if (idle == 0 || !selection) {
        for (std::uint32_t code : selection_items) MyDisableMenuItem(kMyEditMenu, code);
        // 'OBrt' stays enabled while a symbol is being placed.
        if (!insymbsingle) MyDisableMenuItem(kMyEditMenu, four_cc("OBrt"));
        // TODO(propDPtr) item 26 of the properties palette is disabled
    } else {
        for (std::uint32_t code : selection_items) MyEnableMenuItem(kMyEditMenu, code);
        MyEnableMenuItem(kMyEditMenu, four_cc("OBrt"));
        // TODO(propDPtr) item 26 of the properties palette is enabled when objects are drawn
    }
}

}  // namespace drav
