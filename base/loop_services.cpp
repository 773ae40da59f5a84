#include "base/loop_services.h"

#include "base/command_loop.h"

namespace drav {

namespace {
LoopServices g_services;
}  // namespace

void set_loop_services(const LoopServices& services) { g_services = services; }

int loop_get_point(double* x, double* y, int snapmode) {
    if (g_services.get_point) return g_services.get_point(x, y, snapmode);
    *x = 0;
    *y = 0;
    accepted = 0;
    return 0;
}

void loop_start_blink_info() {
    if (g_services.start_blink_info) g_services.start_blink_info();
}

void loop_start_blink(int (*routine)()) {
    if (g_services.start_blink) g_services.start_blink(routine);
}

void loop_stop_blink() {
    if (g_services.stop_blink) g_services.stop_blink();
}

void loop_blink_on() {
    if (g_services.blink_on) g_services.blink_on();
}

void loop_ref_moved(double x, double y) {
    if (g_services.ref_moved) g_services.ref_moved(x, y);
}

void loop_clip_to_front() {
    if (g_services.clip_to_front) g_services.clip_to_front();
}

int loop_esc_scan() { return g_services.esc_scan ? g_services.esc_scan() : 0; }

}  // namespace drav
