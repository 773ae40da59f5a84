// "Rotation TS": the rotation step, kept in radians and edited in degrees.
#include "dialogs/edit_fields.h"
#include "dialogs/restraint_windows.h"
#include "dialogs/settings_window.h"
#include "store/geometry.h"
#include "store/parse.h"

namespace drav {

namespace {

constexpr int step_field = 4;

void SetInitialRotationValue(DialogPtr window) {
    ControlRef field = control0(window, step_field);
    SetRealValueInEditTextControl(field, raddeg(units_defs.rotation_step), unit_real);
    install_key_filter(field, FilterRealValues);
}

void HarvestRotationValue(DialogPtr window) {
    double degrees = 0;
    GetRealValueFromEditTextControl(control0(window, step_field), &degrees, -bigrnum, bigrnum, unit_angle);
    units_defs.rotation_step = adjust_rotation(degrad(degrees));
}

bool RotationEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_ok) HarvestRotationValue(window);
    return command == cmd_ok || command == cmd_cancel;
}

}  // namespace

int ShowRotationWindow() {
    return run_settings_window("drav", "Rotation TS", SetInitialRotationValue, RotationEventHandlerProc, false);
}

}  // namespace drav
