// The restraints palette driven by clicks on its squares: lock and snap
// choices, the object and crossing picks with their keys, the fall-back
// to the mode of the last successful pick, double clicks, and points that
// a command reads snapping onto picked objects.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/tool_options.h"
#include "display/display_list.h"
#include "display/graphics_unit.h"
#include "display/selection_display.h"
#include "platform/core/raster.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/events.h"
#include "platform/ui/menus.h"
#include "shell/dispatch.h"
#include "shell/event_pump.h"
#include "shell/loop_helpers.h"
#include "shell/restraints_palette.h"
#include "store/files.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/drawing_file.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::Session;
using drav::test::quit_without_saving;

namespace {

// A click on a square of the palette, as the window system reports it,
// with the input that follows it queued behind it (what a pick reads).
Session& click_item(Session& s, int item, std::function<void()> then_input = {}) {
    return s.then([item, then_input] {
        ASSERT_NE(locDPtr, nullptr);
        const plat::Rect b = plat::dialog_bounds(locDPtr);
        plat::EventRecord e;
        e.what = plat::mouseDown;
        e.dialog = locDPtr;
        e.item = static_cast<std::int16_t>(item);
        e.where = plat::Point{static_cast<std::int16_t>(b.top + 4), static_cast<std::int16_t>(b.left + 4)};
        drav::test::post(e);
        if (then_input) then_input();
        // Taken now, as the pump takes it, so the next step sees its effect.
        plat::EventRecord r;
        while (plat::event_avail(plat::everyEvent, &r)) gobbleoskeys(-1);
    });
}

// Steps that only let the nested waits of a pick or a window that reads
// queued input run out, so the next step sees what came after.
Session& settle_steps(Session& s) {
    for (int i = 0; i < 6; ++i) s.then([] {});
    return s;
}

// The palette open, single clicks only, increment snap as at start.
void open_palette() {
    objopts->dblclick_mode = 1;
    if (!locDPtr) sett_restraints();
    ASSERT_NE(locDPtr, nullptr);
}

// The local pixel of a world point in the drawing window.
plat::Point local_of(double x, double y) {
    world_screen(&x, &y);
    return plat::Point{static_cast<std::int16_t>(std::lround(viewport.yt - y)),
                       static_cast<std::int16_t>(std::lround(x - viewport.xl))};
}

// World length of n pixels.
double pixels(int n) { return n * dotwidth; }

void store_line(double x, double y, double dx, double dy) {
    // Registered first: the operation's ending loads the current object.
    do_operation(op_add, 0, 0, 0, 0, 0, 0);
    get_info(number_of_objects);
    info = drav::test::line_record(x, y, dx, dy);
    indx = number_of_objects;
    ASSERT_EQ(save_object(), 1);
}

// Two lines crossing in the middle of the view: A rising, B falling.
struct Scene {
    double cx = 0, cy = 0, q = 0;
    void build() {
        cx = (cur_win.xl + cur_win.xr) / 2;
        cy = (cur_win.yb + cur_win.yt) / 2;
        q = (cur_win.xr - cur_win.xl) / 8;
        store_line(cx - q, cy - q, 2 * q, 2 * q);  // A: its end at (cx + q, cy + q)
        store_line(cx - q, cy + q, 2 * q, -2 * q);
    }
};

// A command's poll until the click comes, with snapping.
void read_click(double* x, double* y) {
    for (int i = 0; i < 8 && !accepted; ++i) get_point(x, y, 1);
}

// Dark pixels of a square, more than half of it: shown inverted.
bool inverted(int item) {
    plat::draw_dialog(locDPtr);
    const plat::Rect r = plat::item_rect(plat::dialog_item(locDPtr, item));
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            n += plat::color_of(plat::dialog_port(locDPtr)->pixel(x, y)).red < 0x8000;
    return n > (r.bottom - r.top) * (r.right - r.left) / 2;
}

}  // namespace

TEST(RestraintsPalette, TheMenuItemTogglesItAndTheStartChoicesShow) {
    Session s;
    s.menu(4, "PLcn");
    s.then([] {
        ASSERT_NE(locDPtr, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLcn")), plat::checkMark);
        EXPECT_TRUE(inverted(lock_free_item));
        EXPECT_TRUE(inverted(snap_increment_item));
        EXPECT_FALSE(inverted(snap_grid_item));
        EXPECT_FALSE(inverted(3));
    });
    s.menu(4, "PLcn");
    s.then([] {
        EXPECT_EQ(locDPtr, nullptr);
        EXPECT_EQ(plat::menu_item_mark(4, four_cc("PLcn")), plat::noMark);
    });
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, ReclickingTheHighlightedLockKeepsALockSetElsewhere) {
    Session s;
    s.then(open_palette);
    click_item(s, 3);
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 1);
        EXPECT_EQ(locknum, 3);
        EXPECT_TRUE(inverted(3));
        EXPECT_FALSE(inverted(2));
        objopts->lock_mode = 4;  // as a rotation sets it
    });
    click_item(s, 3);
    s.then([] { EXPECT_EQ(objopts->lock_mode, 4); });
    click_item(s, 5);
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 3);
        objopts->lock_mode = 5;
    });
    click_item(s, 5);
    s.then([] { EXPECT_EQ(objopts->lock_mode, 5); });
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, PlainSnapChoicesAndObjectSnapWithNothingOnScreen) {
    Session s;
    s.then(open_palette);
    const struct {
        int item;
        int mode;
        int shown;
    } steps[] = {{snap_grid_item, 2, 9}, {snap_fraction_item, 0, 6}, {snap_grid_item, 2, 9},
                 // Nothing on screen: no pick, back to the mode of the last pick (1 at start).
                 {snap_points_item, 1, 8}, {snap_crossing_item, 1, 8}};
    for (const auto& st : steps) {
        click_item(s, st.item);
        s.then([st] {
            EXPECT_EQ(misc_defs.snap_mode, st.mode) << st.item;
            EXPECT_EQ(snapnum, st.shown) << st.item;
            EXPECT_TRUE(inverted(st.shown)) << st.item;
        });
    }
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, EscDuringThePickReturnsToTheModeOfTheLastPick) {
    Session s;
    Scene scene;
    s.then([&] {
        open_palette();
        scene.build();
    });
    click_item(s, snap_grid_item);
    s.then([] { EXPECT_EQ(misc_defs.snap_mode, 2); });
    click_item(s, snap_points_item, [] { drav::test::post_key(27); });
    settle_steps(s);
    s.then([] {
        EXPECT_EQ(misc_defs.snap_mode, 1);  // not the grid set just before
        EXPECT_EQ(snapnum, snap_increment_item);
        EXPECT_TRUE(inverted(snap_increment_item));
        EXPECT_EQ(snaprec, -1);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, NTakesTheNextObjectUnderTheCursor) {
    Session s;
    Scene scene;
    std::int16_t first = -1;
    s.then([&] {
        open_palette();
        scene.build();
    });
    click_item(s, snap_points_item, [&] { drav::test::post_click(local_of(scene.cx, scene.cy)); });
    settle_steps(s);
    s.then([&] {
        EXPECT_EQ(misc_defs.snap_mode, 3);
        first = snaprec;
        EXPECT_GE(first, 36);
        EXPECT_EQ(msnap_pts.count, 4);
    });
    const int expected_cycle[] = {1, 0, 1};  // the other line, the first, the other again
    for (int other : expected_cycle) {
        click_item(s, snap_points_item, [] { drav::test::post_key('N'); });
        settle_steps(s);
        s.then([&, other] {
            EXPECT_EQ(misc_defs.snap_mode, 3);
            EXPECT_EQ(snaprec != first, other == 1);
        });
    }
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, ObjectSnapPutsACommandsClickOnTheEndAndLastsOneClick) {
    Session s;
    Scene scene;
    s.then([&] {
        open_palette();
        scene.build();
    });
    click_item(s, snap_points_item,
               [&] { drav::test::post_click(local_of(scene.cx + scene.q * 0.9, scene.cy + scene.q * 0.9)); });
    settle_steps(s);
    s.then([&] {
        ASSERT_EQ(misc_defs.snap_mode, 3);
        setidle(0);
        // A command's click three pixels from A's end.
        drav::test::post_click(local_of(scene.cx + scene.q - pixels(3), scene.cy + scene.q - pixels(2)));
        double x = 0, y = 0;
        read_click(&x, &y);
        EXPECT_EQ(accepted, 1);
        EXPECT_DOUBLE_EQ(x, scene.cx + scene.q);
        EXPECT_DOUBLE_EQ(y, scene.cy + scene.q);
        // One-shot: the mode and its square are back at the last plain choice.
        EXPECT_EQ(misc_defs.snap_mode, 1);
        EXPECT_EQ(snapnum, snap_increment_item);
        EXPECT_EQ(snap_eqn, 0);
        setidle(1);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, CrossingSnapWithOnePickFindsBothLines) {
    Session s;
    Scene scene;
    s.then([&] {
        open_palette();
        objopts->intersect_opt = 0;
        scene.build();
    });
    click_item(s, snap_crossing_item, [&] { drav::test::post_click(local_of(scene.cx + pixels(1), scene.cy)); });
    settle_steps(s);
    s.then([&] {
        ASSERT_EQ(misc_defs.snap_mode, 4);
        EXPECT_EQ(snapnum, snap_crossing_item);
        setidle(0);
        drav::test::post_click(local_of(scene.cx - pixels(4), scene.cy + pixels(3)));
        double x = 0, y = 0;
        read_click(&x, &y);
        EXPECT_NEAR(x, scene.cx, 1e-9);
        EXPECT_NEAR(y, scene.cy, 1e-9);
        EXPECT_EQ(misc_defs.snap_mode, 1);
        EXPECT_EQ(snapnum, snap_increment_item);
        setidle(1);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(RestraintsPalette, ADoubleClickOnIncrementHighlightsItWhileItsWindowIsOpen) {
    Session s;
    s.then(open_palette);
    click_item(s, snap_grid_item);
    s.then([] { do_dc_constraintcmd(snap_increment_item); });
    s.then([] {
        // The increment window is open in front.
        EXPECT_EQ(snapnum, snap_increment_item);
        EXPECT_TRUE(inverted(snap_increment_item));
        EXPECT_FALSE(inverted(snap_grid_item));
    });
    s.hit(2);  // Cancel
    EXPECT_EQ(s.run(), 0);
    // Then applied as a single click.
    EXPECT_EQ(misc_defs.snap_mode, 1);
    EXPECT_EQ(snapnum, snap_increment_item);
}

TEST(RestraintsPalette, MarkrestraintsFollowsTheSnapMode) {
    Session s;
    s.then([] {
        open_palette();
        const struct {
            std::int16_t mode;
            int item;
        } cases[] = {{0, 6}, {2, 9}, {1, 8}};
        for (const auto& c : cases) {
            misc_defs.snap_mode = c.mode;
            markrestraints();
            EXPECT_EQ(snapnum, c.item) << c.mode;
            EXPECT_EQ(misc_defs.snap_mode, c.mode);
        }
        sett_restraints();  // closed: nothing happens
        misc_defs.snap_mode = 0;
        markrestraints();
        EXPECT_EQ(snapnum, 8);
    });
    EXPECT_EQ(s.run(), 0);
}

// The picks find objects also without the display list, and between commands
// the current object is highlighted again after the pick.
class PickWithoutTheList : public testing::TestWithParam<int> {};

TEST_P(PickWithoutTheList, FindsTheLineAndShowsTheCurrentObjectAgain) {
    const int item = GetParam();
    Session s;
    Scene scene;
    s.then([&] {
        open_palette();
        objopts->intersect_opt = 0;
        scene.build();
        nullohp();
        termlist();
        ASSERT_EQ(listinstalled(), 0);
    });
    click_item(s, item, [&] { drav::test::post_click(local_of(scene.cx + pixels(1), scene.cy)); });
    settle_steps(s);
    s.then([item] {
        EXPECT_EQ(misc_defs.snap_mode, item == snap_crossing_item ? 4 : 3);
        EXPECT_EQ(currentitem, indx);
        initlist();
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

INSTANTIATE_TEST_SUITE_P(PointsAndCrossing, PickWithoutTheList, testing::Values(snap_points_item, snap_crossing_item));
