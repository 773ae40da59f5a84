#include "dialogs/library_windows.h"

#include <cstring>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/loop_services.h"
#include "base/messages.h"
#include "dialogs/edit_fields.h"
#include "dialogs/settings_window.h"
#include "files/symbol_editing.h"
#include "platform/core/text.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/file_dialogs.h"
#include "store/library_file.h"
#include "store/record_store.h"
#include "store/strings.h"
#include "store/symbol_library.h"

namespace drav {

FSRef libFolderFSRef;
char libName[256] = {};
std::int16_t libSymbolCount = 0, libRows = 0, libCols = 0;
std::uint16_t libOK = 0;

namespace {

constexpr int fld_name = 3, txt_folder = 4, fld_count = 5, fld_rows = 6, fld_cols = 7;
constexpr std::uint32_t cmd_folder = 0x666F6C64;  // 'fold'
constexpr int btn_add = 1, btn_delete = 2, btn_details = 3, btn_handle = 4, btn_replace = 5, lbl_name = 6,
              txt_name = 7, txt_empty = 8;
constexpr std::uint32_t cmd_add = 0x53796164, cmd_replace = 0x53797270, cmd_delete = 0x5379646C,
                        cmd_details = 0x53796F6C, cmd_handle = 0x5379686E;  // 'Syad' 'Syrp' 'Sydl' 'Syol' 'Syhn'

std::string g_folder_text;
std::int16_t g_slot = 0;

void show(DialogPtr w, int id, bool on) {
    if (plat::DItem* it = control0(w, id)) plat::set_item_visible(it, on);
}
void enable(DialogPtr w, int id, bool on) {
    if (plat::DItem* it = control0(w, id)) plat::set_item_hilite(it, on ? 0 : 255);
}

void SetInitialLibNewValues(DialogPtr w) {
    plat::set_item_text(control0(w, fld_name), "");
    plat::set_item_text(control0(w, txt_folder), g_folder_text);
    SetIntegerValueInEditTextControl(control0(w, fld_count), 100);
    SetIntegerValueInEditTextControl(control0(w, fld_rows), 10);
    SetIntegerValueInEditTextControl(control0(w, fld_cols), 10);
    for (int id : {fld_count, fld_rows, fld_cols}) install_key_filter(control0(w, id), FilterIntValues);
}

void HarvestLibNewValues(DialogPtr w) {
    std::string roman;
    if (!plat::utf8_to_macroman(plat::item_text(control0(w, fld_name)), roman)) roman.clear();
    strnncpy(libName, roman.c_str(), static_cast<int>(sizeof libName) - 1);
    GetIntegerValueFromEditTextControl(control0(w, fld_count), &libSymbolCount, 50, 1000);
    GetIntegerValueFromEditTextControl(control0(w, fld_rows), &libRows, 1, lib_max_grid);
    GetIntegerValueFromEditTextControl(control0(w, fld_cols), &libCols, 1, lib_max_grid);
}

bool LibNewEventHandlerProc(DialogPtr w, std::uint32_t command) {
    if (command == cmd_folder) {
        if (ChooseLibFolder()) plat::set_item_text(control0(w, txt_folder), g_folder_text);
        return false;
    }
    return finish_on_ok_cancel(w, command, HarvestLibNewValues, &libOK);
}

bool SymbolSetupEventHandlerProc(DialogPtr w, std::uint32_t command) {
    switch (command) {
    case cmd_add:
    case cmd_replace:
        DoSymbols(w, 1, g_slot);
        SymbolSetupButtonUpdate(w, g_slot);
        return false;
    case cmd_delete:
        DoSymbols(w, 2, g_slot);
        SymbolSetupButtonUpdate(w, g_slot);
        return false;
    case cmd_details:
    case cmd_handle:
        DoSymbols(w, command == cmd_details ? 3 : 4, g_slot);
        enable(w, btn_details, false);
        enable(w, btn_handle, false);
        return false;
    default:
        return command == cmd_ok || command == cmd_cancel;
    }
}

}  // namespace

int ChooseLibFolder() {
    plat::FileDialogRequest request;
    request.choose_folder = true;
    request.title = GetMyLocalCFString(tbl_names, 60);
    if (libFolderFSRef.valid()) request.folder = libFolderFSRef.path;
    const plat::FileDialogReply reply = plat::run_file_dialog(request);
    if (!reply.accepted || !plat::is_folder(FSRef{reply.file})) return 0;
    libFolderFSRef = FSRef{reply.file};
    g_folder_text = reply.file.string();
    return 1;
}

int LibraryNewWindow(FSRef* folder, char* name, std::int16_t* count, std::int16_t* rows, std::int16_t* cols) {
    libOK = 0;
    if (run_settings_window("Menu", "LibraryNew", SetInitialLibNewValues, LibNewEventHandlerProc, true) != 0)
        return 0;
    if (libOK) {
        *folder = libFolderFSRef;
        std::memcpy(name, libName, sizeof libName);
        *count = libSymbolCount;
        *rows = libRows;
        *cols = libCols;
    }
    return libOK;
}

void SymbolSetupButtonUpdate(DialogPtr w, std::int16_t slot) {
    const bool filled = open_default_library(0) && valid_lib_symbol(static_cast<std::int16_t>(slot - 1));
    show(w, lbl_name, filled);
    show(w, txt_name, filled);
    show(w, txt_empty, !filled);
    show(w, btn_replace, filled);
    show(w, btn_add, !filled);
    enable(w, btn_delete, filled);
    if (filled) {
        char text[sctl::name_size];
        get_symb_name(slot, text);
        plat::set_item_text(control0(w, txt_name), plat::macroman_to_utf8(text));
    }
    // A symbol the drawing uses is not edited: its copy would no longer match.
    const bool editable = filled && !symbinwork(slot);
    enable(w, btn_details, editable);
    enable(w, btn_handle, editable);
}

void DoSymbols(DialogPtr w, int choice, std::int16_t slot) {
    plat::hide_dialog(w);
    symbols(choice, static_cast<std::int16_t>(slot - 1));
    plat::show_dialog(w);
}

int SymbolSetupWindow(std::int16_t slot) {
    loop_blink_off();
    const ObjectRec kept = info;
    const std::uint16_t was_idle = getidle();
    setidle(0);
    plat::PortSaver saver(plat::current_port());
    g_slot = slot;
    const int status = run_settings_window("drav", "Symbol Setup", [](DialogPtr w) { SymbolSetupButtonUpdate(w, g_slot); },
                                           SymbolSetupEventHandlerProc, true);
    info = kept;
    setidle(was_idle);
    return status;
}

}  // namespace drav
