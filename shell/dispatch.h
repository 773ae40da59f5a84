// Every mouse-down and key the pump takes goes to its window, palette or
// command from here; keys for a running command wait in a 16-entry ring.
#pragma once

#include <cstdint>

#include "platform/core/qd_types.h"
#include "platform/ui/windows.h"

namespace drav {

constexpr int ring_size = 16;
extern std::int16_t chars[ring_size];  // the keystroke ring
extern std::int16_t charcount;         // where the next character is written
extern std::int16_t nextchar;          // the next character to read

void Handle_mouse_down();
void Handle_content(plat::Window* window);
void handle_drawing_content(plat::Port* port, plat::Point point);
// A press on empty space or a locked object: the marquee selects by a fence.
void marquee_selection(plat::Port* port, plat::Point press);
// A click on an object: it becomes current (shift: toggles its membership).
void pick_object(std::int16_t found);
void nomore_window(plat::Window* window);
void closeclip();
void Handle_keys();
int handle_eq_keys();
int findvalue(const std::uint16_t* table, std::uint16_t value, int count);

void do_toolcmd(int item);
void do_constraintcmd(int item);
void do_constructcmd(int item);
void do_dimensioncmd(int item);
void do_windowcmd(int n);
void do_dc_toolcmd(int item);
void do_dc_constraintcmd(int item);
void do_dc_constructcmd(int item);
void do_dc_dimensioncmd(int item);
void do_dc_windowcmd(int n);
void dim_menuoptions();

// Appends *ch to the ring for the running command and clears it.
void stuff_macch(char* ch);
// 1 when the running command takes Undo as its own 'U' (queued for it).
int command_takes_undo();
int osch_ready();
int get_osch(int flag);
void openkeyboard();

// Test hook: the table entry the last key acted on, -1 when it was no key equivalent.
int last_key_equivalent();

}  // namespace drav
