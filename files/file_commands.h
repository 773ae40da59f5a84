// The File menu's drawing commands: New, Open, Close, Save, Save As, Merge,
// the question whether to save changes, a new empty drawing, and Pause.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t document_exist;  // the drawing window holds a document; 0 after Close
extern std::uint32_t last_save_time;  // `abstime` of the last save or new drawing
// The byte order the current drawing was opened or last saved in: Save
// writes it again (1 native, 3 PC).
extern std::uint16_t current_format;

// Empties the workfile and the work library and resets the per-drawing
// state; the settings globals are stored into slots 0-6 afterwards.
void zeroworkfile();
// Clears workfile records first to last.
void zero_area(std::int16_t first, std::int16_t last);

// File command n: 1 New, 2 Open, 3 Close, 4 Save, 5 Save As, 6 Merge. Ends
// with `quit` set and nothing left to undo.
void filer(int n);
// 'Y' in *answer to go on (nothing to save, saved, or the changes are
// given up); 0 to stop.
void want_exit(char* answer);
void new_workfile();
int closedraw();
int saveas();
int saveas_dialog();
void fil_open_dialog(int merge);
void pause_drawing();

}  // namespace drav
