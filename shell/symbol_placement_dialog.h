// The placement settings of symbols placed from the library window, opened
// by its small box at the bottom left.
#pragma once

namespace drav {

// Modal: OK stores every option, Cancel none; its clean-up button compacts
// the current library at once.
void psymbolsetup();

}  // namespace drav
