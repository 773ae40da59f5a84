// Start-up: what the program sets up before the first drawing exists.
#pragma once

#include "store/files.h"

namespace drav {

// The program's data folder; the workfile and scratch files live there.
extern FSRef UserAppSupportFSRef;

// The way out when start-up cannot go on: ends the process with status -1.
[[noreturn]] void initexit();

}  // namespace drav
