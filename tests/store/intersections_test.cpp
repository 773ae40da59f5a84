#include "store/intersections.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "store/geometry.h"

namespace drav {
namespace {

constexpr double pi_v = 3.14159265358979323846;
constexpr double deg = pi_v / 180;
const double r3 = std::sqrt(3.0) / 2;

struct Pt {
    double x, y;
};

void clear_table() {
    for (auto& p : objintr) p = {-999, -999};
}

void expect_points(int count, const std::vector<Pt>& want, double tol, const char* what) {
    ASSERT_EQ(count, static_cast<int>(want.size())) << what;
    for (int i = 0; i < count; ++i) {
        EXPECT_NEAR(objintr[i].x, want[i].x, tol) << what << " point " << i;
        EXPECT_NEAR(objintr[i].y, want[i].y, tol) << what << " point " << i;
    }
}

bool on_ellipse(Pt p, double cx, double cy, double a, double b, double rot, double tol) {
    double x, y;
    rotate_cr(p.x - cx, p.y - cy, &x, &y, -rot);
    return std::fabs(x * x / (a * a) + y * y / (b * b) - 1) < tol;
}

TEST(Intersections, InlineBoundries) {
    struct Case { double x, y, dx, dy, px, py; int want; } cases[] = {
        {0, 0, 0, 2, 0, 1, 1},         {0, 0, 0, 2, 1e-8, 1, 1},    {0, 0, 0, 2, 1e-6, 1, 0},
        {0, 0, 0, 2, 0, 2.1, 0},       {0, 0, 4, 0, 4, 0, 1},       {0, 0, 4, 0, -1e-8, 0, 1},
        {0, 0, 4, 0, 4.1, 0, 0},       {0, 0, 2, 2, 1, 1, 1},       {0, 0, 2, 2, 1, 1.001, 0},
        {0, 0, 2, 2, 3, 3, 0},         {5, 5, -2, -2, 4, 4, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(inline_boundries(c.x, c.y, c.dx, c.dy, c.px, c.py), c.want) << c.px << "," << c.py;
}

TEST(Intersections, ArcBoundsAcrossZeroAndBothDirections) {
    struct Case { double start, end, angle; std::int16_t dir; int want; } cases[] = {
        {350 * deg, 10 * deg, 355 * deg, 0, 1}, {350 * deg, 10 * deg, 5 * deg, 0, 1},
        {350 * deg, 10 * deg, 180 * deg, 0, 0}, {350 * deg, 10 * deg, 180 * deg, 1, 1},
        {350 * deg, 10 * deg, 355 * deg, 1, 0}, {350 * deg, 10 * deg, 5 * deg, 1, 0},
        {1, 1, 4, 0, 1},                        // equal ends: the full curve
        {0, pi_v, pi_v, 0, 1},                  {0, pi_v, 0, 0, 1},
        {0, pi_v, 1.5 * pi_v, 0, 0},            {0, pi_v, 1.5 * pi_v, 1, 1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(arc_bounds(c.start, c.end, c.angle, c.dir), c.want)
            << c.start / deg << ".." << c.end / deg << " at " << c.angle / deg << " dir " << c.dir;
}

TEST(Intersections, AngleDiffSweepsInTheArcsDirection) {
    struct Case { double a, b; std::int16_t dir; double want; } cases[] = {
        {0.1, 0.2, 0, 0.1}, {0.1, 0.2, 1, 2 * pi_v - 0.1}, {0.2, 0.1, 0, 2 * pi_v - 0.1},
        {1, 1 + 1e-8, 0, 0}, {6, 0.5, 0, 0.5 + 2 * pi_v - 6},
    };
    for (const auto& c : cases) EXPECT_NEAR(get_angle_diff(c.a, c.b, c.dir), c.want, 1e-12);
}

TEST(Intersections, LineLineAppends) {
    struct Case {
        double x1, y1, dx1, dy1, x2, y2, dx2, dy2;
        std::int16_t bounded, count_in;
        int want, count_out;
        Pt p;
    } cases[] = {
        {0, 0, 4, 0, 1, -1, 0, 2, 1, 0, 1, 1, {1, 0}},
        {0, 0, 4, 0, 1, -1, 0, 2, 0, 5, 1, 6, {1, 0}},   // appended after the caller's points
        {0, 0, 1, 0, 2, -1, 0, 2, 0, 0, 1, 1, {2, 0}},   // lines meet beyond the segment
        {0, 0, 1, 0, 2, -1, 0, 2, 1, 0, 0, 0, {0, 0}},
        {0, 0, 4, 4, 0, 4, 4, -4, 1, 0, 1, 1, {2, 2}},
        {0, 0, 1, 1, 0, 1, 1, 1, 0, 3, 0, 3, {0, 0}},    // parallel: count untouched
        {0, 0, 1, 1, 0, 1, 1, 1, 1, 3, 0, 3, {0, 0}},
        {0, 0, 4, 0, 4, 0, 0, 3, 1, 0, 1, 1, {4, 0}},    // meeting at an end point
    };
    for (const auto& c : cases) {
        clear_table();
        std::int16_t count = c.count_in;
        EXPECT_EQ(line_intersect(c.x1, c.y1, c.dx1, c.dy1, c.x2, c.y2, c.dx2, c.dy2, &count, c.bounded), c.want);
        EXPECT_EQ(count, c.count_out);
        if (c.want) {
            EXPECT_NEAR(objintr[count - 1].x, c.p.x, 1e-12);
            EXPECT_NEAR(objintr[count - 1].y, c.p.y, 1e-12);
        }
    }
}

TEST(Intersections, LineLineStopsAtTheTablesEnd) {
    clear_table();
    std::int16_t count = 63;
    EXPECT_EQ(line_intersect(0, 0, 4, 0, 1, -1, 0, 2, &count, 1), 1);
    EXPECT_EQ(count, 64);
    EXPECT_EQ(objintr[63].x, 1);
    EXPECT_EQ(line_intersect(0, 0, 4, 0, 2, -1, 0, 2, &count, 1), 1);  // found, not stored
    EXPECT_EQ(count, 64);
    EXPECT_EQ(objintr[63].x, 1);
    count = 30000;  // a count past the table is never used as an index
    EXPECT_EQ(line_intersect(0, 0, 4, 0, 1, -1, 0, 2, &count, 1), 1);
    EXPECT_EQ(count, 30000);
}

TEST(Intersections, NonFiniteInputFindsNothing) {
    const double nan = std::nan("");
    const double big = 1e300;
    std::int16_t count = 0;
    EXPECT_EQ(line_intersect(nan, 0, 1, 0, 0, 0, 0, 1, &count, 0), 0);
    EXPECT_EQ(line_intersect(0, 0, big, big * 10, 0, 0, 1, 0, &count, 0), 1);  // finite, stored
    count = 0;
    EXPECT_EQ(arc_line_intersect(0, 0, nan, 1, 0, 0, 0, 0, 0, 0, 1, 0, &count, 0), 0);
    EXPECT_EQ(arc_line_intersect(0, 0, 1, 1, 0, 0, 0, 0, big, 0, 1, 1, &count, 0), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(arcs_intersect(0, 0, nan, nan, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, &count, 0), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(ar_int(0, 0, 2, 1, nan, 1, 0, 2, 1, 0, &count), 0);
    EXPECT_EQ(count, 0);
}

// Arc and line. The arc is (cx, cy, a, b, start, end, rotation, dir).
TEST(Intersections, ArcLine) {
    struct Case {
        const char* what;
        double cx, cy, a, b, start, end, rot;
        std::int16_t dir;
        double x, y, dx, dy;
        std::int16_t bounded;
        int want;
        std::vector<Pt> pts;
    } cases[] = {
        {"segment through circle", 0, 0, 1, 1, 0, 0, 0, 0, -2, 0, 4, 0, 0, 1, {{1, 0}, {-1, 0}}},
        {"same, from 90 degrees", 0, 0, 1, 1, pi_v / 2, pi_v / 2, 0, 0, -2, 0, 4, 0, 0, 1, {{-1, 0}, {1, 0}}},
        {"same, clockwise from 90", 0, 0, 1, 1, pi_v / 2, pi_v / 2, 0, 1, -2, 0, 4, 0, 0, 1, {{1, 0}, {-1, 0}}},
        {"short segment bounded", 0, 0, 1, 1, 0, 0, 0, 0, -2, 0, 1.5, 0, 1, 1, {{-1, 0}}},
        {"short segment unbounded", 0, 0, 1, 1, 0, 0, 0, 0, -2, 0, 1.5, 0, 0, 1, {{1, 0}, {-1, 0}}},
        {"tangent vertical", 0, 0, 1, 1, 0, 0, 0, 0, 1, -3, 0, 6, 0, 1, {{1, 0}}},
        {"tangent sloped", 0, 0, 1, 1, 0, 0, 0, 0, 0, std::sqrt(2.0), 1, -1, 0, 1,
         {{std::sqrt(0.5), std::sqrt(0.5)}}},
        {"missing line", 0, 0, 1, 1, 0, 0, 0, 0, 1.5, -3, 0, 6, 0, 0, {}},
        {"missing sloped", 0, 0, 1, 1, 0, 0, 0, 0, 0, 2, 1, 1, 0, 0, {}},
        {"upper half arc bounded", 0, 0, 1, 1, 0, pi_v, 0, 0, 0, -2, 0, 4, 1, 1, {{0, 1}}},
        {"lower half by direction", 0, 0, 1, 1, 0, pi_v, 0, 1, 0, -2, 0, 4, 1, 1, {{0, -1}}},
        {"arc missed by segment", 0, 0, 1, 1, 0, pi_v, 0, 0, 0, -2, 0, 1, 1, 1, {}},
        {"rotated ellipse", 0, 0, 2, 1, 0, 0, pi_v / 2, 0, -3, 0, 6, 0, 0, 1, {{-1, 0}, {1, 0}}},
        {"rotated ellipse vertical", 0, 0, 2, 1, 0, 0, pi_v / 2, 0, 0, -3, 0, 6, 0, 1, {{0, 2}, {0, -2}}},
        {"offset centre", 5, 5, 1, 1, 0, 0, 0, 0, 3, 5, 4, 0, 1, 1, {{6, 5}, {4, 5}}},
    };
    for (const auto& c : cases) {
        clear_table();
        std::int16_t count = 0;
        int got = arc_line_intersect(c.cx, c.cy, c.a, c.b, c.start, c.end, c.rot, c.dir, c.x, c.y, c.dx, c.dy,
                                     &count, c.bounded);
        EXPECT_EQ(got, c.want) << c.what;
        expect_points(count, c.pts, 1e-7, c.what);
        if (count >= 1) {
            EXPECT_EQ(objintr[count].x, objintr[count - 1].x) << c.what;
            EXPECT_EQ(objintr[count].y, objintr[count - 1].y) << c.what;
        }
    }
}

TEST(Intersections, ArcLineMissKeepsCallersCount) {
    std::int16_t count = 5;
    EXPECT_EQ(arc_line_intersect(0, 0, 1, 1, 0, 0, 0, 0, 3, 0, 0, 1, &count, 0), 0);
    EXPECT_EQ(count, 5);
}

TEST(Intersections, ArcLineNearlyFullTableStaysInside) {
    // 63 distinct points already stored, each on the unit circle; two more
    // crossings fit only one more slot.
    for (std::int16_t start : {62, 63, 64}) {
        for (int i = 0; i < start; ++i)
            objintr[i] = {std::cos(0.01 + i * 0.09), std::sin(0.01 + i * 0.09)};
        std::int16_t count = start;
        EXPECT_EQ(arc_line_intersect(0, 0, 1, 1, 0, 0, 0, 0, -2, 0.001, 4, 0, &count, 0), 1);
        EXPECT_EQ(count, 64) << start;
        for (int i = 0; i < count; ++i)
            EXPECT_TRUE(on_ellipse({objintr[i].x, objintr[i].y}, 0, 0, 1, 1, 0, 1e-9)) << i;
    }
}

TEST(Intersections, ArcsOfAllShapes) {
    struct Arc {
        double cx, cy, a, b, start, end, rot;
        std::int16_t dir;
    };
    struct Case {
        const char* what;
        Arc one, two;
        std::int16_t bounded;
        int want;
        std::vector<Pt> pts;
    } cases[] = {
        {"unit circles", {0, 0, 1, 1, 0, 0, 0, 0}, {1, 0, 1, 1, 0, 0, 0, 0}, 0, 1, {{0.5, r3}, {0.5, -r3}}},
        {"upper half of the first", {0, 0, 1, 1, 0, pi_v, 0, 0}, {1, 0, 1, 1, 0, 0, 0, 0}, 1, 1, {{0.5, r3}}},
        {"lower half of the second", {0, 0, 1, 1, 0, 0, 0, 0}, {1, 0, 1, 1, pi_v, 0, 0, 0}, 1, 1, {{0.5, -r3}}},
        {"arcs that miss", {0, 0, 1, 1, 0, pi_v / 4, 0, 0}, {1, 0, 1, 1, 0, 0, 0, 0}, 1, 1, {}},
        {"touching outside", {0, 0, 1, 1, 0, 0, 0, 0}, {2, 0, 1, 1, 0, 0, 0, 0}, 0, 1, {{1, 0}}},
        {"inside, smaller first", {0, 0, 1, 1, 0, 0, 0, 0}, {1, 0, 2, 2, 0, 0, 0, 0}, 0, 1, {{-1, 0}}},
        {"inside, larger first", {1, 0, 2, 2, 0, 0, 0, 0}, {0, 0, 1, 1, 0, 0, 0, 0}, 0, 1, {{-1, 0}}},
        {"coincident circles", {3, 4, 2, 2, 0, 0, 0, 0}, {3, 4, 2, 2, 0, 0, 0, 0}, 0, 0, {}},
        {"concentric circles", {3, 4, 2, 2, 0, 0, 0, 0}, {3, 4, 1, 1, 0, 0, 0, 0}, 0, 0, {}},
        {"circles apart", {0, 0, 1, 1, 0, 0, 0, 0}, {3, 0, 1, 1, 0, 0, 0, 0}, 0, 0, {}},
        {"circle within circle", {0, 0, 3, 3, 0, 0, 0, 0}, {0.5, 0, 1, 1, 0, 0, 0, 0}, 0, 0, {}},
        {"zero radius", {0, 0, 0, 0, 0, 0, 0, 0}, {0, 0, 1, 1, 0, 0, 0, 0}, 0, 0, {}},
    };
    for (const auto& c : cases) {
        clear_table();
        std::int16_t count = 7;
        int got = arcs_intersect(c.one.cx, c.one.cy, c.one.a, c.one.b, c.one.start, c.one.end, c.one.rot,
                                 c.one.dir, c.two.cx, c.two.cy, c.two.a, c.two.b, c.two.start, c.two.end,
                                 c.two.rot, c.two.dir, 0, 0, &count, c.bounded);
        EXPECT_EQ(got, c.want) << c.what;
        expect_points(count, c.pts, 1e-9, c.what);
    }
}

// Curves of the ellipse family solved numerically: every point found lies on
// both curves and the expected number is found.
TEST(Intersections, EllipsePairsByTheSolver) {
    struct Curve {
        double cx, cy, a, b, rot;
    };
    struct Case {
        const char* what;
        Curve one, two;
        int count;
    } cases[] = {
        {"circle and ellipse", {0, 0, 1, 1, 0}, {0, 0, 2, 0.5, 0}, 4},
        {"ellipse and circle", {0, 0, 2, 0.5, 0}, {0, 0, 1, 1, 0}, 4},
        {"crossed ellipses", {0, 0, 2, 1, 0}, {0, 0, 2, 1, pi_v / 2}, 4},
        {"rotated, shifted", {1, 2, 3, 1, 0.3}, {2, 2.5, 2, 0.7, 1.9}, 4},
        {"two points", {0, 0, 2, 1, 0}, {2, 0, 1, 0.5, 0.2}, 2},
        {"apart", {0, 0, 2, 1, 0}, {10, 0, 2, 1, 0}, 0},
        {"inside", {0, 0, 4, 3, 0}, {0.5, 0, 1, 0.5, 1}, 0},
    };
    for (const auto& c : cases) {
        clear_table();
        std::int16_t count = 0;
        int got = arcs_intersect(c.one.cx, c.one.cy, c.one.a, c.one.b, 0, 0, c.one.rot, 0, c.two.cx, c.two.cy,
                                 c.two.a, c.two.b, 0, 0, c.two.rot, 0, 0, 0, &count, 0);
        EXPECT_EQ(got, c.count > 0) << c.what;
        ASSERT_EQ(count, c.count) << c.what;
        for (int i = 0; i < count; ++i) {
            Pt p{objintr[i].x, objintr[i].y};
            EXPECT_TRUE(on_ellipse(p, c.one.cx, c.one.cy, c.one.a, c.one.b, c.one.rot, 1e-5)) << c.what << i;
            EXPECT_TRUE(on_ellipse(p, c.two.cx, c.two.cy, c.two.a, c.two.b, c.two.rot, 1e-5)) << c.what << i;
        }
    }
}

TEST(Intersections, CircleAndEllipseSortedAlongTheFirst) {
    clear_table();
    std::int16_t count = 0;
    ASSERT_EQ(arcs_intersect(0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 2, 0.5, 0, 0, 0, 0, 0, 0, &count, 0), 1);
    const double x = std::sqrt(0.8), y = std::sqrt(0.2);
    expect_points(count, {{x, y}, {-x, y}, {-x, -y}, {x, -y}}, 1e-5, "sorted from angle 0");
    // Bounded to the first quadrant of the circle.
    ASSERT_EQ(arcs_intersect(0, 0, 1, 1, 0, pi_v / 2, 0, 0, 0, 0, 2, 0.5, 0, 0, 0, 0, 0, 0, &count, 1), 1);
    expect_points(count, {{x, y}}, 1e-5, "first quadrant");
}

TEST(Intersections, CoincidentEllipsesStayBounded) {
    clear_table();
    std::int16_t count = 0;
    ar_int(0, 0, 2, 1, 0.4, 0, 0, 2, 1, 0.4, &count);
    EXPECT_LE(count, 8);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(on_ellipse({objintr[i].x, objintr[i].y}, 0, 0, 2, 1, 0.4, 1e-5));
}

TEST(Intersections, OrderDropsDuplicatesAndSortsAlongTheArc) {
    clear_table();
    const Pt in[] = {{0, -1}, {0, 1}, {-1, 0}, {0, 1 + 1e-9}, {1, 0}};
    for (int i = 0; i < 5; ++i) objintr[i] = {in[i].x, in[i].y};
    std::int16_t count = 5;
    order_objintr(0, 0, 1, 1, 0, 0, 0, &count);
    expect_points(count, {{1, 0}, {0, 1}, {-1, 0}, {0, -1}}, 1e-12, "counter-clockwise");
    EXPECT_EQ(objintr[4].y, -1);
    order_objintr(0, 0, 1, 1, 0, pi_v / 2, 1, &count);
    expect_points(count, {{0, 1}, {1, 0}, {0, -1}, {-1, 0}}, 1e-12, "clockwise from 90");
    count = -3;
    order_objintr(0, 0, 1, 1, 0, 0, 0, &count);
    EXPECT_EQ(count, 0);
}

TEST(Intersections, Polylines) {
    const double square[] = {0, 0, 2, 0, 2, 2, 0, 2, 0, 0};
    const double strip[] = {-2, -0.5, 2, -0.5, 2, 0.5, -2, 0.5, -2, -0.5};
    const double moved[] = {1, 1, 3, 1, 3, 3, 1, 3, 1, 1};
    const double far[] = {10, 10, 12, 10, 12, 12, 10, 10};
    std::int16_t count = 9;

    clear_table();
    EXPECT_EQ(line_poly_intersect(-1, 1, 4, 0, square, 10, &count, 1), 1);
    expect_points(count, {{2, 1}, {0, 1}}, 1e-12, "line through square");
    EXPECT_EQ(objintr[2].x, 0);
    EXPECT_EQ(objintr[2].y, 1);

    EXPECT_EQ(line_poly_intersect(-1, 1, 0.5, 0, square, 10, &count, 1), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(line_poly_intersect(-1, 1, 0.5, 0, square, 10, &count, 0), 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(line_poly_intersect(-1, 1, 4, 0, square, 1, &count, 1), 0);  // no edge
    EXPECT_EQ(line_poly_intersect(-1, 1, 4, 0, square, -4, &count, 1), 0);
    EXPECT_EQ(line_poly_intersect(-1, 1, 4, 0, nullptr, 10, &count, 1), 0);
    EXPECT_EQ(count, 0);
    // Odd: the half point is unused, so the closing edge is gone.
    EXPECT_EQ(line_poly_intersect(-1, 1, 4, 0, square, 9, &count, 1), 1);
    expect_points(count, {{2, 1}}, 1e-12, "open outline");

    clear_table();
    EXPECT_EQ(arc_poly_intersect(0, 0, 1, 1, 0, 0, 0, 0, strip, 10, &count, 1), 1);
    expect_points(count, {{r3, 0.5}, {-r3, 0.5}, {-r3, -0.5}, {r3, -0.5}}, 1e-12, "circle across strip");
    EXPECT_EQ(arc_poly_intersect(0, 0, 1, 1, 0, pi_v, 0, 0, strip, 10, &count, 1), 1);
    expect_points(count, {{r3, 0.5}, {-r3, 0.5}}, 1e-12, "upper half across strip");
    EXPECT_EQ(arc_poly_intersect(0, 0, 0.2, 0.2, 0, 0, 0, 0, strip, 10, &count, 1), 0);
    EXPECT_EQ(count, 0);

    clear_table();
    EXPECT_EQ(poly_poly_intersect(square, 10, moved, 10, &count), 1);
    expect_points(count, {{2, 1}, {1, 2}}, 1e-12, "overlapping squares");
    EXPECT_EQ(poly_poly_intersect(square, 10, far, 8, &count), 0);
    EXPECT_EQ(count, 0);
}

// Enough crossings to overflow the table: every routine stops at 64.
TEST(Intersections, FullTable) {
    std::vector<double> zigzag;
    for (int i = 0; i <= 100; ++i) {
        zigzag.push_back(-1 + i * 0.02);
        zigzag.push_back(i % 2 ? 3 : -3);
    }
    const int nz = static_cast<int>(zigzag.size());
    const double rungs[] = {-2, -1, 2, -1, 2, 0, -2, 0, -2, 1, 2, 1};

    std::int16_t count = 0;
    EXPECT_EQ(line_poly_intersect(-5, 0.1, 10, 0, zigzag.data(), nz, &count, 1), 1);
    EXPECT_EQ(count, 64);
    EXPECT_EQ(poly_poly_intersect(zigzag.data(), nz, rungs, 12, &count), 1);
    EXPECT_EQ(count, 64);
    EXPECT_EQ(arc_poly_intersect(0, 0, 0.9, 0.9, 0, 0, 0, 0, zigzag.data(), nz, &count, 1), 1);
    EXPECT_EQ(count, 64);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE(on_ellipse({objintr[i].x, objintr[i].y}, 0, 0, 0.9, 0.9, 0, 1e-9)) << i;
}

}  // namespace
}  // namespace drav
