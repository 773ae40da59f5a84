// The program's entry, its one loop, and the answer to a quit request.
#pragma once

#include <cstdint>

namespace drav {

extern char globalch;  // the main loop runs while it is 0

// Ends a running command and, asking first when there are unsaved changes,
// decides whether the loop may end.
void do_quit_app();
// Loads the menu bar; 0 on success.
int LoadMenus();
// Shows or hides the two module menus as the preferences say.
void UpdateMenus();
int open_selected_doc();

}  // namespace drav
