#include "display/pan_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "display/graphics_unit.h"

namespace drav {
namespace {

// A drawing area of 1000 x 600 on a screen of 1280 x 800: the canvas's home
// area is the window widened to the screen at the same scale, top-left kept.
TEST(PanCanvas, RebasingMapsTheScreenOntoTheWindowWidenedToIt) {
    setenv("DRAVELIN_SCREEN", "1280x800", 1);
    xdots = 1000;
    ydots = 600;
    setupviewport();
    zoom = oldzoom = 3;
    zoomround = 4;
    change_window(0, 10, 0, 0.6, 1);

    EXPECT_EQ(panvp, qdviewport);
    EXPECT_EQ(pandx, 0);
    EXPECT_EQ(pandy, 0);
    EXPECT_EQ(zoom, 0);
    EXPECT_EQ(oldzoom, 0);
    EXPECT_EQ(zoomround, 0);
    struct Value {
        const char* name;
        double got, expected;
    };
    const Value values[] = {
        {"pancur_win.xl", pancur_win.xl, 0},   {"pancur_win.xr", pancur_win.xr, 12.8},
        {"pancur_win.yb", pancur_win.yb, -2},  {"pancur_win.yt", pancur_win.yt, 6},
        {"pwvxm", pwvxm, 100},                 {"pwvym", pwvym, 100},
        {"pwvxa", pwvxa, 0},                   {"pwvya", pwvya, 200},
        {"pvwxm", pvwxm, 0.01},                {"pvwym", pvwym, 0.01},
        {"pvwxa", pvwxa, 0},                   {"pvwya", pvwya, -2},
        {"dotwidth", dotwidth, 0.01},          {"clpcur_win.xl", clpcur_win.xl, -163.67},
        {"clpcur_win.xr", clpcur_win.xr, 163.67}, {"clpcur_win.yb", clpcur_win.yb, -165.67},
        {"clpcur_win.yt", clpcur_win.yt, 161.67},
    };
    for (const Value& v : values) EXPECT_NEAR(v.got, v.expected, 1e-9) << v.name;

    // The window's top-left corner is the screen's.
    double x = cur_win.xl, y = cur_win.yt;
    pworld_screen(&x, &y);
    EXPECT_NEAR(x, qdviewport.xl, 1e-9);
    EXPECT_NEAR(y, qdviewport.yt, 1e-9);
}

}  // namespace
}  // namespace drav
