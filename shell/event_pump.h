// The one event loop: every wait for input is a pass of gobbleoskeys.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

namespace drav {

// The event every handler reads.
extern plat::EventRecord myEvent;
extern std::uint16_t snapidle;   // restraints clicks act at once while 1
extern std::uint16_t windowidle; // window-button clicks act at once while 1

// Postponement codes.
constexpr std::int16_t pp_dimension = 3, pp_build = 4, pp_restraint = 5, pp_window_double = 6,
                       pp_window_single = 7, pp_symbol = 9, pp_tool = 11, pp_construct = 13;

// One pass: takes and dispatches one event. Non-zero when an event came.
int gobbleoskeys(int mask);
int getevent(int mask, plat::EventRecord* event);
int postpone_event(std::int16_t code, std::int16_t item);
int postpone_symbol(plat::Window* window, plat::Point* point);
int postpone_snap(std::int16_t code, std::int16_t item);
int postpone_window(std::int16_t code, std::int16_t item);
int isdoubleclick();
void Cursor_adjust();
void Handle_update(plat::Window* window);
void RedrawWindow(plat::Window* window);
void Get_Drawing();
void Handle_activate();
int kbd_event();
int cmdkey_pressed();
int charcode();

// Test hook: the postponed command waiting for replay (0 when none).
std::int16_t postponed_code();
std::int16_t postponed_item();
// Test hook: a run that ended with a command postponed leaves none for the next.
void forget_postponed();

}  // namespace drav
