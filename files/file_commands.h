// The File commands' shared routines: emptying the workfile and the work
// library for a new or an opened drawing.
#pragma once

#include <cstdint>

namespace drav {

// Empties the workfile and the work library and resets the per-drawing
// state; the settings globals are stored into slots 0-6 afterwards.
void zeroworkfile();
// Clears workfile records first to last.
void zero_area(std::int16_t first, std::int16_t last);

}  // namespace drav
