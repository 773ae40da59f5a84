// The tool-setting dialogs of the multi-line, polygon, curve, text, copy,
// scale and explode tools. Each answers 1 after OK and 0 after Cancel (or
// when its layout cannot be used).
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

// While the curve tool runs; while the Copy tool copies the current object.
extern std::uint16_t inbezier;
extern std::uint16_t inmodcopy;

int mlinsetup();
int plysetup();
int bezsetup();
int textsetup();
int copysetup();
int sclsetup(int group);
int explsetup();

// Drawing procedures of the multi-line and end-condition squares.
void fillmlin(DialogPtr dialog, int item);
// A wall square: group 0 pivot line, 1 end lines, 2 handle line; n its value.
void draw_wall_square(DialogPtr dialog, int item, int group, int n);
void fillbez(DialogPtr dialog, int item);
// Shows the items of copy mode `mode` and hides the others.
void showcopy(DialogPtr dialog, int mode);
// Lengths on paper (1): the plot scale and kind 2; else 1.0 and kind 1.
void setformscale(int paper, double* scale, int* kind);

}  // namespace drav
