// The coordinate input window: a point typed as absolute coordinates,
// offsets from the reference point, or an angle and a distance, entered as
// if it had been clicked.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"

namespace drav {

extern DialogPtr windInput;              // null until first opened; then only shown and hidden
extern std::uint16_t inputWindVisible;   // 1 while shown
extern ControlRef lastControl;           // the control of the previous command

// Palette menu 'PLin': opens the window, or hides it when shown.
void SettingsInput();
void close_input();
// Fills the window from the input mode and the reference point.
void showInput();
void setFocus(int id);
// The window's commands; true when handled.
bool InputEventHandlerProc(DialogPtr window, std::uint32_t command);
// The close box hides the window.
void InputCloseEventHandlerProc();
void doinput();
void markinput();
int finish_input();
// The reference fields follow update_ref.
void show_reference_point(double x, double y);

}  // namespace drav
