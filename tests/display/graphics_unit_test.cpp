#include "display/graphics_unit.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/command_loop.h"
#include "display/screen.h"
#include "platform/core/memory.h"
#include "store/geometry.h"
#include "store/settings.h"
#include "store/units.h"
#include "tests/display/display_fixture.h"
#include "tests/support/harness.h"

using drav::test::Display;

namespace drav {
namespace {

TEST_F(Display, ChangeWindowMapsTheWindowOntoTheViewport) {
    output_defs.plot_scale = 0;
    change_window(0, 10, 0, 0.75, 0);
    EXPECT_EQ(cur_win.yt, 7.5);
    EXPECT_EQ(output_defs.plot_scale, 0) << "only a full change repairs the scale";
    change_window(0, 10, 0, 0.75, 1);
    EXPECT_EQ(output_defs.plot_scale, 1.0);
    struct Case {
        double wx, wy, px, py;
    };
    const Case cases[] = {{0, 0, 0, 0}, {10, 7.5, 200, 100}, {5, 3.75, 100, 50}, {-1, 0, -20, 0}};
    for (const Case& c : cases) {
        double x = c.wx, y = c.wy;
        world_screen(&x, &y);
        EXPECT_DOUBLE_EQ(x, c.px);
        EXPECT_DOUBLE_EQ(y, c.py);
        screen_world(&x, &y);
        EXPECT_DOUBLE_EQ(x, c.wx);
        EXPECT_DOUBLE_EQ(y, c.wy);
    }
    double sx, sy;
    rel_world_screen(1, 0.75, &sx, &sy);
    EXPECT_DOUBLE_EQ(sx, 20);
    EXPECT_DOUBLE_EQ(sy, 10);

    // The window keeps the drawing area's proportions when made with its aspect.
    change_window(-4, 4, 1, aspectratio, 0);
    EXPECT_DOUBLE_EQ(cur_win.yt - cur_win.yb, 4);
    EXPECT_DOUBLE_EQ(wvxm, wvym);
}

TEST_F(Display, PrimitivesAreClippedToTheWindow) {
    enum Kind { line, rect, circle };
    struct Case {
        Kind kind;
        double x1, y1, x2, y2;
        std::uint16_t clip;
        std::uint16_t visible;
        double cx1 = 0, cy1 = 0, cx2 = 0, cy2 = 0;  // the primitive as drawn
    };
    const Case cases[] = {
        {line, -5, 5, 15, 5, 1, 1, 0, 5, 10, 5},
        {line, -5, -5, -1, 20, 1, 0},
        {line, 10, 5, 15, 5, 1, 1, 10, 5, 10, 5},  // touches the edge: a single point
        {line, -5, -5, 15, 15, 1, 1, 0, 0, 10, 10},
        {line, 2, 3, 4, 5, 1, 1, 2, 3, 4, 5},
        {line, -5, -5, -1, 20, 0, 1, -5, -5, -1, 20},
        {circle, -5, -5, 5, 5, 1, 1, -5, -5, 5, 5},  // passed whole
        {circle, -9, -5, -1, 5, 1, 0},
        {rect, 10, 0, 12, 5, 1, 1, 10, 0, 12, 5},
        {rect, 11, 11, 12, 15, 1, 0},
    };
    change_window(0, 10, 0, 1.0, 0);
    save_pts = 1;
    for (const Case& c : cases) {
        clip_it = c.clip;
        num_pts = 0;
        if (c.kind == line) {
            move_abs(c.x1, c.y1);
            line_abs(c.x2, c.y2);
            EXPECT_EQ(cx_pos, c.x2);
        } else {
            (c.kind == rect ? rect_abs : circle_abs)(c.x1, c.y1, c.x2, c.y2);
            EXPECT_EQ(cx_pos, c.x1);
        }
        EXPECT_EQ(clipped, c.visible) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
        if (!c.visible) {
            EXPECT_EQ(num_pts, 0);
            continue;
        }
        EXPECT_EQ(num_pts, 2);
        EXPECT_EQ(std::vector<double>(endpoints, endpoints + 4), (std::vector<double>{c.cx1, c.cy1, c.cx2, c.cy2}))
            << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
    }
    EXPECT_TRUE(drav::test::all_white(*myCGrafPtr)) << "trace mode draws nothing";

    // Drawn, the line that touches the left edge is one dot.
    clip_it = 1;
    setdrawmode(mode_draw);
    move_abs(0, 5);
    line_abs(-5, 5);
    std::vector<std::uint32_t> expected(myCGrafPtr->pixels().size(), plat::white_pixel);
    expected[50 * 200 + 0] = plat::black_pixel;
    EXPECT_EQ(myCGrafPtr->pixels(), expected);
}

TEST_F(Display, LinesOfDenormalCoordinatesAreClippedInFewSteps) {
    // Rounding kept moving one end across the bottom and left edges in turn, for ever.
    change_window(0, 30, 0, 0.75, 0);
    clip_it = 1;
    save_pts = 1;
    num_pts = 0;
    move_abs(7.1956423221667533e-316, 2.1743774414066807e-07);
    line_abs(1.5810100666919889e-322, -7.1956423221667533e-316);
    EXPECT_EQ(clipped, 1);
    ASSERT_EQ(num_pts, 2);
    for (int i = 0; i < 4; ++i) {
        EXPECT_GE(endpoints[i], 0.0);
        EXPECT_LT(endpoints[i], 1e-6);
    }
}

TEST_F(Display, TraceCollectsTheVerticesOfAChainUntilTheBufferIsFull) {
    change_window(0, 10, 0, 1.0, 0);
    save_pts = 1;
    num_pts = 0;
    move_abs(0, 0);
    line_abs(1, 1);
    line_abs(2, 0);
    line_abs(3, 1);
    EXPECT_EQ(num_pts, 6);
    EXPECT_EQ(std::vector<double>(endpoints, endpoints + 8), (std::vector<double>{0, 0, 1, 1, 2, 0, 3, 1}));

    num_pts = 496;  // four more doubles still fit
    line_abs(4, 4);
    EXPECT_EQ(num_pts, 498);
    EXPECT_EQ(endpoints[499], 4);
    line_abs(5, 5);
    EXPECT_EQ(num_pts, 498);
    EXPECT_EQ(endpoints[499], 4);
}

TEST(Thickness, StrokeCountsFollowTheWidthStep) {
    init_worldunits();
    struct Case {
        double width_step, spacing;
        std::int16_t paper_units;
        bool on_paper;
        double pltf;
        std::vector<std::int16_t> first;  // codes 0 to 4
        std::int16_t last;                // code 31
    };
    const Case cases[] = {
        {0, 1, 1, false, 1, {0, 1, 1, 1, 1}, 1},
        {0.01, 1, 1, false, 1, {0, 1, 1, 2, 3}, 30},
        {0.01, 3, 1, false, 1, {0, 1, 1, 1, 2}, 11},
        {0.254, 1, 8, true, 2, {0, 1, 2, 4, 6}, 60},  // 0.254 mm on paper at scale 2
        {0.01, 0, 1, false, 1, {0, 1, 1, 1, 1}, 1},   // no spacing: one stroke
    };
    units_defs.units_code = 1;  // inches
    for (const Case& c : cases) {
        output_defs.width_size = c.width_step;
        output_defs.width_factor = c.spacing;
        output_defs.paper_units = c.paper_units;
        output_defs.flags = c.on_paper ? of_widths_on_paper : 0;
        std::int16_t table[thick_codes];
        setup_thick(table, 0.01, 1.0, c.pltf);
        EXPECT_EQ(std::vector<std::int16_t>(table, table + 5), c.first) << c.width_step;
        EXPECT_EQ(table[31], c.last) << c.width_step;
    }
}

// The cross-hair's arm three pixels right of its centre.
bool crosshair_shown() {
    return whichdrawPort()->pixel(iround(scrn_x) + 3, viewport.yt - iround(scrn_y)) == plat::black_pixel;
}

TEST_F(Display, CrossHairAndCursorsKeepTheirPixelsAcrossAViewChange) {
    change_window(0, 10, 0, 0.5, 1);
    scrn_x = 60;
    scrn_y = 40;
    cur_go();
    const std::vector<std::uint32_t> shown = whichdrawPort()->pixels();
    last_x = 2.5, last_y = 1;
    keybrd_x = 7, keybrd_y = 3;
    double lx = last_x, ly = last_y, kx = keybrd_x, ky = keybrd_y;
    world_screen(&lx, &ly);
    world_screen(&kx, &ky);

    change_window(-30, 50, 7, 0.5, 1);
    EXPECT_EQ(whichdrawPort()->pixels(), shown);
    EXPECT_EQ(cursor_counter, 1);
    EXPECT_EQ(drwcur, 1);
    EXPECT_NE(last_x, 2.5);
    double lx2 = last_x, ly2 = last_y, kx2 = keybrd_x, ky2 = keybrd_y;
    world_screen(&lx2, &ly2);
    world_screen(&kx2, &ky2);
    EXPECT_NEAR(lx2, lx, 1e-9);
    EXPECT_NEAR(ly2, ly, 1e-9);
    EXPECT_NEAR(kx2, kx, 1e-9);
    EXPECT_NEAR(ky2, ky, 1e-9);
}

TEST_F(Display, NestedStopsAndGoesShowTheCrossHairOnlyAtTheOutermostLevel) {
    scrn_x = 60;
    scrn_y = 40;
    struct Step {
        void (*op)();
        bool shown;
    };
    const Step steps[] = {{cur_go, true}, {cur_stop, false}, {cur_stop, false},
                          {cur_go, false}, {cur_go, true}};
    for (const Step& s : steps) {
        s.op();
        EXPECT_EQ(crosshair_shown(), s.shown) << "counter " << cursor_counter;
        EXPECT_EQ(drwcur, s.shown ? 1 : 0);
    }
    cur_stop();
    EXPECT_TRUE(drav::test::all_white(*whichdrawPort()));
}

TEST(GraphicsUnitStart, NoRoomForTheEndPointBufferEndsTheProgram) {
    test::answers().expect("not enough memory");
    plat::fail_next_allocations();
    EXPECT_EQ(test::exit_status_of(initgunit), -1);
}

}  // namespace
}  // namespace drav
