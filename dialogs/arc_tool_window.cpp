// "Arc setup": the arc method, the direction of new arcs and the fixed radius.
#include "base/tool_options.h"
#include "dialogs/edit_fields.h"
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"
#include "store/geometry.h"
#include "store/parse.h"

namespace drav {

namespace {

constexpr int method_popup = 3, direction_popup = 4, radius_field = 5;
constexpr std::uint32_t cmd_method = 0x41536D72;  // 'ASmr'

std::uint16_t okSelected = 0;
double tempradius = 0;

void read_radius(DialogPtr window) {
    GetRealValueFromEditTextControl(control0(window, radius_field), &tempradius, tinyrnum, bigrnum, unit_length);
}

void SetInitialArcSetting(DialogPtr window) {
    tempradius = objopts->arc_value;
    plat::set_item_value(control0(window, method_popup), objopts->arc_opt1);
    plat::set_item_value(control0(window, direction_popup), objopts->arc_opt2);
    install_key_filter(control0(window, radius_field), FilterRealValues);
    SetArcValues(window, objopts->arc_opt1);
}

void HarvestValues(DialogPtr window) {
    read_radius(window);
    objopts->arc_opt1 = static_cast<std::int16_t>(plat::item_value(control0(window, method_popup)));
    objopts->arc_value = tempradius;
    objopts->arc_opt2 = static_cast<std::int16_t>(plat::item_value(control0(window, direction_popup)));
}

bool ArcEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_method) {
        read_radius(window);
        SetArcValues(window, plat::item_value(control0(window, method_popup)));
        return false;
    }
    return finish_on_ok_cancel(window, command, HarvestValues, &okSelected);
}

}  // namespace

void SetArcValues(DialogPtr window, int mode) {
    ControlRef radius = control0(window, radius_field);
    SetRealValueInEditTextControl(radius, tempradius, unit_length);
    if (mode == 1 || mode == 2) {
        plat::set_item_visible(radius, false);
    } else if (mode == 3) {
        plat::set_item_visible(radius, true);
        plat::select_item_text(radius, 0, 32767);
    }
}

int ShowArcToolSettingWindow() {
    okSelected = 0;
    run_settings_window("pemu", "Arc setup", SetInitialArcSetting, ArcEventHandlerProc, true);
    return okSelected;
}

}  // namespace drav
