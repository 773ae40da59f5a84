// The b-spline of the curve tool driven through the running program.
#include <gtest/gtest.h>

#include <cmath>

#include "commands/draw/bspline.h"
#include "store/record_store.h"
#include "tests/commands/draw/curve_steps.h"

using namespace drav;
using namespace drav::shape_test;
using namespace drav::curve_test;
using drav::test::answers;
using drav::test::Session;

namespace {

void spline_options(int start_mode = 1, int end_mode = 1) {
    objopts->bez_opt1 = 2;
    objopts->bez_opt3 = static_cast<std::int16_t>(start_mode);
    objopts->bez_opt4 = static_cast<std::int16_t>(end_mode);
    objopts->bez_opt6 = 0;
}

double last_point_x() { return last_bez ? (last_bez->x - gx(0)) / u : -1; }

// Point i of a zigzag that stays inside the window, never twice in a row.
plat::Point zigzag(int i) { return at(60 + (i % 40) * 20, 60 + (i / 40) * 40 + (i % 2) * 10); }

}  // namespace

TEST(BSplineCommand, FourCollinearClicksAndQStoreThreeSpansWithControlsAtThirds) {
    Session s;
    s.then([] { spline_options(); });
    start(s, tool_curve);
    for (int i = 0; i < 4; ++i) s.click(p(5 * i, 0));
    count_is(s, 2);  // the first span and the second
    key(s, 'Q');
    count_is(s, 3);
    s.then([] {
        for (int i = 0; i < 3; ++i) expect_bez(n0 + i, {5.0 * i, 0, 5.0 / 3, 0, 10.0 / 3, 0, 5, 0});
    });
    ended(s);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, ThreeClicksAndQStoreNothingAndLeaveNoCross) {
    Session s;
    auto before = snapshot_after(s, [] { spline_options(); });
    start(s, tool_curve);
    for (int i = 0; i < 3; ++i) s.click(p(5 * i, 3 * (i % 2)));
    key(s, 'Q');
    count_is(s, 0);
    ended_as_before(s, before);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, UndoAfterTheFourthPointKeepsTheFirstSpanOnly) {
    Session s;
    s.then([] { spline_options(); });
    start(s, tool_curve);
    for (int i = 0; i < 4; ++i) s.click(p(5 * i, 0));
    count_is(s, 2);
    key(s, 'U');
    count_is(s, 1);
    s.then([] {
        expect_bez(n0, {0, 0, 5.0 / 3, 0, 10.0 / 3, 0, 5, 0});
        EXPECT_NEAR(last_point_x(), 10, 1e-9);
    });
    s.click(p(15, 5));  // a new fourth point
    count_is(s, 2);
    key(s, 'Q');
    count_is(s, 3);
    s.then([] {
        const Bez last = bez_of(stored(n0 + 2));  // from the third point to the new fourth
        EXPECT_NEAR(last.x, 10, 1e-6);
        EXPECT_NEAR(last.ex, 5, 1e-6);
        EXPECT_NEAR(last.ey, 5, 1e-6);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, QRewritesTheFirstSpanInPlaceAndStoresTheLastOne) {
    Session s;
    auto first = std::make_shared<ObjectRec>();
    s.then([] { spline_options(1, 3); });
    start(s, tool_curve);
    s.click(p(0, 0));
    s.click(p(5, 0));
    s.click(p(10, 5));
    s.click(p(15, 5));
    s.click(p(20, 10));
    count_is(s, 3);
    s.then([first] { *first = stored(n0); });
    key(s, 'Q');
    count_is(s, 4);
    s.then([first] {
        // Open curve, condition 1: the first span leaves toward the last
        // point (20, 10); 5 / (2.5 + cos / 2) along it.
        const double tx = 20 / std::sqrt(500.0), ty = 10 / std::sqrt(500.0);
        const double k = 5 / (2.5 + tx / 2);
        const ObjectRec now = stored(n0);
        EXPECT_NE(rec_f64(now, bez::c1y), rec_f64(*first, bez::c1y));  // rewritten
        const Bez b = bez_of(now);
        EXPECT_NEAR(b.c1x, k * tx, 1e-6);
        EXPECT_NEAR(b.c1y, k * ty, 1e-6);
        EXPECT_NEAR(b.c2x, bez_of(*first).c2x, 1e-9);  // the rest as it was
        // Condition 3 at the end: a third of the chord back toward (15, 5).
        const Bez last = bez_of(stored(n0 + 3));
        EXPECT_NEAR(last.x, 15, 1e-6);
        EXPECT_NEAR(last.c2x, 5 - 5.0 / 3, 1e-6);
        EXPECT_NEAR(last.c2y, 5 - 5.0 / 3, 1e-6);
        EXPECT_NEAR(last.ex, 5, 1e-6);
        EXPECT_NEAR(last.ey, 5, 1e-6);
    });
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, AClickOnTheLastPointAgainIsRefused) {
    Session s;
    s.then([] { spline_options(); });
    start(s, tool_curve);
    s.click(p(0, 0));
    s.click(p(5, 0));
    s.then([] { answers().expect("same as the last"); });
    s.click(p(5, 0));
    s.then([] {
        EXPECT_TRUE(answers().done());
        ASSERT_NE(last_bez, nullptr);
        EXPECT_EQ(last_bez->prev, first_bez);
    });
    s.click(p(10, 0));  // points are still taken
    s.then([] { EXPECT_NEAR(last_point_x(), 10, 1e-9); });
    key(s, 27);
    count_is(s, 0);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, TheStreamTakesNoPointInsideTheBand) {
    Session s;
    s.then([] {
        spline_options();
        objopts->bez_opt6 = 1;
        users_defs.spline_band = u;
        users_defs.spline_step = 0;
    });
    start(s, tool_curve);
    s.click(p(0, 0));
    hover(s, p(3, 0.4));
    hover(s, p(6, -0.4));
    s.then([] { EXPECT_EQ(last_bez, first_bez); });
    hover(s, p(6, 0.6));
    s.then([] {
        ASSERT_NE(last_bez, first_bez);
        EXPECT_NEAR(last_point_x(), 6, 1e-9);
    });
    key(s, 27);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, EscAfterTwentyPointsPutsTheDrawingBack) {
    Session s;
    auto before = snapshot_after(s, [] { spline_options(); });
    start(s, tool_curve);
    for (int i = 0; i < 20; ++i) s.click(zigzag(i));
    count_is(s, 18);
    key(s, 27);
    count_is(s, 0);
    ended_as_before(s, before);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, The500thPointIsRefusedWithOneAlert) {
    Session s;
    s.then([] { spline_options(); });
    start(s, tool_curve);
    for (int i = 0; i < 499; ++i) s.click(zigzag(i));
    count_is(s, 497);
    s.then([] { answers().expect("at most 499 points"); });
    s.click(zigzag(499));
    s.then([] { EXPECT_TRUE(answers().done()); });
    s.click(zigzag(500));  // no second alert, no point
    count_is(s, 497);
    key(s, 'Q');
    count_is(s, 498);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(BSplineCommand, AFullDrawingAlertsOnceAndTakesNoFurtherPoint) {
    Session s;
    s.then([] {
        spline_options();
        worksize = static_cast<std::uint16_t>(number_of_objects + 14);
    });
    start(s, tool_curve);
    // Room while the count plus the points stays below the work size less 5.
    for (int i = 0; i < 5; ++i) s.click(zigzag(i));
    count_is(s, 3);
    s.then([] { answers().expect("no room for more"); });
    s.click(zigzag(5));
    s.then([] { EXPECT_TRUE(answers().done()); });
    s.click(zigzag(6));
    count_is(s, 3);
    key(s, 'Q');
    count_is(s, 4);
    test::quit_without_saving(s);
    EXPECT_EQ(s.run(), 0);
}
