#include "display/clip_tests.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "display/graphics_unit.h"
#include "display/object_renderer.h"
#include "display/screen.h"
#include "store/geometry.h"
#include "store/records.h"
#include "tests/display/display_fixture.h"
#include "tests/support/pixels.h"

using drav::test::Display;
using drav::test::pixel_rows;
using drav::test::rows;

namespace drav {
namespace {

TEST_F(Display, FastClipRejectsOnlyBoxesWhollyOutside) {
    struct Case {
        double xa, xb, ya, yb;
        std::uint16_t clip, list;
        std::int16_t visible;
    };
    const Case cases[] = {
        {2, 3, 2, 3, 1, 0, 1},
        {-5, 15, -5, 15, 1, 0, 1},
        {10, 12, 2, 3, 1, 0, 1},  // touches the right edge
        {12, 10, 3, 2, 1, 0, 1},  // either order
        {10.001, 12, 2, 3, 1, 0, 0},
        {-3, -1e-9, 2, 3, 1, 0, 0},
        {2, 3, -4, -1, 1, 0, 0},
        {2, 3, 10.5, 11, 1, 0, 0},
        {100, 200, 100, 200, 0, 0, 1},  // clip tests off
        {100, 200, 100, 200, 1, 1, 1},  // the display list records everything
    };
    change_window(0, 10, 0, 1.0, 0);
    for (const Case& c : cases) {
        clip_it = c.clip;
        listing = c.list;
        EXPECT_EQ(fast_clip(c.xa, c.xb, c.ya, c.yb), c.visible) << c.xa << ".." << c.xb << " " << c.ya << ".." << c.yb;
    }
}

TEST_F(Display, ClipAreaTestsTheTurnedRectangleAroundTheReferencePoint) {
    struct Case {
        double x, y, rotation;
        std::int16_t corner;
        double w, h;
        std::int16_t visible;
    };
    const Case cases[] = {
        {11.5, 5, 0, 0, 2, 1, 1},          // 9.5 .. 13.5
        {11.5, 5, half_pie, 0, 2, 1, 0},   // turned: 10.5 .. 12.5
        {10.5, 5, 0, 0, 1, 1, 1},          // centred: 9.5 .. 11.5
        {10.5, 5, 0, 1, 1, 1, 0},          // corner on it: 10.5 .. 12.5
        {10.5, 5, pie, 1, 1, 1, 1},        // the other way: 8.5 .. 10.5
        {5, 13, 0, 0, 1, 2, 0},            // 11 .. 15 above the window
    };
    change_window(0, 10, 0, 1.0, 0);
    for (const Case& c : cases) {
        set_rec_f64(sinfo, obj::ref_x, c.x);
        set_rec_f64(sinfo, obj::ref_y, c.y);
        set_rec_f64(sinfo, obj::rotation, c.rotation);
        EXPECT_EQ(clip_area(c.corner, c.w, c.h), c.visible) << c.x << " " << c.rotation << " " << c.corner;
    }
    listing = 1;
    EXPECT_EQ(clip_area(0, 1, 1), 1);
}

int non_white(const plat::Port& p) {
    return static_cast<int>(std::count_if(p.pixels().begin(), p.pixels().end(),
                                           [](std::uint32_t px) { return px != plat::white_pixel; }));
}

void erase(plat::Port& p) {
    for (int y = 0; y < p.height(); ++y) std::fill_n(p.row(y), p.width(), plat::white_pixel);
}

// One world unit is one pixel: world (x, y) is window pixel (x, 100 - y).
class DragImage : public Display {
protected:
    void SetUp() override {
        Display::SetUp();
        change_window(0, 200, 0, 0.5, 0);
    }
    // An L: a stem at x = 10 and a foot along y = 88, window rows 10 to 12.
    static void build_l() {
        ournewrgn();
        ouropenrgn();
        drawline(10, 90, 10, 88);
        drawline(10, 88, 14, 88);
        rgnlx = 10, rgnhx = 14, rgnly = 88, rgnhy = 90;
        ourclosergn();
    }
};

TEST_F(DragImage, MovedImageShowsThePartOfItInsideTheDrawingArea) {
    struct Case {
        std::int16_t dx, dy;
        int x, y;  // window area shown, 6 x 5 pixels
        std::string expected;
    };
    const Case cases[] = {
        {0, 0, 9, 9, rows({"......", ".#....", ".#....", ".#####", "......"})},
        // Cut at the right edge (185): its left part.
        {172, 0, 181, 9, rows({"......", ".#....", ".#....", ".###..", "......"})},
        // Cut at the left edge: its right part.
        {-12, 0, 0, 9, rows({"......", "......", "......", "###...", "......"})},
        // Cut at the bottom edge (85): its top part.
        {0, 73, 9, 82, rows({"......", ".#....", ".#....", "......", "......"})},
        {300, 0, 0, 0, ""},
        {0, 80, 0, 0, ""},
    };
    build_l();
    EXPECT_EQ(rgnRect, (plat::Rect{10, 10, 14, 16}));
    plat::Port& window = *whichdrawPort();
    for (const Case& c : cases) {
        erase(window);
        const plat::Rect placed = rgnRect;
        ouroffsetrgn(c.dx, c.dy);
        ourframergn();
        if (c.expected.empty()) {
            EXPECT_EQ(non_white(window), 0) << c.dx << "," << c.dy;
        } else {
            EXPECT_EQ(pixel_rows(window, c.x, c.y, 6, 5), c.expected) << c.dx << "," << c.dy;
            const std::string shown = pixel_rows(window, c.x, c.y, 6, 5);
            EXPECT_EQ(non_white(window), std::count(shown.begin(), shown.end(), '#'));
        }
        rgnRect = placed;
    }
}

TEST_F(DragImage, DrawnTwiceTheWindowIsAsBefore) {
    build_l();
    plat::Port& window = *whichdrawPort();
    drav::test::fill_gradient(window);
    const plat::RGBColor red{0xFFFF, 0, 0};
    window.set_fore_color(red);
    const std::vector<std::uint32_t> before = window.pixels();
    for (std::int16_t dx : {0, 172, -12}) {
        ouroffsetrgn(dx, 0);
        ourframergn();
        EXPECT_NE(window.pixels(), before) << dx;
        ourframergn();
        EXPECT_EQ(window.pixels(), before) << dx;
    }
    EXPECT_EQ(window.fore_color(), red);
}

TEST_F(DragImage, WhatLayOutsideTheDrawingAreaWhenClosedStaysBlank) {
    ournewrgn();
    ouropenrgn();
    drawline(183, 90, 187, 90);  // the drawing area ends at 185
    rgnlx = 183, rgnhx = 187, rgnly = rgnhy = 90;
    ourclosergn();
    EXPECT_EQ(rgnRect, (plat::Rect{10, 183, 12, 185}));
    ouroffsetrgn(-20, 0);
    ourframergn();
    EXPECT_EQ(pixel_rows(*whichdrawPort(), 162, 10, 7, 1), rows({".##...."}));
}

}  // namespace
}  // namespace drav
