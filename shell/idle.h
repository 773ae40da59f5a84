// Whether a command runs, the menus and palette buttons that follow it, the
// pick checks every command uses, and the watch cursor.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

extern std::uint16_t idle;              // 1 while no command runs
extern std::uint16_t watchon;           // the watch cursor is wanted
extern std::int16_t watch_counter;      // watch_on calls not yet matched
extern std::int16_t MacCursorShowing;   // the system cursor shows (else the drawn cross-hair)

std::uint16_t getidle();
void setidle(int state);
// 1 when the object in `record` may be picked and changed for its level.
int levelok(const ObjectRec& record);
// Repairs `*index` in place; 1 when it then names a pickable object, which is
// left loaded in `info`.
int okindx(std::int16_t* index);
void checkpht();
void watch_on();
void watch_off();
void clear_watch();
// Shows the system cursor again when the drawn cross-hair stood in for it.
void show_system_cursor();
int default_objcolor();

}  // namespace drav
