// The text tool: each line typed into the text dialog, then dragged into
// place as an XOR image and dropped with a click, turned by the restraint;
// with the automatic line feed, lines after the first go one line spacing
// below the previous at once.
#pragma once

#include <cstdint>

#include "base/tool_options.h"

namespace drav {

extern std::uint16_t typing_gtext;  // the text command runs: a property change redraws its text

constexpr int text_line_max = 72;  // characters a line may have

void add_text(ObjOptsRec& opts);
// Drags the text in hand with the pointer and stores it on a click.
void move_text(double* x, double* y, ObjOptsRec& opts);
// Turn, sizes and font of the text in hand from the restraint and the properties.
void set_text();
// Moves the text in hand n line spacings across its direction (n = -1 one
// line down in its own frame); the shift in dx, dy.
void shift_text(int n, double* dx, double* dy);
void text_key_options(int key);

// The text dialog belongs to the shell, which installs it at start-up. It
// shows `text` (Mac Roman), and answers 1 with the typed line in `text`
// (Mac Roman, at most `text_line_max` bytes), or 0 on Cancel; 0 too when
// none is installed.
using TextDialog = int (*)(char* text);
void set_text_dialog(TextDialog ask);

}  // namespace drav
