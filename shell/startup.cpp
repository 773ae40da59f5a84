#include "shell/startup.h"

#include "shell/shutdown.h"

namespace drav {

FSRef UserAppSupportFSRef;

void initexit() { exit_program(1); }

}  // namespace drav
