// "Image TS": whether mirroring keeps the originals.
#include "base/tool_options.h"
#include "dialogs/tool_setting_windows.h"

namespace drav {

namespace {

std::uint16_t okSelected = 0;

}  // namespace

int ShowImageToolSettingWindow() { return run_popup_tool_window("Image TS", &objopts->mirror_opt, &okSelected); }

}  // namespace drav
