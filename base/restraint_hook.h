// A drawing just read re-applies the restraints palette's snap choice, and a
// command that switches the lock itself shows it there; the palette lives
// with the shell, which installs these at start-up.
#pragma once

namespace drav {

void set_mark_restraints(void (*f)());
// Does nothing until installed.
void loop_mark_restraints();

void set_restraint_click(void (*f)(int item));
// The palette's single click on item; does nothing until installed.
void loop_restraint_click(int item);

}  // namespace drav
