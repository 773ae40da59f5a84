#include "files/library_command.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/questions.h"
#include "dialogs/dialog_helpers.h"
#include "dialogs/edit_fields.h"
#include "dialogs/library_windows.h"
#include "files/catalog_overlay.h"
#include "display/screen.h"
#include "platform/core/forks.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/file_dialogs.h"
#include "store/current_drawing.h"
#include "store/library_file.h"
#include "store/strings.h"
#include "store/symbol_library.h"

namespace drav {

namespace {

constexpr int ask_crunch = 11;
constexpr int err_library_open = 120;
constexpr int str_choose_library = 61;  // table 410
constexpr std::uint32_t sig_check = 0x6368636B;  // 'chck'
constexpr std::int32_t ctl_catalog = 101;

}  // namespace

bool NavLibOpenFilterProc(const FSRef& ref) {
    if (plat::is_folder(ref)) return true;
    std::uint32_t type = 0, creator = 0;
    return plat::file_exists(ref) && plat::get_type_creator(ref, &type, &creator) == plat::noErr &&
           type == four_cc("2DL ") && creator == four_cc("DRAV");
}

int openlib_dialog(FSRef* ref, std::int16_t* vref, std::int32_t* dir, char* name, int custom, int* checkbox) {
    dialog_cursor();
    plat::FileDialogRequest request;
    request.title = GetMyLocalCFString(tbl_names, str_choose_library);
    if (current_lib.ref.valid()) request.folder = current_lib.ref.path.parent_path();
    request.filter = [](const std::filesystem::path& p) { return NavLibOpenFilterProc(FSRef{p}); };
    DialogPtr area = nullptr;
    if (custom) {
        std::string error;
        area = plat::new_nib_window("Menu", "LibraryOpen", &error);
        if (!area) std::printf("HIViewFindByID returned %s\n", error.c_str());
    }
    request.options = area;
    const plat::FileDialogReply reply = plat::run_file_dialog(request);
    int result = 0;
    std::string roman;
    if (reply.accepted && NavLibOpenFilterProc(FSRef{reply.file}) && !plat::is_folder(FSRef{reply.file}) &&
        plat::utf8_to_macroman(reply.file.filename().string(), roman) && !roman.empty() &&
        roman.size() < file_name_bytes) {
        ref->path = std::filesystem::absolute(reply.file);
        std::memcpy(name, roman.c_str(), roman.size() + 1);
        *vref = plat::the_volume;
        *dir = plat::folder_id(ref->path.parent_path());
        if (custom && checkbox) *checkbox = area ? plat::item_value(GrabCRef(area, sig_check, ctl_catalog)) == 1 : 0;
        result = 1;
    } else {
        aborted = 1;
    }
    if (area) plat::dispose_dialog(area);
    return result;
}

void crunch_library() {
    if (!open_default_library(2)) return;
    clear_watch();
    if (ask_yes_cancel(tbl_alerts, ask_crunch) != reply_yes) return;
    LibHeader head;
    if (!read_lib_header(currentlibRefNum, &head)) return;
    // The users table covers every slot of this library, not the work library's count.
    if (!open_symbusers(head.maxctrls)) return;
    lib_crunch(currentlibRefNum);
    close_symbusers();
}

void library(int choice) {
    const std::uint16_t was_idle = getidle();
    setidle(0);
    quit = aborted = 0;
    switch (choice) {
    case 1: {
        FSRef folder, made;
        char name[256] = {};
        std::int16_t count = 0, rows = 0, cols = 0;
        if (LibraryNewWindow(&folder, name, &count, &rows, &cols)) {
            // Without a folder and a name there is no file: said once, and the
            // current library stays current.
            if (!make_library(folder, name, count, &made)) {
                show_error(err_library_open, 0);
                break;
            }
            set_libsize(made, rows, cols);
            open_library(made, 0, 0, name);
        }
        break;
    }
    case 2: {
        plat::PortSaver saver(whichdrawPort());
        const FileRefRec remembered = current_lib;
        FSRef ref;
        std::int16_t vref = 0;
        std::int32_t dir = 0;
        char name[file_name_bytes] = {};
        int catalog = 0;
        if (openlib_dialog(&ref, &vref, &dir, name, 1, &catalog)) {
            char cut[sizeof current_lib.name];
            strnncpy(cut, name, sizeof cut - 1);
            makelibactive(ref, cut);
            if (catalog) lib_overlay();
            if (!quit && !aborted)
                open_library(ref, vref, dir, cut);
            else
                makelibactive(remembered.ref, remembered.name);
        }
        break;
    }
    case 3:
        crunch_library();
        break;
    default:
        break;
    }
    setidle(was_idle);
}

}  // namespace drav
