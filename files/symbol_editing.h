// The Symbols command on one slot of the current library: adding a drawing
// as its symbol, deleting it, giving it a new handle, marking which pieces
// are its details, and whether the drawing uses it.
#pragma once

#include <cstdint>

#include "store/records.h"

namespace drav {

// 1 add, 2 delete, 3 details, 4 new handle, for slot (0-based).
void symbols(int choice, std::int16_t slot);
void symbdelete(std::int16_t slot);
// The symbol alone, fitted into the window: a click gives it its new handle.
void symbhandle(std::int16_t slot);
// The symbol alone, fitted into the window: its pieces are stepped through
// and each is kept or dropped when the drawing hides symbol details.
void symbol_detail(std::int16_t slot);
// 1 when slot n - 1 (n 1-based) holds a symbol whose copy is in the work library.
int symbinwork(std::int16_t n);

// What the editors borrow from the shell, which installs them at start-up.
struct SymbolEditHooks {
    void (*flash)(const ObjectRec& record, int force) = nullptr;  // XOR twice with pauses
    void (*add_remove_window)(int flag) = nullptr;  // opens the Add/Remove/Done buttons, or closes them
};
void set_symbol_edit_hooks(const SymbolEditHooks& hooks);

}  // namespace drav
