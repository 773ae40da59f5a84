// "Ellipse TS": how the ellipse tool takes its points.
#include "base/tool_options.h"
#include "dialogs/tool_setting_windows.h"

namespace drav {

namespace {

std::uint16_t okSelected = 0;

}  // namespace

int ShowEllipseToolSettingWindow() { return run_popup_tool_window("Ellipse TS", &objopts->ellipse_opt, &okSelected); }

}  // namespace drav
