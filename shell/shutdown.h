// The one way out of the program.
#pragma once

namespace drav {

// Flushes the store, closes and removes what start-up made, ends the process
// with status 0 (normal) or -1 (abnormal). Never returns.
[[noreturn]] void exit_program(int abnormal);
[[noreturn]] void leave_program();
[[noreturn]] void abort_program();

}  // namespace drav
