// Snapping of cursor points: fractions per drawing unit, increments, the
// grid, the user origin, the characteristic points and outlines of objects
// (collected by the real renderer) and the crossings of two objects.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "base/command_loop.h"
#include "store/crossing_snap.h"
#include "store/geometry.h"
#include "store/intersections.h"
#include "store/object_snap.h"
#include "store/record_store.h"
#include "store/settings.h"
#include "tests/display/display_fixture.h"
#include "tests/support/drawing_file.h"

using namespace drav;
using drav::test::line_record;
using drav::test::object_record;

namespace {

class Snap : public drav::test::Display {
protected:
    void SetUp() override {
        Display::SetUp();
        opencossin();  // the renderer's vertex tables, as start-up makes them
        init_poly();
        snap_on = 1;
        swaper = 0;
        misc_defs.user_origin_x = misc_defs.user_origin_y = 0;
        prevsnapmode = 1;
        snapintr = 0;
    }
    static SnapPointListRec points(ObjectRec r) {
        SnapPointListRec list;
        info_setup_snap(r, list, 0, 0);
        return list;
    }
};

ObjectRec ellipse(double cx, double cy, double r1, double r2, double begin, double end, double rot = 0) {
    ObjectRec r = object_record(ok_ellipse, cx, cy);
    set_rec_f64(r, ell::radius1, r1);
    set_rec_f64(r, ell::radius2, r2);
    set_rec_f64(r, ell::begin, begin);
    set_rec_f64(r, ell::end, end);
    set_rec_f64(r, obj::rotation, rot);
    return r;
}

ObjectRec polygon(double cx, double cy, double radius, int sides) {
    ObjectRec r = ellipse(cx, cy, radius, radius, 0, 0);
    set_rec_i16(r, ell::sides, static_cast<std::int16_t>(sides));
    set_rec_u16(r, ell::flags, ell::polygon);
    return r;
}

ObjectRec rectangle(double x, double y, double w, double h) {
    ObjectRec r = object_record(ok_rect, x, y);
    set_rec_f64(r, rect::width, w);
    set_rec_f64(r, rect::height, h);
    return r;
}

}  // namespace

TEST_F(Snap, FractionSnapFollowsTheUnitCode) {
    const struct {
        int code;
        double in, out;
    } cases[] = {
        {1, 1.0078, 1.0},          {1, 1.0079, 1.015625},     {2, 1.0078, 1.0},
        {2, 1.0079, 1.015625},     {4, 1.0006, 1.0},          {4, 1.0007, 769.0 / 768},
        {5, -1.0007, -769.0 / 768}, {3, 1.0079, 1.0079},       {6, 1.0079, 1.0079},
        {8, 1.0079, 1.0079},       {0, 1.0079, 1.0079},       {11, 1.0079, 1.0079},
    };
    misc_defs.snap_mode = snap_fraction;
    for (const auto& c : cases) {
        units_defs.units_code = static_cast<std::int16_t>(c.code);
        double x = c.in, y = c.in;
        snap_it(&x, &y);
        EXPECT_DOUBLE_EQ(x, c.out) << c.code << " " << c.in;
        EXPECT_DOUBLE_EQ(y, c.out) << c.code << " " << c.in;
    }
}

TEST_F(Snap, IncrementGridAndOriginShift) {
    const struct {
        std::int16_t mode;
        double increment, gx, gy;
        bool from_origin;
        double x, y, want_x, want_y;
    } cases[] = {
        {snap_increment, 0.25, 0, 0, false, 0.37, -0.12, 0.25, 0.0},
        {snap_increment, 0.25, 0, 0, false, -0.375, 0.375, -0.5, 0.5},  // half away from zero
        {snap_increment, 1.0, 0, 0, true, 2.3, 2.3, 2.1, 2.1},          // user origin (0.1, 0.1)
        {snap_grid, 0, 0.5, 2.0, false, 0.74, 2.9, 0.5, 2.0},
        {snap_grid, 0, 0.0, 2.0, false, 1.0079, 1.0078, 1.015625, 1.0},  // no lattice: fractions
        {snap_increment, 0.0, 0, 0, false, 0.37, 0.12, 0.37, 0.12},     // no increment: the point stays
    };
    units_defs.units_code = 1;
    for (const auto& c : cases) {
        misc_defs.snap_mode = c.mode;
        units_defs.increment = c.increment;
        grid_data.x_spacing = c.gx;
        grid_data.y_spacing = c.gy;
        swaper = c.from_origin ? sw_grid_from_origin : 0;
        misc_defs.user_origin_x = misc_defs.user_origin_y = c.from_origin ? 0.1 : 0;
        double x = c.x, y = c.y;
        snap_it(&x, &y);
        EXPECT_NEAR(x, c.want_x, 1e-12) << c.x;
        EXPECT_NEAR(y, c.want_y, 1e-12) << c.y;
    }
    snap_on = 0;
    misc_defs.snap_mode = snap_increment;
    units_defs.increment = 1;
    double x = 0.3, y = 0.3;
    snap_it(&x, &y);
    EXPECT_EQ(x, 0.3);
}

TEST_F(Snap, EachKindOffersItsCharacteristicPoints) {
    const double pi = std::numbers::pi;
    const struct {
        const char* what;
        ObjectRec rec;
        int points;
    } cases[] = {
        {"line", line_record(1, 1, 2, 0), 3},
        {"ellipse", ellipse(0, 0, 2, 1, 0, 0, 0.3), 9},
        {"arc", ellipse(0, 0, 2, 2, 0, pi / 2), 3},
        {"hexagon", polygon(0, 0, 1, 6), 7},
        {"40-gon", polygon(0, 0, 1, 40), 9},
        {"rectangle", rectangle(0, 0, 4, 2), 5},
        {"point", object_record(ok_point, 3, 4), 1},
    };
    for (const auto& c : cases) EXPECT_EQ(points(c.rec).count - 1, c.points) << c.what;

    const SnapPointListRec l = points(line_record(1, 1, 2, 0));
    EXPECT_EQ(l.pts[1].x, 1);
    EXPECT_EQ(l.pts[2].x, 3);
    EXPECT_EQ(l.pts[3].x, 2);
    // A hexagon: its centre, then six vertices on its circle.
    const SnapPointListRec h = points(polygon(5, 5, 1, 6));
    EXPECT_EQ(h.pts[1].x, 5);
    for (int i = 2; i < h.count; ++i) EXPECT_NEAR(std::hypot(h.pts[i].x - 5, h.pts[i].y - 5), 1.0, 1e-9) << i;
    // A rectangle: four corners and the centre last.
    const SnapPointListRec r = points(rectangle(0, 0, 4, 2));
    EXPECT_EQ(r.pts[5].x, 2);
    EXPECT_EQ(r.pts[5].y, 1);
    // A circle: centre, then the axis and diagonal points, whatever its rotation.
    const SnapPointListRec c = points(ellipse(1, 1, 2, 2, 0, 0, 0.7));
    const double d = 2 * std::cos(pi / 4);
    const double want[9][2] = {{1, 1},         {3, 1}, {1 + d, 1 + d}, {1, 3}, {1 - d, 1 + d},
                               {-1, 1},        {1 - d, 1 - d}, {1, -1}, {1 + d, 1 - d}};
    for (int i = 0; i < 9; ++i) {
        EXPECT_NEAR(c.pts[i + 1].x, want[i][0], 1e-12) << i;
        EXPECT_NEAR(c.pts[i + 1].y, want[i][1], 1e-12) << i;
    }
}

TEST_F(Snap, OutlinesPullThePointOntoTheObject) {
    const struct {
        const char* what;
        ObjectRec rec;
        double x, y, want_x, want_y;
    } cases[] = {
        {"line beyond its end", line_record(0, 0, 2, 0), 5, 3, 5, 0},
        {"circle along the ray", ellipse(1, 1, 2, 2, 0, 0), 4, 5, 2.2, 2.6},
        {"circle centre", ellipse(1, 1, 2, 2, 0, 0), 1, 1, 1, 3},
        {"turned circle centre", ellipse(1, 1, 2, 2, 0, 0, std::numbers::pi / 2), 1, 1, -1, 1},
        {"ellipse on its axis", ellipse(0, 0, 4, 1, 0, 0), 9, 0, 4, 0},
        {"rectangle edge", rectangle(0, 0, 4, 2), 5, 1.5, 4, 1 + 0.5 * 2 / 3},
    };
    for (const auto& c : cases) {
        ObjectRec r = c.rec;
        const SnapPointListRec list = points(r);
        double x = c.x, y = c.y;
        snap_equation(r, list, &x, &y);
        EXPECT_NEAR(x, c.want_x, 1e-9) << c.what;
        EXPECT_NEAR(y, c.want_y, 1e-9) << c.what;
    }
}

TEST_F(Snap, ObjectSnapTakesTheNearestPointAndEndsWithItsObject) {
    misc_defs.snap_mode = snap_object;
    *snap_obj = line_record(0, 0, 4, 0);
    info_setup_snap(*snap_obj, msnap_pts, 0, 0);
    snaprec = 36;
    snap_eqn = 0;
    // The display list is available: the snap object need not be marked on screen.
    double x = 2.4, y = 1;
    snap_it(&x, &y);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 0);
    snap_eqn = 1;
    x = 2.4;
    y = 1;
    snap_it(&x, &y);
    EXPECT_NEAR(x, 2.4, 1e-12);
    EXPECT_NEAR(y, 0, 1e-12);
    // No snap object: object snap ends, the point stays, the mode returns.
    snaprec = -1;
    x = 2.4;
    y = 1;
    snap_it(&x, &y);
    EXPECT_EQ(x, 2.4);
    EXPECT_EQ(misc_defs.snap_mode, 1);
    EXPECT_EQ(snapnum, 8);
    EXPECT_EQ(msnap_pts.count, 1);
}

TEST_F(Snap, CrossingsOfTwoObjects) {
    const struct {
        const char* what;
        ObjectRec a, b;
        int mode;  // afterwards
        int count;
        double x, y;  // the first crossing
    } cases[] = {
        {"lines crossing beyond both segments", line_record(0, 0, 1, 0), line_record(3, -1, 0, 0.5), snap_crossing, 1,
         3, 0},
        {"parallel lines", line_record(0, 0, 1, 0), line_record(0, 1, 2, 0), 2, 0, 0, 0},
        {"a line and a rectangle: only within both", line_record(-1, 1, 3, 0), rectangle(0, 0, 4, 2), snap_crossing, 1,
         0, 1},
        {"a rectangle and a line", rectangle(0, 0, 4, 2), line_record(1, -1, 0, 4), snap_crossing, 2, 1, 0},
        {"a circle and a line", ellipse(0, 0, 1, 1, 0, 0), line_record(-3, 0, 1, 0), snap_crossing, 2, 1, 0},
    };
    for (const auto& c : cases) {
        misc_defs.snap_mode = snap_increment;
        prevsnapmode = 2;
        snapintr = 0;
        ObjectRec a = c.a, b = c.b;
        grind_out_intersect2(a, b);
        EXPECT_EQ(misc_defs.snap_mode, c.mode) << c.what;
        EXPECT_EQ(snapintr, c.count) << c.what;
        if (c.count == 0) continue;
        // Crossing snap moves a nearby point onto the crossing.
        double x = c.x + 0.1, y = c.y + 0.05;
        snap_it(&x, &y);
        EXPECT_NEAR(x, c.x, 1e-9) << c.what;
        EXPECT_NEAR(y, c.y, 1e-9) << c.what;
    }
}
