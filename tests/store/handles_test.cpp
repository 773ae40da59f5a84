// Handles and pivots: the handle steps through the object's snap points and
// back to its stored offset; the pivot starts at the first snap point that
// is not the handle.
#include <gtest/gtest.h>

#include "base/command_loop.h"
#include "store/handles.h"
#include "store/record_store.h"
#include <numbers>

#include "store/geometry.h"
#include "tests/store/drawing_fixture.h"

using namespace drav;

namespace {

class Handles : public drav::test::Drawing {};

}  // namespace

TEST_F(Handles, ALineStepsThroughItsEndsAndMiddleThenBackToItsOffset) {
    ObjectRec r = line(1, 1, 2, 0);
    set_rec_f64(r, obj::handle_x, 0.5);
    set_rec_f64(r, obj::handle_y, 0.25);
    const struct {
        int location;
        double dx, dy;
    } steps[] = {{1, 0, 0}, {2, 2, 0}, {3, 1, 0}, {0, 0.5, 0.25}, {1, 0, 0}};
    double dx = -1, dy = -1;
    new_handle(r, 0, &dx, &dy);
    EXPECT_EQ(rec_handle_location(r), 0);
    EXPECT_EQ(dx, 0.5);
    EXPECT_EQ(dy, 0.25);
    for (const auto& s : steps) {
        new_handle(r, 1, &dx, &dy);
        EXPECT_EQ(rec_handle_location(r), s.location);
        EXPECT_EQ(dx, s.dx) << s.location;
        EXPECT_EQ(dy, s.dy) << s.location;
        // The reference point of relative input is the handle.
        EXPECT_EQ(ref_x, 1 + s.dx);
        EXPECT_EQ(ref_y, 1 + s.dy);
        double x = 0, y = 0;
        abs_handle(r, 0, &x, &y);
        EXPECT_EQ(x, 1 + s.dx);
        EXPECT_EQ(y, 1 + s.dy);
    }
    // A turned line's stored offset turns with it.
    set_rec_handle_location(r, 0);
    set_rec_f64(r, obj::rotation, std::numbers::pi / 2);
    new_handle(r, 0, &dx, &dy);
    EXPECT_NEAR(dx, -0.25, 1e-12);
    EXPECT_NEAR(dy, 0.5, 1e-12);
}

TEST_F(Handles, LocationThirtyOneWrapsToTheOffset) {
    ObjectRec r = line(0, 0, 2, 0);
    set_rec_handle_location(r, 31);
    double dx = 0, dy = 0;
    new_handle(r, 1, &dx, &dy);
    EXPECT_EQ(rec_handle_location(r), 0);
    // A location beyond the object's points is the offset too.
    set_rec_handle_location(r, 9);
    new_handle(r, 0, &dx, &dy);
    EXPECT_EQ(rec_handle_location(r), 0);
}

TEST_F(Handles, ThePivotSkipsThePointOnTheHandle) {
    ObjectRec r = line(1, 1, 2, 0);
    set_rec_handle_location(r, 1);  // the handle is the start point
    info = r;
    double dx = 0, dy = 0;
    new_pivot(info, 0, &dx, &dy);
    EXPECT_EQ(dx, 2);  // snap point 2, the end
    EXPECT_EQ(dy, 0);
    new_pivot(info, 1, &dx, &dy);
    EXPECT_EQ(dx, 1);  // then the middle
    new_pivot(info, 1, &dx, &dy);
    EXPECT_EQ(dx, 0);  // then round to the first point
    // A symbol has no pivot of its own.
    ObjectRec s = object(ok_symbol, 5, 5);
    info = s;
    dx = dy = 7;
    new_pivot(info, 0, &dx, &dy);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}
