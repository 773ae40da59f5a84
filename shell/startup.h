// Start-up: what the program sets up before the first drawing exists.
#pragma once

#include <cstdint>

#include "store/files.h"

namespace drav {

// The program's data folder; the workfile and scratch files live there.
extern FSRef UserAppSupportFSRef;

// The environment block of 44 bytes; its 16-bit word at byte 42 holds the
// grid colour index.
constexpr int genenv_bytes = 44;
constexpr int genenv_grid_colour = 42;
extern std::uint8_t* genenv;
std::int16_t grid_colour();
void set_grid_colour(std::int16_t colour);

// The way out when start-up cannot go on: ends the process with status -1.
[[noreturn]] void initexit();

}  // namespace drav
