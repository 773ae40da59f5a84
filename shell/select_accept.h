// Small windows of buttons shown while a command lets the user choose among
// candidates. They run no loop of their own: each button becomes input for
// the command loop that is already running.
#pragma once

#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"

namespace drav {

extern plat::Dialog* windAccept;     // Select/Accept, null while closed
extern plat::Dialog* windAddRemove;  // Add/Remove, null while closed

// Each opens its window when closed (with a Done button when flag is
// non-zero) and closes it, keeping its place, when open.
void SelectAcceptWindow(int flag);
void AddRemoveWindow(int flag);
int SelectAndAcceptDialog(const char* name);
int AddRemoveDialog(const char* name);
// A button's command; the platform's status (0 handled, eventNotHandledErr not).
int SelectAndAcceptEventHandlerProc(const plat::EventRecord& event);

}  // namespace drav
