#include "base/shutdown.h"

#include "platform/core/process.h"

namespace drav {

std::uint16_t keep_workfile = 0;

namespace {
ClosingWork g_closing_work = nullptr;
}  // namespace

void set_closing_work(ClosingWork f) { g_closing_work = f; }

void exit_program(int abnormal) {
    if (g_closing_work) g_closing_work(abnormal);
    plat::exit_process(abnormal ? -1 : 0);
}

void leave_program() { exit_program(1); }
void abort_program() { exit_program(1); }

}  // namespace drav
