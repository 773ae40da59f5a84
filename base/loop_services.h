// The poll and the object in hand of the shell's command loop, lent to the
// commands below it; the shell installs them at start-up, and before that
// a poll gives the point (0, 0) and no key.
#pragma once

namespace drav {

struct LoopServices {
    int (*get_point)(double* x, double* y, int snapmode) = nullptr;
    void (*start_blink_info)() = nullptr;  // `info` becomes the object in hand, not timed
    void (*start_blink)(int (*routine)()) = nullptr;  // the same drawn by an XOR routine of its own
    void (*stop_blink)() = nullptr;
    void (*blink_on)() = nullptr;
    void (*blink_off)() = nullptr;
    void (*ref_moved)(double x, double y) = nullptr;  // the input window's reference fields follow
    void (*clip_to_front)() = nullptr;                // a visible clipboard window comes in front
    int (*esc_scan)() = nullptr;                      // 1 when an escape is waiting
};
void set_loop_services(const LoopServices& services);

// One poll: the clicked or cursor point and the upper-cased key or 0.
int loop_get_point(double* x, double* y, int snapmode);
void loop_start_blink_info();
// The object in hand is drawn by `routine` (XOR; a second call removes it).
void loop_start_blink(int (*routine)());
void loop_stop_blink();
void loop_blink_on();
// The reference point moved (called by update_ref).
void loop_ref_moved(double x, double y);
// A visible clipboard window becomes the front document.
void loop_clip_to_front();
// The cancel poll of long loops: 1 when an escape was waiting (0 before start-up).
int loop_esc_scan();

}  // namespace drav
