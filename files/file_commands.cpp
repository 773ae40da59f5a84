#include "files/file_commands.h"

#include <cstring>
#include <filesystem>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "base/questions.h"
#include "base/shutdown.h"
#include "base/window_areas.h"
#include "dialogs/dialog_helpers.h"
#include "display/list_view.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "display/selection_display.h"
#include "display/view_commands.h"
#include "extension/api/custom_event.h"
#include "files/drawing_reader.h"
#include "files/drawing_writer.h"
#include "files/file_dialogs.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/windows.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/object_snap.h"
#include "store/object_walk.h"
#include "store/pc_convert.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/undo.h"
#include "store/workfile.h"

namespace drav {

std::uint16_t document_exist = 1;
std::uint32_t last_save_time = 0;
std::uint16_t current_format = format_native;

namespace {

constexpr int question_save_changes = 1, question_quit_unsaved = 8;
constexpr std::uint32_t cmd_ok = 0x6F6B2020;  // 'ok  '
constexpr std::uint16_t grid_visible_bit = 0x0004;

bool untitled(const char* name) {
    char text[256];
    GetMyLocalCString(text, tbl_names, 1);
    return std::strcmp(name, text) == 0;
}

void set_title(const char* roman) {
    if (whichdrawWindow()) plat::set_window_title(whichdrawWindow(), plat::macroman_to_utf8(roman));
}

// The drawing window in use again, in front (New and Open).
void show_document() {
    if (whichdrawWindow()) plat::show_window(whichdrawWindow());
    MyEnableMenuItem(kMyEditMenu, four_cc("past"));
}

bool PauseEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command != cmd_ok) return false;
    plat::dispose_dialog(window);
    return true;
}

}  // namespace

void zero_area(std::int16_t first, std::int16_t last) {
    for (int n = first; n <= last; ++n) {
        get_info(static_cast<std::int16_t>(n));
        zero_info(info);
        modified = 1;
    }
}

void zeroworkfile() {
    nomore_info();
    keep_workfile = 0;
    // TODO(picks) coor_number = pick_number = 1 and the hatch pick table zeroed, once hatching exists
    props_defs.group = 1;
    users_defs.hatch_number = 1;
    misc_defs.user_origin_x = 0;
    misc_defs.user_origin_y = 0;
    clear_object_snap();
    total_dwg_time = 0;
    current_dwg_time = abstime();
    last_save_time = static_cast<std::uint32_t>(current_dwg_time);
    clear_on_screen();
    clear_group();
    number_of_objects = first_object_slot;
    zero_area(0, first_object_slot);
    nomore_info();
    prev_index = -1;
    FSRef_CloseMyFile(&worklibRefNum);
    FSRef_init_library(worklibFSRef, 0, ctrlsize, 0);
    FSRef_OpenMyFileWithPermission(worklibFSRef, fsRdWrPerm, &worklibRefNum);
    for (std::int16_t& m : cachemap) m = -1;  // nothing cached is in the new work library
    write_sav_rec();
}

void new_workfile() {
    stop_symbolscan();
    custom_event(16, 0, 0, 0, "", nullptr);
    zeroworkfile();
    if (graphwasinit && drawCWindow) {
        get_base_window();
        drawing_area_valid(0);
    } else {
        changezoomlimits();
    }
    GetMyLocalCString(current_drawing.name, tbl_names, 1);
    current_drawing.ref = FSRef{};
    current_drawing.vref = 0;
    current_drawing.dirid = 0;
    current_format = format_native;
    set_title(current_drawing.name);
    start_symbolscan();
    quit = 1;
    write_sav_rec();
    checkpht();
    nullohp();
    nullghp();
    objdeleted = 0;
    closesegs();
    didsomething = 0;
    needtosave = 0;
    custom_event(17, 0, 0, 0, "", nullptr);
}

void want_exit(char* answer) {
    aborted = 0;
    *answer = 'Y';
    if (number_of_objects == first_object_slot || !didsomething) return;
    if (keep_workfile) {
        if (ask_yes_cancel(tbl_alerts, question_quit_unsaved) != reply_yes) *answer = 0;
        return;
    }
    switch (ask_yes_no_cancel(tbl_alerts, question_save_changes)) {
    case reply_yes:
        filer(4);
        if (aborted) *answer = 0;
        aborted = 0;
        break;
    case reply_no:
        break;
    default:
        *answer = 0;
        break;
    }
}

int closedraw() {
    const std::uint16_t grid = swaper & grid_visible_bit;
    int result = 0;
    bool go_on = true;
    if (number_of_objects != first_object_slot) {
        const std::int16_t reply = didsomething ? ask_yes_no_cancel(tbl_alerts, question_save_changes) : reply_no;
        if (reply == reply_yes) {
            result = saveas();
            swaper &= static_cast<std::uint16_t>(~grid_visible_bit);
            if (!result || aborted) go_on = false;
            else new_workfile();
        } else if (reply == reply_no) {
            result = 1;
            swaper &= static_cast<std::uint16_t>(~grid_visible_bit);
            new_workfile();
        } else {
            go_on = false;
        }
        if (aborted) go_on = false;
        aborted = 0;
    }
    if (go_on) {
        // The menu bar lives in the drawing window: it stays, with an empty
        // untitled drawing, so New and Open can still be chosen.
        if (!untitled(current_drawing.name)) new_workfile();
        document_exist = 0;
        nullohp();
        nullghp();
        didsomething = 0;
    }
    swaper = static_cast<std::uint16_t>((swaper & ~grid_visible_bit) | grid);
    loop_clip_to_front();
    quit = 1;
    if (go_on) closesegs();
    return result;
}

int saveas() {
    watch_on();
    int result = 0;
    if (untitled(current_drawing.name) || !current_drawing.ref.valid()) {
        result = saveas_dialog();
    } else {
        savegroup = 0;
        dosfile = current_format == format_pc ? 1 : 0;
        FSRef folder{current_drawing.ref.path.parent_path()};
        // The file's own name: the drawing's name may be a shortened copy.
        std::string roman;
        plat::utf8_to_macroman(current_drawing.ref.path.filename().string(), roman);
        FSRef file;
        result = save(folder, roman.c_str(), &file);
        dosfile = 0;
    }
    watch_off();
    return result;
}

int saveas_dialog() {
    FSRef folder;
    std::int16_t vref = current_drawing.vref;
    std::int32_t dir = current_drawing.dirid;
    char name[file_name_bytes] = {};
    std::memcpy(name, current_drawing.name, sizeof current_drawing.name);
    int choice = 1, format = 0;
    if (!savedrawing_dialog(&folder, &vref, &dir, name, &choice, &format)) return 0;
    watch_on();
    dosfile = format == format_pc ? 1 : 0;
    savegroup = choice == 2 ? 1 : 0;
    FSRef file;
    const int ok = save(folder, name, &file);
    if (ok && !savegroup) {
        closesegs();
        current_drawing.vref = vref;
        current_drawing.dirid = dir;
        strnncpy(current_drawing.name, name, static_cast<int>(sizeof current_drawing.name) - 1);
        current_drawing.ref = file;
        current_format = static_cast<std::uint16_t>(format == format_pc ? format_pc : format_native);
        set_title(current_drawing.name);
        opensegs(current_drawing.ref, vref, dir, current_drawing.name);
    }
    dosfile = 0;
    savegroup = 0;
    watch_off();
    return ok;
}

void fil_open_dialog(int merge) {
    int mode = merge ? 2 : 0, format = 0, withplot = 0;
    FSRef ref;
    std::int16_t vref = 0;
    std::int32_t dir = 0;
    char name[file_name_bytes] = {};
    if (!opendrawing_dialog(&ref, &vref, &dir, name, &format, &mode, &withplot)) return;
    open_or_merge_drawing(ref, vref, dir, name, format, merge ? mode : 0, withplot);
}

void filer(int n) {
    switch (n) {
    case 1: {
        show_document();
        char answer = 'Y';
        want_exit(&answer);
        if (answer == 'Y') {
            document_exist = 1;
            new_workfile();
            if (macgroup) loop_tool_click(3);
        }
        break;
    }
    case 2:
        show_document();
        fil_open_dialog(0);
        // TODO(UpdatePropsWindow)
        break;
    case 3:
        closedraw();
        break;
    case 4:
        if (!saveas()) aborted = 1;
        break;
    case 5:
        saveas_dialog();
        break;
    case 6:
        show_document();
        fil_open_dialog(1);
        // TODO(UpdatePropsWindow)
        break;
    default:
        break;
    }
    quit = 1;
    reset_undo();
}

void pause_drawing() {
    const std::int32_t start = abstime();
    DialogPtr window = nullptr;
    if (CreateNibWindow("drav", "Pause", &window) == 0) {
        dialog_cursor();
        center_the_dialog(window);
        plat::show_dialog(window);
        RunAppModalLoopForWindow(window, PauseEventHandlerProc);
        if (plat::dialog_alive(window)) plat::dispose_dialog(window);
        total_dwg_time -= static_cast<std::uint32_t>(deltatime(start));
    }
    write_sav_rec();
}

}  // namespace drav
