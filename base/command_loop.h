// The flags that end or advance a command's loop.
#pragma once

#include <cstdint>

namespace drav {

extern std::uint16_t quit;      // end the running command
extern std::uint16_t aborted;   // ESC: undo what the command added
extern std::uint16_t accepted;  // the current step is accepted
extern std::uint16_t touched;

extern double last_x, last_y;        // last cursor point, world
extern double keybrd_x, keybrd_y;    // keyboard cursor, world

}  // namespace drav
