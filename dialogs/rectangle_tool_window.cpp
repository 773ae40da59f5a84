// "Rectangle TS": how the rectangle tool takes its points.
#include "base/tool_options.h"
#include "dialogs/tool_setting_windows.h"

namespace drav {

namespace {

std::uint16_t okSelected = 0;

}  // namespace

int ShowRectangleToolSettingWindow() { return run_popup_tool_window("Rectangle TS", &objopts->rect_opt, &okSelected); }

}  // namespace drav
