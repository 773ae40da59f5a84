// "Move TS": how a group move reads its vector.
#include "base/tool_options.h"
#include "dialogs/tool_setting_windows.h"

namespace drav {

namespace {

std::uint16_t okSelected = 0;

}  // namespace

int ShowMoveToolSettingWindow() { return run_popup_tool_window("Move TS", &objopts->move_opt, &okSelected); }

}  // namespace drav
