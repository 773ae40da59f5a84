#include "shell/command_services.h"

#include "base/loop_services.h"
#include "shell/blink.h"
#include "shell/input_window.h"
#include "shell/loop_helpers.h"

namespace drav {

void install_loop_services() {
    LoopServices s;
    s.get_point = get_point;
    s.start_blink_info = [] { StartBlink(blinkinfo, 0); };
    s.stop_blink = StopBlink;
    s.blink_on = blink_on;
    s.blink_off = blink_off;
    s.ref_moved = show_reference_point;
    set_loop_services(s);
}

}  // namespace drav
