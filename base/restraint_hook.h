// A drawing just read re-applies the restraints palette's snap choice; the
// palette lives with the shell, which installs this at start-up.
#pragma once

namespace drav {

void set_mark_restraints(void (*f)());
// Does nothing until installed.
void loop_mark_restraints();

}  // namespace drav
