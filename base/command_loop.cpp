#include "base/command_loop.h"

#include "base/loop_services.h"

namespace drav {

std::uint16_t quit = 0;
std::uint16_t aborted = 0;
std::uint16_t accepted = 0;
std::uint16_t touched = 0;
std::int16_t addnum = 2;

double last_x = 0, last_y = 0;
double keybrd_x = 0, keybrd_y = 0;
double zpos_x = 0, zpos_y = 0;
double ref_x = 0, ref_y = 0;
double abs_x = 0, abs_y = 0;
std::uint16_t abs_z = 0;
std::uint16_t whatbutt = 0;
std::uint16_t coord_avail = 0;
std::uint16_t bell_allowed = 0;
std::uint16_t snap_on = 1;
std::int16_t prevsnapmode = 1;

void update_ref(double x, double y) {
    ref_x = x;
    ref_y = y;
    loop_ref_moved(x, y);
}

namespace {
CommandLoopHooks g_hooks;
}  // namespace

void set_command_loop_hooks(const CommandLoopHooks& hooks) { g_hooks = hooks; }

void loop_blink_off() {
    if (g_hooks.blink_off) g_hooks.blink_off();
}

int loop_takes_undo() { return g_hooks.take_undo ? g_hooks.take_undo() : 0; }

int loop_pump(std::uint16_t mask) { return g_hooks.pump ? g_hooks.pump(mask) : 0; }

void loop_tool_click(int item) {
    if (g_hooks.tool_click) g_hooks.tool_click(item);
}

void loop_status_line() {
    if (g_hooks.status_line) g_hooks.status_line();
}

}  // namespace drav
