// The object walk, picking, the selection display and the view commands.
// The window (0..20, 0..10) fills the 200 x 100 screen: world (x, y) is port
// pixel (10 x, 100 - 10 y).
#include <gtest/gtest.h>

#include <vector>

#include "base/command_loop.h"
#include "display/display_list.h"
#include "display/drawing_window.h"
#include "display/list_replay.h"
#include "display/list_view.h"
#include "display/object_find.h"
#include "display/pan_canvas.h"
#include "display/redraw.h"
#include "display/selection_display.h"
#include "display/view_commands.h"
#include "platform/core/files.h"
#include "platform/ui/windows.h"
#include "store/levels.h"
#include "store/object_walk.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/selection_state.h"
#include "store/symbol_library.h"
#include "store/units.h"
#include "store/workfile.h"
#include "tests/display/renderer_fixture.h"
#include "tests/support/harness.h"
#include "tests/support/workfile.h"

namespace {

using namespace drav;
using drav::test::answers;
using drav::test::line_rec;

std::int16_t no_find() { return 0; }

class Selection : public drav::test::Renderer {
protected:
    void SetUp() override {
        drav::test::use_data_folder();
        drav::test::start_small_drawing(3);
        ASSERT_EQ(setup_workfile(), 1);
        ASSERT_EQ(init_selection_sets(), 1);
        Renderer::SetUp();
        vmlistinit();
        objopts->background_colour = colour_white;
        objopts->highlight_colour = 14;
        objopts->handle_colour = 14;
        setbackgnd(colour_white);
        set_valid_objects();
        macgroup = 0;
        currentitem = groupitem = 0;
        quit = aborted = 0;
        indx = first_object_slot;
    }
    void TearDown() override {
        termlist();
        Renderer::TearDown();
    }
    std::int16_t add(const ObjectRec& rec) {
        const auto n = number_of_objects++;
        dir_put_info(n, rec);
        get_info(n);
        if (obj_kind(info) == ok_text) cumstgs(n);
        show(mode_draw, &info);
        put_on_screen(n, clipped);
        return n;
    }
    // What the pump does on an update: the window from the offscreen copy.
    static void refresh() {
        plat::copy_bits(*myCGrafPtr, *drawCWindow, drawRect, drawRect, plat::srcCopy);
        plat::Rect r;
        plat::take_invalid(whichdrawWindow(), &r);
    }
    static std::vector<std::uint32_t> window_pixels() { return drawCWindow->pixels(); }
};

TEST_F(Selection, TheWalkWrapsAndSkipsTemplatesLockedAndHiddenObjects) {
    add(line_rec(1, 1, 1, 0));  // 36
    ObjectRec t = line_rec(1, 2, 1, 0);
    set_rec_u16(t, o_word0, static_cast<std::uint16_t>(rec_word0(t) | w0_template));
    add(t);  // 37 template
    ObjectRec locked = line_rec(1, 3, 1, 0);
    locked.b[obj::level] = 5;
    add(locked);  // 38
    ObjectRec hidden = line_rec(1, 4, 1, 0);
    hidden.b[obj::level] = 6;
    add(hidden);  // 39
    add(line_rec(1, 5, 1, 0));  // 40
    set_LevelLocked(5, 1);
    set_LevelVisible(6, 0);
    swaper &= static_cast<std::uint16_t>(~sw_templates);
    struct Case {
        bool forward;
        std::int16_t from, to;
    } cases[] = {{true, 36, 40}, {true, 40, 36}, {false, 36, 40}, {false, 40, 36}};
    for (const Case& c : cases) {
        std::int16_t n = c.from;
        EXPECT_EQ(c.forward ? move_forward(&n) : move_backward(&n), c.to) << c.forward << " " << c.from;
        EXPECT_EQ(n, c.to);
    }
    swaper |= sw_templates;
    std::int16_t n = 36;
    EXPECT_EQ(move_forward(&n), 37);
    EXPECT_EQ(move_backward(&n), 36);
}

TEST_F(Selection, RepeatedPicksCycleThroughOverlappingLinesWithAndWithoutTheList) {
    const std::int16_t a = add(line_rec(2, 5, 6, 0));
    const std::int16_t b = add(line_rec(2, 5, 6, 0));
    for (bool list : {true, false}) {
        if (!list) listdriver.has_findseg = no_find;
        std::int16_t n = b;
        ASSERT_EQ(find_object(&n, 5, 5, 0), 1) << list;
        EXPECT_EQ(n, a);
        EXPECT_EQ(prev_index, a);  // the found record is loaded
        ASSERT_EQ(find_object(&n, 0, 0, 1), 1) << list;  // the same point again
        EXPECT_EQ(n, b);
        ASSERT_EQ(find_object(&n, 5, 5, 0), 1);
        EXPECT_EQ(n, a);
    }
}

TEST_F(Selection, APickThatMissesLeavesIndexWindowAndSnapAlone) {
    add(line_rec(2, 5, 6, 0));
    const std::int16_t n0 = add(line_rec(2, 7, 6, 0));
    snap_on = 1;
    const WindowRec w = cur_win;
    for (bool list : {true, false}) {
        if (!list) listdriver.has_findseg = no_find;
        std::int16_t n = n0;
        EXPECT_EQ(find_object(&n, 15, 9, 0), 0) << list;
        EXPECT_EQ(n, n0);
        EXPECT_EQ(cur_win.xl, w.xl);
        EXPECT_EQ(cur_win.xr, w.xr);
        EXPECT_EQ(cur_win.yb, w.yb);
        EXPECT_EQ(cur_win.yt, w.yt);
        EXPECT_EQ(snap_on, 1);
    }
    snap_on = 0;
}

TEST_F(Selection, TheKindFilterMakesTextsUnpickableAndPickableAgain) {
    ObjectRec t = drav::test::text_rec(2, 5, 0.5, 1);
    ObjectRec tail{};
    set_text_chars(t, tail, "Abc");
    const std::int16_t txt = add(t);
    listdriver.has_findseg = no_find;
    std::int16_t n = txt;
    chge_valid_objects(-ok_text);
    EXPECT_EQ(valid_object(ok_text), 0);
    EXPECT_EQ(find_object(&n, 2.2, 5.3, 0), 0);
    chge_valid_objects(ok_text);
    EXPECT_EQ(find_object(&n, 2.2, 5.3, 0), 1);
    EXPECT_EQ(n, txt);
}

TEST_F(Selection, HighlightingAndUnhighlightingLeaveTheWindowAsItWas) {
    const std::int16_t a = add(line_rec(2, 5, 6, 0));
    add(line_rec(2, 2, 6, 0));
    refresh();
    const auto before = window_pixels();
    showonoff(a, 1);
    EXPECT_EQ(currentitem, a);
    EXPECT_NE(window_pixels(), before);  // the markers are in the window
    showonoff(a, 0);
    EXPECT_EQ(currentitem, a);  // the current item stays while hidden
    refresh();
    EXPECT_EQ(window_pixels(), before);
}

TEST_F(Selection, ASymbolIsHighlightedThroughItsPieces) {
    init_symbols();
    init_worldunits();
    // A symbol of two pieces, an L of (0,0)-(2,0) and (0,0)-(0,1), placed at (5, 5).
    test::DrawingFile d;
    d.default_settings(3);
    const int ctrl = d.add_symbol("LIB", 2, {line_rec(0, 0, 2, 0), line_rec(0, 0, 0, 1)}, 3, 2, 1);
    const auto path = test::scratch_dir() / "highlight.lib";
    d.write(path);
    std::int16_t fork = 0;
    ASSERT_EQ(plat::open_file({path}, plat::Perm::read, &fork), plat::noErr);
    std::int16_t n = 0;
    ASSERT_EQ(copy_symbol(fork, static_cast<std::int16_t>(ctrl), &n, "LIB", 0), 1);
    plat::close_file(fork);
    accept_symbol(n);
    swaper |= sw_symbols_expanded;
    const std::int16_t s = add(test::symbol_ref(n, 5, 5));
    refresh();
    // World (x, y) is port pixel (10 x, 100 - 10 y).
    const auto at = [&](double x, double y) {
        const auto p = window_pixels();
        return p[static_cast<std::size_t>(std::lround(100 - 10 * y) * 200 + std::lround(10 * x))];
    };
    const std::uint32_t black = at(6, 5), white = at(8, 8);
    ASSERT_NE(black, white) << "the symbol was not drawn";
    ASSERT_EQ(at(5, 5.5), black);
    showonoff(s, 1);
    refresh();
    const std::uint32_t lit = at(6, 5);
    EXPECT_NE(lit, black);
    EXPECT_NE(lit, white);
    EXPECT_EQ(at(5, 5.5), lit) << "the second piece is not highlighted";
    EXPECT_EQ(at(8, 8), white);
    showonoff(s, 0);
    refresh();
    EXPECT_EQ(at(6, 5), black);
    EXPECT_EQ(at(5, 5.5), black);
    swaper &= static_cast<std::uint16_t>(~sw_symbols_expanded);
}

TEST_F(Selection, AMarkerMovedWithinItsRectangleIsNotErasedFirst) {
    const std::int16_t a = add(line_rec(2, 5, 6, 0));
    showcurrent(a);
    EXPECT_DOUBLE_EQ(ohandx, 2);
    EXPECT_DOUBLE_EQ(ohandy, 5);
    refresh();
    showcurrent(a);  // markers back over the refreshed window
    plat::Rect r;
    plat::take_invalid(whichdrawWindow(), &r);
    const plat::Rect old = handRect;
    change_hp(0, 2.01, 4.99);  // a tenth of a pixel
    EXPECT_EQ(handRect, old);
    EXPECT_FALSE(plat::window_has_invalid(whichdrawWindow()));
    change_hp(0, 3, 5);  // ten pixels on: the old marker goes
    EXPECT_TRUE(plat::take_invalid(whichdrawWindow(), &r));
    EXPECT_EQ(r, old);
}

TEST_F(Selection, TheGroupHandleIsTheFirstMembersReferencePoint) {
    add(line_rec(1, 1, 2, 0));
    const std::int16_t b = add(line_rec(4, 6, 3, 1));
    const std::int16_t c = add(line_rec(9, 2, 1, 1));
    macgroup = 1;
    put_in_group(b, 1);
    put_in_group(c, 1);
    showgroup(1);
    EXPECT_EQ(groupitem, b);
    double x = 0, y = 0;
    get_oghandle(&x, &y);
    EXPECT_DOUBLE_EQ(x, 4);
    EXPECT_DOUBLE_EQ(y, 6);
    set_group_limits();
    EXPECT_EQ(objs_in_grp, 2);
    put_in_group(b, 0);
    put_in_group(c, 0);
    set_group_limits();  // an empty group loses its handle
    EXPECT_EQ(objs_in_grp, 0);
    EXPECT_EQ(groupitem, 0);
    macgroup = 0;
}

TEST_F(Selection, WindowInRectangleDrawnEitherWayGivesTheSameWindow) {
    RubberRect up{2, 2, 0, 0}, down{6, 4, 0, 0};
    make_wind(&up, aspectratio, 6, 4);      // lower left to upper right
    make_wind(&down, aspectratio, 2, 2);    // upper right to lower left
    ASSERT_EQ(settle_rubber(&up), 1);
    ASSERT_EQ(settle_rubber(&down), 1);
    EXPECT_DOUBLE_EQ(up.x0, down.x0);
    EXPECT_DOUBLE_EQ(up.y0, down.y0);
    EXPECT_DOUBLE_EQ(std::fabs(up.w), std::fabs(down.w));
    apply_window_in(down);
    EXPECT_DOUBLE_EQ(cur_win.xl, 2);
    EXPECT_DOUBLE_EQ(cur_win.xr, 6);   // the width 4 from the height 2 at aspect 0.5
    EXPECT_DOUBLE_EQ(cur_win.yb, 2);
}

TEST_F(Selection, WindowOutWithHalfTheWidthDoublesTheWindow) {
    RubberRect r{5, 2.5, 10, 5};  // half of (0..20, 0..10), in its middle
    apply_window_out(r);
    EXPECT_DOUBLE_EQ(cur_win.xl, -10);
    EXPECT_DOUBLE_EQ(cur_win.xr, 30);
    EXPECT_DOUBLE_EQ(cur_win.yb, -5);
    EXPECT_DOUBLE_EQ(cur_win.yt, 15);
}

TEST_F(Selection, FullWindowFitsOneLineAndNothingWithoutObjects) {
    const WindowRec w0 = cur_win;
    full_window();  // empty drawing: no change, no message
    EXPECT_EQ(cur_win.xl, w0.xl);
    EXPECT_EQ(cur_win.yt, w0.yt);
    add(line_rec(0, 0, 10, 0));
    const double saved = aspectratio;
    aspectratio = 0.75;
    full_window();
    EXPECT_NEAR(cur_win.xl, -0.2, 1e-9);
    EXPECT_NEAR(cur_win.xr, 10.2, 1e-9);
    EXPECT_NEAR(cur_win.yb, -3.9, 1e-9);
    EXPECT_NEAR(cur_win.yt, 3.9, 1e-9);
    aspectratio = saved;
}

TEST_F(Selection, ValidWindowBoundsAndTheErrorsThatKeepTheView) {
    struct Case {
        WindowRec w;
        int ok;
    } cases[] = {
        {{0, 1e-5, 0, 1}, 0},
        {{0, 9999999, 0, 1}, 0},
        {{0, 9999998.9, 0, 1}, 1},
        {{-9999999, 0, 0, 1}, 0},
        {{0, 5, 3, 3}, 1},  // no height: still valid
        {{0, 5, -9999999, 1}, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(valid_window(&c.w), c.ok) << c.w.xl << " " << c.w.xr;
    const WindowRec w0 = cur_win;
    const auto unchanged = [&](const char* what) {
        EXPECT_EQ(cur_win.xl, w0.xl) << what;
        EXPECT_EQ(cur_win.xr, w0.xr) << what;
        EXPECT_EQ(cur_win.yb, w0.yb) << what;
        EXPECT_EQ(cur_win.yt, w0.yt) << what;
    };
    answers().expect("too small or too far out");  // 37
    apply_window_in(RubberRect{0, 0, 1e-5, 1e-5});
    EXPECT_TRUE(answers().done());
    unchanged("window in");
    answers().expect("cannot be widened");  // 38
    apply_window_out(RubberRect{0, 0, 1e-6, 1e-6});
    EXPECT_TRUE(answers().done());
    unchanged("window out");
    // A drawing of one point has no width to fit.
    add(line_rec(3, 3, 0, 0));
    answers().expect("too small or too large to fill");  // 39
    full_window();
    EXPECT_TRUE(answers().done());
    unchanged("full window");
}

TEST_F(Selection, ThumbsSitAtTheLimitsAndInTheMiddle) {
    plat::set_control_minimum(horizHdl, 0);
    plat::set_control_maximum(horizHdl, 100);
    plat::set_control_minimum(vertHdl, 0);
    plat::set_control_maximum(vertHdl, 100);
    const ViewportRec view = panvp;
    double L = 0, B = 0, R = 0, T = 0;
    objopts->zoom_left = -10;
    objopts->zoom_right = 30;
    objopts->zoom_bottom = -5;
    objopts->zoom_top = 15;
    L = objopts->zoom_left, B = objopts->zoom_bottom, R = objopts->zoom_right, T = objopts->zoom_top;
    pworld_screen(&L, &B);
    pworld_screen(&R, &T);
    const auto w = view.width, h = view.height;
    struct Case {
        std::int16_t xl, yb;
        int hv, vv;
    } cases[] = {
        {static_cast<std::int16_t>(L), static_cast<std::int16_t>(B), 0, 100},
        {static_cast<std::int16_t>(R - w), static_cast<std::int16_t>(T - h), 100, 0},
        {static_cast<std::int16_t>((L + R - w) / 2), static_cast<std::int16_t>((B + T - h) / 2), 50, 50},
    };
    for (const Case& c : cases) {
        panvp = {c.xl, static_cast<std::int16_t>(c.xl + w), c.yb, static_cast<std::int16_t>(c.yb + h), w, h};
        set_drawing_scroll_value();
        EXPECT_EQ(plat::control_value(horizHdl), c.hv) << c.xl;
        EXPECT_EQ(plat::control_value(vertHdl), c.vv) << c.yb;
    }
    panvp = view;
}

TEST_F(Selection, AScrollStepLeavesTheRecordBeingBuilt) {
    add(line_rec(2, 5, 6, 0));
    zoom_arrows = 1;
    get_info(number_of_objects);
    ObjectRec building = line_rec(1, 1, 3, 3);
    info = building;
    const ViewportRec view = panvp;
    scrollAction(horizHdl, 21);
    EXPECT_NE(panvp.xl, view.xl);  // the view moved
    EXPECT_EQ(prev_index, number_of_objects);
    EXPECT_EQ(std::memcmp(info.b, building.b, sizeof info.b), 0);
    zoom_arrows = 0;
}

TEST_F(Selection, TheDrawingWindowKeepsItsMinimumSizeAndItsBarsFollowAResize) {
    plat::Window* w = whichdrawWindow();
    plat::size_window(w, 100, 50);
    EXPECT_EQ(drawCWindow->width(), min_drawing_width);
    EXPECT_EQ(drawCWindow->height(), min_drawing_height);
    plat::size_window(w, 300, 200);
    update_drawing_rects(w);
    size_drawing_scrolls(w);
    EXPECT_EQ(plat::control_maximum(horizHdl), 300 - 15 - 90);
    EXPECT_EQ(plat::control_maximum(vertHdl), 200 - 15 + 15);
}

}  // namespace
