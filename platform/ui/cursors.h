// The cursor over the program's windows.
#pragma once

namespace plat {

enum class Cursor { arrow, ibeam, crosshair, watch };

void set_cursor(Cursor c);
// Hiding leaves the drawn cross-hair as the only pointer.
void show_cursor(bool visible);
// Hides the cursor until the mouse next moves (typing into a field).
void obscure_cursor();
bool cursor_obscured();

}  // namespace plat
