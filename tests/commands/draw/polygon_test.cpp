// The polygon command driven through the running program.
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

void expect_polygon(int n, double x, double y, double rotation, double radius, int sides) {
    const ObjectRec r = stored(n);
    EXPECT_EQ(obj_kind(r), ok_ellipse) << "record " << n;
    EXPECT_EQ(rec_u16(r, ell::flags), ell::polygon) << "record " << n;
    EXPECT_EQ(rec_i16(r, ell::sides), sides) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_x), x, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::ref_y), y, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, obj::rotation), rotation, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius1), radius, tol) << "record " << n;
    EXPECT_NEAR(rec_f64(r, ell::radius2), radius, tol) << "record " << n;
}

struct Case {
    const char* what;
    int sides, method, edge, lock;
    double step;
    plat::Point corner;        // the centre is at (300, 300)
    double rotation, radius;   // radius in units of 100 pixels
    int stored_sides;
};

}  // namespace

TEST(PolygonCommand, StoresThePolygonOfEachModeAndRestraint) {
    const double c15 = std::cos(pi / 12), s15 = std::sin(pi / 12);
    const std::vector<Case> cases = {
        {"six corners to (2,0)", 6, 1, 0, 0, 0, at(500, 300), 0, 2, 6},
        {"six, to an edge middle at (2,0)", 6, 1, 1, 0, 0, at(500, 300), pi / 6, 2 / std::cos(pi / 6), 6},
        {"a fixed size of 1 only turns", 6, 2, 0, 0, 0, at(300, 100), pi / 2, 1, 6},
        {"15 degrees, the cursor in front", 8, 1, 0, 3, pi / 12, at(500, 250), pi / 12, 2 * c15 + 0.5 * s15, 8},
        {"15 degrees, the cursor behind", 8, 1, 0, 3, pi / 12, at(100, 350), 13 * pi / 12, 2 * c15 + 0.5 * s15, 8},
        {"two corners are not taken", 2, 1, 0, 0, 0, at(500, 300), 0, 2, 3},
    };
    Session s;
    for (const Case& c : cases) {
        s.then([&c] {
            objopts->poly_opt1 = static_cast<std::int16_t>(c.sides);
            objopts->poly_opt2 = static_cast<std::int16_t>(c.method);
            objopts->poly_opt3 = static_cast<std::int16_t>(c.edge);
            objopts->poly_value = u100;
            objopts->lock_mode = static_cast<std::int16_t>(c.lock);
            units_defs.rotation_step = c.step;
        });
        start(s, tool_polygon);
        s.then([] { EXPECT_EQ(message(), prompt(22)); });
        s.click(at(300, 300));
        s.then([] { EXPECT_EQ(message(), prompt(23)); });
        s.click(c.corner);
        count_is(s, 1);
        s.then([&c] {
            SCOPED_TRACE(c.what);
            expect_polygon(n0, wx(300), wy(300), c.rotation, c.radius * u100, c.stored_sides);
        });
        quit_command(s);
    }
    run_unsaved(s);
}

TEST(PolygonCommand, ChangingTheCornerCountWhileTheCommandRunsTakesEffectAtOnce) {
    Session s;
    s.then([] {
        objopts->poly_opt1 = 8;
        objopts->poly_opt2 = 1;
        objopts->poly_opt3 = 0;
        objopts->lock_mode = 0;
    });
    start(s, tool_polygon);
    s.click(at(300, 300));
    s.then([] {
        EXPECT_EQ(rec_i16(info, ell::sides), 8);
        objopts->poly_opt1 = 5;
    });
    s.then([] {});
    s.then([] { EXPECT_EQ(rec_i16(info, ell::sides), 5); });
    s.click(at(300, 500));
    count_is(s, 1);
    s.then([] { expect_polygon(n0, wx(300), wy(300), 3 * pi / 2, 2 * u100, 5); });
    key(s, 'Q');
    run_unsaved(s);
}

TEST(PolygonCommand, UndoAndEscTakeBackOnlyThisCommandsPolygons) {
    Session s;
    s.then([] {
        objopts->poly_opt1 = 6;
        objopts->poly_opt2 = 1;
        objopts->poly_opt3 = 0;
        objopts->lock_mode = 0;
    });
    earlier_command(s, tool_polygon, {at(100, 100), at(150, 100)});  // an earlier command's polygon
    auto before = snapshot_now(s);
    start(s, tool_polygon);
    s.click(at(300, 300));
    s.click(at(400, 300));
    s.click(at(600, 300));
    s.click(at(700, 300));
    count_is(s, 2);
    s.click(at(500, 500));
    key(s, 'U');  // drops the polygon in hand only
    count_is(s, 2);
    s.then([] { EXPECT_EQ(message(), prompt(22)); });
    key(s, 'U');
    count_is(s, 1);
    s.then([] { expect_polygon(n0, wx(300), wy(300), 0, u100, 6); });
    s.click(at(300, 500));
    s.click(at(300, 600));
    esc_takes_back(s, 2, before);
    run_unsaved(s);
}
