// The graphics unit: world windows mapped onto the pixels of the drawing
// area, the pen primitives every renderer draws through (clipped in world
// units, then recorded into the display list or handed to the screen
// primitives), and the cross-hair kept out of the way of drawing.
#pragma once

#include <cstdint>

#include "store/settings.h"

namespace drav {

// Pixels with y counted upward; the window-local vertical of a pixel y is
// y top - y.
struct ViewportRec {
    std::int16_t xl;
    std::int16_t xr;
    std::int16_t yb;
    std::int16_t yt;
    std::int16_t width;
    std::int16_t height;
    friend bool operator==(const ViewportRec&, const ViewportRec&) = default;
};

// Primitive types, shared with the display list.
constexpr int prim_line = 2;
constexpr int prim_rect = 5;
constexpr int prim_circle = 6;

constexpr int endpoints_bytes = 4000;  // 500 doubles
constexpr int thick_codes = 32;

extern ViewportRec viewport;    // the drawing area
extern ViewportRec qdviewport;  // the main screen, also the offscreen copy
extern std::int16_t xdots, ydots;  // the drawing area's size in pixels
extern double pixelratio;
extern double aspectratio;      // viewport height / (width x pixelratio)

// World to viewport pixel: px = wvxm x + wvxa; the *r forms add 0.5.
extern double wvxm, wvxa, wvym, wvya, wvxar, wvyar;
// Viewport pixel to world.
extern double vwxm, vwxa, vwym, vwya;

extern double cx_pos, cy_pos;     // pen position, world
extern std::uint16_t clip_it;     // 0: primitives count as visible, unclipped
extern std::uint16_t clipped;     // the last primitive showed something
extern std::uint16_t listing;     // the display list records a segment
extern std::int16_t printing;     // 0 screen, 1 picture into the current port, 2 printer
extern std::uint16_t save_pts;    // collect end points into `endpoints`
extern std::int16_t num_pts;
extern double* endpoints;         // endpoints_bytes
extern double dotwidth;           // world length of one pixel
extern std::int16_t curlwidth;
extern std::int16_t screen_thick_table[thick_codes];  // strokes per width code
extern std::int16_t cursor_counter;  // the cross-hair shows while 1 or more
extern std::uint16_t drwcur;         // the cross-hair is on screen
extern double scrn_x, scrn_y;        // cross-hair position, viewport pixels

// Makes (xl, xr, yb, yb + (xr - xl) x aspect) the current window; full also
// rebases the display list and recomputes the per-view values.
void change_window(double xl, double xr, double yb, double aspect, std::int16_t full);
// Start state; ends the program when the end-point buffer cannot be had.
void initgunit();
// Re-applies the current window and redraws everything.
void SketchWindow();
void setupviewport();
void setgrvars();

void world_screen(double* x, double* y);
void screen_world(double* x, double* y);
void rel_world_screen(double dx, double dy, double* sx, double* sy);
void rel_screen_world(double sx, double sy, double* dx, double* dy);
// The same on the display list's pan canvas.
void pworld_screen(double* x, double* y);
void pscreen_world(double* x, double* y);
void prel_world_screen(double dx, double dy, double* sx, double* sy);
void prel_screen_world(double sx, double sy, double* dx, double* dy);

void move_abs(double x, double y);
void move_rel(double dx, double dy);
void line_abs(double x, double y);
void line_rel(double dx, double dy);
// line_abs to each of n points (x y each) in turn; true when any of the
// lines was visible (`clipped` is left as the last one left it).
bool polyline_abs(const double* xy, int n);
void rect_abs(double x1, double y1, double x2, double y2);
void circle_abs(double x1, double y1, double x2, double y2);
void do_obj(double x1, double y1, double x2, double y2, const WindowRec& win, int type);
void worldclip(double x1, double y1, double x2, double y2, const WindowRec& win, int type);

// Strokes for each width code: table[i] parallel strokes for a line of
// width step x (i - 1); unit is one pixel in the same length unit.
void setup_thick(std::int16_t* table, double unit, double scrf, double pltf);

void cur_stop();
void cur_go();

}  // namespace drav
