// "Group name": how new groups are named and the next group number.
#include "base/tool_options.h"
#include "dialogs/edit_fields.h"
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int mode_popup = 3, number_box = 4, number_field = 5, number_note = 6;
constexpr std::uint32_t cmd_mode = 0x47436E72;     // 'GCnr'
constexpr std::uint32_t cmd_numbers = 0x47436169;  // 'GCai'
constexpr int max_group = 999;

std::uint16_t okSelected = 0;

void SetInitialValues(DialogPtr window) {
    plat::set_item_value(control0(window, mode_popup), objopts->group_opt1 + 1);
    plat::set_item_value(control0(window, number_box), objopts->group_opt2);
    SetIntegerValueInEditTextControl(control0(window, number_field), props_defs.group);
    install_key_filter(control0(window, number_field), FilterIntValues);
    SetStatus(window);
}

void HarvestValues(DialogPtr window) {
    objopts->group_opt1 = static_cast<std::int16_t>(plat::item_value(control0(window, mode_popup)) - 1);
    objopts->group_opt2 = static_cast<std::int16_t>(plat::item_value(control0(window, number_box)));
    std::int16_t n = 1;
    GetIntegerValueFromEditTextControl(control0(window, number_field), &n, 1, max_group);
    props_defs.group = static_cast<std::uint16_t>(n);
}

bool GroupEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_mode || command == cmd_numbers) {
        SetStatus(window);
        return false;
    }
    return finish_on_ok_cancel(window, command, HarvestValues, &okSelected);
}

}  // namespace

void SetStatus(DialogPtr window) {
    const bool named = plat::item_value(control0(window, mode_popup)) == 2;
    const bool numbered = named && plat::item_value(control0(window, number_box)) != 0;
    plat::set_item_visible(control0(window, number_box), named);
    plat::set_item_visible(control0(window, number_field), numbered);
    plat::set_item_visible(control0(window, number_note), numbered);
}

int ShowGroupWindow() {
    okSelected = 0;
    run_settings_window("pemu", "Group name", SetInitialValues, GroupEventHandlerProc, false);
    return okSelected;
}

}  // namespace drav
