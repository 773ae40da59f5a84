// The display list's pan canvas: a fixed canvas of pixels whose home area
// is the current window widened to the size of the screen. Rebasing it on
// a new window gives the pan mapping between world and canvas pixels.
#pragma once

#include <cstdint>

#include "display/graphics_unit.h"
#include "store/settings.h"

namespace drav {

// The canvas's edges; y counts upward, so the top limit holds the lower edge.
extern std::int32_t leftzoomlimit, rightzoomlimit, topzoomlimit, bottomzoomlimit;
extern std::int16_t mzxl, mzxr, mzyb, mzyt;
extern std::int32_t mzdx;  // canvas width

extern WindowRec pancur_win;  // world window of the canvas's home area
extern WindowRec clpcur_win;  // world window of the whole canvas
// World to canvas pixels and back.
extern double pwvxm, pwvxa, pwvym, pwvya;
extern double pvwxm, pvwxa, pvwym, pvwya;

extern ViewportRec panvp;  // visible part of the canvas
extern std::int16_t pandx, pandy;
extern std::int16_t zoom, oldzoom, zoomround;

// Rebases the canvas on `cur_win`. The stored segments keep the old
// mapping; the caller redraws everything afterwards.
void _changelist();

}  // namespace drav
