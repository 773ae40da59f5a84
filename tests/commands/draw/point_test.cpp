// The point command driven through the running program.
#include <gtest/gtest.h>

#include <numbers>

#include "display/line_styles.h"
#include "store/settings.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;

void expect_point(int n, double x, double y, double rotation) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_point) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::rotation), rotation, tol) << "record " << n;
    EXPECT_EQ(r.b[obj::style], solidstyle) << "record " << n;
}

}  // namespace

TEST(PointCommand, EachClickStoresAPointTurnedByTheRestraintAndTheTurnsAddUp) {
    Session s;
    s.then([] {
        objopts->lock_mode = 2;
        props_defs.style = 3;
    });
    start(s, tool_point);
    s.then([] { EXPECT_EQ(message(), prompt(3)); });
    s.click(at(100, 100));
    s.then([] { objopts->lock_mode = 0; });
    s.then([] {});
    s.then([] { objopts->lock_mode = 2; });
    s.then([] {});
    s.click(at(200, 100));
    s.then([] { objopts->lock_mode = 1; });  // turns nothing
    s.then([] {});
    s.click(at(300, 100));
    count_is(s, 3);
    s.then([] {
        expect_point(n0, wx(100), wy(100), pi / 2);
        expect_point(n0 + 1, wx(200), wy(100), pi);
        expect_point(n0 + 2, wx(300), wy(100), pi);
        EXPECT_EQ(message(), prompt(3));
    });
    quit_command(s, 3);
    run_unsaved(s);
}

TEST(PointCommand, ATemplatePointIsStoredSolid) {
    Session s;
    s.then([] {
        objopts->lock_mode = 0;
        objopts->new_template = 1;
        props_defs.style = 3;
    });
    start(s, tool_point);
    s.click(at(100, 100));
    s.click(at(200, 100));
    count_is(s, 2);
    s.then([] {
        objopts->new_template = 0;
        for (int n : {int{n0}, n0 + 1}) {
            EXPECT_TRUE(is_template(stored(n)));
            expect_point(n, wx(n == n0 ? 100 : 200), wy(100), 0);
        }
    });
    quit_command(s);
    run_unsaved(s);
}

TEST(PointCommand, UndoTakesBackThisCommandsPointsNewestFirstAndNoFurther) {
    Session s;
    s.then([] { objopts->lock_mode = 0; });
    earlier_command(s, tool_point, {at(50, 50)});  // an earlier command's point
    start(s, tool_point);
    s.click(at(100, 100));
    s.click(at(200, 100));
    count_is(s, 2);
    undo_newest_first(s, 2);
    s.then([] { expect_point(n0 - 1, wx(50), wy(50), 0); });
    s.click(at(300, 300));
    count_is(s, 1);
    s.then([] { expect_point(n0, wx(300), wy(300), 0); });
    quit_command(s);
    run_unsaved(s);
}

TEST(PointCommand, EscLeavesTheDrawingExactlyAsBefore) {
    Session s;
    s.then([] { objopts->lock_mode = 0; });
    line_across(s);
    auto before = snapshot_now(s);
    start(s, tool_point);
    s.click(at(100, 100));
    s.click(at(200, 100));
    esc_takes_back(s, 2, before);
    run_unsaved(s);
}
