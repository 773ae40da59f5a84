#include "shell/window_commands.h"

#include <cstring>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "display/drag_image.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "display/line_styles.h"
#include "display/screen.h"
#include "display/view_commands.h"
#include "platform/core/raster.h"
#include "shell/blink.h"
#include "shell/loop_helpers.h"
#include "store/held_object.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"

namespace drav {

namespace {

constexpr int ch_esc = 27;
constexpr int prompt_first_corner = 15;
constexpr int prompt_other_corner = 16;

// The rectangle of the running window command.
RubberRect g_rubber;
std::int16_t g_style = 1, g_colour = 0;

int draw_rubber() {
    setdrawmode(mode_xor);
    setlstyle(g_style);
    setscreencolor(g_colour);
    move_abs(g_rubber.x0, g_rubber.y0);
    line_rel(g_rubber.w, 0);
    line_rel(0, g_rubber.h);
    line_rel(-g_rubber.w, 0);
    line_rel(0, -g_rubber.h);
    return 1;
}

}  // namespace

int get_perm(double aspect, double* x0, double* y0, double* w, double* h) {
    SaveBlink();
    plat::PortSaver saver(drawCWindow ? drawCWindow : plat::current_port());
    g_rubber.w = cur_win.xr - cur_win.xl;
    g_rubber.h = cur_win.yt - cur_win.yb;
    g_style = solidstyle;
    g_colour = whitecolor;
    pr_miscmsg(prompt_first_corner);
    bool have_corner = false;
    while (!quit) {
        double x = 0, y = 0;
        const int key = get_point(&x, &y, 1);
        if (key == ch_esc) break;
        if (accepted) {
            g_rubber.x0 = x;
            g_rubber.y0 = y;
            have_corner = true;
            break;
        }
    }
    int result = 0;
    if (have_corner) {
        StartBlink(draw_rubber, 0);
        bool move = false, size = true;
        pr_miscmsg(prompt_other_corner);
        accepted = 0;
        while (!quit && !accepted && !aborted) {
            double px = 0, py = 0;
            const int key = get_point(&px, &py, 1);
            if (look_for(key)) {
                switch (key) {
                case 'P':
                    blink_off();
                    move = size = false;
                    break;
                case 'H':
                    blink_off();
                    move = true;
                    size = false;
                    break;
                case 'S':
                    blink_off();
                    move = false;
                    size = true;
                    break;
                case 'Q': quit = 1; break;
                case ch_esc: aborted = 1; break;
                default: break;
                }
            }
            if (quit || aborted) break;
            blink_off();
            if (move) {
                g_rubber.x0 = px;
                g_rubber.y0 = py;
            } else if (size) {
                make_wind(&g_rubber, aspect, px, py);
            }
            blink_on();
        }
        StopBlink();
        if (accepted && !quit && !aborted) result = settle_rubber(&g_rubber);
        *x0 = g_rubber.x0;
        *y0 = g_rubber.y0;
        *w = g_rubber.w;
        *h = g_rubber.h;
    }
    mess_clear();
    RestoreBlink();
    return result;
}

void window_in() {
    RubberRect r;
    if (get_perm(aspectratio, &r.x0, &r.y0, &r.w, &r.h) == 1) apply_window_in(r);
}

void window_out() {
    RubberRect r;
    if (get_perm(aspectratio, &r.x0, &r.y0, &r.w, &r.h) == 1) apply_window_out(r);
}

void get_window(std::int16_t interactive, std::int16_t mode) {
    plat::PortSaver saver;
    const std::int16_t saved_mode = gdrawmode, saved_pat = gdrawpat;
    setdrawmode(mode_draw);
    setdrawpat(0);
    const std::uint16_t was_idle = getidle();
    setidle(0);
    // TODO(hatch_open) the hatch palette hides while a hatch boundary is open
    blink_off();
    HeldObject held;
    held.keep();
    quit = aborted = 0;
    switch (mode) {
    case 1: get_base_window(); break;
    case 2:
        if (interactive)
            window_in();
        else
            do_cpgdn(1);
        break;
    case 3:
        if (interactive)
            window_out();
        else
            do_cpgup(1);
        break;
    case 4: full_window(); break;
    default: break;
    }
    if (held.held() && !ingrpdrag && !getidle()) {
        held.put_back();
        makenewrgn = 1;
    }
    setidle(was_idle);
    setdrawmode(saved_mode);
    setdrawpat(saved_pat);
}

}  // namespace drav
