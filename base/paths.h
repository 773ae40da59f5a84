// The folders, scratch-file names and environment block set at start-up.
#pragma once

#include <cstdint>

#include "platform/core/files.h"

namespace drav {

// The program's data folder; the workfile and scratch files live there.
extern plat::FileRef UserAppSupportFSRef;

// The environment block of 44 bytes; its 16-bit word at byte 42 holds the
// grid colour index.
constexpr int genenv_bytes = 44;
constexpr int genenv_grid_colour = 42;
extern std::uint8_t* genenv;
std::int16_t grid_colour();
void set_grid_colour(std::int16_t colour);

// Five names of 41 bytes: two scratch files, the hatch scratch file.
constexpr int dfilenames_bytes = 206;
constexpr int dfilename_size = 41;
extern char* dfilenames;
// The folder of the program (its data folder here) and of its scratch files.
extern std::int16_t ourvrefnum, workvrefnum;
extern std::int32_t ourDirID, workDirID;

}  // namespace drav
