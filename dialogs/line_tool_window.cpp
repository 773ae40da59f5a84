// "Line TS": how the line tool joins its lines.
#include "base/tool_options.h"
#include "dialogs/tool_setting_windows.h"

namespace drav {

namespace {

std::uint16_t okSelected = 0;

}  // namespace

int ShowLineToolSettingWindow() { return run_popup_tool_window("Line TS", &objopts->line_opt, &okSelected); }

}  // namespace drav
