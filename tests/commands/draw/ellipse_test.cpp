// The ellipse command driven through the running program.
#include <gtest/gtest.h>

#include <numbers>
#include <vector>

#include "store/geometry.h"
#include "store/settings.h"
#include "tests/commands/draw/shape_steps.h"

using namespace drav;
using namespace drav::shape_test;
using drav::test::answers;
using drav::test::Session;

namespace {

constexpr double pi = std::numbers::pi;
constexpr double u100 = 100 * unit;  // one unit of the hand-worked examples

void expect_ellipse(int n, double x, double y, double rotation, double r1, double r2) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_ellipse) << "record " << n;
    EXPECT_EQ(rec_u16(r, ell::flags), ell::clockwise) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::rotation), rotation, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius1), r1, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius2), r2, tol) << "record " << n;
}

struct Case {
    const char* what;
    int method, lock;
    std::vector<plat::Point> clicks;
    plat::Point centre;
    double rotation, r1, r2;  // radii in units of 100 pixels
};

}  // namespace

TEST(EllipseCommand, StoresTheEllipseOfEachMethodAndRestraint) {
    const std::vector<Case> cases = {
        {"axis ends (-2,0) (2,0), third (0,1)", 1, 0, {at(100, 400), at(500, 400), at(300, 300)}, at(300, 400), pi / 2, 1, 2},
        {"centre (0,0), axis end (3,0), third (0,-1)", 2, 0, {at(300, 300), at(600, 300), at(300, 400)}, at(300, 300), 3 * pi / 2, 1, 3},
        {"horizontal: the third point's horizontal part", 1, 1, {at(100, 400), at(500, 400), at(250, 300)}, at(300, 400), pi, 0.5, 2},
    };
    Session s;
    for (const Case& c : cases) {
        s.then([&c] {
            objopts->ellipse_opt = static_cast<std::int16_t>(c.method);
            objopts->lock_mode = static_cast<std::int16_t>(c.lock);
        });
        start(s, tool_ellipse);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 1 ? 13 : 16)); });
        s.click(c.clicks[0]);
        s.then([&c] { EXPECT_EQ(message(), prompt(c.method == 1 ? 14 : 17)); });
        s.click(c.clicks[1]);
        s.then([&c] {
            EXPECT_EQ(message(), prompt(15));
            // The reference point moved to the centre.
            EXPECT_NEAR(ref_x, wx(c.centre.h), tol);
            EXPECT_NEAR(ref_y, wy(c.centre.v), tol);
        });
        s.click(c.clicks[2]);
        count_is(s, 1);
        s.then([&c] {
            SCOPED_TRACE(c.what);
            expect_ellipse(n0, wx(c.centre.h), wy(c.centre.v), c.rotation, c.r1 * u100, c.r2 * u100);
        });
        quit_command(s);
    }
    run_unsaved(s);
}

TEST(EllipseCommand, ASecondPointOnTheFirstIsRefusedAndANewEllipseBegins) {
    Session s;
    s.then([] {
        objopts->ellipse_opt = 1;
        objopts->lock_mode = 0;
    });
    start(s, tool_ellipse);
    s.click(at(300, 300));
    s.then([] { answers().expect("no size"); });
    s.click(at(300, 300));
    s.then([] {
        EXPECT_TRUE(answers().done());
        EXPECT_EQ(message(), prompt(13));
    });
    count_is(s, 0);
    key(s, 27);
    ended(s);
    EXPECT_EQ(s.run(), 0);
}

TEST(EllipseCommand, UndoAndEscTakeBackOnlyThisCommandsEllipses) {
    Session s;
    s.then([] {
        objopts->ellipse_opt = 2;
        objopts->lock_mode = 0;
    });
    earlier_command(s, tool_ellipse, {at(100, 100), at(150, 100), at(100, 120)});  // an earlier command's ellipse
    auto before = snapshot_now(s);
    start(s, tool_ellipse);
    s.click(at(300, 300));
    s.click(at(400, 300));
    s.click(at(300, 350));
    count_is(s, 1);
    s.click(at(600, 300));
    s.click(at(700, 300));
    key(s, 'U');  // drops the ellipse in hand only
    count_is(s, 1);
    s.then([] { EXPECT_EQ(message(), prompt(16)); });
    s.click(at(600, 300));
    key(s, 'U');  // while the axis is asked: takes back the stored one
    count_is(s, 0);
    s.then([] { expect_ellipse(n0 - 1, wx(100), wy(100), 3 * pi / 2, 20 * unit, 50 * unit); });
    s.click(at(300, 500));
    s.click(at(400, 500));
    s.click(at(400, 500));
    count_is(s, 1);
    s.then([] { expect_ellipse(n0, wx(300), wy(500), 0, u100, u100); });
    esc_takes_back(s, 1, before);
    run_unsaved(s);
}
