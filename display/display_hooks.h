// The display's side of the hooks through which lower floors reach it.
#pragma once

namespace drav {

// The store draws what it stores and has the window repainted through the
// display; the watch hides the drawn cross-hair. Called at start-up.
void install_display_hooks();

}  // namespace drav
