// The message palette: the one line through which commands talk to the
// user. While it is closed, messages are not shown and not kept.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/windows.h"

namespace drav {

extern plat::Window* windMessage;  // null while closed

// Opens the palette at its saved place (or the default one); 0 on success.
int ShowMessageWindow();
void CloseMessageWindow();
void ToggleMessageWindow();
// The palette's close box; handled (0).
int MesssageCloseEventHandlerProc();
// While open: flag 1 and the content's top-left corner (global).
void SaveMessageWindowPosition(std::int16_t* flag, plat::Point* point);
// Mac Roman text.
void DisplayCStringMessage(const char* text);
// UTF-8 text.
void DisplayCFStrMessage(const std::string& text);
int DisplayLocalMessage(int table, int index);
// The text shown, at most 79 bytes and a NUL; empty while closed.
void RetrieveCStringMessage(char* buffer);

}  // namespace drav
