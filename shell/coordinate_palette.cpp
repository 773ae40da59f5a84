#include "shell/coordinate_palette.h"

#include <cmath>
#include <cstring>

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "platform/ui/menus.h"
#include "platform/ui/windows.h"
#include "shell/coordinate_format.h"
#include "shell/startup.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/number_text.h"
#include "store/parse.h"
#include "store/settings.h"
#include "store/units.h"

namespace drav {

DialogPtr coorDPtr = nullptr;
std::uint16_t bigdial = 0;
char oldabrv[6] = "";

namespace {

constexpr int unit_item = 1, first_item = 3, second_item = 5, layout_item = 7;
constexpr int ref_items[2] = {10, 12}, offset_items[2] = {16, 18};
constexpr int length_item = 22, direction_item = 26, area_item = 30;

const char* abbreviation() {
    const int code = units_defs.units_code;
    return units[code >= 0 && code < unit_codes ? code : 0];
}

DialogPtr create_layout() {
    DialogPtr d = open_dialog(bigdial ? coord_large_id : coord_small_id);
    if (!d) return nullptr;
    set_Palette_FontAndSize(d);
    return d;
}

}  // namespace

int active_dialog(DialogPtr dialog) { return dialog ? 1 : 0; }

void sett_coordial() {
    if (coorDPtr) {
        const plat::Rect b = plat::dialog_bounds(coorDPtr);
        lastpnt[coord_palette_pos] = plat::Point{b.top, b.left};
        MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLco"));
        ourdisposdialog1(coorDPtr);
        coorDPtr = nullptr;
        return;
    }
    bigdial = 0;
    coorDPtr = create_layout();
    if (!coorDPtr) return;
    MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLco"));
    const plat::Point saved = lastpnt[coord_palette_pos];
    if (saved.v == 0) {
        // Along the bottom right of the screen, all of it on the screen.
        const plat::Rect screen = plat::screen_bounds();
        const plat::Rect b = plat::dialog_bounds(coorDPtr);
        plat::move_dialog(coorDPtr, screen.right - 365, screen.bottom - 11 - (b.bottom - b.top));
    } else {
        plat::move_dialog(coorDPtr, saved.h, saved.v);
    }
    plat::show_dialog(coorDPtr);
    oldabrv[0] = '\0';
    display_coordinates(last_x, last_y);
}

void docoordial(int item) {
    if (item != layout_item || !coorDPtr) return;
    bigdial = static_cast<std::uint16_t>(1 - bigdial);
    const plat::Rect b = plat::dialog_bounds(coorDPtr);
    lastpnt[coord_palette_pos] = plat::Point{b.top, b.left};
    plat::Dialog* front = plat::front_dialog();
    ourdisposdialog1(coorDPtr);
    coorDPtr = create_layout();
    if (!coorDPtr) {
        MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLco"));
        return;
    }
    plat::move_dialog(coorDPtr, b.left, b.top);
    plat::show_dialog(coorDPtr);
    // The layout switch keeps whatever window was in front of the palette there.
    if (front && front != coorDPtr && plat::dialog_alive(front)) plat::show_dialog(front);
    oldabrv[0] = '\0';
    display_coordinates(last_x, last_y);
}

void showcoordial(const char* first, const char* second) {
    if (!coorDPtr) return;
    set_item(coorDPtr, first_item, first);
    set_item(coorDPtr, second_item, second);
}

void display_coordinates(double x, double y) {
    const char* abbrev = abbreviation();
    if (std::strncmp(abbrev, oldabrv, sizeof oldabrv) != 0) {
        std::strncpy(oldabrv, abbrev, sizeof oldabrv - 1);
        oldabrv[sizeof oldabrv - 1] = '\0';
        if (coorDPtr) set_item(coorDPtr, unit_item, oldabrv);
    }
    if (!coorDPtr) return;
    char first[coord_field_size], second[coord_field_size];
    make_coordinates(x, y, first, second);
    showcoordial(first, second);
    if (!bigdial) return;
    // The reference point from the origin, once; the offset from the reference point.
    const double rx = ref_x - misc_defs.user_origin_x, ry = ref_y - misc_defs.user_origin_y;
    const double ox = x - ref_x, oy = y - ref_y;
    char text[number_text_size];
    coord_length(text, rx);
    set_item(coorDPtr, ref_items[0], text);
    coord_length(text, ry);
    set_item(coorDPtr, ref_items[1], text);
    coord_length(text, ox);
    set_item(coorDPtr, offset_items[0], text);
    coord_length(text, oy);
    set_item(coorDPtr, offset_items[1], text);
    real_to_string(distance(ox, oy), text, unit_length);
    set_item(coorDPtr, length_item, text);
    real_to_string(raddeg(get_radangle(ox, oy)), text, unit_real);
    set_item(coorDPtr, direction_item, text);
    real_to_string(std::fabs(ox * oy), text, unit_real);
    set_item(coorDPtr, area_item, text);
}

}  // namespace drav
