// "Circle setup": the circle method and the typed radius and diameter.
#include "base/tool_options.h"
#include "dialogs/edit_fields.h"
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"
#include "store/geometry.h"
#include "store/parse.h"

namespace drav {

namespace {

constexpr int method_popup = 3, radius_field = 4, diameter_field = 5;
constexpr std::uint32_t cmd_method = 0x43547267;  // 'CTrg'

std::uint16_t okSelected = 0;
// The sizes being edited, carried across changes of method.
double tempradius = 0, tempdiameter = 0;

void read_sizes(DialogPtr window) {
    GetRealValueFromEditTextControl(control0(window, radius_field), &tempradius, tinyrnum, bigrnum, unit_length);
    GetRealValueFromEditTextControl(control0(window, diameter_field), &tempdiameter, tinyrnum, bigrnum, unit_length);
}

void SetInitialCircleSetting(DialogPtr window) {
    tempradius = objopts->circle_value1;
    tempdiameter = objopts->circle_value2;
    plat::set_item_value(control0(window, method_popup), objopts->circle_method);
    install_key_filter(control0(window, radius_field), FilterRealValues);
    install_key_filter(control0(window, diameter_field), FilterRealValues);
    SetCircleValues(window, objopts->circle_method);
}

void HarvestValues(DialogPtr window) {
    read_sizes(window);
    objopts->circle_method = static_cast<std::int16_t>(plat::item_value(control0(window, method_popup)));
    objopts->circle_value1 = tempradius;
    objopts->circle_value2 = tempdiameter;
}

bool CircleEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_method) {
        read_sizes(window);
        SetCircleValues(window, plat::item_value(control0(window, method_popup)));
        return false;
    }
    return finish_on_ok_cancel(window, command, HarvestValues, &okSelected);
}

void focus_on(ControlRef field) { plat::select_item_text(field, 0, 32767); }

}  // namespace

void SetCircleValues(DialogPtr window, int mode) {
    ControlRef radius = control0(window, radius_field), diameter = control0(window, diameter_field);
    SetRealValueInEditTextControl(radius, tempradius, unit_length);
    SetRealValueInEditTextControl(diameter, tempdiameter, unit_length);
    switch (mode) {
    case 1:
    case 2:
        // Hidden fields lose the keyboard focus with them.
        plat::set_item_visible(radius, false);
        plat::set_item_visible(diameter, false);
        break;
    case 3:
        plat::set_item_visible(diameter, false);
        plat::set_item_visible(radius, true);
        focus_on(radius);
        break;
    case 4:
        plat::set_item_visible(radius, false);
        plat::set_item_visible(diameter, true);
        focus_on(diameter);
        break;
    default:
        break;
    }
}

int ShowCircleToolSettingWindow() {
    okSelected = 0;
    run_settings_window("pemu", "Circle setup", SetInitialCircleSetting, CircleEventHandlerProc, true);
    return okSelected;
}

}  // namespace drav
