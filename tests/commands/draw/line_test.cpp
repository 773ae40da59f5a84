// The line command driven through the running program: clicks in the
// drawing window, keys, typed points, the restraints, and what is stored.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "base/command_loop.h"
#include "base/idle.h"
#include "base/messages.h"
#include "base/tool_options.h"
#include "commands/draw/draw_frame.h"
#include "dialogs/edit_fields.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/menus.h"
#include "shell/input_window.h"
#include "shell/message_palette.h"
#include "shell/restraints_palette.h"
#include "shell/tool_palette.h"
#include "store/files.h"
#include "store/geometry.h"
#include "store/object_snap.h"
#include "store/record_ops.h"
#include "store/selection_state.h"
#include "store/record_store.h"
#include "store/records.h"
#include "store/settings.h"
#include "store/undo.h"
#include "tests/support/drawing_file.h"
#include "tests/support/harness.h"
#include "tests/support/session.h"

using namespace drav;
using drav::test::answers;
using drav::test::Session;
using drav::test::quit_without_saving;

namespace {

// The drawing area is 952 x 675 pixels showing x 0..30 from y 0 upward.
constexpr double unit = 30.0 / 952.0;
double wx(int h) { return h * unit; }
double wy(int v) { return (675 - v) * unit; }
plat::Point at(int h, int v) { return plat::Point{static_cast<std::int16_t>(v), static_cast<std::int16_t>(h)}; }

constexpr double tol = 1e-9;
std::int16_t n0 = 0;  // the record count before the test's command

struct Line {
    double x, y, dx, dy;
};

Line line_at(int n) {
    // Through `info`, which may hold the newest state of the record; the
    // object in hand is put back afterwards.
    const ObjectRec keep = info;
    const std::int16_t was = prev_index;
    get_info(static_cast<std::int16_t>(n));
    const ObjectRec r = info;
    if (was >= 0) get_info(was);
    info = keep;
    modified = 1;
    EXPECT_TRUE(is_live_object(r)) << "record " << n;
    EXPECT_EQ(obj_kind(r), ok_line) << "record " << n;
    return Line{rec_f64(r, obj::ref_x), rec_f64(r, obj::ref_y), rec_f64(r, line::dx), rec_f64(r, line::dy)};
}

void expect_line(int n, double x, double y, double dx, double dy) {
    const Line l = line_at(n);
    EXPECT_NEAR(l.x, x, tol) << "record " << n;
    EXPECT_NEAR(l.y, y, tol) << "record " << n;
    EXPECT_NEAR(l.dx, dx, tol) << "record " << n;
    EXPECT_NEAR(l.dy, dy, tol) << "record " << n;
}

std::string message() {
    char text[80];
    RetrieveCStringMessage(text);
    return text;
}

std::string prompt(int n) {
    char text[256];
    GetMyLocalCString(text, tbl_draw_prompts, n);
    return text;
}

// Starts the line tool from the tool palette; a script's hit is never a double click.
void start(Session& s) {
    s.then([] {
        objopts->dblclick_mode = 1;
        units_defs.increment = 0;  // no increment lattice: clicks land on their own pixels
        n0 = number_of_objects;
        plat::post_item_hit(addDPtr, tool_line);
    });
}

// A key typed in the drawing window; the poll that reads it may wait once
// more before it does, so the next step waits for that too.
void key(Session& s, char c) {
    s.key(c);
    s.then([] {});
}

void count_is(Session& s, int added) {
    s.then([added] { EXPECT_EQ(number_of_objects, n0 + added); });
}

void ended(Session& s) {
    s.then([] {
        EXPECT_EQ(addnum, tool_select);
        EXPECT_EQ(getidle(), 1);
        EXPECT_EQ(update_info, 0);
    });
}

}  // namespace

TEST(LineCommand, EscAsTheFirstKeyStoresNothing) {
    Session s;
    start(s);
    s.then([] {
        EXPECT_EQ(addnum, tool_line);
        EXPECT_EQ(getidle(), 0);
        EXPECT_EQ(message(), prompt(1));
    });
    key(s, 27);
    count_is(s, 0);
    ended(s);
    s.then([] { EXPECT_EQ(message(), ""); });
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, AChainOfThreeLinesIsStoredAndEscTakesAllThreeBack) {
    Session s;
    start(s);
    s.click(at(100, 500));
    s.then([] { EXPECT_EQ(message(), prompt(2)); });
    s.click(at(300, 500));
    s.click(at(300, 200));
    s.click(at(100, 200));
    count_is(s, 3);
    s.then([] {
        expect_line(n0, wx(100), wy(500), wx(300) - wx(100), 0);
        expect_line(n0 + 1, wx(300), wy(500), 0, wy(200) - wy(500));
        expect_line(n0 + 2, wx(300), wy(200), wx(100) - wx(300), 0);
        // Each stored point became the reference point.
        EXPECT_NEAR(ref_x, wx(100), tol);
        EXPECT_NEAR(ref_y, wy(200), tol);
    });
    key(s, 27);
    count_is(s, 0);
    ended(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, UndoKeyTakesBackThisCommandsLinesNewestFirstAndNoFurther) {
    Session s;
    start(s);  // an earlier command's line
    s.click(at(50, 50));
    s.click(at(60, 60));
    key(s, 'q');
    count_is(s, 1);
    ended(s);
    start(s);
    s.click(at(100, 100));
    s.click(at(200, 100));
    s.click(at(200, 300));
    count_is(s, 2);
    key(s, 'u');
    count_is(s, 1);
    s.then([] {
        // The rubber band runs again from the start of the line taken back.
        EXPECT_NEAR(ref_x, wx(200), tol);
        EXPECT_NEAR(ref_y, wy(100), tol);
    });
    key(s, 'U');
    count_is(s, 0);
    key(s, 'U');
    key(s, 'U');
    count_is(s, 0);
    s.then([] { expect_line(n0 - 1, wx(50), wy(50), wx(60) - wx(50), wy(60) - wy(50)); });
    // The chain goes on from the first point of the command.
    s.click(at(100, 300));
    count_is(s, 1);
    s.then([] { expect_line(n0, wx(100), wy(100), 0, wy(300) - wy(100)); });
    key(s, 'Q');
    ended(s);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, TheHorizontalRestraintAlternatesWithVerticalAndIsRestoredAfterQ) {
    Session s;
    s.then([] { objopts->lock_mode = 1; });
    start(s);
    s.click(at(100, 500));
    s.click(at(300, 450));  // horizontal: y stays
    // The restraints palette shows each switch: lock items start at 2.
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 2);
        EXPECT_EQ(locknum, 4);
    });
    s.click(at(320, 200));  // vertical: x stays
    s.then([] {
        EXPECT_EQ(objopts->lock_mode, 1);
        EXPECT_EQ(locknum, 3);
    });
    s.click(at(150, 180));  // horizontal again
    s.then([] {
        expect_line(n0, wx(100), wy(500), wx(300) - wx(100), 0);
        expect_line(n0 + 1, wx(300), wy(500), 0, wy(200) - wy(500));
        expect_line(n0 + 2, wx(300), wy(200), wx(150) - wx(300), 0);
    });
    key(s, 'Q');
    count_is(s, 3);
    s.then([] { EXPECT_EQ(objopts->lock_mode, 1); });
    ended(s);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, AngleStepsOfFifteenDegreesTurnACursorAt44DegreesInto30) {
    Session s;
    s.then([] {
        objopts->lock_mode = 3;
        units_defs.rotation_step = 15 * std::numbers::pi / 180;
    });
    start(s);
    s.click(at(100, 500));
    // 100 pixels right, 97 up: 44.13 degrees.
    s.click(at(200, 403));
    key(s, 'Q');
    s.then([] {
        const double dx = 100 * unit, dy = 97 * unit;
        const double c30 = std::sqrt(3.0) / 2, s30 = 0.5;
        const double along = dx * c30 + dy * s30;  // 135.1025 pixels
        EXPECT_NEAR(along / unit, 135.10254037844, 1e-9);
        expect_line(n0, wx(100), wy(500), along * c30, along * s30);
        EXPECT_EQ(objopts->lock_mode, 3);
    });
    count_is(s, 1);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, AStepBelowTheToleranceUnderTheAngleLockMeansAFreeDirection) {
    // A tiny increment counted in 16 bits would wrap; here it means no stepping.
    EXPECT_NEAR(stepped_direction(1, 1, 0), std::numbers::pi / 4, 1e-12);
    const double tiny = 0.005 * std::numbers::pi / 180;  // 72000 steps to a turn
    const double a = stepped_direction(-1, -0.001, tiny);
    EXPECT_LE(a, get_radangle(-1, -0.001));
    EXPECT_GT(a, get_radangle(-1, -0.001) - tiny);
}

TEST(LineCommand, SeparateSegmentsUndoDropsOnlyTheSegmentInHand) {
    Session s;
    s.then([] { objopts->line_opt = 1; });
    start(s);
    s.click(at(100, 100));
    s.click(at(200, 100));
    count_is(s, 1);
    s.then([] { EXPECT_EQ(message(), prompt(1)); });  // a new first point
    s.click(at(100, 300));
    s.then([] { EXPECT_EQ(message(), prompt(2)); });
    key(s, 'U');
    count_is(s, 1);
    s.then([] { EXPECT_EQ(message(), prompt(1)); });
    s.click(at(400, 400));
    s.click(at(400, 500));
    count_is(s, 2);
    s.then([] {
        expect_line(n0, wx(100), wy(100), wx(200) - wx(100), 0);
        expect_line(n0 + 1, wx(400), wy(400), 0, wy(500) - wy(400));
    });
    key(s, 'Q');
    ended(s);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, EditUndoAfterTheCommandTakesBackTheLastLineAndRedoBringsItBack) {
    Session s;
    start(s);
    s.click(at(100, 100));
    s.click(at(200, 100));
    s.click(at(200, 200));
    key(s, 'Q');
    count_is(s, 2);
    s.then([] { EXPECT_EQ(plat::menu_item_text(2, four_cc("undo")), "Undo Drawing"); });
    s.menu(2, "undo");
    count_is(s, 1);
    s.then([] { expect_line(n0, wx(100), wy(100), wx(200) - wx(100), 0); });
    s.menu(2, "undo");
    count_is(s, 2);
    s.then([] { expect_line(n0 + 1, wx(200), wy(100), 0, wy(200) - wy(100)); });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, UndoFromTheEditMenuDuringTheCommandActsAsTheUndoKey) {
    Session s;
    start(s);
    s.click(at(100, 100));
    s.click(at(200, 100));
    s.click(at(200, 200));
    count_is(s, 2);
    s.menu(2, "undo");
    s.then([] {});  // the key it gives is read at the next poll
    count_is(s, 1);
    key(s, 'Q');
    count_is(s, 1);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, ARefusedSegmentSaysSoAndTheChainGoesOn) {
    Session s;
    start(s);
    s.click(at(100, 100));
    s.then([] { answers().expect("no size"); });
    s.click(at(100, 100));  // no length
    s.then([] { EXPECT_TRUE(answers().done()); });
    count_is(s, 0);
    s.click(at(150, 100));
    count_is(s, 1);
    s.then([] { expect_line(n0, wx(100), wy(100), wx(150) - wx(100), 0); });
    key(s, 'Q');
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, AFullDrawingSaysSoAndEndsTheCommandKeepingWhatWasStored) {
    Session s;
    static std::uint16_t real_size = 0;
    s.then([] {
        // Four blocks: room for the records up to 41, the last five kept free.
        real_size = worksize;
        worksize = 48;
    });
    start(s);
    for (int i = 0; i <= 6; ++i) s.click(at(100 + 40 * i, 100 + 30 * (i % 2)));
    count_is(s, 6);
    s.then([] { answers().expect("drawing is full"); });
    s.click(at(500, 400));
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(number_of_objects, n0 + 6);
        expect_line(n0 + 5, wx(300), wy(130), wx(340) - wx(300), wy(100) - wy(130));
    });
    ended(s);
    s.then([] { worksize = real_size; });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, APaletteClickEndsTheCommandKeepingItsLinesAndThenRuns) {
    Session s;
    start(s);
    s.click(at(100, 100));
    s.click(at(200, 100));
    s.then([] { plat::post_item_hit(addDPtr, tool_group); });
    s.then([] {
        EXPECT_EQ(macgroup, 1);
        EXPECT_EQ(number_of_objects, n0 + 1);
        EXPECT_EQ(update_info, 0);
    });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

namespace {

ControlRef field(int id) { return GrabCRef(windInput, 0, id); }

// Types a point into the input window in the given mode and enters it.
void type_point(Session& s, int mode, const char* a, const char* b) {
    s.then([mode, a, b] {
        ASSERT_NE(windInput, nullptr);
        plat::set_item_value(field(3), mode);
        plat::post_command(windInput, four_cc("Immd"));
    });
    s.then([a, b] {
        plat::set_item_text(field(5), a);
        plat::set_item_text(field(7), b);
        plat::post_command(windInput, four_cc("ok  "));
    });
}

}  // namespace

TEST(LineCommand, TypedAbsoluteRelativeAndPolarPointsAreClickedPoints) {
    Session s;
    s.menu(4, "PLin");
    start(s);
    type_point(s, 1, "10", "5");
    s.then([] {
        EXPECT_NEAR(ref_x, 10, tol);
        EXPECT_NEAR(ref_y, 5, tol);
        // The reference fields follow the entered point.
        double v = 0;
        EXPECT_TRUE(GetRealValueFromEditTextControl(field(9), &v, -1e9, 1e9, 1));
        EXPECT_NEAR(v, 10, 1e-6);
    });
    type_point(s, 2, "3", "4");
    type_point(s, 3, "90", "2");
    key(s, 'Q');
    s.then([] {
        expect_line(n0, 10, 5, 3, 4);
        const Line l = line_at(n0 + 1);
        EXPECT_NEAR(l.x, 13, tol);
        EXPECT_NEAR(l.y, 9, tol);
        EXPECT_NEAR(l.dx, 0, 1e-9);
        EXPECT_NEAR(l.dy, 2, 1e-9);
    });
    count_is(s, 2);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, TypedAbsolutePointsCountFromTheUserOrigin) {
    Session s;
    s.then([] {
        misc_defs.user_origin_x = 100;
        misc_defs.user_origin_y = 100;
    });
    s.menu(4, "PLin");
    start(s);
    type_point(s, 1, "5", "5");
    type_point(s, 1, "8", "9");
    key(s, 'Q');
    s.then([] { expect_line(n0, 105, 105, 3, 4); });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(LineCommand, SwitchingToSeparateSegmentsWhileTheCommandRunsTakesEffectAtOnce) {
    Session s;
    start(s);
    s.click(at(100, 100));
    s.then([] { objopts->line_opt = 1; });  // as the tool settings window leaves it
    s.click(at(200, 100));
    s.then([] { EXPECT_EQ(message(), prompt(1)); });  // no chain: a new first point
    s.click(at(300, 300));
    s.click(at(300, 400));
    key(s, 'Q');
    count_is(s, 2);
    s.then([] { expect_line(n0 + 1, wx(300), wy(300), 0, wy(400) - wy(300)); });
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

namespace {

// Two lines stored before the command: A rising from pixel (400, 500) to
// (600, 300), B falling from (400, 300) to (600, 500); they cross at (500, 400).
void store_crossing_lines() {
    const auto store = [](int h0, int v0, int h1, int v1) {
        do_operation(op_add, 0, 0, 0, 0, 0, 0);
        get_info(number_of_objects);
        info = drav::test::line_record(wx(h0), wy(v0), wx(h1) - wx(h0), wy(v1) - wy(v0));
        indx = number_of_objects;
        ASSERT_EQ(save_object(), 1);
    };
    store(400, 500, 600, 300);
    store(400, 300, 600, 500);
}

// A restraints square hit while the command runs, with the pick's click behind it.
void snap_pick(Session& s, int item, int h, int v) {
    s.then([item, h, v] {
        plat::post_item_hit(locDPtr, item);
        drav::test::post_click(at(h, v));
    });
    s.then([] {});
}

}  // namespace

TEST(LineCommand, ObjectSnapEndsTheLineOnAnEndAndOnACrossingForOneClickEach) {
    Session s;
    s.then([] {
        objopts->intersect_opt = 0;
        if (!locDPtr) sett_restraints();
        ASSERT_NE(locDPtr, nullptr);
        store_crossing_lines();
    });
    start(s);
    s.click(at(100, 100));
    snap_pick(s, snap_points_item, 590, 310);  // A, near its upper end
    s.click(at(603, 297));
    s.then([] {
        expect_line(n0, wx(100), wy(100), wx(600) - wx(100), wy(300) - wy(100));
        EXPECT_EQ(misc_defs.snap_mode, prevsnapmode);
        EXPECT_EQ(snapnum, snap_increment_item);
    });
    snap_pick(s, snap_crossing_item, 501, 400);
    s.click(at(497, 404));
    s.then([] {
        const Line l = line_at(n0 + 1);
        EXPECT_NEAR(l.x + l.dx, wx(500), tol);
        EXPECT_NEAR(l.y + l.dy, wy(400), tol);
        EXPECT_EQ(misc_defs.snap_mode, prevsnapmode);
        EXPECT_EQ(snapnum, snap_increment_item);
    });
    key(s, 'Q');
    count_is(s, 2);
    quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
