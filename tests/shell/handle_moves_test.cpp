// Stepping the handle and pivot of the current object as operations 34 and
// 35, undone and redone through the Edit menu's Undo.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "base/idle.h"
#include "display/selection_display.h"
#include "shell/handle_moves.h"
#include "store/handles.h"
#include "store/undo.h"
#include <numbers>

#include "store/geometry.h"
#include "tests/store/drawing_fixture.h"

using namespace drav;

namespace {

class HandleMoves : public drav::test::Drawing {
protected:
    void SetUp() override {
        Drawing::SetUp();
        setidle(1);
        accepted = 0;
        ObjectRec r = line(1, 1, 2, 0);
        set_rec_f64(r, obj::handle_x, 0.5);
        indx = static_cast<std::int16_t>(store(r));
        put_on_screen(indx, 1);  // no window here: the object counts as drawn
        // The selection display keeps the points the commands step from.
        nullohp();
        showonoff(indx, 1);
    }
    static void expect_points(double hx, double hy, double px, double py) {
        double a = 0, b = 0, c = 0, d = 0;
        current_handle_and_pivot(&a, &b, &c, &d);
        EXPECT_EQ(a, hx);
        EXPECT_EQ(b, hy);
        EXPECT_EQ(c, px);
        EXPECT_EQ(d, py);
    }
};

}  // namespace

TEST_F(HandleMoves, NextHandleAndNextPivotAreUndoneAndRedone) {
    // Handle at the stored offset (1.5, 1); pivot at the first snap point, the start.
    expect_points(1.5, 1, 1, 1);
    nexthandle();
    EXPECT_EQ(rec_handle_location(record(indx)), 1);
    expect_points(1, 1, 1, 1);
    EXPECT_STREQ(undo_item_text(), "Undo Handle Change");
    do_undo();
    expect_points(1.5, 1, 1, 1);
    EXPECT_EQ(rec_handle_location(record(indx)), 0);
    EXPECT_STREQ(undo_item_text(), "Redo Handle Change");
    do_undo();
    expect_points(1, 1, 1, 1);
    EXPECT_EQ(rec_handle_location(record(indx)), 1);

    nextpivot();
    expect_points(1, 1, 3, 1);
    EXPECT_STREQ(undo_item_text(), "Undo Pivot Change");
    do_undo();
    expect_points(1, 1, 1, 1);
    do_undo();
    expect_points(1, 1, 3, 1);
    EXPECT_EQ(rec_handle_location(record(indx)), 1);
}

TEST_F(HandleMoves, UndoingANextHandleFromASnapPointPutsThatLocationBack) {
    nexthandle();
    nexthandle();
    // The second snap point of the line: its end (3, 1).
    EXPECT_EQ(rec_handle_location(record(indx)), 2);
    expect_points(3, 1, 1, 1);
    do_undo();
    EXPECT_EQ(rec_handle_location(record(indx)), 1);
    expect_points(1, 1, 1, 1);
    do_undo();
    EXPECT_EQ(rec_handle_location(record(indx)), 2);
    expect_points(3, 1, 1, 1);
}

TEST_F(HandleMoves, AnAcceptedHandleMoveRewritesTheStoredOffset) {
    ObjectRec turned = record(indx);
    set_rec_f64(turned, obj::rotation, std::numbers::pi / 2);
    set_rec_handle_location(turned, 2);
    info = turned;
    modified = 1;
    accepted = 1;
    double hx = 0, hy = 0, px = 0, py = 0;
    current_handle_and_pivot(&hx, &hy, &px, &py);
    do_operation(op_handle, 1, 2, 0, 0, 0, 0);
    ObjectRec r = record(indx);
    EXPECT_EQ(rec_handle_location(r), 0);
    // The new handle less the reference point, turned back a quarter.
    double want_x = 0, want_y = 0;
    rotate_cr(hx + 1 - 1, hy + 2 - 1, &want_x, &want_y, -std::numbers::pi / 2);
    EXPECT_NEAR(rec_f64(r, obj::handle_x), want_x, 1e-12);
    EXPECT_NEAR(rec_f64(r, obj::handle_y), want_y, 1e-12);
    do_undo();
    r = record(indx);
    rotate_cr(hx - 1, hy - 1, &want_x, &want_y, -std::numbers::pi / 2);
    EXPECT_NEAR(rec_f64(r, obj::handle_x), want_x, 1e-12);
    EXPECT_NEAR(rec_f64(r, obj::handle_y), want_y, 1e-12);
    // A pivot move changes no record.
    const ObjectRec before = record(indx);
    do_operation(op_pivot, 0, 0, 1, 1, 0, 0);
    expect_points(hx, hy, px + 1, py + 1);
    // (pivotop 0 rewrites the handle where it stands: the same point)
    EXPECT_NEAR(rec_f64(record(indx), obj::handle_x), rec_f64(before, obj::handle_x), 1e-12);
}

TEST_F(HandleMoves, NothingHappensWhileACommandRunsOrInGroupMode) {
    setidle(0);
    nexthandle();
    EXPECT_EQ(rec_handle_location(record(indx)), 0);
    setidle(1);
    macgroup = 1;
    nextpivot();
    nexthandle();
    EXPECT_EQ(rec_handle_location(record(indx)), 0);
    macgroup = 0;
    EXPECT_EQ(undo_item_enabled(), 0);
}
