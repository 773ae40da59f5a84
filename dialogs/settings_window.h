// What every settings window of a nib shares: made by name, given its
// command handler, filled, placed in the alert position over the drawing
// window and run application-modally until OK or Cancel.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

constexpr std::uint32_t cmd_ok = 0x6F6B2020;      // 'ok  '
constexpr std::uint32_t cmd_cancel = 0x6E6F7421;  // 'not!'

// Centred over the drawing window, a fifth of its height down (on the
// screen's top when there is no drawing window).
void place_over_drawing_window(DialogPtr window);

// Makes the window, fills it, shows it and runs it modally with the handler;
// the window is disposed of afterwards. 0, or the status of the failed
// creation (then nothing ran).
int run_settings_window(const char* nib, const char* name, void (*fill)(DialogPtr),
                        bool (*handler)(DialogPtr, std::uint32_t), bool arrow_cursor);

// The ending every settings handler shares: OK harvests the window and sets
// *ok_selected, Cancel clears it; true when either of them closes the window.
bool finish_on_ok_cancel(DialogPtr window, std::uint32_t command, void (*harvest)(DialogPtr),
                         std::uint16_t* ok_selected);

// The control of signature 0 and this id.
ControlRef control0(DialogPtr window, int id);

}  // namespace drav
