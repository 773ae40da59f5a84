// Ending the process, and where the program's shipped data lives.
#pragma once

#include <filesystem>

namespace plat {

// Thrown instead of ending the process while exits are caught (tests).
struct ProgramExit {
    int status;
};

[[noreturn]] void exit_process(int status);
// Tests make exit_process throw ProgramExit so the harness can check the status.
void set_exit_throws(bool on);

// $DRAVELIN_DATA; else share/dravelin beside the installed executable;
// else the build's data folder.
std::filesystem::path bundle_dir();

}  // namespace plat
