// Screen primitives: the drawing window and the offscreen ports, the pen
// state kept in step in both, the colour map, and lines, frames, ovals and
// dots in viewport pixels (y upward) routed by the pen mode: normal drawing
// into the offscreen copy, XOR feedback into the window.
#pragma once

#include <cstdint>

#include "display/app_pictures.h"
#include "platform/core/picture.h"
#include "platform/core/raster.h"
#include "platform/print/vector_context.h"
#include "platform/ui/windows.h"

namespace drav {

// Pen modes.
constexpr std::int16_t mode_trace = 0;
constexpr std::int16_t mode_draw = 1;
constexpr std::int16_t mode_erase = 2;
constexpr std::int16_t mode_xor = 3;

constexpr int colour_count = 256;
constexpr std::int16_t colour_white = 0;
constexpr std::int16_t colour_black = 255;

// Width of the scroll-bar band at the right and bottom of the drawing window.
constexpr int scroll_band = 15;

extern plat::Port* drawCWindow;  // the drawing window's port
extern plat::Control* horizHdl;  // reference 1
extern plat::Control* vertHdl;   // reference 2
extern plat::Rect drawRect;      // the drawing area: the port less the scroll bars
extern plat::Port* myCGrafPtr;   // offscreen copy of the drawing, `offRect`
extern plat::Rect offRect;
extern plat::Port* myrgnGrafPtr;  // drag outlines, `offrgnRect`
extern plat::Rect offrgnRect;
extern plat::Window* windSymbols;  // the symbol library window
extern plat::Control* svertHdl;    // reference 2
extern plat::Control* shorizHdl;   // reference 1
extern plat::Port* myCsGrafPtr;    // its offscreen port, `soffRect`
extern plat::Rect soffRect;
extern const AppPicture* biofPicHdl;   // picture 408, the window strip
extern const AppPicture* spropPicHdl;  // picture 424, the library window's settings box
extern std::uint16_t graphwasinit;

extern std::int16_t gdrawmode;   // pen mode
extern std::int16_t gdrawpat;    // 0 black, 1 `selectedPattern`, 2 grey
extern std::int16_t gcolor;      // colour index in use
extern std::int16_t gstyle;      // line style
extern std::uint16_t drawtoscreen;  // primitives also go straight into the window
// While set, the screen primitives paint into this context instead (in the
// offscreen copy's pixel coordinates) and nothing reaches the screen.
extern plat::VectorContext* vector_target;
extern double print_resolution_factor;
extern std::int16_t whitecolor;  // colour of markers and rubber rectangles

extern plat::RGBColor dravColors[colour_count];

// Creates the windows, ports and colour map; a window or port that cannot be
// made ends the program. 1 with err = 0.
std::int16_t opengraphics(std::int16_t* err);
void closegraphics();

plat::Port* whichdrawPort();
plat::Window* whichdrawWindow();
plat::Window* whichsymbWindow();
plat::Port* whichsymbPort();
std::int16_t isdrawWindow();

void setdrawmode(std::int16_t m);
void setdrawpat(std::int16_t p);
// An index outside 0-255 stands for black.
void setscreencolor(std::int16_t n);
void setbackgnd(std::int16_t n);
void setlinestyle(std::int16_t n);
void make_RGBBlack(plat::RGBColor* c);
void make_RGBWhite(plat::RGBColor* c);
void setDravColor(std::int16_t n, std::uint16_t r, std::uint16_t g, std::uint16_t b);
void buildcolormap();

// Viewport pixels, y upward.
void drawline(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void drawrectangle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void drawcircle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2);
void drawdot(std::int16_t x, std::int16_t y);
void cleargraphics();

// The cross-hair in XOR in the window: style 0 a small cross, else lines
// across the drawing area. Drawing it twice removes it.
void togglecursor(std::int16_t x, std::int16_t y, std::int16_t style);
void movecursor(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
                std::int16_t style);
void setstdstate();
void testuserstate();

}  // namespace drav
