// The one way out of the program.
#pragma once

#include <cstdint>

namespace drav {

// Set: a normal exit leaves the two scratch files in place.
extern std::uint16_t keep_workfile;

// Flushes the store, closes and removes what start-up made (through the
// closing work installed at start-up), ends the process with status 0
// (normal) or -1 (abnormal). Never returns.
[[noreturn]] void exit_program(int abnormal);
[[noreturn]] void leave_program();
[[noreturn]] void abort_program();

// What an exit releases before the process ends; installed at start-up.
using ClosingWork = void (*)(int abnormal);
void set_closing_work(ClosingWork f);

}  // namespace drav
