// "Increment TS": the smallest increment of incremental snapping.
#include "dialogs/edit_fields.h"
#include "dialogs/restraint_windows.h"
#include "dialogs/settings_window.h"
#include "store/geometry.h"
#include "store/parse.h"

namespace drav {

namespace {

constexpr int increment_field = 4;

void SetInitialIncrementValue(DialogPtr window) {
    ControlRef field = control0(window, increment_field);
    SetRealValueInEditTextControl(field, units_defs.increment, unit_length);
    install_key_filter(field, FilterRealValues);
}

// Snapping divides by the increment: a 0 (typed, or from a text that does
// not read) keeps the increment there was.
void HarvestIncrementValue(DialogPtr window) {
    double v = 0;
    GetRealValueFromEditTextControl(control0(window, increment_field), &v, tinyrnum, bigrnum, unit_length);
    if (v > 0) units_defs.increment = v;
}

bool IncrementEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_ok) HarvestIncrementValue(window);
    return command == cmd_ok || command == cmd_cancel;
}

}  // namespace

int ShowIncrementWindow() {
    return run_settings_window("drav", "Increment TS", SetInitialIncrementValue, IncrementEventHandlerProc, false);
}

}  // namespace drav
