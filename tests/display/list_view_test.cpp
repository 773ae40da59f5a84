// The display list's view: zoom steps, pans against the scroll limits, the
// scroll-bar thumbs and refused views. The window (0..20, 0..10) fills the
// 200 x 100 screen: world (x, y) is canvas pixel (10 x, 10 y) at home.
#include <gtest/gtest.h>

#include "display/display_list.h"
#include "display/list_view.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/harness.h"

namespace {

using namespace drav;
using drav::test::answers;

class ListView : public drav::test::Renderer {
protected:
    void SetUp() override {
        Renderer::SetUp();
        vmlistinit();
        number_of_objects = first_object_slot;
        objopts->scroll_pages = 4;
        objopts->scroll_single = 0.1;
        objopts->scroll_page = 0.5;
        change_window(0, 20, 0, aspectratio, 1);
        changezoomlimits();
    }
};

TEST_F(ListView, MaxzoomHalvesTheScreenUntilTheCanvasIsReached) {
    EXPECT_EQ(maxzoom, 7);  // 400, 800 ... 25600 still fit, so one more: 51200
    drav::test::open_display("1280x800");
    EXPECT_EQ(maxzoom, 4);  // 2560, 5120 (1), 10240 (2), 20480 (3), 40960 (4)
}

TEST_F(ListView, ZoomStepsStopAtTheLimits) {
    zoomlist(6);
    EXPECT_EQ(zoom, 6);
    EXPECT_DOUBLE_EQ(cur_win.xr - cur_win.xl, 20 * 64);
    zoomlist(3);  // one step is left
    EXPECT_EQ(zoom, 7);
    answers().expect("");
    zoomlist(1);
    EXPECT_TRUE(answers().done());
    EXPECT_EQ(zoom, 7);
    zoomlist(-5);
    EXPECT_EQ(zoom, 2);
    zoomlist(-5);  // only two steps in
    EXPECT_EQ(zoom, 0);
    EXPECT_EQ(zoomround, 0);
    EXPECT_DOUBLE_EQ(cur_win.xr - cur_win.xl, 20);
    // The centre of the drawing area stays where it was.
    EXPECT_NEAR((cur_win.xl + cur_win.xr) / 2, 10, 0.1);
    answers().expect("");
    zoomlist(-1);
    answers().expect("");
    zoomlist(0);
    EXPECT_TRUE(answers().done());
    EXPECT_EQ(zoom, 0);
}

TEST_F(ListView, PansMoveByTheirStepAndStopAtTheScrollLimits) {
    // One single step is a tenth of the 185-pixel drawing area: 18.5, rounded to 19.
    panlist(1, 0);
    EXPECT_EQ(panvp.xl, 19);
    EXPECT_DOUBLE_EQ(cur_win.xl, 1.9);
    multlist();
    panlist(0, -1);  // a page step down: half of 85 pixels, 43
    EXPECT_EQ(panvp.yt, 100 - 43);
    multlist();
    EXPECT_EQ(bigpan, 0);
    // With no scroll pages the window is its own limit: a step left from
    // the left edge leaves the view where it is.
    homelist();
    objopts->scroll_pages = 0;
    changezoomlimits();
    EXPECT_DOUBLE_EQ(objopts->zoom_left, 0);
    panlist(-1, 0);
    EXPECT_EQ(panvp.xl, 0);
    EXPECT_DOUBLE_EQ(cur_win.xl, 0);
}

TEST_F(ListView, TheThumbExtremesPutTheViewOnTheLimits) {
    // Scroll limits: two windows on each side, -40..60 by -20..30.
    EXPECT_DOUBLE_EQ(objopts->zoom_left, -40);
    EXPECT_DOUBLE_EQ(objopts->zoom_bottom, -20);
    plat::set_control_value(horizHdl, plat::control_minimum(horizHdl));
    updatelist(0, 0, 0, 0, 0, 1, 0);
    EXPECT_EQ(panvp.xl, -400);
    EXPECT_DOUBLE_EQ(cur_win.xl, -40);
    plat::set_control_value(vertHdl, plat::control_maximum(vertHdl));
    updatelist(0, 0, 0, 0, 0, 0, 1);
    EXPECT_EQ(panvp.yb, -200);
    EXPECT_NEAR(cur_win.yb, -20, 1e-9);
    // The bars follow: the horizontal at its minimum, the vertical at its maximum.
    EXPECT_EQ(plat::control_value(horizHdl), plat::control_minimum(horizHdl));
    EXPECT_EQ(plat::control_value(vertHdl), plat::control_maximum(vertHdl));
    homelist();
    EXPECT_EQ(panvp, qdviewport);
    EXPECT_DOUBLE_EQ(cur_win.xl, 0);
}

TEST_F(ListView, ARefusedViewRestoresZoomAndPan) {
    change_window(0, 8e6, 0, aspectratio, 1);
    changezoomlimits();
    const ViewportRec view = panvp;
    const WindowRec win = cur_win;
    answers().expect("");
    zoomlist(1);  // 16e6 wide about the same centre: beyond 9999999
    EXPECT_TRUE(answers().done());
    EXPECT_EQ(zoom, 0);
    EXPECT_EQ(panvp, view);
    EXPECT_DOUBLE_EQ(cur_win.xr, win.xr);
}

TEST_F(ListView, FulllistShrinksAWindowByTheLargestZoom) {
    double xl = 0, xr = 64, yb = 0, yt = 32;
    fulllist(&xl, &xr, &yb, &yt);  // 2^7: 0.5 by 0.25 about (32, 16)
    EXPECT_DOUBLE_EQ(xl, 31.75);
    EXPECT_DOUBLE_EQ(xr, 32.25);
    EXPECT_DOUBLE_EQ(yb, 15.875);
    EXPECT_DOUBLE_EQ(yt, 16.125);
}

}  // namespace
