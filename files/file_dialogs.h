// The open, merge and save dialogs for drawings: which files are offered,
// the merge options and the save options (what and in which byte order).
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

extern std::uint16_t openfile_format;       // of the last chosen file: 1 native, 2 picture, 3 PC
extern std::uint16_t save_openfile_format;  // restored on Cancel
extern std::uint16_t savefile_format;       // chosen in the last save dialog
extern std::uint16_t pictsave;              // `objopts` word 199 across the save dialog

// 1 when a file was chosen: its reference, folder, name (Mac Roman, 32
// bytes), format (1 native, 2 picture, 3 PC); when merging (*merge above 0 on entry)
// the merge mode (1 merge, 2 as a group) and the plot flag. 0 on Cancel.
int opendrawing_dialog(FSRef* ref, std::int16_t* vref, std::int32_t* dir, char* name, int* format, int* merge,
                       int* withplot);
// 1 when a folder and a name were accepted: the folder, the name (Mac
// Roman, in: the drawing's, out: the chosen, 32 bytes), the choice (1 the
// whole drawing, 2 the group only) and the format. 0 on Cancel.
int savedrawing_dialog(FSRef* folder, std::int16_t* vref, std::int32_t* dir, char* name, int* choice, int* format);

// Any file, whatever `type` says; the prompt (Mac Roman) is the title and
// is kept in `theprompt`. 1 with the file's folder and name (256 bytes), 0
// on Cancel.
int openanyfile_dialog(OSType type, std::int16_t* vref, std::int32_t* dir, char* name, const char* prompt);
extern char theprompt[256];

// The open dialog offers folders, native drawings (typed so, or untyped and
// named ".drw"), PC drawing files and picture files.
bool NavOpenFilterProc(const FSRef& ref);

}  // namespace drav
