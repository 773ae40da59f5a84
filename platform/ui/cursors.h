// The cursor over the program's windows.
#pragma once

namespace plat {

enum class Cursor { arrow, ibeam, crosshair, watch };

void set_cursor(Cursor c);
// Hiding leaves the drawn cross-hair as the only pointer.
void show_cursor(bool visible);

}  // namespace plat
