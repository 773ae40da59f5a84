// Chosen menu items: the command handler runs the command of the item's
// code; Do_command then serves the old submenus by number and tells the
// modules of every other choice.
#pragma once

#include <cstdint>

#include "platform/ui/events.h"

namespace drav {

// The platform's answer for an event left to others.
constexpr int eventNotHandledErr = -9874;

// Runs the command of a chosen item (message: its code); always answers
// eventNotHandledErr so that Do_command still sees the choice.
int MyMenuEventHandlerProc(const plat::EventRecord& event);
// choice: menu id in the high 16 bits, item (signed) in the low 16 bits.
void Do_command(std::int32_t choice);
void handle_change(int item, int which);

// The codes the handler serves, and whether each has its command yet.
int menu_command_count();
std::uint32_t menu_command_code(int i);
bool menu_command_built(std::uint32_t code);
// Lets the menu bar enable the items whose commands exist.
void register_menu_commands();

extern std::uint16_t picChanged;  // set after a paste into the drawing

// code 'cut ', 'copy' or 'past'.
void CutCopyPaste(std::uint32_t code);
// Cut, Copy and Clear follow the selection, or an extension palette's field in front.
void edit_items_follow_front();

}  // namespace drav
