#include "base/idle.h"

#include "platform/ui/cursors.h"

namespace drav {

std::uint16_t idle = 0;
std::uint16_t watchon = 0;
std::int16_t watch_counter = 0;
std::int16_t MacCursorShowing = 1;

namespace {
IdleInterface g_idle_interface = nullptr;
CrosshairHider g_hide_crosshair = nullptr;
}  // namespace

void set_idle_interface(IdleInterface f) { g_idle_interface = f; }
void set_crosshair_hider(CrosshairHider f) { g_hide_crosshair = f; }

void show_system_cursor() {
    if (MacCursorShowing == 0) {
        plat::show_cursor(true);
        MacCursorShowing = 1;
        if (g_hide_crosshair) g_hide_crosshair();
    }
}

std::uint16_t getidle() { return idle; }

void setidle(int state) {
    if (g_idle_interface)
        g_idle_interface(state);
    else
        idle = state ? 1 : 0;
}

void watch_on() {
    watchon = 1;
    show_system_cursor();
    ++watch_counter;
    plat::set_cursor(plat::Cursor::watch);
}

void watch_off() {
    if (--watch_counter <= 0) {
        watch_counter = 0;
        watchon = 0;
        plat::set_cursor(plat::Cursor::arrow);
    }
    show_system_cursor();
}

void clear_watch() {
    watchon = 0;
    watch_counter = 0;
    plat::set_cursor(plat::Cursor::arrow);
    show_system_cursor();
}

int default_objcolor() { return 255; }

}  // namespace drav
