#include "shell/startup.h"

#include "shell/shutdown.h"

namespace drav {

FSRef UserAppSupportFSRef;
std::uint8_t* genenv = nullptr;

std::int16_t grid_colour() {
    if (!genenv) return 255;
    return static_cast<std::int16_t>(genenv[genenv_grid_colour] << 8 | genenv[genenv_grid_colour + 1]);
}

void set_grid_colour(std::int16_t colour) {
    if (!genenv) return;
    genenv[genenv_grid_colour] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(colour) >> 8);
    genenv[genenv_grid_colour + 1] = static_cast<std::uint8_t>(colour);
}

void initexit() { exit_program(1); }

}  // namespace drav
