// The Library command: a new symbol library, opening one as the current
// library, and compacting the current one.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

// 1 new, 2 open, 3 clean up.
void library(int choice);
void crunch_library();
// "Choose a Library": folders and libraries only. 1 with the file's
// reference, folder, name (256 bytes) and, with `custom`, the catalog check
// box; 0 (and `aborted` set) when nothing was chosen.
int openlib_dialog(FSRef* ref, std::int16_t* vref, std::int32_t* dir, char* name, int custom, int* checkbox);
// Offers folders and files of type '2DL ' and creator 'DRAV'.
bool NavLibOpenFilterProc(const FSRef& ref);

}  // namespace drav
