#include "display/screen.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "base/messages.h"
#include "base/shutdown.h"
#include "base/tool_options.h"
#include "display/clip_tests.h"
#include "display/clipboard_window.h"
#include "display/drawing_window.h"
#include "display/graphics_unit.h"
#include "platform/core/text.h"
#include "store/current_drawing.h"

namespace drav {

plat::Port* drawCWindow = nullptr;
plat::Control* horizHdl = nullptr;
plat::Control* vertHdl = nullptr;
plat::Rect drawRect{};
plat::Port* myCGrafPtr = nullptr;
plat::VectorContext* vector_target = nullptr;
plat::Rect offRect{};
plat::Port* myrgnGrafPtr = nullptr;
plat::Rect offrgnRect{};
plat::Window* windSymbols = nullptr;
plat::Control* svertHdl = nullptr;
plat::Control* shorizHdl = nullptr;
plat::Port* myCsGrafPtr = nullptr;
plat::Rect soffRect{};
const AppPicture* biofPicHdl = nullptr;
const AppPicture* spropPicHdl = nullptr;
std::uint16_t graphwasinit = 0;

std::int16_t gdrawmode = 0;
std::int16_t gdrawpat = 0;
std::int16_t gcolor = 1;
std::int16_t gstyle = 1;
std::uint16_t drawtoscreen = 0;
double print_resolution_factor = 1.0;
std::int16_t whitecolor = 1;

plat::RGBColor dravColors[colour_count] = {};

namespace {

constexpr int err_no_graphics = 143;  // table 406
constexpr int symbols_at = 200;       // the symbol window's place
constexpr int symbols_size = 10 * 23 + 14;  // a grid of 10 x 10 cells and its bars

std::int16_t clamp16(int v) { return static_cast<std::int16_t>(std::clamp(v, -32768, 32767)); }

plat::Rect rect(int top, int left, int bottom, int right) {
    return {clamp16(top), clamp16(left), clamp16(bottom), clamp16(right)};
}

// The two ports whose pen state the setters keep in step.
template <class F>
void both_ports(F f) {
    if (myCGrafPtr) f(*myCGrafPtr);
    if (drawCWindow) f(*drawCWindow);
}

enum class Figure { line, frame, oval };

// Draws in port-local coordinates; verticals are already converted.
void draw_figure(plat::Port& p, Figure f, int h1, int v1, int h2, int v2) {
    if (f == Figure::line) {
        p.move_to(clamp16(h1), clamp16(v1));
        p.line_to(clamp16(h2), clamp16(v2));
        return;
    }
    // Both corner pixels lie on the frame.
    const plat::Rect r = rect(std::min(v1, v2), std::min(h1, h2), std::max(v1, v2) + 1,
                              std::max(h1, h2) + 1);
    if (f == Figure::frame)
        p.frame_rect(r);
    else
        p.frame_oval(r);
}

// A figure in the vector context: lines through pixel centres, so that the
// context inks the pixels the raster code would.
void draw_vector_figure(plat::VectorContext& c, Figure f, int h1, int v1, int h2, int v2) {
    if (f == Figure::line && h1 == h2 && v1 == v2) {
        c.add_rect(h1, v1, 1, 1);
        c.fill();
        return;
    }
    if (f == Figure::line) {
        c.move_to(h1 + 0.5, v1 + 0.5);
        c.line_to(h2 + 0.5, v2 + 0.5);
    } else {
        const double left = std::min(h1, h2) + 0.5, top = std::min(v1, v2) + 0.5;
        const double w = std::abs(h2 - h1), h = std::abs(v2 - v1);
        if (f == Figure::frame)
            c.add_rect(left, top, w, h);
        else
            c.add_ellipse(left, top, w, h);
    }
    c.stroke();
}

const plat::RGBColor& colour(int n);

void route(Figure f, int x1, int y1, int x2, int y2) {
    if (vector_target) {
        draw_vector_figure(*vector_target, f, x1, qdviewport.yt - y1, x2, qdviewport.yt - y2);
        return;
    }
    if (printing == 1) {
        if (plat::Port* cur = plat::current_port()) {
            // The picture carries the object's colour; the screen ports keep theirs.
            cur->set_fore_color(colour(gcolor));
            draw_figure(*cur, f, x1, viewport.yt - y1, x2, viewport.yt - y2);
        }
        return;
    }
    if (printing == 2) {
        // TODO(print_context) printer drawing goes through the print session's vector context, coordinates times print_resolution_factor
        return;
    }
    const int qv1 = qdviewport.yt - y1, qv2 = qdviewport.yt - y2;
    if (drawourrgn) {
        if (myrgnGrafPtr) draw_figure(*myrgnGrafPtr, f, x1, qv1, x2, qv2);
    } else if ((gdrawmode == mode_xor || drawtoscreen) && drawCWindow) {
        const plat::Rect clip = drawCWindow->clip();
        drawCWindow->set_clip(drawRect);
        draw_figure(*drawCWindow, f, x1, viewport.yt - y1, x2, viewport.yt - y2);
        drawCWindow->set_clip(clip);
    }
    if ((gdrawmode == mode_draw || gdrawmode == mode_erase) && myCGrafPtr)
        draw_figure(*myCGrafPtr, f, x1, qv1, x2, qv2);
}

const plat::RGBColor& colour(int n) {
    return dravColors[n >= 0 && n < colour_count ? n : colour_black];
}

plat::Control* scroll_bar(plat::Window* w, const plat::Rect& r, long refcon) {
    return plat::new_scroll_bar(w, r, refcon, 0, 0, 0);
}

bool port_is(const plat::Port* p, int width, int height) {
    return p && p->width() == width && p->height() == height;
}

// An offscreen port of the given size, or null.
plat::Port* new_offscreen(int width, int height) {
    auto p = std::make_unique<plat::Port>();
    if (!p->resize(width, height)) return nullptr;
    return p.release();
}

[[noreturn]] void no_graphics() {
    show_error(err_no_graphics, 0);
    exit_program(1);
}

}  // namespace

std::int16_t opengraphics(std::int16_t* err) {
    plat::PortSaver saved;
    const plat::Rect screen = plat::screen_bounds();
    const int sw = screen.right - screen.left, sh = screen.bottom - screen.top;
    pixelratio = 1.0;
    xdots = clamp16(sw);
    ydots = clamp16(sh);
    gstyle = 1;
    whitecolor = 1;
    gdrawmode = 0;
    gcolor = 1;
    graphwasinit = 0;

    new_clip_window();
    if (!clipCWindow) no_graphics();

    // The drawing window covers the screen until start-up places it.
    plat::WindowSpec desc;
    desc.kind = plat::WindowKind::document;
    desc.main = true;
    desc.grow_box = true;
    desc.bounds = screen;
    plat::Window* w = plat::new_window(desc);
    drawCWindow = plat::window_port(w);
    plat::set_minimum_size(w, min_drawing_width, min_drawing_height);
    if (!port_is(drawCWindow, sw, sh)) no_graphics();
    plat::Rect horiz, vert;
    drawing_scroll_rects(drawCWindow->port_rect(), &horiz, &vert);
    horizHdl = scroll_bar(w, horiz, 1);
    vertHdl = scroll_bar(w, vert, 2);
    if (!horizHdl || !vertHdl) no_graphics();
    // Every press on them is the program's: a dragged thumb moves the view.
    plat::set_control_tracked(horizHdl, true);
    plat::set_control_tracked(vertHdl, true);

    setupviewport();
    drawCWindow->set_clip(drawCWindow->port_rect());
    offRect = rect(0, 0, sh, sw);
    drawRect = drawing_area(drawCWindow->port_rect());
    // The open drawing's name; before start-up names it, the untitled name.
    plat::set_window_title(w, current_drawing.name[0] ? plat::macroman_to_utf8(current_drawing.name)
                                                      : GetMyLocalCFString(tbl_names, 1));
    biofPicHdl = GetPicture(408);
    spropPicHdl = GetPicture(424);

    offrgnRect = rect(0, 0, ydots, xdots);
    myrgnGrafPtr = new_offscreen(xdots, ydots);
    myCGrafPtr = new_offscreen(sw, sh);
    if (!myrgnGrafPtr || !myCGrafPtr) no_graphics();

    // A document like the drawing window: it stays below the palettes.
    plat::WindowSpec sdesc;
    sdesc.kind = plat::WindowKind::document;
    sdesc.grow_box = true;
    sdesc.bounds = rect(symbols_at, symbols_at, symbols_at + symbols_size, symbols_at + symbols_size);
    windSymbols = plat::new_window(sdesc);
    if (!port_is(plat::window_port(windSymbols), symbols_size, symbols_size)) no_graphics();
    const int ss = symbols_size;
    svertHdl = scroll_bar(windSymbols, rect(-1, ss - 15, ss - 14, ss + 1), 2);
    shorizHdl = scroll_bar(windSymbols, rect(ss - 15, 14, ss + 1, ss - 14), 1);
    soffRect = rect(0, 0, sh, sw);
    myCsGrafPtr = new_offscreen(sw, sh);
    if (!svertHdl || !shorizHdl || !myCsGrafPtr) no_graphics();
    plat::move_window(windSymbols, symbols_at, symbols_at, false);

    buildcolormap();
    graphwasinit = 1;
    *err = 0;
    return 1;
}

void closegraphics() {
    if (!graphwasinit) return;
    delete myCGrafPtr;
    myCGrafPtr = nullptr;
    delete myCsGrafPtr;
    myCsGrafPtr = nullptr;
    // The drag-outline port goes as well, so nothing of the screen's size is left behind.
    delete myrgnGrafPtr;
    myrgnGrafPtr = nullptr;
    graphwasinit = 0;
}

plat::Port* whichdrawPort() { return drawCWindow; }
plat::Window* whichdrawWindow() { return plat::window_of_port(drawCWindow); }
plat::Window* whichsymbWindow() { return windSymbols; }
plat::Port* whichsymbPort() { return plat::window_port(windSymbols); }
std::int16_t isdrawWindow() { return drawCWindow && plat::current_port() == drawCWindow; }

void setdrawmode(std::int16_t m) {
    if (m == gdrawmode) return;
    static constexpr std::int16_t modes[] = {plat::srcCopy, plat::patCopy, plat::notPatCopy, plat::patXor};
    if (m >= 0 && m <= 3) both_ports([m](plat::Port& p) { p.set_pen_mode(modes[m]); });
    gdrawmode = m;
}

void setdrawpat(std::int16_t p) {
    if (p == gdrawpat) return;
    if (p == 0) both_ports([](plat::Port& port) { port.set_pen_pattern(plat::black_pattern); });
    if (p == 1) {
        // TODO(selectedPattern) the highlight pattern of screens with one bit per pixel
    }
    if (p == 2) both_ports([](plat::Port& port) { port.set_pen_pattern(plat::gray_pattern); });
    gdrawpat = p;
}

void setscreencolor(std::int16_t n) {
    gcolor = n;
    const int background = objopts ? objopts->background_colour : -1;
    if (n == background) {
        if (background == colour_white) gcolor = colour_black;
        if (background == colour_black) gcolor = colour_white;
    }
    const plat::RGBColor c = colour(gcolor);
    both_ports([&c](plat::Port& p) { p.set_fore_color(c); });
}

void setbackgnd(std::int16_t n) {
    const plat::RGBColor c = colour(n);
    both_ports([&c](plat::Port& p) { p.set_back_color(c); });
}

void setlinestyle(std::int16_t n) { gstyle = n; }

void make_RGBBlack(plat::RGBColor* c) { *c = {0, 0, 0}; }
void make_RGBWhite(plat::RGBColor* c) { *c = {0xFFFF, 0xFFFF, 0xFFFF}; }

void setDravColor(std::int16_t n, std::uint16_t r, std::uint16_t g, std::uint16_t b) {
    if (n >= 0 && n < colour_count) dravColors[n] = {r, g, b};
}

void buildcolormap() {
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) {
                const auto level = [](int step) { return static_cast<std::uint16_t>(0xFFFF - 0x3333 * step); };
                setDravColor(static_cast<std::int16_t>(36 * r + 6 * g + b), level(r), level(g), level(b));
            }
    // The ramps leave out the cube's levels; the red one overwrites the
    // cube's black.
    static constexpr std::uint16_t ramp[10] = {0xEEEE, 0xDDDD, 0xBBBB, 0xAAAA, 0x8888,
                                               0x7777, 0x5555, 0x4444, 0x2222, 0x1111};
    for (int i = 0; i < 10; ++i) {
        const std::uint16_t l = ramp[i];
        setDravColor(static_cast<std::int16_t>(215 + i), l, 0, 0);
        setDravColor(static_cast<std::int16_t>(225 + i), 0, l, 0);
        setDravColor(static_cast<std::int16_t>(235 + i), 0, 0, l);
        setDravColor(static_cast<std::int16_t>(245 + i), l, l, l);
    }
    setDravColor(colour_black, 0, 0, 0);
}

void drawline(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    route(Figure::line, x1, y1, x2, y2);
}

void drawrectangle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    route(Figure::frame, x1, y1, x2, y2);
}

void drawcircle(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
    route(Figure::oval, x1, y1, x2, y2);
}

void drawdot(std::int16_t x, std::int16_t y) { route(Figure::line, x, y, x, y); }

void cleargraphics() {
    if (printing == 0 && myCGrafPtr) myCGrafPtr->erase_rect(offRect);
}

void togglecursor(std::int16_t x, std::int16_t y, std::int16_t style) {
    if (!drawCWindow) return;
    plat::Port& p = *drawCWindow;
    const plat::PenState pen = p.pen_state();
    const plat::Rect clip = p.clip();
    p.pen_normal();
    p.set_pen_mode(plat::patXor);
    p.set_clip(drawRect);
    const int v = viewport.yt - y;
    if (style == 0) {
        draw_figure(p, Figure::line, x - 6, v, x + 6, v);
        draw_figure(p, Figure::line, x, v + 6, x, v - 6);
    } else {
        draw_figure(p, Figure::line, x, viewport.height, x, 0);
        draw_figure(p, Figure::line, viewport.xl, v, viewport.xr, v);
    }
    p.set_clip(clip);
    p.set_pen_state(pen);
}

void movecursor(std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
                std::int16_t style) {
    togglecursor(x1, y1, style);
    togglecursor(x2, y2, style);
}

void setstdstate() {}
void testuserstate() {}

}  // namespace drav
