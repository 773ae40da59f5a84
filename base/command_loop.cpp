#include "base/command_loop.h"

namespace drav {

std::uint16_t quit = 0;
std::uint16_t aborted = 0;
std::uint16_t accepted = 0;
std::uint16_t touched = 0;

double last_x = 0, last_y = 0;
double keybrd_x = 0, keybrd_y = 0;

}  // namespace drav
