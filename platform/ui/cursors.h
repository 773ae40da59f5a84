// The cursor over the program's windows.
#pragma once

namespace plat {

enum class Cursor { arrow, ibeam, crosshair, watch };

void set_cursor(Cursor c);
Cursor current_cursor();
// Hiding leaves the drawn cross-hair as the only pointer.
void show_cursor(bool visible);
bool cursor_visible();

}  // namespace plat
