// Whether a command runs, and the watch cursor of a busy phase.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t idle;              // 1 while no command runs
extern std::uint16_t watchon;           // the watch cursor is wanted
extern std::int16_t watch_counter;      // watch_on calls not yet matched
extern std::int16_t MacCursorShowing;   // the system cursor shows (else the drawn cross-hair)

std::uint16_t getidle();
// Sets `idle` and brings the menus and palettes in line with it, through the
// interface installed at start-up; without one only the flag changes.
void setidle(int state);
void watch_on();
void watch_off();
void clear_watch();
// Shows the system cursor again when the drawn cross-hair stood in for it.
void show_system_cursor();
int default_objcolor();

// Installed at start-up by the floors that own them. The idle interface sets
// `idle` itself, so it sees the state it leaves.
using IdleInterface = void (*)(int state);
void set_idle_interface(IdleInterface f);
// Hides the drawn cross-hair.
using CrosshairHider = void (*)();
void set_crosshair_hider(CrosshairHider f);

}  // namespace drav
