#include "shell/tool_palette.h"

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
#include "shell/restraints_palette.h"
#include "shell/startup.h"
#include "shell/tool_setting_dialogs.h"
#include "store/files.h"
#include "store/object_walk.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/settings.h"
#include "store/symbol_library.h"
#include "store/undo.h"

namespace drav {

plat::Dialog* addDPtr = nullptr;

namespace {

// The tool palette's place in lastpnt.
constexpr int tool_palette_pos = 2;

// The Edit items retitled with group mode, and their titles in table 428:
// 1-4 for single objects, 5-8 for groups.
constexpr char group_titled_items[4][5] = {"OBpp", "OBgm", "OBhn", "OBpv"};

ToolIcon g_icons[last_tool + 1];
ToolIcon g_icons2[last_tool + 1];
bool g_icons_loaded = false;

void load_icons() {
    if (g_icons_loaded) return;
    g_icons_loaded = true;
    for (int t = first_tool; t <= last_tool; ++t) {
        g_icons[t] = load_tool_icon(t, 1);
        g_icons2[t] = load_tool_icon(t, 2);
    }
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

void draw_tool_square(plat::Port& port, const plat::Rect& square, const plat::Rect& at, int scale,
                      const ToolIcon& icon, bool active, bool inverted) {
    auto i16 = [](int v) { return static_cast<std::int16_t>(v); };
    port.pen_normal();
    port.set_pen_size(i16(scale), i16(scale));
    port.erase_rect(at);
    port.frame_rect(at);
    port.pen_normal();
    if (icon.size == icon_size * scale) {
        // Centred as the 1x icon is, so both densities agree.
        const int left = at.left + ((square.left + square.right - icon_size) / 2 - square.left) * scale;
        const int top = at.top + ((square.top + square.bottom - icon_size) / 2 - square.top) * scale;
        for (int y = 0; y < icon.size; ++y)
            for (int x = 0; x < icon.size; ++x) {
                // An inactive tool shows grey: every other pixel of its icon.
                if (!icon.bits[static_cast<std::size_t>(y * icon.size + x)] || (!active && (x + y) % 2)) continue;
                port.paint_rect(plat::Rect{i16(top + y), i16(left + x), i16(top + y + 1), i16(left + x + 1)});
            }
    }
    if (inverted)
        port.invert_rect(plat::Rect{i16(at.top + scale), i16(at.left + scale), i16(at.bottom - scale),
                                    i16(at.right - scale)});
}

ToolIcon load_tool_icon(int tool, int scale) {
    if (!valid_tool(tool)) return ToolIcon{};
    return load_palette_icon("tool", tool, scale);
}

ToolIcon load_palette_icon(const char* stem, int n, int scale) {
    ToolIcon icon;
    if (scale != 1 && scale != 2) return icon;
    const std::string name = std::string(stem) + std::to_string(n) + (scale == 2 ? "@2x" : "") + ".pbm";
    MonoImage image = load_mono_image(name, icon_size * scale, icon_size * scale);
    if (image.width == 0) return icon;
    icon.size = image.width;
    icon.bits = std::move(image.bits);
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
    case tool_curve:
    case tool_point:
    case tool_text:
    case tool_wall:
        return true;
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
    if (dialog && dialog == locDPtr) {
        fill_restraint_square(dialog, item);
        return;
    }
    if (!dialog || dialog != addDPtr || !valid_tool(item)) return;
    load_icons();
    // No square is inverted while a palette command or a placement from the library window runs.
    const bool palette_command = constnum != 0 || dimnum != 0 || insymbsingle;
    const bool inverted = (item == tool_group && macgroup) || (item == addnum && !palette_command);
    draw_icon_square(dialog, item, g_icons[item], &g_icons2[item], inverted);
}

void draw_icon_square(plat::Dialog* dialog, int item, const ToolIcon& icon, const ToolIcon* sharp, bool inverted) {
    plat::DItem* it = plat::dialog_item(dialog, item);
    if (!it) return;
    plat::Port* port = plat::dialog_port(dialog);
    plat::PortSaver saver(port);
    const plat::Rect r = plat::item_rect(it);
    const bool active = plat::item_hilite(it) != 255;
    draw_tool_square(*port, r, r, 1, icon, active, inverted);
    // High-density screens show the same square drawn from the 2x icon.
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (!sharp || sharp->size == 0 || w <= 0 || h <= 0) return;
    plat::Port sharp_port(w * 2, h * 2);
    const plat::Rect at{0, 0, static_cast<std::int16_t>(h * 2), static_cast<std::int16_t>(w * 2)};
    draw_tool_square(sharp_port, r, at, 2, *sharp, active, inverted);
    const plat::Point o = port->origin();
    const plat::Rect area{static_cast<std::int16_t>(r.top - o.v), static_cast<std::int16_t>(r.left - o.h),
                          static_cast<std::int16_t>(r.bottom - o.v), static_cast<std::int16_t>(r.right - o.h)};
    port->set_detail(area, 2, sharp_port.pixels());
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
    case tool_curve:
    case tool_point:
    case tool_text:
        addnum = static_cast<std::int16_t>(tool);
        add_objects(tool);
        // The command loops until it ends, however it ends (a full drawing too).
        addnum = tool_select;
        break;
    case tool_wall:
        // The multi-line palette stands beside the wall command while it runs.
        addnum = static_cast<std::int16_t>(tool);
        if (!mlinDPtr) sett_mlin();
        add_objects(tool);
        if (mlinDPtr) sett_mlin();
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
