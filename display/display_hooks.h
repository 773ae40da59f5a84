// The display's side of the hooks through which lower floors reach it.
#pragma once

namespace drav {

// The store draws what it stores through the display; the watch hides the
// drawn cross-hair; alerts and record operations have the drawing area
// repainted. Called at start-up.
void install_display_hooks();

}  // namespace drav
