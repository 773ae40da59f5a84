#include "shell/menu_handler.h"

#include <array>

#include "base/idle.h"
#include "base/menu_items.h"
#include "display/screen.h"
#include "extension/api/custom_event.h"
#include "files/clipboard.h"
#include "files/file_commands.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/clipboard_menu.h"
#include "shell/construct_palette.h"
#include "shell/coordinate_palette.h"
#include "shell/dimension_palette.h"
#include "shell/drag_outline.h"
#include "shell/handle_moves.h"
#include "shell/input_window.h"
#include "shell/loop_helpers.h"
#include "shell/message_palette.h"
#include "shell/restraints_palette.h"
#include "shell/tool_palette.h"
#include "shell/window_layers.h"
#include "files/library_command.h"
#include "shell/palettes.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

std::uint16_t picChanged = 0;

namespace {

using Command = void (*)();

struct Entry {
    std::uint32_t code;
    Command run;  // nullptr while the command is not built: its item stays disabled
};

// A File command starts from a fresh command-loop state.
void file_command(int n) {
    setup_loop();
    filer(n);
}

// The toggles of the Palette menu mark their item while the palette is open.
void toggle_tool_palette() {
    sett_palette();
    MySetMenuCommandMark(kMyPaletteMenu, four_cc("PLtl"), addDPtr ? plat::checkMark : plat::noMark);
}

void cut_item() { CutCopyPaste(four_cc("cut ")); }
void copy_item() { CutCopyPaste(four_cc("copy")); }
void paste_item() { CutCopyPaste(four_cc("past")); }

void clear_item() {
    if (plat::Window* front = plat::front_window(); isAPIPallette(front)) {
        plat::edit_window_field(front, plat::EditCommand::clear);
        return;
    }
    do_operation(op_delete, 0, 0, 0, 0, 1, 0);  // the selection, undoably
}

void toggle_restraints_palette() {
    sett_restraints();
    MySetMenuCommandMark(kMyPaletteMenu, four_cc("PLcn"), locDPtr ? plat::checkMark : plat::noMark);
}

// Every code the menu bar can send but 'quit', which the pump ends the
// program with, and the Window menu's, which the desktop serves.
// TODO(plotsetup) TODO(about_dialog) TODO(DrawPreferencesWindow) and the rest:
// each entry gets its command when the subsystem that owns it is built.
const std::array<Entry, 84> g_table = {{
    {four_cc("new "), [] { file_command(1); }}, {four_cc("open"), [] { file_command(2); }},
    {four_cc("clos"), [] { file_command(3); }}, {four_cc("save"), [] { file_command(4); }},
    {four_cc("svas"), [] { file_command(5); }}, {four_cc("FMrg"), [] { file_command(6); }},
    {four_cc("LBnw"), [] { library(1); }}, {four_cc("LBop"), [] { library(2); }}, {four_cc("page"), nullptr},
    {four_cc("prnt"), nullptr}, {four_cc("GIsv"), nullptr}, {four_cc("GIcr"), nullptr},
    {four_cc("abou"), nullptr}, {four_cc("pref"), nullptr}, {four_cc("ahlp"), nullptr},
    // Edit
    {four_cc("undo"), do_undo},
    {four_cc("cut "), cut_item}, {four_cc("copy"), copy_item}, {four_cc("past"), paste_item},
    {four_cc("clea"), clear_item}, {four_cc("OBud"), nullptr}, {four_cc("OBdp"), nullptr},
    {four_cc("sall"), nullptr}, {four_cc("EDcp"), ShowClipboard}, {four_cc("OBpp"), nullptr},
    {four_cc("OBgm"), nullptr}, {four_cc("EDrl"), nullptr}, {four_cc("EDrr"), nullptr},
    // Handle and Pivot
    {four_cc("EHcy"), nexthandle}, {four_cc("EHdf"), [] { handle_change(2, 0); }}, {four_cc("EHsp"), nullptr},
    {four_cc("EPcy"), nextpivot}, {four_cc("EPdf"), [] { handle_change(2, 1); }}, {four_cc("EPsh"), nullptr},
    // Group
    {four_cc("GPun"), nullptr}, {four_cc("GPiv"), nullptr}, {four_cc("GPpp"), nullptr},
    {four_cc("GPfn"), nullptr}, {four_cc("GPob"), nullptr},
    // Palette
    {four_cc("PLtl"), toggle_tool_palette},
    {four_cc("PLco"), sett_coordial}, {four_cc("PLcn"), toggle_restraints_palette}, {four_cc("PLcs"), nullptr},
    {four_cc("PLdm"), nullptr}, {four_cc("PLms"), ToggleMessageWindow}, {four_cc("PLpp"), nullptr},
    {four_cc("PLin"), SettingsInput}, {four_cc("PLlb"), [] { handle_palette_menu(palette_library); }}, {four_cc("PLht"), nullptr},
    // Setting; 'STbe' and 'STdc' would run nothing, so they stay disabled.
    {four_cc("STun"), nullptr}, {four_cc("STou"), nullptr}, {four_cc("STlv"), nullptr},
    {four_cc("STdo"), nullptr}, {four_cc("STdg"), nullptr}, {four_cc("STbe"), nullptr},
    {four_cc("STdc"), nullptr}, {four_cc("STpa"), pause_drawing},
    // Arch and Mech. Their undo items stay disabled until a module undo exists.
    {four_cc("ARls"), nullptr}, {four_cc("ARbl"), nullptr}, {four_cc("ARts"), nullptr},
    {four_cc("ARdw"), nullptr}, {four_cc("ARsr"), nullptr}, {four_cc("ARed"), nullptr},
    {four_cc("ARdd"), nullptr}, {four_cc("ARdo"), nullptr}, {four_cc("ARtn"), nullptr},
    {four_cc("ARal"), nullptr}, {four_cc("ARas"), nullptr}, {four_cc("ARae"), nullptr},
    {four_cc("ARun"), nullptr},
    {four_cc("MCls"), nullptr}, {four_cc("MCbl"), nullptr}, {four_cc("MCts"), nullptr},
    {four_cc("MCsy"), nullptr}, {four_cc("MCgt"), nullptr}, {four_cc("MCcl"), nullptr},
    {four_cc("MCed"), nullptr}, {four_cc("MCdd"), nullptr}, {four_cc("MCdo"), nullptr},
    {four_cc("MCtn"), nullptr}, {four_cc("MCal"), nullptr}, {four_cc("MCas"), nullptr},
    {four_cc("MCae"), nullptr}, {four_cc("MCun"), nullptr},
}};

// Palettes that register their Palette-menu toggle here (their codes stand
// in the table above too). The palettes mark their items themselves.
const std::array<Entry, 2> g_palette_toggles = {{
    {four_cc("PLcs"), sett_construct},
    {four_cc("PLdm"), sett_dimension},
}};

// Cut, Copy and Clear act on the text field of an extension palette in
// front, else on the selection.
constexpr std::uint32_t selection_edit_codes[] = {four_cc("cut "), four_cc("copy"), four_cc("clea")};

bool text_edit_available() { return isAPIPallette(plat::front_window()); }

const Entry* find_entry(std::uint32_t code) {
    for (const Entry& e : g_palette_toggles)
        if (e.code == code) return &e;
    for (const Entry& e : g_table)
        if (e.code == code) return &e;
    return nullptr;
}

}  // namespace

int MyMenuEventHandlerProc(const plat::EventRecord& event) {
    if (const Entry* e = find_entry(event.message); e && e->run) e->run();
    return eventNotHandledErr;
}

void Do_command(std::int32_t choice) {
    const auto menu = static_cast<std::int16_t>((static_cast<std::uint32_t>(choice) >> 16) & 0xFFFF);
    const auto item = static_cast<std::int16_t>(choice & 0xFFFF);
    if (menu == 0 || item == 0) return;
    switch (menu) {
    case 65:
        handle_change(item, 0);
        break;
    case 66:
        handle_change(item, 1);
        break;
    case 67:
        // TODO(inquire)
        break;
    case 68:
        // TODO(RotateObject) item 1 turns left, any other right
        break;
    default:
        custom_event(1, menu, item, 0, "", nullptr);
        break;
    }
}

void handle_change(int item, int which) {
    switch (item) {
    case 1:
        if (which)
            nextpivot();
        else
            nexthandle();
        break;
    case 2:
        hp_drag(which, 0);
        break;
    case 3:
        // TODO(swap_hp)
        break;
    default:
        break;
    }
}

int menu_command_count() { return static_cast<int>(g_table.size()); }

std::uint32_t menu_command_code(int i) {
    return i >= 0 && i < menu_command_count() ? g_table[static_cast<std::size_t>(i)].code : 0;
}

bool menu_command_built(std::uint32_t code) {
    const Entry* e = find_entry(code);
    return e && e->run;
}

void register_menu_commands() {
    for (const Entry& e : g_table)
        if (menu_command_built(e.code)) plat::register_command(e.code);
    for (const Entry& e : g_palette_toggles) plat::register_command(e.code);
}

void CutCopyPaste(std::uint32_t code) {
    if (plat::Window* front = plat::front_window(); isAPIPallette(front)) {
        // The palette's text field and the system clipboard; the drawing stays as it is.
        const plat::EditCommand c = code == four_cc("cut ")    ? plat::EditCommand::cut
                                    : code == four_cc("copy") ? plat::EditCommand::copy
                                                              : plat::EditCommand::paste;
        plat::edit_window_field(front, c);
    } else if (!getidle()) {
        // A running command owns the drawing and its undo.
        return;
    } else if (code == four_cc("cut ")) {
        DoClipboardCut();
    } else if (code == four_cc("copy")) {
        DoClipboardCopy();
    } else {
        plat::PortSaver saver(drawCWindow);
        DoClipboardPaste();
        picChanged = 1;
    }
    setidle(getidle());
    enable_undoredo(1);
    edit_items_follow_front();
}

void edit_items_follow_front() {
    const bool field = text_edit_available();
    const bool selection = idle && (macgroup ? objs_in_grp != 0 : there_are_objects() != 0);
    for (std::uint32_t c : selection_edit_codes) {
        if (field || selection)
            MyEnableMenuItem(kMyEditMenu, c);
        else
            MyDisableMenuItem(kMyEditMenu, c);
    }
    MyEnableMenuItem(kMyEditMenu, four_cc("past"));
}

}  // namespace drav
