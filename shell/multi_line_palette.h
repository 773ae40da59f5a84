// The multi-line palette beside the wall command: the pivot, end-line and
// handle squares (one of each row inverted) and two check boxes, which
// change the wall settings at once.
#pragma once

#include "platform/ui/dialogs.h"

namespace drav {

constexpr int mlin_palette_id = 496;
// First squares of the rows, the cut and the option check boxes.
constexpr int mlin_pivot_item = 3, mlin_caps_item = 7, mlin_hand_item = 12;
constexpr int mlin_cut_item = 15, mlin_flag_item = 16;
// The palette's place in lastpnt.
constexpr int mlin_palette_pos = 7;

extern plat::Dialog* mlinDPtr;  // null while closed

// Opens the palette when closed, closes it (keeping its place) when open.
void sett_mlin();
// A click on a palette item.
void domlin(int item);
// Draws a square of the palette, inverted when its value is the current one.
void fill_mlin_square(plat::Dialog* dialog, int item);
// Brings the open palette in line with the settings.
void refresh_mlin_palette();

}  // namespace drav
