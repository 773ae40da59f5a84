// The circle command driven through the running program.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "store/geometry.h"
#include "store/settings.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double u100 = 100 * unit;  // one unit of the hand-worked examples

void expect_circle(int n, double x, double y, double rotation, double radius) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_ellipse) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::rotation), rotation, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius1), radius, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius2), radius, tol) << "record " << n;
    EXPECT_EQ(rec_f64(r, ell::begin), 0) << "record " << n;
    EXPECT_EQ(rec_f64(r, ell::end), 0) << "record " << n;
    EXPECT_EQ(rec_u16(r, ell::flags), ell::clockwise) << "record " << n;
}

struct Case {
    const char* what;
    int method, lock;
    double step;                      // rotation increment, radians
    std::vector<plat::Point> clicks;  // the first is at (0, 0) of the example
    double cx, cy, rotation, radius;  // in units of 100 pixels from the first click
};

}  // namespace

TEST(CircleCommand, StoresTheCircleOfEachMethodAndRestraint) {
    const double r45 = 7 / std::sqrt(2.0);
    const std::vector<Case> cases = {
        {"centre (0,0), point (3,4)", 1, 0, 0, {at(100, 600), at(400, 200)}, 0, 0, 0, 5},
        {"horizontal: radius 3", 1, 1, 0, {at(100, 600), at(400, 200)}, 0, 0, 0, 3},
        {"vertical, pointing down", 1, 2, 0, {at(100, 200), at(400, 600)}, 0, 0, 3 * pi / 2, 4},
        {"15-degree steps: 53.13 degrees gives 45", 1, 3, pi / 12, {at(100, 600), at(400, 200)}, 0, 0, pi / 4, r45},
        {"a step below the tolerance: free", 1, 3, 1e-12, {at(100, 600), at(400, 200)}, 0, 0, std::atan2(4.0, 3.0), 5},
        {"a tiny step is counted wide", 1, 3, 1e-5, {at(100, 600), at(400, 200)}, 0, 0, 0, 0},
        {"diameter ends (0,0) (4,0)", 2, 0, 0, {at(100, 600), at(500, 600)}, 2, 0, 0, 2},
        {"fixed radius 1.5: one click", 3, 0, 0, {at(300, 300)}, 0, 0, 0, 1.5},
        {"fixed diameter 2 towards (0,5)", 4, 0, 0, {at(100, 600), at(100, 100)}, 0, 1, pi / 2, 1},
    };
    // One program draws them all, one command each.
    Session s;
    for (const Case& c : cases) {
        s.then([&c] {
            objopts->circle_method = static_cast<std::int16_t>(c.method);
            objopts->circle_value1 = 1.5 * u100;
            objopts->circle_value2 = 2 * u100;
            objopts->lock_mode = static_cast<std::int16_t>(c.lock);
            units_defs.rotation_step = c.step;
        });
        start(s, tool_circle);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 1 || c.method == 3 ? 9 : 11)); });
        for (std::size_t i = 0; i < c.clicks.size(); ++i) {
            s.click(c.clicks[i]);
            if (i == 0 && c.clicks.size() > 1) s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 1 ? 10 : 12)); });
        }
        count_is(s, 1);
        s.then([&c] {
            SCOPED_TRACE(c.what);
            const plat::Point p = c.clicks[0];
            double rotation = c.rotation, radius = c.radius * u100;
            if (c.step == 1e-5) {
                // 53.13 degrees in steps of 1e-5: the direction just below it.
                const double k = std::floor(std::atan2(4.0, 3.0) / c.step);
                rotation = k * c.step;
                radius = (300 * std::cos(rotation) + 400 * std::sin(rotation)) * unit;
            }
            expect_circle(n0, wx(p.h) + c.cx * u100, wy(p.v) + c.cy * u100, rotation, radius);
        });
        quit_command(s, 1);
    }
    run_unsaved(s);
}

TEST(CircleCommand, ChangingTheRadiusWhileTheFixedCircleFollowsTheCursorResizesItAtOnce) {
    Session s;
    s.then([] {
        objopts->circle_method = 3;
        objopts->circle_value1 = u100;
        objopts->lock_mode = 0;
    });
    start(s, tool_circle);
    s.then([] {
        EXPECT_EQ(rec_f64(info, ell::radius1), u100);
        objopts->circle_value1 = 2 * u100;  // as the tool settings window leaves it
    });
    s.then([] {});
    s.then([] { EXPECT_EQ(rec_f64(info, ell::radius1), 2 * u100); });
    s.click(at(300, 300));
    s.click(at(500, 300));
    count_is(s, 2);
    s.then([] {
        expect_circle(n0, wx(300), wy(300), 0, 2 * u100);
        expect_circle(n0 + 1, wx(500), wy(300), 0, 2 * u100);
    });
    quit_command(s);
    run_unsaved(s);
}

TEST(CircleCommand, UndoFirstTakesBackThisCommandsCirclesAndLaterDropsOnlyTheOneInHand) {
    Session s;
    s.then([] {
        objopts->circle_method = 2;
        objopts->lock_mode = 0;
    });
    earlier_command(s, tool_circle, {at(50, 50), at(90, 50)});  // an earlier command's circle
    start(s, tool_circle);
    s.click(at(100, 100));
    s.click(at(200, 100));
    s.click(at(300, 300));
    s.click(at(400, 300));
    count_is(s, 2);
    s.click(at(500, 100));
    key(s, 'U');
    count_is(s, 2);
    s.then([] { EXPECT_EQ(message(), prompt(11)); });
    undo_newest_first(s, 2);
    s.then([] { expect_circle(n0 - 1, wx(70), wy(50), 0, 20 * unit); });
    s.click(at(600, 100));
    s.click(at(600, 300));
    count_is(s, 1);
    s.then([] { expect_circle(n0, wx(600), wy(200), 3 * pi / 2, 100 * unit); });
    quit_command(s);
    run_unsaved(s);
}

TEST(CircleCommand, EscLeavesTheDrawingExactlyAsBefore) {
    Session s;
    s.then([] {
        objopts->circle_method = 1;
        objopts->lock_mode = 0;
    });
    line_across(s);
    auto before = snapshot_now(s);
    start(s, tool_circle);
    s.click(at(300, 300));
    s.click(at(400, 300));
    s.click(at(600, 300));
    s.click(at(600, 350));
    s.click(at(200, 500));  // a centre, the circle in hand follows
    esc_takes_back(s, 2, before);
    run_unsaved(s);
}
