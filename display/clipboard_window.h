// The clipboard window: it shows the picture on the clipboard.
#pragma once

#include "platform/core/raster.h"
#include "platform/ui/windows.h"

namespace drav {

extern plat::Window* clipCWindow;
extern plat::Control* chorizHdl;  // reference 1
extern plat::Control* cvertHdl;   // reference 2

// Creates the window, hidden, with both scroll bars at 0; called once at
// start-up. clipCWindow stays null when the window cannot be made.
void new_clip_window();
plat::Window* whichclipWindow();
plat::Port* whichclipPort();

}  // namespace drav
