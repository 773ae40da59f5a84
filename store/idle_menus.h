// The menu items that follow the idle state and the drawing's contents.
#pragma once

namespace drav {

// Sets `idle` to `state` and enables or disables the Edit and Palette items
// that need an idle program with objects, and brings the Undo item up to date.
// Installed as the idle interface at start-up.
void follow_idle(int state);

}  // namespace drav
