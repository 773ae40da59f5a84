// "Intersection TS": the crossing snap takes its crossing from one picked
// object, or asks for a second.
#include "base/tool_options.h"
#include "dialogs/restraint_windows.h"
#include "dialogs/settings_window.h"
#include "platform/ui/dialogs.h"

namespace drav {

namespace {

constexpr int picks_group = 3;

void SetInitialIntersectionValue(DialogPtr window) {
    plat::set_item_value(control0(window, picks_group), objopts->intersect_opt == 0 ? 1 : 2);
}

void HarvestIntersectionValue(DialogPtr window) {
    objopts->intersect_opt = plat::item_value(control0(window, picks_group)) == 2 ? 1 : 0;
}

bool IntersectionEventHandlerProc(DialogPtr window, std::uint32_t command) {
    if (command == cmd_ok) HarvestIntersectionValue(window);
    return command == cmd_ok || command == cmd_cancel;
}

}  // namespace

int ShowIntersectionWindow() {
    return run_settings_window("drav", "Intersection TS", SetInitialIntersectionValue, IntersectionEventHandlerProc,
                               false);
}

}  // namespace drav
