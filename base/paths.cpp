#include "base/paths.h"

namespace drav {

plat::FileRef UserAppSupportFSRef;
std::uint8_t* genenv = nullptr;
char* dfilenames = nullptr;
std::int16_t ourvrefnum = 0, workvrefnum = 0;
std::int32_t ourDirID = 0, workDirID = 0;

std::int16_t grid_colour() {
    if (!genenv) return 255;
    return static_cast<std::int16_t>(genenv[genenv_grid_colour] << 8 | genenv[genenv_grid_colour + 1]);
}

void set_grid_colour(std::int16_t colour) {
    if (!genenv) return;
    genenv[genenv_grid_colour] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(colour) >> 8);
    genenv[genenv_grid_colour + 1] = static_cast<std::uint8_t>(colour);
}

}  // namespace drav
