#include "shell/shutdown.h"

#include "platform/core/process.h"
#include "shell/tool_options.h"
#include "store/files.h"
#include "store/record_store.h"
#include "store/selection_state.h"

namespace drav {

namespace {
bool g_exiting = false;

struct ExitingFlag {
    ExitingFlag() { g_exiting = true; }
    ~ExitingFlag() { g_exiting = false; }
};
}  // namespace

void exit_program(int abnormal) {
    // A failure while shutting down (a fatal store error in the final flush)
    // must not start a second shut-down.
    if (g_exiting) plat::exit_process(-1);
    ExitingFlag flag;
    if (buffer) nomore_info();
    FSRef_CloseMyFile(&workfileRefNum);
    // TODO(exit_program_cleanup) the rest of shut-down arrives with start-up: scratch files, libraries, display list, modules
    if (!abnormal) {
        free_record_store();
        free_selection_sets();
        delete objopts;
        objopts = nullptr;
    }
    plat::exit_process(abnormal ? -1 : 0);
}

void leave_program() { exit_program(1); }
void abort_program() { exit_program(1); }

}  // namespace drav
