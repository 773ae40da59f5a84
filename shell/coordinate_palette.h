// The coordinate palette: the cursor position as the cursor moves, in the
// drawing's units; small (dialog 408) or large (dialog 421, adding the
// reference point and the offset from it).
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

constexpr int coord_small_id = 408, coord_large_id = 421;
constexpr int coord_palette_pos = 1;  // its place in lastpnt

extern DialogPtr coorDPtr;   // null while closed
extern std::uint16_t bigdial;  // 1 large layout
extern char oldabrv[6];       // the unit abbreviation last shown

// Palette menu 'PLco': opens or closes it.
void sett_coordial();
// A click on an item; item 7 switches the layout.
void docoordial(int item);
// Shows the world point (x, y).
void display_coordinates(double x, double y);
void showcoordial(const char* first, const char* second);
int active_dialog(DialogPtr dialog);

}  // namespace drav
