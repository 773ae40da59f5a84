// Nib windows that stay open while the program goes on (the grid window):
// the event pump hands them their commands and keys.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"
#include "platform/ui/events.h"

namespace drav {

using WindowHandler = bool (*)(DialogPtr window, std::uint32_t command);

// From now until the window is disposed of, its commands go to `handler`.
void install_window_handler(DialogPtr window, WindowHandler handler);
// True when the event belonged to such a window and was handled: a command
// goes to its handler, a key to the window's focused field.
bool modeless_window_event(const plat::EventRecord& event);

}  // namespace drav
