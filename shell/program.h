#pragma once

namespace drav {

// Start-up, the main loop and shut-down; what main and the test harness run.
int run_program(int argc, char** argv);

}  // namespace drav
