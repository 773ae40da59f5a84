#include "shell/program.h"

#include "shell/shutdown.h"
#include "shell/tool_options.h"
#include "store/record_store.h"

namespace drav {

int run_program(int argc, char** argv) {
    (void)argc;
    (void)argv;
    objopts = new ObjOptsRec{};
    init_objopts();
    // TODO(init_system) start-up, the window and the event loop arrive with the shell
    if (!init_record_store()) leave_program();
    exit_program(0);
}

}  // namespace drav
