// Redraw and the view commands: the quick redraw from the display list, the
// base and full windows, the arithmetic of window in and out, and the view
// keys that move the display list's view.
#pragma once

#include <cstdint>

#include "store/settings.h"

namespace drav {

// The Redraw command: replays the display list, or redraws every record
// when there is none.
void sketch();
// Redraw after the colours changed: the matching records drawn again.
void levsketch(std::int16_t templates, std::int16_t markers, std::int16_t symbols, std::int16_t symbols2,
               std::int16_t other);
void get_base_window();
// The window fitted round every showable object, widened by 2 %; error 39
// when it is not a valid view; nothing without objects.
void full_window();
// 1 when the window may become the view.
int valid_window(const WindowRec* win);

// The rubber rectangle of window in and out: a first corner, a signed size.
struct RubberRect {
    double x0 = 0, y0 = 0, w = 0, h = 0;
};
// Sizes the rectangle to (px, py) keeping the drawing area's proportions.
void make_wind(RubberRect* r, double aspect, double px, double py);
// The rectangle accepted: (x0, y0) becomes its lower-left corner; 1 when it
// has both a width and a height.
int settle_rubber(RubberRect* r);
// The settled rectangle becomes the view (error 37 when not valid) / the old
// view shrinks into it (error 38).
void apply_window_in(const RubberRect& r);
void apply_window_out(const RubberRect& r);

void centerx(double* right, double* left, double* top, double* bottom, double* ext_right, double* ext_left);
void centery(double* top, double* bottom, double* right, double* left, double* ext_top, double* ext_bottom);

// The view keys: nothing unless `zoom_arrows` is set and the list is there.
void do_ins();
void do_del();
void do_chome();
void do_cend();
void do_zoomlist(std::int16_t n);
void do_cleft();
void do_cright();
void do_cpgup(std::int16_t n);
void do_cpgdn(std::int16_t n);
void do_panlist(std::int16_t dx, std::int16_t dy);
void do_left(std::int16_t n);
void do_right(std::int16_t n);
void do_down(std::int16_t n);
void do_up(std::int16_t n);
void do_pgup(std::int16_t dx, std::int16_t dy);
void do_pgdn(std::int16_t dx, std::int16_t dy);
void do_home(std::int16_t dx, std::int16_t dy);
void do_end(std::int16_t dx, std::int16_t dy);
void do_horzthumb();
void do_vertthumb();

}  // namespace drav
