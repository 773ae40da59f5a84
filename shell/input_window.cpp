#include "shell/input_window.h"

#include <cmath>
#include <string>

#include "base/command_loop.h"
#include "base/menu_items.h"
#include "base/messages.h"
#include "dialogs/edit_fields.h"
#include "dialogs/modeless_windows.h"
#include "display/graphics_unit.h"
#include "platform/core/text.h"
#include "platform/ui/menus.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/parse.h"
#include "store/settings.h"

namespace drav {

DialogPtr windInput = nullptr;
std::uint16_t inputWindVisible = 0;
ControlRef lastControl = nullptr;

namespace {

constexpr int mode_group = 3, first_label = 4, first_field = 5, second_label = 6, second_field = 7,
              ref_x_field = 9, ref_y_field = 11;
constexpr unsigned char mark_char = 19;

ControlRef control(int id) { return GrabCRef(windInput, 0, id); }

void set_label(int id, int entry) {
    char text[256];
    GetMyLocalCString(text, tbl_misc_prompts, entry);
    plat::set_item_text(control(id), plat::macroman_to_utf8(text));
}

double value_of(int id, int kind) {
    double v = 0;
    if (!GetRealValueFromEditTextControl(control(id), &v, -bigrnum, bigrnum, kind)) v = 0;
    return v;
}

// The point of the typed values by the input mode; false for an unknown mode.
bool typed_point(double a, double b, double* x, double* y) {
    switch (misc_defs.input_mode) {
    case 0:
    case 1:
        *x = a + misc_defs.user_origin_x;
        *y = b + misc_defs.user_origin_y;
        return true;
    case 2:
        *x = a + ref_x;
        *y = b + ref_y;
        return true;
    case 3: {
        double dx = 0, dy = 0;
        calc_sides(degrad(a), b, &dx, &dy);
        *x = dx + ref_x;
        *y = dy + ref_y;
        return true;
    }
    default:
        *x = 0;
        *y = 0;
        return false;
    }
}

void mark_menu(bool on) {
    MySetMenuCommandMark(kMyPaletteMenu, four_cc("PLin"), on ? mark_char : plat::noMark);
}

void show_window() {
    showInput();
    plat::show_dialog(windInput);
    setFocus(first_field);
    MyCheckMenuCommand(kMyPaletteMenu, four_cc("PLin"));
    inputWindVisible = 1;
}

void hide_window() {
    plat::hide_dialog(windInput);
    MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLin"));
    inputWindVisible = 0;
}

}  // namespace

void show_reference_point(double x, double y) {
    if (!windInput) return;
    SetRealValueInEditTextControl(control(ref_x_field), x, unit_length);
    SetRealValueInEditTextControl(control(ref_y_field), y, unit_length);
}

void showInput() {
    if (!windInput) return;
    const int m = misc_defs.input_mode;
    const double ox = misc_defs.user_origin_x, oy = misc_defs.user_origin_y;
    int radio = 1;
    if (m == 2 || m == 3) {
        radio = m;
        set_label(first_label, m == 2 ? 21 : 23);
        set_label(second_label, m == 2 ? 22 : 24);
        SetRealValueInEditTextControl(control(first_field), 0, unit_length);
        SetRealValueInEditTextControl(control(second_field), 0, unit_length);
    } else {
        set_label(first_label, 19);
        set_label(second_label, 20);
        SetRealValueInEditTextControl(control(first_field), ref_x - ox, unit_length);
        SetRealValueInEditTextControl(control(second_field), ref_y - oy, unit_length);
    }
    plat::set_item_value(control(mode_group), radio);
    SetRealValueInEditTextControl(control(ref_x_field), ref_x - ox, unit_length);
    SetRealValueInEditTextControl(control(ref_y_field), ref_y - oy, unit_length);
    mark_menu(true);
}

void setFocus(int id) {
    if (ControlRef c = control(id)) {
        const std::string text = plat::item_text(c);
        plat::select_item_text(c, 0, static_cast<int>(text.size()));
    }
}

bool InputEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (window != windInput) return false;
    const int mode = misc_defs.input_mode;
    const double a = value_of(first_field, mode == 3 ? unit_angle : unit_length);
    const double b = value_of(second_field, unit_length);
    double x = 0, y = 0;
    switch (command) {
    case four_cc("Immd"):
        misc_defs.input_mode = static_cast<std::int16_t>(plat::item_value(control(mode_group)));
        showInput();
        return true;
    case four_cc("Imsr"):
        typed_point(a, b, &x, &y);
        update_ref(x, y);
        return true;
    case four_cc("ok  "):
        if (!typed_point(a, b, &x, &y)) return true;
        touched = 1;
        cur_stop();
        zpos_x = last_x = scrn_x = x;
        zpos_y = last_y = scrn_y = y;
        world_screen(&scrn_x, &scrn_y);
        cur_go();
        setFocus(first_field);
        return true;
    default:
        return false;
    }
}

void SettingsInput() {
    if (!windInput) {
        DialogPtr w = nullptr;
        if (CreateNibWindow("drav", "input mode", &w) != 0) return;
        windInput = w;
        install_key_filter(control(first_field), FilterAngleValues);
        install_key_filter(control(second_field), FilterRealValues);
        install_window_handler(w, InputEventHandlerProc);
        show_window();
    } else if (!inputWindVisible) {
        show_window();
    } else {
        hide_window();
    }
}

void close_input() {
    if (windInput) plat::hide_dialog(windInput);
    MyUncheckMenuCommand(kMyPaletteMenu, four_cc("PLin"));
    inputWindVisible = 0;
}

void InputCloseEventHandlerProc() { close_input(); }

void doinput() {}

void markinput() {}

int finish_input() { return 0; }

}  // namespace drav
