// The tool options taken from the preferences, and the start values of the
// drawing state before the first drawing exists.
#pragma once

#include "base/tool_options.h"

namespace drav {

struct PrefsRec;

// Takes the options that live in the preferences; a colour outside 0-255 or
// a scroll amount that is not positive keeps the start value.
void copy_prefs_to_objopts(const PrefsRec& prefs);
// Start values of the settings records and the program's globals, and the
// work buffers; a buffer that cannot be had ends the program.
void init_variables();

}  // namespace drav
