#include "shell/tool_palette.h"

#include <fstream>
#include <sstream>
#include <string>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "commands/draw/draw_frame.h"
#include "dialogs/tool_setting_windows.h"
#include "display/selection_display.h"
#include "platform/core/process.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/construct_palette.h"
#include "shell/dimension_palette.h"
#include "shell/event_pump.h"
#include "shell/multi_line_palette.h"
#include "shell/startup.h"
#include "shell/tool_setting_dialogs.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/undo.h"

namespace drav {

plat::Dialog* addDPtr = nullptr;

namespace {

// The tool palette's place in lastpnt.
constexpr int tool_palette_pos = 2;
constexpr int icon_size = 16;

// The Edit items retitled with group mode, and their titles in table 428:
// 1-4 for single objects, 5-8 for groups.
constexpr char group_titled_items[4][5] = {"OBpp", "OBgm", "OBhn", "OBpv"};

ToolIcon g_icons[last_tool + 1];
bool g_icons_loaded = false;

void load_icons() {
    if (g_icons_loaded) return;
    g_icons_loaded = true;
    for (int t = first_tool; t <= last_tool; ++t) g_icons[t] = load_tool_icon(t, 1);
}

bool valid_tool(int tool) { return tool >= first_tool && tool <= last_tool; }

void set_tool_hilites() {
    if (!addDPtr) return;
    for (int t = first_tool; t <= last_tool; ++t)
        plat::set_item_hilite(plat::dialog_item(addDPtr, t), tool_built(t) ? 0 : 255);
}

void place_palette() {
    const plat::Point saved = lastpnt[tool_palette_pos];
    if (saved.v != 0) {
        plat::move_dialog(addDPtr, saved.h, saved.v);
    } else {
        const plat::Rect screen = plat::screen_bounds();
        plat::move_dialog(addDPtr, screen.left + 3, screen.top + 7);
    }
}

void highlight_current_object(int on) {
    std::int16_t i = 0;
    if (!macgroup && okindx(&i)) showonoff(i, static_cast<std::int16_t>(on));
}

void retitle_edit_items(int first_title) {
    for (int k = 0; k < 4; ++k) {
        char text[256];
        GetMyLocalCString(text, tbl_edit_names, first_title + k);
        unsigned char pascal[256];
        const std::size_t n = std::char_traits<char>::length(text);
        pascal[0] = static_cast<unsigned char>(n > 255 ? 255 : n);
        std::copy(text, text + pascal[0], reinterpret_cast<char*>(pascal + 1));
        MySetMenuCommandText(kMyEditMenu, four_cc(group_titled_items[k]), pascal);
    }
}

}  // namespace

ToolIcon load_tool_icon(int tool, int scale) {
    if (!valid_tool(tool)) return ToolIcon{};
    return load_palette_icon("tool", tool, scale);
}

ToolIcon load_palette_icon(const char* stem, int n, int scale) {
    ToolIcon icon;
    if (scale != 1 && scale != 2) return icon;
    const std::string name = std::string(stem) + std::to_string(n) + (scale == 2 ? "@2x" : "") + ".pbm";
    std::ifstream in(plat::bundle_dir() / "ui" / "icons" / name);
    if (!in) return icon;
    // Plain PBM: "P1", comments from '#', width, height, then one 0/1 per pixel.
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() > 64 * 1024) return icon;
    std::istringstream s;
    std::string clean;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '#') {
            while (i < text.size() && text[i] != '\n') ++i;
            clean += '\n';
        } else {
            clean += text[i];
        }
    }
    s.str(clean);
    std::string magic;
    int w = 0, h = 0;
    if (!(s >> magic >> w >> h) || magic != "P1") return icon;
    const int want = icon_size * scale;
    if (w != want || h != want) return icon;
    std::vector<std::uint8_t> bits;
    bits.reserve(static_cast<std::size_t>(w) * h);
    char c;
    while (bits.size() < static_cast<std::size_t>(w) * h && s >> c) {
        if (c != '0' && c != '1') return icon;
        bits.push_back(c == '1' ? 1 : 0);
    }
    if (bits.size() != static_cast<std::size_t>(w) * h) return icon;
    icon.size = w;
    icon.bits = std::move(bits);
    return icon;
}

bool tool_built(int tool) {
    switch (tool) {
    case tool_select:
    case tool_group:
    case tool_line:
    case tool_rect:
    case tool_polygon:
    case tool_circle:
    case tool_ellipse:
    case tool_arc:
    case tool_point:
        return true;
    // TODO(add_objects) the drawing tools 5 to 13 come alive with their commands
    default:
        // The transforms answer an empty drawing; on objects they wait for
        // their commands (see toolsingleclick).
        return tool >= tool_move && tool <= last_tool;
    }
}

void fillsq(plat::Dialog* dialog, int item) {
    if (dialog && dialog == mlinDPtr) {
        fill_mlin_square(dialog, item);
        return;
    }
    if (!dialog || dialog != addDPtr || !valid_tool(item)) return;
    load_icons();
    draw_icon_square(dialog, item, g_icons[item]);
    plat::DItem* it = plat::dialog_item(dialog, item);
    if (!it) return;
    plat::Port* port = plat::dialog_port(dialog);
    plat::PortSaver saver(port);
    const plat::Rect r = plat::item_rect(it);
    // TODO(symbolsingleclick) no square is inverted while a single symbol placement runs either
    const bool palette_command = constnum != 0 || dimnum != 0;
    if ((item == tool_group && macgroup) || (item == addnum && !palette_command)) {
        const plat::Rect inner{static_cast<std::int16_t>(r.top + 1), static_cast<std::int16_t>(r.left + 1),
                               static_cast<std::int16_t>(r.bottom - 1), static_cast<std::int16_t>(r.right - 1)};
        port->invert_rect(inner);
    }
}

void draw_icon_square(plat::Dialog* dialog, int item, const ToolIcon& icon) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    if (!it) return;
    plat::Port* port = plat::dialog_port(dialog);
    plat::PortSaver saver(port);
    const plat::Rect r = plat::item_rect(it);
    port->pen_normal();
    port->erase_rect(r);
    port->frame_rect(r);
    const bool active = plat::item_hilite(it) != 255;
    if (icon.size != icon_size) return;
    const int left = (r.left + r.right - icon_size) / 2, top = (r.top + r.bottom - icon_size) / 2;
    for (int y = 0; y < icon_size; ++y)
        for (int x = 0; x < icon_size; ++x) {
            // An inactive item shows grey: every other pixel of its icon.
            if (!icon.bits[static_cast<std::size_t>(y * icon_size + x)] || (!active && (x + y) % 2)) continue;
            const auto h = static_cast<std::int16_t>(left + x), v = static_cast<std::int16_t>(top + y);
            port->paint_rect(plat::Rect{v, h, static_cast<std::int16_t>(v + 1), static_cast<std::int16_t>(h + 1)});
        }
}

void redraw_tool_palette() {
    if (!addDPtr) return;
    const plat::Port* port = plat::dialog_port(addDPtr);
    plat::invalidate_dialog_rect(addDPtr, plat::Rect{0, 0, static_cast<std::int16_t>(port->height()),
                                                     static_cast<std::int16_t>(port->width())});
    plat::draw_dialog(addDPtr);
}

void sett_palette() {
    if (!addDPtr) {
        std::string error;
        addDPtr = plat::new_dialog(tool_palette_id, &error);
        if (!addDPtr) return;
        MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLtl"));
        place_palette();
        set_tool_hilites();
        for (int t = first_tool; t <= last_tool; ++t) plat::set_draw_proc(plat::dialog_item(addDPtr, t), fillsq);
        plat::show_dialog(addDPtr);
    } else {
        const plat::Rect b = plat::dialog_bounds(addDPtr);
        lastpnt[tool_palette_pos] = plat::Point{b.top, b.left};
        MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLtl"));
        plat::dispose_dialog(addDPtr);
        addDPtr = nullptr;
    }
}

void dopalette(int item) {
    if (!valid_tool(item) || !tool_built(item)) return;
    if (isdoubleclick()) {
        tooldoubleclick(item);
        return;
    }
    if (!postpone_event(pp_tool, static_cast<std::int16_t>(item))) toolsingleclick(item);
}

void toolsingleclick(int tool) {
    if (!valid_tool(tool) || !tool_built(tool)) return;
    quit = 0;
    aborted = 0;
    if (addnum == tool_select) {
        if (tool != tool_select && !(tool >= tool_move && tool <= last_tool)) highlight_current_object(0);
        if (tool != tool_select && tool != tool_group) setidle(0);
    }
    if (tool != addnum) {
        reset_undo();
        enable_undoredo(1);
    }
    redraw_tool_palette();
    switch (tool) {
    case tool_select:
        addnum = tool_select;
        break;
    case tool_group:
        do_operation(op_group_mode, 0, 0, 0, 0, 0, 0);
        break;
    case tool_line:
    case tool_rect:
    case tool_polygon:
    case tool_circle:
    case tool_ellipse:
    case tool_arc:
    case tool_point:
        addnum = static_cast<std::int16_t>(tool);
        add_objects(tool);
        // The command loops until it ends, however it ends (a full drawing too).
        addnum = tool_select;
        break;
    default:
        if (tool >= tool_move && tool <= last_tool) {
            if (there_are_objects()) {
                // TODO(modify_objects) modify_objects(tool - 13), or group(tool - 13) in group mode
            } else if (macgroup) {
                no_group();
            } else {
                pr_alert(alert_no_objects, alert_standard);
                addnum = tool_select;
            }
            addnum = tool_select;
            setidle(1);
        }
        break;
    }
    if (aborted) addnum = tool_select;
    if (addnum == tool_select) {
        redraw_tool_palette();
        highlight_current_object(1);
        mess_clear();
        setidle(1);
        write_sav_rec();
        nomore_info();
        clear_watch();
    }
}

void tooldoubleclick(int tool) {
    if (!valid_tool(tool)) return;
    const std::int16_t was = addnum;
    addnum = static_cast<std::int16_t>(tool);
    quit = 0;
    aborted = 0;
    redraw_tool_palette();
    int ok = 1;  // tools without settings count as OK
    switch (tool) {
    case 2: ok = ShowCursorWindow(); break;
    // OK in group mode counts as Cancel: clicking the group tool again would leave group mode.
    case 3: ok = ShowGroupWindow() && !macgroup; break;
    case 4: ok = ShowLineToolSettingWindow(); break;
    case 5: ok = mlinsetup(); break;
    case 6: ok = ShowRectangleToolSettingWindow(); break;
    case 7: ok = plysetup(); break;
    case 8: ok = ShowCircleToolSettingWindow(); break;
    case 9: ok = ShowEllipseToolSettingWindow(); break;
    case 10: ok = ShowArcToolSettingWindow(); break;
    case 11: ok = bezsetup(); break;
    case 13: ok = textsetup(); break;
    case 14: ok = macgroup ? ShowMoveToolSettingWindow() : 1; break;
    case 15: ok = copysetup(); break;
    case 17: ok = sclsetup(macgroup); break;
    case 18: ok = ShowImageToolSettingWindow(); break;
    case 19: ok = explsetup(); break;
    default: break;
    }
    addnum = was;
    aborted = 0;
    redraw_tool_palette();
    if (ok && tool != addnum && !postpone_event(pp_tool, static_cast<std::int16_t>(tool))) toolsingleclick(tool);
}

void changegroup() {
    addnum = tool_select;
    setidle(1);
    macgroup = macgroup ? 0 : 1;
    redraw_tool_palette();
    if (!macgroup) {
        showgroup(0);
        nullohp();
        highlight_current_object(1);
        retitle_edit_items(1);
        MyDisableMenu(kMyGroupMenu);
        MyEnableMenuItem(kMyHandleMenu, four_cc("EHcy"));
        MyEnableMenuItem(kMyPivotMenu, four_cc("EPcy"));
    } else {
        highlight_current_object(0);
        nullghp();
        showgroup(1);
        retitle_edit_items(5);
        MyEnableMenu(kMyGroupMenu);
        MyDisableMenuItem(kMyHandleMenu, four_cc("EHcy"));
        MyDisableMenuItem(kMyPivotMenu, four_cc("EPcy"));
    }
}

void install_tool_palette() { set_group_toggle(changegroup); }

}  // namespace drav
