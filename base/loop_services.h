// The poll and the object in hand of the shell's command loop, lent to the
// commands below it; the shell installs them at start-up, and before that
// a poll gives the point (0, 0) and no key.
#pragma once

namespace drav {

struct LoopServices {
    int (*get_point)(double* x, double* y, int snapmode) = nullptr;
    void (*start_blink_info)() = nullptr;  // `info` becomes the object in hand, not timed
    void (*start_blink)(int (*routine)()) = nullptr;  // an XOR routine of the command's own, not timed
    void (*stop_blink)() = nullptr;
    void (*blink_on)() = nullptr;
    void (*blink_off)() = nullptr;
    void (*ref_moved)(double x, double y) = nullptr;  // the input window's reference fields follow
    void (*clip_to_front)() = nullptr;                // a visible clipboard window comes in front
};
void set_loop_services(const LoopServices& services);

// One poll: the clicked or cursor point and the upper-cased key or 0.
int loop_get_point(double* x, double* y, int snapmode);
void loop_start_blink_info();
void loop_start_blink(int (*routine)());
void loop_stop_blink();
void loop_blink_on();
// The reference point moved (called by update_ref).
void loop_ref_moved(double x, double y);
// A visible clipboard window becomes the front document.
void loop_clip_to_front();

}  // namespace drav
