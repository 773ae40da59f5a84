// The text tool's dialog: one line of text at a time.
#pragma once

namespace drav {

// 1 and the line typed (Mac Roman) in text, 0 on Cancel.
int text_dialog(char* text);
// Lends it to the text command.
void install_text_dialog();

}  // namespace drav
