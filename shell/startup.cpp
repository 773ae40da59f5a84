#include "shell/startup.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/questions.h"
#include "base/shutdown.h"
#include "display/display_hooks.h"
#include "display/display_list.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/list_view.h"
#include "display/redraw.h"
#include "display/screen.h"
#include "display/stroke_text.h"
#include "extension/api/custom_event.h"
#include "platform/core/clock.h"
#include "platform/core/lock.h"
#include "platform/core/process.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/apple_events.h"
#include "shell/arc_radius_dialog.h"
#include "shell/text_dialog.h"
#include "shell/blink.h"
#include "shell/bundle_data.h"
#include "shell/dialog_filters.h"
#include "shell/command_services.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/loop_helpers.h"
#include "shell/message_palette.h"
#include "shell/palettes.h"
#include "shell/preferences.h"
#include "shell/questions.h"
#include "shell/tool_options.h"
#include "shell/handle_moves.h"
#include "shell/restraints_palette.h"
#include "shell/tool_palette.h"
#include "shell/window_layers.h"
#include "shell/symbol_placement_dialog.h"
#include "store/current_drawing.h"
#include "store/geometry.h"
#include "store/idle_menus.h"
#include "store/levels.h"
#include "store/number_text.h"
#include "store/records.h"
#include "store/settings.h"
#include "files/catalog_overlay.h"
#include "files/library_window.h"
#include "files/symbol_editing.h"
#include "shell/select_accept.h"
#include "shell/event_pump.h"
#include "shell/palettes.h"
#include "shell/tool_palette.h"
#include "store/strings.h"
#include "store/symbol_library.h"
#include "store/workfile.h"

namespace drav {

plat::Point lastpnt[lastpnt_count];

namespace {

constexpr int err_already_running = 144;  // table 406
constexpr int str_scratch1 = 20, str_scratch2 = 21, str_hatch_scratch = 22, str_font_list = 23;

plat::FolderLock g_folder_lock;

// One instance at a time: the lock comes before any file of the folder is touched.
void lock_data_folder() {
    g_folder_lock = plat::lock_folder(plat::user_data_dir());
    if (g_folder_lock.held()) return;
    show_error(err_already_running, 0);
    plat::exit_process(1);
}

bool meets(const plat::Rect& a, const plat::Rect& b) {
    return !a.empty() && a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool on_screen(plat::Point p, const plat::Rect& screen) {
    return p.h >= screen.left && p.h < screen.right && p.v >= screen.top && p.v < screen.bottom;
}

void name_scratch(int slot, int string_index, const char* digits) {
    char name[256];
    GetMyLocalCString(name, tbl_startup, string_index);
    const std::string full = std::string(name) + digits;
    const std::size_t n = std::min<std::size_t>(full.size(), dfilename_size - 1);
    std::memcpy(dfilenames + slot * dfilename_size, full.data(), n);
    dfilenames[slot * dfilename_size + n] = '\0';
}

// Steps 16 and 19: the drawing window from the stored rectangle, then the
// other windows at their stored places.
void place_windows(const PrefsRec& prefs) {
    const plat::Rect screen = plat::screen_bounds();
    plat::Window* drawing = whichdrawWindow();
    const plat::Rect frame = drawing_window_frame(prefs.drawing_window, screen);
    plat::move_window(drawing, frame.left, frame.top, false);
    plat::size_window(drawing, frame.right - frame.left, frame.bottom - frame.top);
    update_drawing_rects(drawing);
    size_drawing_scrolls(drawing);
    plat::show_window(drawing);

    constexpr plat::Point PrefsRec::*positions[lastpnt_count] = {
        &PrefsRec::status_pos, &PrefsRec::coord_pos,  &PrefsRec::add_pos,   &PrefsRec::loc_pos,
        &PrefsRec::prop_pos,   &PrefsRec::const_pos,  &PrefsRec::dim_pos,   &PrefsRec::multi_pos,
        &PrefsRec::hatch_pos,  &PrefsRec::wind_pos_select_accept, &PrefsRec::wind_pos_input,
        &PrefsRec::wind_pos_add_remove, &PrefsRec::wind_pos_messages};
    for (int i = 0; i < lastpnt_count; ++i) lastpnt[i] = prefs.*positions[i];
    usewindow(prefs.prop_visible, &lastpnt[4], prefs.prop_pos_lr);
    const struct {
        std::int16_t visible;
        int position;  // in lastpnt
        plat::Point lower_right;
        int palette;   // for handle_palette_menu
    } palettes[] = {
        {prefs.add_visible, 2, prefs.add_pos_lr, 1},     {prefs.coord_visible, 1, prefs.coord_pos_lr, 3},
        {prefs.loc_visible, 3, prefs.loc_pos_lr, 5},     {prefs.const_visible, 5, prefs.const_pos_lr, 6},
        {prefs.dim_visible, 6, prefs.dim_pos_lr, 7},     {prefs.hatch_visible, 8, prefs.hatch_pos_lr, 13},
    };
    for (const auto& p : palettes) {
        if (usewindow(p.visible, &lastpnt[p.position], p.lower_right)) {
            handle_palette_menu(p.palette);
        }
    }
    if (prefs.mess_visible) ShowMessageWindow();
    // The tools stay in front of the palettes opened after them.
    if (addDPtr) plat::show_dialog(addDPtr);
    plat::select_window(drawing);
    ArrangeFP2();
    FixActivate();

    if (on_screen(prefs.library_window, screen))
        plat::move_window(windSymbols, prefs.library_window.h, prefs.library_window.v, false);
    // TODO(debugDPtr) the debug window goes to "DebugWindow" when it exists
}

}  // namespace

plat::Rect drawing_window_frame(const plat::Rect& stored, const plat::Rect& screen) {
    if (meets(stored, screen)) return stored;
    constexpr int menu_bar_height = 0;  // the menu bar lies inside the window
    return plat::Rect{static_cast<std::int16_t>(screen.top + menu_bar_height + 43),
                      static_cast<std::int16_t>(screen.left + 54), static_cast<std::int16_t>(screen.bottom - 35),
                      static_cast<std::int16_t>(screen.right - 3)};
}

int usewindow(std::int16_t visible, plat::Point* position, plat::Point lower_right) {
    const plat::Rect r{position->v, position->h, lower_right.v, lower_right.h};
    if (!meets(r, plat::screen_bounds())) *position = plat::Point{};
    return visible != 0 ? 1 : 0;
}

void check_sizes() {}

void initenv() {
    PrefsRec prefs{};
    getprefs(&prefs);
    set_work_sizes(prefs.object_size, prefs.symbol_size, prefs.ctrl_size);
}

void get_enviro() {
    genenv = static_cast<std::uint8_t*>(getmemory(genenv_bytes));
    if (!genenv) initexit();
    initenv();
}

void opendisplay() {
    std::int16_t err = 0;
    opengraphics(&err);
    openlinstk();
}

void openinpdevice() {
    misc_defs.digitizer[0] = 0.0;
    misc_defs.digitizer[1] = 0.0;
    misc_defs.digitizer[2] = 6.0;
    misc_defs.digitizer[3] = static_cast<double>(static_cast<long>(6.0 * aspectratio));
    misc_defs.digitizer[4] = 0.0;
    if (listinstalled()) zoom_arrows = 1;
}

void open_data_files() {
    if (!opencossin()) {
        pr_alert(35, alert_standard);
        leave_program();
    }
    init_poly();
}

void init_system() {
    // 1-2: the toolkit gives dialogs and scroll bars their callbacks; the
    // modal loops hand update events of our windows back to us.
    plat::set_update_handler([](const plat::EventRecord& e) { Handle_update(e.window); });
    init_answer_chars();
    vmlistinit();
    check_sizes();

    // 3: the data folder, locked first, then filled from the bundle.
    lock_data_folder();
    InitBundleInfo();
    if (!UserAppSupportFSRef.valid()) initexit();
    ourvrefnum = workvrefnum = plat::the_volume;
    ourDirID = workDirID = plat::folder_id(UserAppSupportFSRef.path);

    // 4-5: scratch names from the start time, and the preferences.
    dfilenames = static_cast<char*>(getmemory(dfilenames_bytes));
    if (!dfilenames) leave_program();
    char digits[16];
    ultoa(plat::seconds_since_1904(), digits);
    PrefsRec prefs{};
    getprefs(&prefs);
    name_scratch(0, str_scratch1, digits);
    name_scratch(1, str_scratch2, digits);
    name_scratch(2, str_hatch_scratch, digits);
    char font_list[256];
    GetMyLocalCString(font_list, tbl_startup, str_font_list);

    // 6: no drawing file yet.
    current_drawing = FileRefRec{};
    current_drawing.vref = ourvrefnum;
    current_drawing.dirid = ourDirID;
    char untitled[256];
    GetMyLocalCString(untitled, tbl_names, 1);
    strnncpy(current_drawing.name, untitled, static_cast<int>(sizeof current_drawing.name) - 1);
    current_lib = FileRefRec{};
    current_lib.vref = ourvrefnum;
    current_lib.dirid = ourDirID;
    current_lib_version = twddbrel;

    // 7
    openfontlist(font_list, ourvrefnum, ourDirID);

    // 8-10
    get_enviro();
    opendisplay();
    plat::attach_menu_bar(whichdrawWindow());
    plat::flush_events(plat::everyEvent & ~plat::highLevelEventMask);

    // 11-12
    init_objopts();
    openkeyboard();
    init_variables();
    init_symbols();
    open_data_files();
    // TODO(sett_hpat) 1: the hatch pattern chooser

    // 13: the preferences that belong to the drawing window.
    {
        plat::PortSaver saver(drawCWindow);
        copy_prefs_to_objopts(prefs);
        setbackgnd(objopts->background_colour);
        cleargraphics();
        SketchWindow();
        set_grid_colour(prefs.grid_color);
    }

    // 14-15
    if (!setup_workfile()) initexit();
    init_macevents();
    init_levels();
    init_findTCFile();
    char leftover[file_name_bytes];
    if (FindTCMyFile(workvrefnum, workDirID, leftover, four_cc("HAT "), four_cc("DRAV")) == 0)
        RemoveMyFile(workvrefnum, workDirID, leftover);

    // 16-19
    place_windows(prefs);

    // 20: the first view, in the window as it now stands.
    {
        plat::PortSaver saver(drawCWindow);
        winchanged();
        change_window(bse_win.xl, bse_win.xr, bse_win.yb, aspectratio, 1);
    }
    openinpdevice();
    changezoomlimits();
    start_symbolscan();

    // 21: through the workfile and back, which draws the first, empty view.
    write_sav_rec();
    FSRef_put_levelinfo(workfileFSRef);
    read_sav_rec();
    FSRef_get_levelinfo(workfileFSRef);
    update_status_line();
}

void release_data_folder() { g_folder_lock.unlock(); }

void install_floor_hooks() {
    set_closing_work(close_down);
    set_idle_interface(follow_idle);
    install_display_hooks();
    install_record_events();
    install_tool_palette();
    install_restraints_palette();
    install_arc_radius_dialog();
    install_text_dialog();
    install_handle_moves();
    MessageLine line;
    line.show = [](int table, int index) { DisplayLocalMessage(table, index); };
    line.clear = [] { DisplayCFStrMessage(""); };
    line.show_text = DisplayCStringMessage;
    set_message_line(line);
    CommandLoopHooks loop;
    loop.blink_off = blink_off;
    loop.take_undo = command_takes_undo;
    loop.pump = [](std::uint16_t mask) { return static_cast<int>(gobbleoskeys(mask)); };
    loop.status_line = update_status_line;
    loop.tool_click = dopalette;
    set_command_loop_hooks(loop);
    QuestionHooks questions;
    questions.yes_no_cancel = ShowLocalYesNoCancelWindow;
    questions.yes_cancel = ShowLocalYesCancelWindow;
    set_question_hooks(questions);
    install_loop_services();
    LibraryWindowHooks library;
    library.isdoubleclick = isdoubleclick;
    library.postpone = postpone_symbol;
    library.redraw_tools = redraw_tool_palette;
    library.palette_menu = handle_palette_menu;
    library.placement_settings = psymbolsetup;
    set_library_window_hooks(library);
    SymbolEditHooks symbol_edit;
    symbol_edit.flash = blink_sobject;
    symbol_edit.add_remove_window = AddRemoveWindow;
    set_symbol_edit_hooks(symbol_edit);
    set_overlay_filter(dlgFilter);
}

void initexit() { exit_program(1); }

}  // namespace drav
