// The Symbols command on one slot of the current library: adding a drawing
// as its symbol, deleting it, and whether the drawing uses it.
#pragma once

#include <cstdint>

namespace drav {

// 1 add, 2 delete, 3 details, 4 new handle, for slot (0-based).
void symbols(int choice, std::int16_t slot);
void symbdelete(std::int16_t slot);
// 1 when slot n - 1 (n 1-based) holds a symbol whose copy is in the work library.
int symbinwork(std::int16_t n);

}  // namespace drav
