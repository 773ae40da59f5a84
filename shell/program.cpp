#include "shell/program.h"

#include <cstdio>

#include "base/idle.h"
#include "base/menu_items.h"
#include "base/shutdown.h"
#include "display/line_styles.h"
#include "display/selection_display.h"
#include "display/screen.h"
#include "files/clipboard.h"
#include "platform/ui/cursors.h"
#include "platform/ui/events.h"
#include "shell/event_pump.h"
#include "shell/main_loop.h"
#include "shell/startup.h"
#include "shell/tool_options.h"
#include "files/library_window.h"
#include "shell/window_layers.h"
#include "store/selection_state.h"
#include "store/undo.h"

namespace drav {

int run_program(int argc, char** argv) {
    install_floor_hooks();
    if (!plat::init_application(argc, argv)) {
        std::fputs("Dravelin needs a desktop: no display was found (DISPLAY or WAYLAND_DISPLAY is not set).\n",
                   stderr);
        return 1;
    }
    plat::install_termination_handlers();
    InitClipboard();
    LoadMenus();
    // Chosen menu items reach the pump as command records (MyMenuEventHandlerProc).
    plat::flush_events(plat::everyEvent);
    plat::set_cursor(plat::Cursor::arrow);

    macgroup = 0;
    MyDisableMenu(kMyGroupMenu);  // its commands serve group mode only
    globalch = 0;
    clear_watch();  // a run before this one in the process may have ended inside a watch
    idle = 0;
    watch_on();
    objopts = new ObjOptsRec{};
    init_system();
    nullghp();
    nullohp();
    // TODO(setuphooks) the extension clients, event 0
    open_selected_doc();
    startup_library();
    {
        plat::PortSaver saver(drawCWindow);
        setdrawmode(mode_draw);
        setlstyle(solidstyle);
        setscreencolor(whitecolor);
    }
    ArrangeFP();
    FixActivate();
    watch_off();
    setidle(1);
    reset_undo();

    // Files named on the command line open as the open-documents event does.
    if (argc > 1) {
        plat::EventRecord open;
        open.what = plat::kHighLevelEvent;
        open.message = plat::ae_open_documents;
        for (int i = 1; i < argc; ++i) open.files.emplace_back(argv[i]);
        plat::post_event(std::move(open));
    }

    while (!globalch) {
        // Ended by the session (SIGTERM, SIGINT): a normal exit without questions.
        if (plat::termination_requested()) break;
        gobbleoskeys(-1);
    }

    show_system_cursor();
    PutWindowPrefs();
    watch_on();
    // TODO(sett_hpat) 0: release the hatch pattern chooser
    ReleaseClipboard();
    exit_program(0);
}

}  // namespace drav
