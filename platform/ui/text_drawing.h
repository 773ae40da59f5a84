// Text of the desktop's font drawn into a port, for the few windows that show
// plain text lines (the message palette).
#pragma once

#include <string>

#include "platform/core/raster.h"

namespace plat {

// Erases `box` (local pixels) to the port's back colour and draws the text
// in its fore colour, left-aligned and centred vertically, clipped to the box.
void draw_text_line(Port* port, const Rect& box, const std::string& utf8);

}  // namespace plat
