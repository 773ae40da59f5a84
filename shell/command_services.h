// Lends the command loop's poll and the object in hand to the commands.
#pragma once

namespace drav {

void install_loop_services();

}  // namespace drav
