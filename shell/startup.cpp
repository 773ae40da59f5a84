#include "shell/startup.h"

namespace drav {

FSRef UserAppSupportFSRef;

}  // namespace drav
