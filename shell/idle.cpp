#include "shell/idle.h"

#include "display/graphics_unit.h"
#include "platform/ui/cursors.h"
#include "shell/menu_items.h"
#include "store/files.h"
#include "store/levels.h"
#include "store/symbol_library.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

std::uint16_t idle = 0;
std::uint16_t watchon = 0;
std::int16_t watch_counter = 0;
std::int16_t MacCursorShowing = 1;

namespace {

// The Edit items that act on a selection.
constexpr std::uint32_t selection_items[] = {four_cc("cut "), four_cc("copy"), four_cc("clea"),
                                             four_cc("OBpp"), four_cc("OBgm"), four_cc("OBhn"),
                                             four_cc("OBpv"), four_cc("OBdp")};

}  // namespace

void show_system_cursor() {
    if (MacCursorShowing == 0) {
        plat::show_cursor(true);
        MacCursorShowing = 1;
        cur_stop();
    }
}

std::uint16_t getidle() { return idle; }

void setidle(int state) {
    const bool selection = macgroup ? objs_in_grp != 0 : there_are_objects() != 0;
    if (idle == 1 && !there_are_objects())
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
        // TODO(insymbsingle) 'OBrt' stays enabled while a symbol is being placed
        MyDisableMenuItem(kMyEditMenu, four_cc("OBrt"));
        // TODO(propDPtr) item 26 of the properties palette is disabled
    } else {
        for (std::uint32_t code : selection_items) MyEnableMenuItem(kMyEditMenu, code);
        MyEnableMenuItem(kMyEditMenu, four_cc("OBrt"));
        // TODO(propDPtr) item 26 of the properties palette is enabled when objects are drawn
    }
}

int levelok(const ObjectRec& record) {
    if (obj_kind(record) == ok_symbol && record.b[obj::level] == 0) {
        // A symbol on level 0 is editable when any of its pieces is.
        std::int16_t first = 0, count = 0;
        if (!ctrl_run(rec_i16(record, sym::ctrl), &first, &count)) return 0;
        for (std::int16_t i = 0; i < count; ++i) {
            ObjectRec piece;
            if (get_symbol(first, i, piece) && rec_kind(piece) == rk_object && LevelEditable(piece.b[obj::level]))
                return 1;
        }
        return 0;
    }
    return LevelEditable(record.b[obj::level]);
}

int okindx(std::int16_t* index) {
    int answer = 0;
    if (there_are_objects()) {
        std::int16_t n = *index;
        if (n < first_object_slot || n >= number_of_objects || !o_k(n)) n = static_cast<std::int16_t>(last_valid_indx());
        if (n >= first_object_slot && n < number_of_objects) {
            *index = n;
            get_info(n);
            if (is_live_object(info) && levelok(info)) {
                answer = 1;
            } else {
                // Onward, wrapping to the first object, until back where it started.
                std::int16_t c = n;
                for (;;) {
                    c = static_cast<std::int16_t>(c + 1 >= number_of_objects ? first_object_slot : c + 1);
                    if (c == n) break;
                    get_info(c);
                    if (is_live_object(info) && levelok(info)) {
                        *index = c;
                        answer = 1;
                        break;
                    }
                }
            }
        }
    }
    if (*index < first_object_slot || *index >= number_of_objects) *index = first_object_slot;
    if (answer) get_info(*index);
    return answer;
}

void checkpht() {
    if (macgroup) {
        // TODO(set_group_limits) recount the selection group
    }
}

void watch_on() {
    watchon = 1;
    show_system_cursor();
    ++watch_counter;
    plat::set_cursor(plat::Cursor::watch);
}

void watch_off() {
    if (--watch_counter <= 0) {
        watch_counter = 0;
        watchon = 0;
        plat::set_cursor(plat::Cursor::arrow);
    }
    show_system_cursor();
}

void clear_watch() {
    watchon = 0;
    watch_counter = 0;
    plat::set_cursor(plat::Cursor::arrow);
    show_system_cursor();
}

int default_objcolor() { return 255; }

}  // namespace drav
