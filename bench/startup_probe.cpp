// The program as ./run.sh starts it, stopped at its first idle pass: when the
// event pump first finds nothing to do it writes one byte to the descriptor
// named by DRAV_BENCH_READY_FD and ends at once, so the parent measures the
// start-up alone (time to the byte, peak resident size at the exit).
#include <cstdlib>
#include <unistd.h>

#include "platform/ui/events.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    const char* fd = std::getenv("DRAV_BENCH_READY_FD");
    const int ready = fd ? std::atoi(fd) : -1;
    plat::set_feeder([ready] {
        const char byte = 1;
        if (ready >= 0 && ::write(ready, &byte, 1) != 1) ::_exit(2);
        ::_exit(0);
        return false;
    });
    return drav::run_program(argc, argv);
}
