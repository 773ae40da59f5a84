#include "shell/command_services.h"

#include "base/command_loop.h"
#include "base/loop_services.h"
#include "display/clipboard_window.h"
#include "platform/ui/events.h"
#include "platform/ui/windows.h"
#include "shell/blink.h"
#include "shell/input_window.h"
#include "shell/loop_helpers.h"
#include "shell/window_layers.h"

namespace drav {

void install_loop_services() {
    LoopServices s;
    s.get_point = [](double* x, double* y, int snapmode) {
        const int key = get_point(x, y, snapmode);
        // The session ending the program ends the running command too, keeping its work.
        if (plat::termination_requested()) quit = 1;
        return key;
    };
    s.start_blink_info = [] { StartBlink(blinkinfo, 0); };
    s.start_blink = [](int (*routine)()) { StartBlink(routine, 0); };
    s.stop_blink = StopBlink;
    s.blink_on = blink_on;
    s.blink_off = blink_off;
    s.ref_moved = show_reference_point;
    s.esc_scan = esc_scan;
    s.clip_to_front = [] {
        if (clipCWindow && plat::window_visible(clipCWindow)) SelectDocument(clipCWindow);
    };
    set_loop_services(s);
}

}  // namespace drav
