// "Find setup": the cross-hair's style and whether it stays while no
// command runs.
#include "base/tool_options.h"
#include "dialogs/settings_window.h"
#include "dialogs/tool_setting_windows.h"
#include "platform/ui/dialogs.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int style_control = 3, idle_box = 4;

std::uint16_t okSelected = 0;

void SetInitialValues(DialogPtr window) {
    // Styles 2 and 3 draw as 1 does (lines across the window): they show as it.
    plat::set_item_value(control0(window, style_control), crosshair_style(swaper) != 0 ? 1 : 0);
    plat::set_item_value(control0(window, idle_box), objopts->idle_snap);
}

void HarvestValues(DialogPtr window) {
    set_crosshair_style(swaper, plat::item_value(control0(window, style_control)) & 3);
    objopts->idle_snap = static_cast<std::int16_t>(plat::item_value(control0(window, idle_box)));
}

bool CursorEventHandlerProc(DialogPtr window, std::uint32_t command) {
    return finish_on_ok_cancel(window, command, HarvestValues, &okSelected);
}

}  // namespace

int ShowCursorWindow() {
    okSelected = 0;
    run_settings_window("pemu", "Find setup", SetInitialValues, CursorEventHandlerProc, true);
    return okSelected;
}

}  // namespace drav
