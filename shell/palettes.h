// The palettes: clicks on their items go to one router, the Palette menu
// and the close boxes toggle them by number, and their places and
// visibility are kept in the preferences between runs.
#pragma once

#include "platform/ui/dialogs.h"

namespace drav {

// Palette numbers of handle_palette_menu.
constexpr int palette_tools = 1, palette_messages = 2, palette_coordinates = 3;
constexpr int palette_construct = 6, palette_dimension = 7, palette_library = 12;

// A click on item `item` of a palette (close_box_item: its close box).
void doevent(plat::Dialog* dialog, int item);
// Toggles palette n; numbers whose palette does not exist do nothing.
void handle_palette_menu(int n);
// Shows or hides the symbol library window, checking its Palette menu item.
void sett_lib();
// Whether palette n is open.
bool palette_open(int n);
// At quit: the open palettes and their places go to the preferences, then
// the palettes close.
void save_palette_places();

}  // namespace drav
