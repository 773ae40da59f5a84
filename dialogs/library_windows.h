// The library windows: "LibraryNew" asks for a new library's folder, name,
// slots and grid; "Symbol Setup" offers the operations on one slot.
#pragma once

#include <cstdint>

#include "dialogs/dialog_helpers.h"
#include "store/files.h"

namespace drav {

extern FSRef libFolderFSRef;  // the folder chosen last in this run; none until then
extern char libName[256];
extern std::int16_t libSymbolCount, libRows, libCols;
extern std::uint16_t libOK;

// 1 after OK, with the folder, the name (256 bytes), the slots (50-1000),
// rows and columns (1-100); 0 and the outputs untouched otherwise.
int LibraryNewWindow(FSRef* folder, char* name, std::int16_t* count, std::int16_t* rows, std::int16_t* cols);
int ChooseLibFolder();
// Runs the window for slot (1-based) of the current library; 0 after a normal run.
int SymbolSetupWindow(std::int16_t slot);
void SymbolSetupButtonUpdate(DialogPtr window, std::int16_t slot);
void DoSymbols(DialogPtr window, int choice, std::int16_t slot);

}  // namespace drav
