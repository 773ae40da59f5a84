#include "platform/core/process.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace plat {

namespace {
bool g_exit_throws = false;
}

void exit_process(int status) {
    std::fflush(stdout);
    if (g_exit_throws) throw ProgramExit{status};
    std::exit(status);
}

void set_exit_throws(bool on) { g_exit_throws = on; }

std::filesystem::path bundle_dir() {
    if (const char* d = std::getenv("DRAVELIN_DATA"); d && *d) return d;
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        auto installed = exe.parent_path().parent_path() / "share" / "dravelin";
        if (std::filesystem::is_directory(installed, ec)) return installed;
    }
    return DRAV_BUILD_DATA_DIR;
}

}  // namespace plat
