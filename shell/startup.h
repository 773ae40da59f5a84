// Start-up: what the program sets up before the first drawing exists.
#pragma once

#include "store/files.h"

namespace drav {

// The program's data folder; the workfile and scratch files live there.
extern FSRef UserAppSupportFSRef;

}  // namespace drav
